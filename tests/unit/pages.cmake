# The job pages and the job tabs on real windows. Each test program carries the program's own resources (page
# templates, the Save As dialog's panel, texts, bitmaps and the manifest), so that the pages load what the
# program loads.
add_library(page_test_support STATIC page_host.cpp save_as_driver.cpp)
target_link_libraries(page_test_support PUBLIC tolvan_test_support tolvan_pages)
# tolvan_page_test(name [LOCK resource] sources...)
function(tolvan_page_test name)
    tolvan_unit_test(${name} ${ARGN} ${CMAKE_SOURCE_DIR}/res/Tolvan.rc)
    target_link_libraries(${name} PRIVATE page_test_support)
    target_include_directories(${name} PRIVATE ${CMAKE_BINARY_DIR}/art)
    add_dependencies(${name} tolvan_art)
endfunction()

tolvan_page_test(scan_settings_tests scan_settings_test.cpp)
# The Save As dialog and the main window are visible, active windows: they must not meet the checks that move the
# pointer.
tolvan_page_test(file_page_tests LOCK display_input file_page_test.cpp)
tolvan_page_test(job_tabs_tests LOCK display_input job_tabs_test.cpp)
target_link_libraries(job_tabs_tests PRIVATE tolvan_mainwnd control_test_host)
