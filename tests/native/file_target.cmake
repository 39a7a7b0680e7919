# The File page's target rules (pages) under the sanitizers.
add_executable(file_target_tests file_target_test.cpp)
target_link_libraries(file_target_tests PRIVATE tolvan_file_target gtest_main)
gtest_discover_tests(file_target_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
