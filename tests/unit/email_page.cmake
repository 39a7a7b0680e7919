# The Email page under Wine. Its tests register mail clients under HKEY_LOCAL_MACHINE and put APInfo.dll and an
# installed-applications list of their own beside the page; tests that do (the job tabs too) never run at the
# same time.
add_library(mail_test_support STATIC mail_programs.cpp mail_registry.cpp)
target_link_libraries(mail_test_support PUBLIC application_list_test_support tolvan_app gtest)
add_dependencies(mail_test_support apinfo)
tolvan_path_definitions(mail_test_support PRIVATE TOLVAN_APINFO_DLL ${TOLVAN_DRIVER_DIR}/APInfo.dll)

tolvan_page_test(email_page_tests LOCK mail_registry email_page_test.cpp)
target_link_libraries(email_page_tests PRIVATE mail_test_support)
target_link_libraries(job_tabs_tests PRIVATE mail_test_support)
