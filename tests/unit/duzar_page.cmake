# The DUzar page under Wine, over APInfo.dll and an installed-applications list that its tests put into their own
# scratch folders; the page stays hidden, so the tests need no lock.
tolvan_page_test(duzar_page_tests duzar_page_test.cpp)
target_link_libraries(duzar_page_tests PRIVATE mail_test_support)
