# The Office page under Wine, over APInfo.dll and an installed-applications list that its tests put into their own
# scratch folders; the system language is the test's own answer, so nothing is shared and the page stays hidden.
tolvan_page_test(office_page_tests office_page_test.cpp)
target_link_libraries(office_page_tests PRIVATE mail_test_support)
