# The application lists' file format, list rules and catalogue source (driver/apinfo), instrumented like the
# other portable code.
set(apinfo_sources)
get_target_property(sources tolvan_apinfo_format SOURCES)
get_target_property(source_dir tolvan_apinfo_format SOURCE_DIR)
foreach(source IN LISTS sources)
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir})
    list(APPEND apinfo_sources ${source})
endforeach()
add_library(tolvan_fuzz_apinfo STATIC ${apinfo_sources})
target_compile_options(tolvan_fuzz_apinfo PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
target_link_libraries(tolvan_fuzz_apinfo PUBLIC tolvan_fuzz_portable)

tolvan_fuzz_target(apinfo_file_fuzzer DICT apinfo_file.dict)
target_link_libraries(apinfo_file_fuzzer PRIVATE tolvan_fuzz_apinfo)
tolvan_fuzz_target(apinfo_catalogue_fuzzer DICT apinfo_catalogue.dict)
target_link_libraries(apinfo_catalogue_fuzzer PRIVATE tolvan_fuzz_apinfo)
