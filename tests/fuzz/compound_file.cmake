# The settings file's structure check. Its seeds are whole files, the driver's template among them, larger
# than the other targets' inputs; libFuzzer takes the last -max_len it is given.
function(tolvan_compound_file_fuzz_target)
    string(APPEND TOLVAN_FUZZ_OPTIONS " -max_len=32768")
    tolvan_fuzz_target(compound_file_check_fuzzer DICT compound_file_check.dict)
endfunction()
tolvan_compound_file_fuzz_target()
