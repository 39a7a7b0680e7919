# The translation module's message file reader (driver/multilng), instrumented like the other portable code.
set(msg_catalog_sources)
get_target_property(sources tolvan_msg_catalog SOURCES)
get_target_property(source_dir tolvan_msg_catalog SOURCE_DIR)
foreach(source IN LISTS sources)
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir})
    list(APPEND msg_catalog_sources ${source})
endforeach()
add_library(tolvan_fuzz_msg_catalog STATIC ${msg_catalog_sources})
target_compile_options(tolvan_fuzz_msg_catalog PRIVATE -fsanitize=fuzzer-no-link,address,undefined)

tolvan_fuzz_target(msg_catalog_fuzzer DICT msg_catalog.dict)
target_link_libraries(msg_catalog_fuzzer PRIVATE tolvan_fuzz_msg_catalog)
