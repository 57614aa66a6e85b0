# Makes OUTPUT, a delay-load stand-in for mingw-w64's import library IMPORT_LIBRARY: for each
# DLL it imports from, one delay-load import library of dlltool's with every function it holds
# for that DLL beside it, and OUTPUT a linker script that takes them all in its place.
# mingw-w64 names the members of an import library after their DLL ("libuser32s00080.o"), and
# nm lists each member's functions as __imp_NAME.
# Usage: cmake -DNM=... -DDLLTOOL=... -DIMPORT_LIBRARY=... -DOUTPUT=... -P delay-import-library.cmake
execute_process(COMMAND ${NM} -g --defined-only ${IMPORT_LIBRARY}
                OUTPUT_VARIABLE listing COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" ";" lines "${listing}")
set(dlls "")
foreach(line IN LISTS lines)
  if(line MATCHES "^lib(.+)s[0-9]+\\.o:$")
    set(dll ${CMAKE_MATCH_1})
    list(APPEND dlls ${dll})
  elseif(line MATCHES " I __imp_(.+)$" AND DEFINED dll)
    list(APPEND functions_${dll} ${CMAKE_MATCH_1})
  endif()
endforeach()
list(REMOVE_DUPLICATES dlls)
if(NOT dlls)
  message(FATAL_ERROR "${IMPORT_LIBRARY} imports no function from any DLL")
endif()
get_filename_component(folder ${OUTPUT} DIRECTORY)
set(parts "")
foreach(dll IN LISTS dlls)
  list(REMOVE_DUPLICATES functions_${dll})
  list(SORT functions_${dll})
  list(JOIN functions_${dll} "\n" exports)
  # dlltool names its symbols after the output's path: a bare name, run in the folder, keeps the
  # build folder out of the program, so that the same source gives the same bytes anywhere.
  set(part libdelay-${dll}.a)
  file(WRITE ${folder}/${part}.def "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
  execute_process(COMMAND ${DLLTOOL} --input-def ${part}.def --dllname ${dll}.dll
                          --output-delaylib ${part}
                  WORKING_DIRECTORY ${folder} COMMAND_ERROR_IS_FATAL ANY)
  string(APPEND parts " -ldelay-${dll}")  # found on the link's search path, as OUTPUT is
endforeach()
file(WRITE ${OUTPUT} "GROUP (${parts} )\n")
