# Puts the launcher's complete source beside it in the install prefix, as
# kelvor-launcher-VERSION-source.zip, every file under the folder kelvor-launcher-VERSION-source/:
# from git, the files of the commit being built (with any uncommitted changes to them); from an
# unpacked source archive, the whole source folder but its builds.
# Usage: install(SCRIPT), with SOURCE_DIR, VERSION, STAGING_DIR (a scratch folder) and PYTHON set.
set(name "kelvor-launcher-${VERSION}-source")
set(archive "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${name}.zip")
find_program(GIT git)
if(GIT AND EXISTS "${SOURCE_DIR}/.git")
  # A file only touched since the last commit would make `git stash create` fail on the stale
  # index; refreshed, it finds nothing to stash, and the commit itself is packed.
  execute_process(COMMAND "${GIT}" update-index -q --refresh WORKING_DIRECTORY "${SOURCE_DIR}")
  execute_process(COMMAND "${GIT}" stash create WORKING_DIRECTORY "${SOURCE_DIR}"
                  OUTPUT_VARIABLE tree OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  if(NOT tree)
    set(tree HEAD)
  endif()
  execute_process(COMMAND "${GIT}" archive --format=zip "--prefix=${name}/" -o "${archive}" ${tree}
                  WORKING_DIRECTORY "${SOURCE_DIR}" COMMAND_ERROR_IS_FATAL ANY)
else()
  # The same layout as git's: the files are taken through a folder of the archive's name.
  set(staging "${STAGING_DIR}")
  file(REMOVE_RECURSE "${staging}")
  file(GLOB items RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*" "${SOURCE_DIR}/.[a-z]*")
  list(REMOVE_ITEM items build .git)
  file(MAKE_DIRECTORY "${staging}/${name}")
  foreach(item IN LISTS items)
    file(COPY "${SOURCE_DIR}/${item}" DESTINATION "${staging}/${name}")
  endforeach()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${archive}" --format=zip -- "${name}"
                  WORKING_DIRECTORY "${staging}" COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${staging}")
endif()
# However made, the archive gets the same bytes for the same files.
if(PYTHON)
  execute_process(COMMAND "${PYTHON}" "${SOURCE_DIR}/cmake/reproducible.py" archive "${archive}"
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
message(STATUS "Source: ${archive}")
