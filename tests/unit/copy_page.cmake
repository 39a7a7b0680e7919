# The Copy page under Wine over the test run's print spooler (scripts/cups test-queues). Some of its tests open the
# print dialog, a visible, active window, so the program holds the display input lock.
tolvan_page_test(copy_page_tests LOCK display_input copy_page_test.cpp)
# The RAvud page over the same spooler; it opens the print dialog and its copy size dialog.
tolvan_page_test(ravud_page_tests LOCK display_input ravud_page_test.cpp)
target_link_libraries(ravud_page_tests PRIVATE control_test_host)
# What the two copy pages share at set-up, over the same spooler.
tolvan_page_test(shared_printers_tests shared_printers_test.cpp)
