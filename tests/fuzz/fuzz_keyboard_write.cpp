// One keyboard-line write per input of an image that the input chooses, to a device that the
// input plays on a virtual clock (keyboard_harness.h).
#include "keyboard_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zq70::fuzz::run_keyboard_case(zq70::fuzz::KeyboardTransfer::Write, data, size);
    return 0;
}
