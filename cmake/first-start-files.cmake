# Lays out the two data files that a first start reads, where they are missing: a path file
# holding one empty line (no game picked yet) and an empty mod list. A file already there is
# the player's and is never touched, so a build or an install over an old folder keeps it.
# Usage: cmake -DFOLDER=DIR -P first-start-files.cmake, or install(SCRIPT) into the prefix.
if(NOT DEFINED FOLDER)
  set(FOLDER "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
endif()
if(NOT EXISTS "${FOLDER}/appSet")
  file(WRITE "${FOLDER}/appSet" "\r\n")
endif()
if(NOT EXISTS "${FOLDER}/modDta")
  file(WRITE "${FOLDER}/modDta" "")
endif()
