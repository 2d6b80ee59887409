#include "configuration.h"

namespace zq70 {

namespace {

// With these tables every split into rows + columns = 24 uses 24 different pins: columns
// grow upward from A and then downward from X, rows upward from M and then downward from L.
void fill_default_pins(Configuration& config) {
    constexpr int kHalf = 12;
    for (int i = 0; i < kHalf; ++i) {
        config.column_pins[i] = i;
        config.row_pins[i] = kHalf + i;
    }
    for (int i = kHalf; i < kMaxLines; ++i) {
        config.column_pins[i] = kPinCount - 1 - (i - kHalf);
        config.row_pins[i] = kHalf - 1 - (i - kHalf);
    }
    for (int i = 0; i < kPinCount; ++i)
        config.input_pins[i] = i;
}

} // namespace

void reset_configuration(Configuration& config) {
    // Value-initialising clears every key code and the whole macro table, all 33 words of
    // all 128 slots; what remains is whatever is not 0 by default.
    config = Configuration{};
    config.rows = 12;
    config.columns = 12;
    fill_default_pins(config);
    config.baud_rate = 5;           // 9600
    config.typematic_delay = 1;     // 0.50 s
    config.typematic_interval = 20; // 10.9 characters per second
    config.modified = false;
}

} // namespace zq70
