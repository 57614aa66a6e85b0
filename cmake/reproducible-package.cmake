# Run by CPack once the packages are made: rewrites each with cmake/reproducible.py, so that the
# same source gives the same bytes. Without Python the packages stay as CPack made them.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(CPACK_KELVOR_REPRODUCIBLE MATCHES "NOTFOUND")
    message(WARNING "python3 not found: ${package} is not made reproducible")
  else()
    execute_process(COMMAND ${CPACK_KELVOR_REPRODUCIBLE} archive ${package}
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
