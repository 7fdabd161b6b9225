# Warnings as errors on the project's own code only.
function(quorvel_project_target target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    endif()
endfunction()

# The Windows module ships without its debug information (a third of its size): that goes into
# NAME.debug beside it, which debuggers find through the debug link left in the module.
function(quorvel_split_debug_information target)
    if(NOT WIN32 OR NOT CMAKE_OBJCOPY)
        return()
    endif()
    set(file $<TARGET_FILE_NAME:${target}>)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${file} ${file}.debug
        COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${file}.debug ${file}
        WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
        COMMENT "Moving the debug information of ${target} into a file beside it"
        VERBATIM)
endfunction()
