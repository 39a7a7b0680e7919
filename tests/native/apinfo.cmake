# The application lists' file format, list rules and catalogue source (driver/apinfo) under the sanitizers.
add_executable(apinfo_portable_tests apinfo_catalogue_test.cpp apinfo_file_test.cpp apinfo_list_test.cpp)
target_link_libraries(apinfo_portable_tests PRIVATE tolvan_apinfo_format gtest_main)
# The catalogue the driver ships must stay valid.
target_compile_definitions(apinfo_portable_tests
    PRIVATE TOLVAN_APINFO_CATALOGUE="${CMAKE_SOURCE_DIR}/driver/data/APInfo.txt")
gtest_discover_tests(apinfo_portable_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
