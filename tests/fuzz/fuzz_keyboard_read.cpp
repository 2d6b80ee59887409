// One keyboard-line read per input, from a device that the input plays on a virtual clock:
// its memory, and every key it types, when and how (keyboard_harness.h).
#include "keyboard_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zq70::fuzz::run_keyboard_case(zq70::fuzz::KeyboardTransfer::Read, data, size);
    return 0;
}
