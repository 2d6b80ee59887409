// The texts that the device link shows, kept in one place.
#pragma once

namespace zq70 {

// Caption of the detail boxes of the keyboard-line protocols.
inline constexpr const char* kErrorCaption = "Error";

inline constexpr const char* kReadingProgress = "Reading configuration - %d%%";
inline constexpr const char* kReadingDone = "Reading configuration - 100%";
inline constexpr const char* kWritingProgress = "Writing configuration - %d%%";

inline constexpr const char* kIncorrectKey = "Incorrect key: %d";
inline constexpr const char* kIncorrectChecksum = "Incorrect checksum on %d: Key1 = %d, Key2 = %d";
// Both name the byte at 508 (the column count) first, whatever the words say.
inline constexpr const char* kRowsWrong = "Number of rows wrong (%d)";
inline constexpr const char* kColsWrong = "Number of cols wrong: rows = %d, cols = %d";

inline constexpr const char* kNoResponseGetting = "No response on getting value %d";
inline constexpr const char* kNoGoodCombos = "No good combos";
inline constexpr const char* kNoResponseSetting = "No response on setting value %d";
inline constexpr const char* kWrongResponseHigh = "Wrong response on byte %d-1 = %d (r = %d)";
inline constexpr const char* kWrongResponseLow = "Wrong response on byte %d-2 = %d (r = %d)";

} // namespace zq70
