# The settings file's structure check, on files laid out by the test itself and on the fuzz target's seeds
# (the driver's template as ole32 writes it, and a file from an independent writer).
add_executable(compound_file_check_tests compound_file_check_test.cpp compound_file_image.cpp)
target_link_libraries(compound_file_check_tests PRIVATE tolvan_record gtest_main)
target_compile_definitions(compound_file_check_tests
    PRIVATE TOLVAN_COMPOUND_FILE_SEEDS="${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/compound_file_check_fuzzer")
gtest_discover_tests(compound_file_check_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
