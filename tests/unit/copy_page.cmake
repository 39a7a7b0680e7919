# The Copy page under Wine over the test run's print spooler (scripts/cups test-queues). Some of its tests open the
# print dialog, a visible, active window, so the program holds the display input lock.
tolvan_page_test(copy_page_tests LOCK display_input copy_page_test.cpp)
