# The run-length scan of the main window's region mask (mainwnd) under the sanitizers.
add_executable(mask_runs_tests mask_runs_test.cpp)
target_link_libraries(mask_runs_tests PRIVATE tolvan_mask_runs gtest_main)
gtest_discover_tests(mask_runs_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
