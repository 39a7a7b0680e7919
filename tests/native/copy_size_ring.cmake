# The RAvud page's ring of copy sizes under the sanitizers.
add_executable(copy_size_ring_tests copy_size_ring_test.cpp)
target_link_libraries(copy_size_ring_tests PRIVATE tolvan_copy_size_ring gtest_main)
gtest_discover_tests(copy_size_ring_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
