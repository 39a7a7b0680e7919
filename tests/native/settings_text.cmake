# The companion's text form of the settings and the pages' values it checks records against, under the sanitizers.
add_executable(settings_text_tests settings_text_test.cpp)
target_link_libraries(settings_text_tests PRIVATE tolvan_settings_text tolvan_template_description gtest_main)
target_compile_definitions(settings_text_tests
    PRIVATE TOLVAN_DRIVER_DESCRIPTION="${CMAKE_SOURCE_DIR}/driver/data/Tolvan.dat.txt")
gtest_discover_tests(settings_text_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
