# toml++ and CLI11, both used header-only. Their headers are copied into a folder of their
# own in the build tree, and only that folder is put on the include path: the MinGW build
# must never see the build machine's /usr/include. On Windows point ZQ70_HEADER_ROOT at a
# folder that holds toml++/ and CLI/.
set(ZQ70_HEADER_ROOT /usr/include CACHE PATH "Folder that holds the toml++ and CLI11 headers")
set(ZQ70_THIRD_PARTY_INCLUDE ${CMAKE_BINARY_DIR}/third_party/include)
foreach(header toml++/toml.h CLI/CLI.hpp)
  if(NOT EXISTS ${ZQ70_HEADER_ROOT}/${header})
    message(FATAL_ERROR "${ZQ70_HEADER_ROOT}/${header} not found: install libtomlplusplus-dev "
      "and libcli11-dev, or set ZQ70_HEADER_ROOT")
  endif()
  get_filename_component(folder ${header} DIRECTORY)
  file(COPY ${ZQ70_HEADER_ROOT}/${folder} DESTINATION ${ZQ70_THIRD_PARTY_INCLUDE})
endforeach()

add_library(zq70_third_party INTERFACE)
target_include_directories(zq70_third_party SYSTEM INTERFACE ${ZQ70_THIRD_PARTY_INCLUDE})
target_compile_definitions(zq70_third_party INTERFACE TOML_HEADER_ONLY=1)
