# CPACK_PRE_BUILD_SCRIPTS: runs on the staged files of each package before CPack packs them.
if(CPACK_GENERATOR STREQUAL "NSIS")
  # The read-me of the portable form has no place in the installed program's folder.
  file(REMOVE "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/README.txt")
  # The installer's files in sorted order: File /r would take them in the order of the
  # build machine's file system, and the same sources would give another installer there.
  file(GLOB staged RELATIVE "${CPACK_TEMPORARY_INSTALL_DIRECTORY}"
    "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
  list(SORT staged)
  set(CPACK_NSIS_FULL_INSTALL "")
  foreach(name IN LISTS staged)
    if(IS_DIRECTORY "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/${name}")
      message(FATAL_ERROR "cpack_staging.cmake lists files only, not the folder ${name}")
    endif()
    string(APPEND CPACK_NSIS_FULL_INSTALL "  File \"\${INST_DIR}\\${name}\"\n")
  endforeach()
endif()
