// The main window's own texts, kept in one place.
#pragma once

namespace zq70 {

inline constexpr const char* kRowsLabelText = "Number of Rows";
inline constexpr const char* kColumnsLabelText = "Number of Columns";
inline constexpr const char* kDiscretesLabelText = "Number of Discretes";
inline constexpr const char* kColumnLabelFormat = "Col %d";
inline constexpr const char* kRowLabelFormat = "Row %d";
inline constexpr const char* kInputLabelFormat = "Input %d";
inline constexpr const char* kCountFormat = "%d";
inline constexpr const char* kUiFontFace = "Microsoft Sans Serif";

inline constexpr const char* kDistributionVolumeLabel = "ZQ70";
inline constexpr const char* kDistributionVolumeWarning =
    "Warning: The ZQ70 programs must be copied to and run\n"
    "from its own folder on the PC's harddrive. The CD itself\n"
    "should be reserved for backup purposes only.";

inline constexpr const char* kCannotCreateWindow =
    "The main window could not be created. The program stops.";

} // namespace zq70
