# The portable package: one folder holding the launcher, its help, a README for players, the
# licences, the launcher's own source and, on Linux, what a menu entry needs. The player's two
# data files live beside the launcher, so the folder must stay writable; the package holds
# them as a first start needs them, and an install over an old folder keeps the player's.
install(TARGETS kelvor-launcher RUNTIME DESTINATION .)
install(SCRIPT ${CMAKE_CURRENT_BINARY_DIR}/first-start-files.cmake)
if(KELVOR_CHMCMD)
  install(FILES ${KELVOR_HELP_FILE} DESTINATION .)
endif()
configure_file(resources/package/README.txt.in README.txt @ONLY)  # with the version
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt LICENSE DESTINATION .)
install(DIRECTORY resources/licenses/ DESTINATION licenses)
if(KELVOR_QT_LINKAGE STREQUAL "STATIC_LIBRARY")
  # Qt is linked in statically; the licences of the libraries it bundles, and of those linked in
  # beside it on each system, travel with it.
  install(DIRECTORY resources/static-qt/licenses/ DESTINATION licenses)
  if(WIN32)
    install(DIRECTORY resources/windows/licenses/ DESTINATION licenses)
  else()
    install(DIRECTORY resources/linux/licenses/ DESTINATION licenses)
  endif()
endif()
install(CODE "set(SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")\nset(VERSION ${PROJECT_VERSION})
set(STAGING_DIR \"${PROJECT_BINARY_DIR}/source-staging\")\nset(PYTHON \"${KELVOR_PYTHON}\")")
install(SCRIPT cmake/pack-source.cmake)
if(UNIX AND NOT APPLE)
  install(FILES resources/launcher-icon.png DESTINATION . RENAME kelvor-launcher.png)
  install(FILES resources/package/kelvor-launcher.desktop DESTINATION .)
  install(PROGRAMS resources/package/install-menu-entry DESTINATION .)
endif()

set(CPACK_PACKAGE_NAME kelvor-launcher)
set(CPACK_PACKAGE_VENDOR "the Kelvor crew")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Starts Dravik 2 with the player's switches, server and mod")
if(WIN32)
  set(CPACK_PACKAGE_FILE_NAME "kelvor-launcher-${PROJECT_VERSION}-win64")
else()
  set(CPACK_PACKAGE_FILE_NAME
      "kelvor-launcher-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}")
endif()
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# Entries in a fixed order, with the source's time and no owner: the same source, the same bytes.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/reproducible-package.cmake)
set(CPACK_KELVOR_REPRODUCIBLE ${KELVOR_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/reproducible.py)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR TGZ)
endif()
include(CPack)
