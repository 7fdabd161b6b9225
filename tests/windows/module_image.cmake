# The built Windows module as the host reads it from disk: it exports exactly the two entry
# points, needs only DLLs that every Windows installation has (the compiler's runtime DLLs,
# libstdc++, libgcc and libwinpthread, are not among them) and carries the PiPL resource as
# type 'PIPL', id 16000, language 1033, with the bytes the generator wrote.
# Inputs: OBJDUMP, MODULE, PIPL (the generated resource file).
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${MODULE} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
execute_process(COMMAND ${OBJDUMP} -s -j .rsrc ${MODULE} OUTPUT_VARIABLE dump
                RESULT_VARIABLE dumpFailed)
if(failed OR dumpFailed)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${MODULE}")
endif()
set(errors "")

# Exports: both tables hold two entries (no export by ordinal only), named as the host calls them.
string(REGEX MATCH "Export Address Table[ \t]+([0-9a-f]+)\n" _ "${headers}")
set(addressCount "${CMAKE_MATCH_1}")
string(FIND "${headers}" "[Ordinal/Name Pointer] Table" names)
string(SUBSTRING "${headers}" ${names} -1 names)
string(REGEX MATCHALL "\n\t\\[ *[0-9]+\\] [^\n]*" exports "${names}")
string(REGEX REPLACE "\n\t\\[ *[0-9]+\\] " "" exports "${exports}")
if(NOT addressCount STREQUAL "00000002" OR NOT exports STREQUAL "EffectMain;PluginDataEntryFunction")
    list(APPEND errors "exports: ${addressCount} functions, named ${exports}")
endif()

# Imports: DLLs of Windows itself only.
set(systemLibraries advapi32.dll bcrypt.dll gdi32.dll kernel32.dll msvcrt.dll ntdll.dll
    opengl32.dll ole32.dll shell32.dll user32.dll ucrtbase.dll ws2_32.dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
string(REPLACE "DLL Name: " "" imports "${imports}")
string(TOLOWER "${imports}" imports)
if(NOT imports)
    list(APPEND errors "no imports found")
endif()
foreach(library IN LISTS imports)
    if(NOT library IN_LIST systemLibraries)
        list(APPEND errors "imports ${library}")
    endif()
endforeach()

# The resource directory: one type, one id, one language, and the data behind them.
string(REGEX MATCHALL "Entry: [^\n]*" entries "${headers}")
string(REGEX MATCH "Entry 2 0*([0-9a-f]+) [0-9a-f]+ Resource Directory" _ "${headers}")
set(resourcesAt "0x${CMAKE_MATCH_1}")
string(REGEX MATCH "Leaf: Addr: (0x[0-9a-f]+), Size: (0x[0-9a-f]+)" _ "${headers}")
set(dataAt "${CMAKE_MATCH_1}")
set(dataSize "${CMAKE_MATCH_2}")
list(LENGTH entries entryCount)
if(NOT entryCount EQUAL 3 OR NOT entries MATCHES
   "^Entry: name: [^;]*: PIPL, [^;]*;Entry: ID: 0x003e80, [^;]*;Entry: ID: 0x000409, ")
    list(APPEND errors "resource entries: ${entries}")
elseif(NOT dataAt OR NOT dataSize)
    list(APPEND errors "no resource data")
else()
    # The section's hex columns, 16 bytes a line; the text column after them is dropped.
    string(REPEAT "[0-9a-f ]" 35 columns)
    string(REGEX MATCHALL "\n [0-9a-f]+ ${columns}" lines "${dump}")
    string(REGEX REPLACE "\n [0-9a-f]+ " "" section "${lines}")
    string(REGEX REPLACE "[ ;]" "" section "${section}")
    math(EXPR offset "(${dataAt} - ${resourcesAt}) * 2")
    math(EXPR length "${dataSize} * 2")
    string(SUBSTRING "${section}" ${offset} ${length} data)
    file(READ "${PIPL}" expected HEX)
    if(NOT data STREQUAL expected)
        list(APPEND errors "the PiPL resource holds ${data}, not ${expected}")
    endif()
endif()

if(errors)
    string(REPLACE ";" "\n" errors "${errors}")
    message(FATAL_ERROR "${MODULE}:\n${errors}")
endif()
