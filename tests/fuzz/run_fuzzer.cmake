# cmake -DFUZZER=exe -DSEEDS=dir -DSCRATCH=dir -DOPTIONS="..." -P run_fuzzer.cmake
# Runs a fuzz target over a fresh copy of its seed corpus; any crash, leak or sanitizer report fails the run.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
file(GLOB seeds ${SEEDS}/*)
file(COPY ${seeds} DESTINATION ${SCRATCH})
separate_arguments(options UNIX_COMMAND "${OPTIONS}")
execute_process(COMMAND ${FUZZER} ${options} ${SCRATCH} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${result})")
endif()
