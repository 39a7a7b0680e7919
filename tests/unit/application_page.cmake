# The Application page under Wine, over APInfo.dll and the destination applications that its tests put into their
# own scratch folders. The page stays hidden; the add command's tests answer the system's Open dialog, a visible
# window that must not meet the checks that move the pointer, and they share the registry key of the programs
# that may be added.
add_library(destination_test_support STATIC destination_programs.cpp)
target_link_libraries(destination_test_support PUBLIC mail_test_support page_test_support)

tolvan_page_test(application_page_tests application_page_test.cpp)
target_link_libraries(application_page_tests PRIVATE destination_test_support)
tolvan_page_test(application_add_tests LOCK display_input application_add_test.cpp)
target_link_libraries(application_add_tests PRIVATE destination_test_support)
