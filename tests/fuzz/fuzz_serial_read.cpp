// One serial read per input, from a device that the input plays on a virtual clock: every
// answer, its delay and the bytes around it come from the input (serial_harness.h).
#include "serial_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zq70::fuzz::run_serial_case(zq70::fuzz::SerialTransfer::Read, data, size);
    return 0;
}
