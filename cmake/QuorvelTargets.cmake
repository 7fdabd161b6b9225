# Warnings as errors on the project's own code only.
function(quorvel_project_target target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    endif()
endfunction()

# The include directory of one library of the module: a directory of the build tree that holds a
# single link to the library's folder, under the folder's own path. Whoever links the library
# reaches its headers as "<folder>/name.h" and, having no other way into the source tree, no
# header of a library that it does not link: an include against the libraries' direction does
# not compile.
function(quorvel_include_root target folder)
    string(REPLACE "/" "_" root_name "${folder}")
    set(root ${CMAKE_BINARY_DIR}/include_roots/${root_name})
    get_filename_component(link_parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${link_parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
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
