// How a nibble travels on the keyboard line: as a key value 0..31 typed as '0'..'9' or
// 'A'..'V' (bit 4 is a parity bit), and how the device acknowledges a nibble with Ctrl or
// Shift. Shared by the protocols and the simulated device, so both sides agree by
// construction.
#pragma once

#include "keyboard_platform.h"

namespace zq70 {

constexpr int kKeyValueCount = 32;

inline int bit_count(int value) {
    int count = 0;
    for (; value != 0; value >>= 1)
        count += value & 1;
    return count;
}

// The bit that gives the nibble with it an odd number of 1-bits.
inline int odd_parity_bit(int nibble) {
    return bit_count(nibble & 0x0F) % 2 == 0 ? 1 : 0;
}

// True when the nibble and the bit together have an odd number of 1-bits.
inline bool parity_holds(int nibble, int bit) {
    return odd_parity_bit(nibble) == bit;
}

// Key value 0..31 of a virtual-key code, or -1 when the key carries no value.
inline int key_value_of(int vk) {
    if (vk >= '0' && vk <= '9') return vk - '0';
    if (vk >= 'A' && vk <= 'V') return vk - 'A' + 10;
    return -1;
}

inline int key_of_value(int value) {
    return value < 10 ? '0' + value : 'A' + value - 10;
}

// The two key values of one image byte: the high nibble with the parity of the low one,
// then the low nibble with the parity of the high one.
inline int first_key_value(int byte) {
    return (byte >> 4 & 0x0F) | odd_parity_bit(byte) << 4;
}
inline int second_key_value(int byte) {
    return (byte & 0x0F) | odd_parity_bit(byte >> 4) << 4;
}

// The acknowledgement of a written nibble: Ctrl for an even number of 1-bits, Shift for odd.
inline int nibble_answer(int nibble) {
    return bit_count(nibble & 0x0F) % 2 == 0 ? kVkControl : kVkShift;
}

} // namespace zq70
