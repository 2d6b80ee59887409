# Linux on 64-bit ARM (Debian's arm64: Raspberry Pi 3 and later with a 64-bit system).
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(ZQ70_CROSS_TRIPLET aarch64-linux-gnu)
set(ZQ70_CROSS_QEMU qemu-aarch64-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-toolchain.cmake)
