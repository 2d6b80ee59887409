# What a release ships and how CPack packs it (ZQ70_RELEASE, scripts/dist). The MinGW build
# makes the Windows installer (NSIS) and the portable zip; the native build makes the deb
# and the tar.gz of the Linux tools. Every name and version comes from project().
set(ZQ70_GUIDE_HTML "" CACHE FILEPATH "The user guide as one HTML file (scripts/dist makes it)")
if(NOT ZQ70_GUIDE_HTML)
  message(FATAL_ERROR "Set ZQ70_GUIDE_HTML to the user guide (scripts/dist makes it)")
endif()
set(ZQ70_WEB_PAGE "" CACHE FILEPATH "The web editor zq70web.html (scripts/dist makes it)")
if(NOT ZQ70_WEB_PAGE)
  message(FATAL_ERROR "Set ZQ70_WEB_PAGE to the web editor (scripts/dist makes it)")
endif()

set(ZQ70_NAME ZQ70Load)
set(ZQ70_VENDOR "ZQ70Load authors")
set(ZQ70_MAINTAINER "${ZQ70_VENDOR} <zq70load@example.org>")
set(ZQ70_DEB_PACKAGE zq70-tools)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(staged ${CMAKE_BINARY_DIR}/packaging)

set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_VENDOR ${ZQ70_VENDOR})
set(CPACK_PACKAGE_CONTACT ${ZQ70_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_RESOURCE_FILE_LICENSE ${packaging}/copyright)
# The file name of each package; the read-me of the zip stays out of the installer.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_generators.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/cpack_staging.cmake)

if(WIN32)
  install(TARGETS zq70load zq70cfg zq70start RUNTIME DESTINATION .)
  install(FILES ${ZQ70_GUIDE_HTML} DESTINATION . RENAME guide.html)
  install(FILES ${ZQ70_WEB_PAGE} DESTINATION .)
  # Notepad before Windows 10 shows a file with bare line feeds as one long line.
  configure_file(${packaging}/README-portable.txt.in ${staged}/README.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${staged}/README.txt DESTINATION .) # the zip only: cpack_staging.cmake

  set(CPACK_GENERATOR NSIS ZIP)
  set(CPACK_PACKAGE_NAME ${ZQ70_NAME})
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ZQ70 configuration utility")
  set(CPACK_ZQ70_WINDOWS_NAME zq70load-${PROJECT_VERSION})
  set(CPACK_PACKAGE_INSTALL_DIRECTORY ${ZQ70_NAME})
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${ZQ70_NAME})
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_PACKAGE_NAME "${ZQ70_NAME} ${PROJECT_VERSION}")
  set(CPACK_NSIS_DISPLAY_NAME ${ZQ70_NAME})
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/res/zq70load.ico)
  set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/res/zq70load.ico)
  set(CPACK_NSIS_INSTALLED_ICON_NAME zq70load.exe)
  # An older version is uninstalled first, so that an update leaves nothing stale behind.
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  # A 64-bit installer for the 64-bit program: it runs where the program runs, also under a
  # Wine without 32-bit support, and writes to the registry's 64-bit view. Files would
  # otherwise carry their modification times into the installer, among them the options
  # page that cpack writes anew each time; installed files get the install time. The
  # Start-menu folder has no version in its name, as the shortcuts in it have none.
  set(CPACK_NSIS_DEFINES [=[
  Target amd64-unicode
  SetDateSave off
  !define MUI_STARTMENUPAGE_DEFAULTFOLDER "@ZQ70_NAME@"
]=])

  # The program keeps zq70load.ini in its current folder, and Program Files is not writable
  # for users. The shortcuts serve every user of the computer (for an administrator's
  # install), and a shortcut's working folder is one path written out when it is made; so
  # the program's shortcut runs zq70start.exe, which starts zq70load.exe in the user's own
  # %LOCALAPPDATA%\ZQ70Load, made at the user's first start. It shows the program's icon.
  set(CPACK_NSIS_CREATE_ICONS_EXTRA [=[
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\@ZQ70_NAME@.lnk" "$INSTDIR\zq70start.exe" "" "$INSTDIR\zq70load.exe" 0
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\@ZQ70_NAME@ user guide.lnk" "$INSTDIR\guide.html"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\ZQ70 web editor.lnk" "$INSTDIR\zq70web.html"
]=])
  # Comes after the template has deleted its key under the vendor's, which it leaves behind.
  set(CPACK_NSIS_DELETE_ICONS_EXTRA [=[
  Delete "$SMPROGRAMS\$MUI_TEMP\@ZQ70_NAME@.lnk"
  Delete "$SMPROGRAMS\$MUI_TEMP\@ZQ70_NAME@ user guide.lnk"
  Delete "$SMPROGRAMS\$MUI_TEMP\ZQ70 web editor.lnk"
  DeleteRegKey /ifempty SHCTX "Software\@ZQ70_VENDOR@"
]=])
  # Installed programs shows the size; the only section holds every file.
  set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [=[
  SectionGetSize 0 $0
  WriteRegDWORD SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\@ZQ70_NAME@" "EstimatedSize" $0
]=])
  # The uninstalling user's working folder goes only when empty: the user's zq70load.ini
  # stays, as every other user's does. Then the shell context is set back as un.onInit
  # chose it.
  set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [=[
  SetShellVarContext current
  RMDir "$LOCALAPPDATA\@ZQ70_NAME@"
  UserInfo::GetAccountType
  Pop $0
  StrCmp $0 "Admin" 0 +2
    SetShellVarContext all
  StrCmp $0 "Power" 0 +2
    SetShellVarContext all
]=])
  # The snippets above name the program and the vendor as @ZQ70_NAME@ and @ZQ70_VENDOR@.
  foreach(snippet DEFINES CREATE_ICONS_EXTRA DELETE_ICONS_EXTRA EXTRA_INSTALL_COMMANDS
      EXTRA_UNINSTALL_COMMANDS)
    string(CONFIGURE "${CPACK_NSIS_${snippet}}" CPACK_NSIS_${snippet} @ONLY)
  endforeach()
else()
  include(GNUInstallDirs)
  set(docdir ${CMAKE_INSTALL_DATADIR}/doc/${ZQ70_DEB_PACKAGE})
  install(TARGETS zq70cfg zq70sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  # The package's architecture and the processor in the archive's name, from the triplet
  # of the compiler: x86_64-linux-gnu gives amd64 and x86_64, aarch64-linux-gnu arm64 and
  # aarch64, arm-linux-gnueabihf armhf twice (its triplet's "arm" would not say which ARM).
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -dumpmachine
    OUTPUT_VARIABLE triplet OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env CC=${CMAKE_C_COMPILER}
      dpkg-architecture -t ${triplet} -qDEB_HOST_ARCH
    OUTPUT_VARIABLE deb_architecture OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX REPLACE "-.*" "" archive_cpu ${triplet})
  if(deb_architecture STREQUAL "armhf")
    set(archive_cpu armhf)
  endif()

  # Manual pages from each program's --help and --version; dated by SOURCE_DATE_EPOCH. A
  # program built for another processor answers under its emulator (qemu-user), through a
  # script that help2man can run as the program.
  find_program(ZQ70_HELP2MAN help2man REQUIRED)
  find_program(ZQ70_GZIP gzip REQUIRED)
  set(zq70cfg_summary "ZQ70 configurations as text: show, diff, check, wiring sheet, serial read and write")
  set(zq70sim_summary "simulated ZQ70 keyboard encoder on a serial line")
  set(release_docs)
  foreach(tool zq70cfg zq70sim)
    set(program $<TARGET_FILE:${tool}>)
    if(CMAKE_CROSSCOMPILING_EMULATOR)
      set(program ${staged}/emulated/${tool})
      list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
      file(GENERATE OUTPUT ${program}
        CONTENT "#!/bin/sh\nexec ${emulator} $<TARGET_FILE:${tool}> \"$@\"\n"
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
          WORLD_READ WORLD_EXECUTE)
    endif()
    add_custom_command(OUTPUT ${staged}/${tool}.1.gz
      COMMAND ${ZQ70_HELP2MAN} --no-info --no-discard-stderr --section=1
        --name=${${tool}_summary} --output=${staged}/${tool}.1 ${program}
      COMMAND ${ZQ70_GZIP} -n -9 -f ${staged}/${tool}.1
      DEPENDS ${tool} VERBATIM)
    list(APPEND release_docs ${staged}/${tool}.1.gz)
    install(FILES ${staged}/${tool}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()

  string(TIMESTAMP ZQ70_RELEASE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  configure_file(${packaging}/changelog.in ${staged}/changelog @ONLY)
  add_custom_command(OUTPUT ${staged}/changelog.gz
    COMMAND ${ZQ70_GZIP} -n -9 -f -k ${staged}/changelog
    DEPENDS ${staged}/changelog VERBATIM)
  list(APPEND release_docs ${staged}/changelog.gz)
  add_custom_target(release_docs DEPENDS ${release_docs})
  install(FILES ${packaging}/copyright ${staged}/changelog.gz DESTINATION ${docdir})
  install(FILES ${ZQ70_GUIDE_HTML} DESTINATION ${docdir} RENAME guide.html)
  # The web editor is a page to open, not documentation: it goes beside the programs' data.
  install(FILES ${ZQ70_WEB_PAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/${ZQ70_DEB_PACKAGE})

  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_PACKAGE_NAME ${ZQ70_DEB_PACKAGE})
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tools for the ZQ70 keyboard encoder")
  # One paragraph in lines that fit the control file.
  string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "zq70cfg keeps ZQ70 configurations as TOML text: it shows, compares and"
    "checks them, prints a wiring sheet, and reads and writes the device over a"
    "serial line with read-back verification and series programming. zq70sim"
    "is a simulated ZQ70 on a pseudo-terminal, to try the programs without the"
    "hardware. /usr/share/zq70-tools/zq70web.html is the configuration editor as"
    "one web page, for any web browser.")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${deb_architecture})
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # dpkg-shlibdeps runs in cpack_staging.cmake, where it is told the package's architecture
  # and, in a cross build, where the target's C library lies.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  set(CPACK_ZQ70_DEB_HOST_ARCH ${deb_architecture})
  set(CPACK_ZQ70_TARGET_LIBRARIES "")
  if(CMAKE_CROSSCOMPILING)
    set(CPACK_ZQ70_TARGET_LIBRARIES ${CMAKE_FIND_ROOT_PATH}/lib)
  endif()
  set(CPACK_ZQ70_LINUX_NAME ${ZQ70_DEB_PACKAGE}-${PROJECT_VERSION}-linux-${archive_cpu})
endif()

include(CPack)
