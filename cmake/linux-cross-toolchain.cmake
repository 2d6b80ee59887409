# Cross build for Linux on another processor with Debian's cross compilers (g++-TRIPLET),
# which bring the target's C library and libstdc++ under /usr/TRIPLET. Included by the
# toolchain file of each processor after it has set:
#   ZQ70_CROSS_TRIPLET  the GNU triplet, e.g. aarch64-linux-gnu
#   ZQ70_CROSS_QEMU     the qemu-user program that runs the target's programs here
# The programs are linked against the target's C library dynamically; qemu finds its
# loader and libraries under /usr/TRIPLET (-L).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${ZQ70_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${ZQ70_CROSS_TRIPLET}-g++)
set(CMAKE_FIND_ROOT_PATH /usr/${ZQ70_CROSS_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZQ70_CROSS_QEMU} -L /usr/${ZQ70_CROSS_TRIPLET})
# libstdc++ and libgcc are linked in, so that the programs need only the target's C library:
# the cross libraries' package data (shlibs) give no version for libstdc++6, and name the
# cross compiler's own package for libgcc_s, which a Raspberry Pi does not have.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libstdc++ -static-libgcc")
