// The simulated ZQ70 of sim/ as a module of its own, for the page's speed test: a stand-in
// device inside the page that answers every command at once, so that what a transfer costs
// beyond the protocol's own waits is the page's.
#include <emscripten/bind.h>

#include "../core/js_values.h"
#include "sim/device_model.h"

namespace {

int answer(zq70::DeviceModel& device, int byte) {
    return device.serial_byte(static_cast<uint8_t>(byte)).value;
}

emscripten::val memory(const zq70::DeviceModel& device) {
    return zq70::web::image_value(device.memory);
}

} // namespace

EMSCRIPTEN_BINDINGS(zq70_device) {
    using namespace emscripten;
    class_<zq70::DeviceModel>("DeviceModel")
        .constructor<>()
        .function("serialByte", &answer)
        .function("memory", &memory);
}
