// The 512-byte device image: the ZQ70's configuration memory, and the only form in which a
// configuration leaves the program (files and both transports).
#pragma once

#include <array>
#include <cstdint>

#include "configuration.h"
#include "user_interface.h"

namespace zq70 {

constexpr int kImageSize = 512;
using DeviceImage = std::array<uint8_t, kImageSize>;

constexpr int kKeyCodeAreaSize = 144; // bytes 0..143
constexpr int kMacroAreaStart = 144;  // bytes 144..479
constexpr int kMacroAreaEnd = 480;    // one past the last macro byte
constexpr int kPinListOffset = 480;   // 24 pin codes
constexpr int kTypematicOffset = 504;
constexpr int kBaudOffset = 505;
constexpr int kOutputOffset = 506;
constexpr int kKeyboardOffset = 507;
constexpr int kColumnsOffset = 508;
constexpr int kRowsOffset = 509;
constexpr int kHeaderOffset = 480; // header bytes 480..511 travel first on the keyboard line
constexpr int kHeaderSize = 32;

// Fills the image from the configuration. When one pin serves twice it shows
// "Error: Pin X is used for multiple scan lines" through the seam, leaves the image all 0
// and returns false. Also refuses (with a message) macros that would not fit below 480.
bool encode_image(const Configuration& config, DeviceImage& image, const UserInterface& ui);

// Takes an image into the configuration. Every check is made before anything changes: a
// refused image (false) leaves the configuration exactly as it was. No message of its own.
bool decode_image(const DeviceImage& image, Configuration& config);

// Pin index 0..23 <-> the device's one-byte pin code.
uint8_t pin_to_code(int pin);
int code_to_pin(uint8_t code);
bool is_valid_pin_code(uint8_t code);

// Number of macro records that the key code area calls for: its highest byte minus 128,
// or 0. Used by the decoder and by the keyboard-line read.
int macro_record_count(const DeviceImage& image);

} // namespace zq70
