# CPACK_PRE_BUILD_SCRIPTS: runs on the staged files of each package before CPack packs them.
if(CPACK_GENERATOR STREQUAL "ZIP")
  # The portable program runs in the folder it is started from; the launcher that takes
  # the installed one to the user's own folder would take it away from there.
  file(REMOVE "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/zq70start.exe")
endif()
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
if(CPACK_GENERATOR STREQUAL "DEB")
  # The package's dependencies from dpkg-shlibdeps, told the package's architecture: a
  # program built for another processor needs that processor's libraries, which the cross
  # compiler brings in its own folder (CPACK_ZQ70_TARGET_LIBRARIES). Their shlibs name the
  # package with its architecture, libc6:arm64; in a package of that architecture it is
  # plain libc6.
  set(work "${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps")
  file(REMOVE_RECURSE "${work}")
  file(WRITE "${work}/debian/control" "")
  file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*")
  set(search "")
  foreach(folder IN LISTS CPACK_ZQ70_TARGET_LIBRARIES)
    list(APPEND search "-l${folder}")
  endforeach()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_HOST_ARCH=${CPACK_ZQ70_DEB_HOST_ARCH}
      dpkg-shlibdeps ${search} -O ${programs}
    WORKING_DIRECTORY "${work}"
    OUTPUT_VARIABLE depends OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT depends MATCHES "^shlibs:Depends=.")
    message(FATAL_ERROR "dpkg-shlibdeps found no dependencies of ${programs}:\n${errors}")
  endif()
  string(REGEX REPLACE "^shlibs:Depends=" "" depends "${depends}")
  string(REGEX REPLACE ":${CPACK_ZQ70_DEB_HOST_ARCH}( |,|$)" "\\1" depends "${depends}")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
endif()
