# The rules of the file format list (pages) under the sanitizers.
add_executable(format_list_tests format_list_test.cpp ${CMAKE_SOURCE_DIR}/pages/format_list.cpp)
target_link_libraries(format_list_tests PRIVATE tolvan_record gtest_main)
gtest_discover_tests(format_list_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
