# Settings files through the program's own path: the main window created modeless on a driver installation that
# the test lays out from the built package, with the program's resources linked in. The windows look like the
# installed program's and sit where it sits, so these never run beside the checks that drive it by the pointer.
add_library(main_window_host STATIC main_window_host.cpp settings_content.cpp
                                    ${CMAKE_SOURCE_DIR}/tests/native/compound_file_image.cpp)
target_link_libraries(main_window_host PUBLIC tolvan_test_support tolvan_startup)
tolvan_path_definitions(main_window_host PUBLIC TOLVAN_DRIVER_PACKAGE ${TOLVAN_DRIVER_DIR})

foreach(name damaged_settings model_name job_mask)
    tolvan_unit_test(${name}_tests LOCK display_input ${name}_test.cpp ${CMAKE_SOURCE_DIR}/res/Tolvan.rc)
    target_link_libraries(${name}_tests PRIVATE main_window_host)
    target_include_directories(${name}_tests PRIVATE ${CMAKE_BINARY_DIR}/art ${CMAKE_SOURCE_DIR}/res)
    add_dependencies(${name}_tests tolvan_art driver_package apinfo apinfo_catalogue message_file MultiLng)
endforeach()
