// The serial protocol's command bytes and the answers the device gives them.
#pragma once

#include <cstdint>

namespace zq70 {

constexpr uint8_t kSerialOpen = 128;
constexpr uint8_t kSerialRead = 'R';
constexpr uint8_t kSerialKeyword = 'K';
constexpr uint8_t kSerialWrite = 'W';
constexpr uint8_t kSerialStore = 'S';
constexpr uint8_t kSerialEnd = 237;
constexpr uint8_t kSerialAcknowledge = '!';

} // namespace zq70
