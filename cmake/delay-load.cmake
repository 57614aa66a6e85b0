# Windows looks for a DLL that is not among its KnownDLLs in the program's own folder before
# System32, so a DLL of such a name planted beside the launcher (a Downloads folder holds files
# nobody chose) would run inside it at start. The launcher therefore binds each of those system
# DLLs only at the first call into it, through a delay-load import library made here from
# mingw-w64's own, and main() first restricts every later DLL search to System32.

# kelvor_delay_load(TARGET LIBRARY...): TARGET loads each DLL that the import library LIBRARY
# (a name such as "user32", as Qt's targets ask for it) stands for only at its first call. The
# stand-ins are found first on the link's search path, before mingw-w64's own.
function(kelvor_delay_load target)
  if(NOT CMAKE_NM OR NOT CMAKE_DLLTOOL)
    message(FATAL_ERROR "Delay-loading needs the toolchain's nm and dlltool")
  endif()
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/delay-load)
  set(libraries "")
  foreach(name IN LISTS ARGN)
    unset(import_library)  # else find_library keeps the last one found
    find_library(import_library NAMES ${name} REQUIRED NO_CACHE)
    set(library ${folder}/lib${name}.a)
    add_custom_command(OUTPUT ${library}
      COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL}
              -DIMPORT_LIBRARY=${import_library} -DOUTPUT=${library}
              -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/delay-import-library.cmake
      DEPENDS ${import_library} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/delay-import-library.cmake
      VERBATIM)
    list(APPEND libraries ${library})
  endforeach()
  add_custom_target(${target}_delay_load DEPENDS ${libraries})
  add_dependencies(${target} ${target}_delay_load)
  # The linker orders the import tables' pieces by the path of the library each came from. So
  # that the same source gives the same bytes in any build folder, every other import library
  # is taken from beside these too, through a link to mingw-w64's own.
  get_filename_component(system_libraries ${import_library} DIRECTORY)
  file(GLOB system_imports RELATIVE ${system_libraries} ${system_libraries}/lib*.a)
  file(MAKE_DIRECTORY ${folder}/system)
  foreach(name IN LISTS system_imports)
    file(CREATE_LINK ${system_libraries}/${name} ${folder}/system/${name} SYMBOLIC)
  endforeach()
  target_link_directories(${target} BEFORE PRIVATE ${folder} ${folder}/system)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${libraries})
endfunction()
