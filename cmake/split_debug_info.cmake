# Moves a Windows target's debug information into a file beside it (NAME.debug, found again through a debug
# link). The loader copies every section of an image whose sections are not page-aligned in the file into the
# process's own memory, debug sections included: left in place, they would cost every run of the program several
# megabytes and the time to read them.
function(tolvan_split_debug_info target)
    if(NOT CMAKE_OBJCOPY)
        message(FATAL_ERROR "tolvan_split_debug_info: no objcopy for ${target}")
    endif()
    add_custom_command(
        TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
        COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug
                $<TARGET_FILE:${target}>
        VERBATIM)
endfunction()
