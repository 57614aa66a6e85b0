# Puts the launcher's complete source beside it in the install prefix, as
# kelvor-launcher-VERSION-source.zip: from git, the files of the commit being built (with any
# uncommitted changes to them); from an unpacked source archive, the whole source folder.
# Usage: install(SCRIPT), with SOURCE_DIR and VERSION set in the script before it.
set(name "kelvor-launcher-${VERSION}-source")
set(archive "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${name}.zip")
find_program(GIT git)
if(GIT AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND "${GIT}" stash create WORKING_DIRECTORY "${SOURCE_DIR}"
                  OUTPUT_VARIABLE tree OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  if(NOT tree)
    set(tree HEAD)
  endif()
  execute_process(COMMAND "${GIT}" archive --format=zip "--prefix=${name}/" -o "${archive}" ${tree}
                  WORKING_DIRECTORY "${SOURCE_DIR}" COMMAND_ERROR_IS_FATAL ANY)
else()
  file(GLOB items RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*" "${SOURCE_DIR}/.[a-z]*")
  list(REMOVE_ITEM items build .git)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${archive}" --format=zip -- ${items}
                  WORKING_DIRECTORY "${SOURCE_DIR}" COMMAND_ERROR_IS_FATAL ANY)
endif()
message(STATUS "Source: ${archive}")
