// The 512-byte device image: the ZQ70's configuration memory, and the only form in which a
// configuration leaves the program (files and both transports).
#pragma once

#include <array>
#include <cstdint>
#include <string>

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

// What encode_image refuses, as values, so that the front ends without its message box
// (zq70cfg, the web page) can say it in their own words and point at the place.
enum class EncodeRefusal {
    None,
    BadLayout,      // counts or pins out of range: only a damaged record has them
    PinUsedTwice,   // two entries of the pin list name the same pin
    MacrosTooLarge, // the macro records do not fit into the 336 bytes of macro memory
};

struct EncodeCheck {
    EncodeRefusal refusal = EncodeRefusal::None;
    // PinUsedTwice: the first equal pair in the encoder's order, as places in the pin list
    // (the columns, then the rows, then the inputs, each in table order) and their pin.
    int first_entry = -1;
    int second_entry = -1;
    int pin = -1;
    // Bytes that the macro records take in the image (two length bytes each, also for a
    // macro without steps); 0 in RS-232 mode, where the image carries none. Always set, so
    // that a refusal of the layout does not hide macros that do not fit.
    int macro_bytes = 0;

    // Bytes beyond the macro memory, 0 when the macros fit.
    int macro_overflow() const {
        return macro_bytes > kMacroMemory ? macro_bytes - kMacroMemory : 0;
    }
};

// The checks of encode_image, in its order, without a message: the first refusal found.
EncodeCheck check_encoding(const Configuration& config);

// The refusal as the encoder words it after its "Error: " ("Pin A is used for multiple
// scan lines"); "" for none.
std::string refusal_text(const EncodeCheck& check);
// Word that the encoder's message box puts before the refusal.
inline constexpr const char* kEncoderErrorWord = "Error: ";

// Bytes that the record of one macro slot takes in the image: two length bytes and its
// steps, a delay counting two.
int macro_record_size(const MacroSlot& slot);

// Fills the image from the configuration. When check_encoding finds a refusal it shows
// kEncoderErrorWord + refusal_text ("Error: Pin X is used for multiple scan lines") through
// the seam, leaves the image all 0 and returns false.
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
