# Compiler and linker settings of the release programs (ZQ70_RELEASE, scripts/dist): the
# same commit gives the same bytes whatever the build folder, the clock or the user, and the
# programs carry no symbols. The test builds keep their own settings.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  message(FATAL_ERROR "A release build takes every time stamp from SOURCE_DATE_EPOCH: "
    "run scripts/dist (make dist), which sets it from the last commit")
endif()
if(MSVC)
  message(FATAL_ERROR "Release packages are made with GCC and MinGW (make dist)")
endif()

# No absolute path of the checkout or the build folder in any object. The build folder is
# checked first (GCC tries the last option first), as it usually lies inside the checkout.
add_compile_options(
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
  -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)

add_link_options(-s)
if(MINGW)
  # PE headers hold a link time stamp unless told otherwise.
  add_link_options(-Wl,--no-insert-timestamp)
else()
  # The hardening Debian builds its own packages with.
  add_compile_options(-D_FORTIFY_SOURCE=2 -fstack-protector-strong -Wformat
    -Werror=format-security)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()

# Files and folders of the packages get the same permissions whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# scripts/dist builds just the shipped targets; packing must not build everything else.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
