# The module exports exactly its two entry points: cmake -DMODULE=<path> -P exports.cmake
execute_process(COMMAND nm -D --defined-only "${MODULE}"
    OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm could not read ${MODULE}")
endif()
string(REGEX MATCHALL "[^ \n]+\n" names "${symbols}")
string(REPLACE "\n" "" names "${names}")
list(SORT names)
if(NOT names STREQUAL "EffectMain;PluginDataEntryFunction")
    message(FATAL_ERROR "exported: ${names}")
endif()
