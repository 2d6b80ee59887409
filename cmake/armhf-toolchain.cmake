# Linux on 32-bit ARM with hardware floating point (Debian's armhf: ARMv7 and later, such
# as a Raspberry Pi 2 or later with a 32-bit system).
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(ZQ70_CROSS_TRIPLET arm-linux-gnueabihf)
set(ZQ70_CROSS_QEMU qemu-arm-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-toolchain.cmake)
