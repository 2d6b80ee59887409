// One serial write per input of an image that the input chooses, to a device that the input
// plays on a virtual clock (serial_harness.h).
#include "serial_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zq70::fuzz::run_serial_case(zq70::fuzz::SerialTransfer::Write, data, size);
    return 0;
}
