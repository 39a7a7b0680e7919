# The job pages and the job tabs on real windows. Each test program carries the program's own resources (page
# templates, the Save As dialog's panel, texts, bitmaps and the manifest), so that the pages load what the
# program loads.
add_library(page_test_support STATIC page_host.cpp dialog_answer.cpp save_as_driver.cpp print_dialog_driver.cpp
                                      printer_page_driver.cpp)
target_link_libraries(page_test_support PUBLIC tolvan_test_support tolvan_pages tolvan_mainwnd)
# tolvan_page_test(name [LOCK resources] sources...). GoogleTest's discovery gives each test at most one lock, so a
# program that needs more (a list) runs as one test under its own name.
function(tolvan_page_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "LOCK" "")
    list(LENGTH arg_LOCK locks)
    set(sources ${arg_UNPARSED_ARGUMENTS} ${CMAKE_SOURCE_DIR}/res/Tolvan.rc)
    if(locks GREATER 1)
        add_executable(${name} ${sources})
        target_link_libraries(${name} PRIVATE tolvan_test_support)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES LABELS wine RESOURCE_LOCK "${arg_LOCK}" TIMEOUT 300)
    elseif(locks EQUAL 1)
        tolvan_unit_test(${name} LOCK ${arg_LOCK} ${sources})
    else()
        tolvan_unit_test(${name} ${sources})
    endif()
    target_link_libraries(${name} PRIVATE page_test_support)
    target_include_directories(${name} PRIVATE ${CMAKE_BINARY_DIR}/art)
    add_dependencies(${name} tolvan_art)
endfunction()

tolvan_page_test(scan_settings_tests scan_settings_test.cpp)
# Scan mode texts of which one begins another, as a translation may give them.
tolvan_message_file(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/scan_mode_prefix/Tolvan.msg
                    PO ${CMAKE_CURRENT_SOURCE_DIR}/data/scan_mode_prefix_de.po)
add_custom_target(scan_mode_prefix_message_file DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/scan_mode_prefix/Tolvan.msg)
add_dependencies(scan_settings_tests MultiLng scan_mode_prefix_message_file)
tolvan_path_definitions(scan_settings_tests PRIVATE
    TOLVAN_MULTILNG_DLL ${TOLVAN_DRIVER_DIR}/MultiLng.dll
    TOLVAN_SCAN_MODE_PREFIX_MESSAGE_FILE ${CMAKE_CURRENT_BINARY_DIR}/scan_mode_prefix/Tolvan.msg)
# The Save As dialog and the main window are visible, active windows: they must not meet the checks that move the
# pointer. The job tabs also build a real Email page over mail clients that their tests register.
tolvan_page_test(file_page_tests LOCK display_input file_page_test.cpp)
tolvan_page_test(job_tabs_tests LOCK "display_input;mail_registry" job_tabs_test.cpp)
target_link_libraries(job_tabs_tests PRIVATE tolvan_mainwnd control_test_host)
# The copy size dialog of the RAvud page is an active top-level window: it keeps away from the pointer checks.
tolvan_page_test(copy_size_dialog_tests LOCK display_input copy_size_dialog_test.cpp)
target_link_libraries(copy_size_dialog_tests PRIVATE control_test_host)
# The fixed texts of every dialog in English and in each shipped language: shown through the translation module,
# and fitting their controls. The pages are visible windows: they keep away from the pointer checks.
tolvan_page_test(page_texts_tests LOCK display_input page_texts_test.cpp)
add_dependencies(page_texts_tests MultiLng message_file)
tolvan_path_definitions(page_texts_tests PRIVATE
    TOLVAN_MULTILNG_DLL ${TOLVAN_DRIVER_DIR}/MultiLng.dll
    TOLVAN_MESSAGE_FILE ${TOLVAN_DRIVER_DIR}/Tolvan.msg)
