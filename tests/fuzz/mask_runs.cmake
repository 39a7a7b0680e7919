# The run-length scan of the main window's region mask (mainwnd), instrumented like the other portable code.
get_target_property(mask_runs_sources tolvan_mask_runs SOURCES)
list(TRANSFORM mask_runs_sources PREPEND ${CMAKE_SOURCE_DIR}/controls/)
add_library(tolvan_fuzz_mask_runs STATIC ${mask_runs_sources})
target_compile_options(tolvan_fuzz_mask_runs PRIVATE -fsanitize=fuzzer-no-link,address,undefined)

tolvan_fuzz_target(mask_runs_fuzzer)
target_link_libraries(mask_runs_fuzzer PRIVATE tolvan_fuzz_mask_runs)
