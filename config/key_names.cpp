#include "key_names.h"

namespace zq70 {

namespace {

struct KeyEntry {
    const char* short_name; // nullptr: unassigned number, named "Not Used"
    const char* long_name;
    const char* button; // caption in "Select a key"; nullptr: no button
};

// Indexed by key number. Every name ends up in a button caption, where a single ampersand
// marks a mnemonic; hence the doubled one of key 8.
constexpr KeyEntry kKeys[128] = {
    {nullptr, nullptr, nullptr},          // 0
    {"` ~", "` ~", "` ~"},                // 1
    {"1 !", "1 !", "1 !"},                // 2
    {"2 @", "2 @", "2 @"},                // 3
    {"3 #", "3 #", "3 #"},                // 4
    {"4 $", "4 $", "4 $"},                // 5
    {"5 %", "5 %", "5 %"},                // 6
    {"6 ^", "6 ^", "6 ^"},                // 7
    {"7 &&", "7 &&", "7 &&"},             // 8
    {"8 *", "8 *", "8 *"},                // 9
    {"9 (", "9 (", "9 ("},                // 10
    {"0 )", "0 )", "0 )"},                // 11
    {"- _", "- _", "- _"},                // 12
    {"= +", "= +", "= +"},                // 13
    {nullptr, nullptr, nullptr},          // 14
    {"Bksp", "Backspace", "Backspace"},   // 15
    {"Tab", "Tab", "Tab"},                // 16
    {"Q", "Q", "Q"},                      // 17
    {"W", "W", "W"},                      // 18
    {"E", "E", "E"},                      // 19
    {"R", "R", "R"},                      // 20
    {"T", "T", "T"},                      // 21
    {"Y", "Y", "Y"},                      // 22
    {"U", "U", "U"},                      // 23
    {"I", "I", "I"},                      // 24
    {"O", "O", "O"},                      // 25
    {"P", "P", "P"},                      // 26
    {"[ {", "[ {", "[ {"},                // 27
    {"] }", "] }", "] }"},                // 28
    {"\\ |", "\\ |", "\\ |"},             // 29
    {"Caps", "Caps", "Caps Lock"},        // 30
    {"A", "A", "A"},                      // 31
    {"S", "S", "S"},                      // 32
    {"D", "D", "D"},                      // 33
    {"F", "F", "F"},                      // 34
    {"G", "G", "G"},                      // 35
    {"H", "H", "H"},                      // 36
    {"J", "J", "J"},                      // 37
    {"K", "K", "K"},                      // 38
    {"L", "L", "L"},                      // 39
    {"; :", "; :", "; :"},                // 40
    {"' \"", "' \"", "' ''"},             // 41
    {nullptr, nullptr, nullptr},          // 42
    {"Ent", "Enter", "Enter"},            // 43
    {"L Sft", "Left Shift", "Shift"},     // 44
    {nullptr, nullptr, nullptr},          // 45
    {"Z", "Z", "Z"},                      // 46
    {"X", "X", "X"},                      // 47
    {"C", "C", "C"},                      // 48
    {"V", "V", "V"},                      // 49
    {"B", "B", "B"},                      // 50
    {"N", "N", "N"},                      // 51
    {"M", "M", "M"},                      // 52
    {", <", ", <", ", <"},                // 53
    {". >", ". >", ". >"},                // 54
    {"/ ?", "/ ?", "/ ?"},                // 55
    {nullptr, nullptr, nullptr},          // 56
    {"R Sft", "Right Shift", "Shift"},    // 57
    {"L Ctrl", "Left Ctrl", "Ctrl"},      // 58
    {nullptr, nullptr, nullptr},          // 59
    {"L Alt", "Left Alt", "Alt"},         // 60
    {"Space", "Space", "Space"},          // 61
    {"R Alt", "Right Alt", "Alt"},        // 62
    {nullptr, nullptr, nullptr},          // 63
    {"R Ctrl", "Right Ctrl", "Ctrl"},     // 64
    {nullptr, nullptr, nullptr},          // 65
    {nullptr, nullptr, nullptr},          // 66
    {nullptr, nullptr, nullptr},          // 67
    {nullptr, nullptr, nullptr},          // 68
    {nullptr, nullptr, nullptr},          // 69
    {"L Win", "Left Win", "Win"},         // 70
    {"R Win", "Right Win", "Win"},        // 71
    {"Win Apl", "Win Apl", "Apl"},        // 72
    {nullptr, nullptr, nullptr},          // 73
    {nullptr, nullptr, nullptr},          // 74
    {"Ins", "Insert", "Ins"},             // 75
    {"Del", "Delete", "Del"},             // 76
    {nullptr, nullptr, nullptr},          // 77
    {nullptr, nullptr, nullptr},          // 78
    {"Left", "Left Arrow", "Left"},       // 79
    {"Home", "Home", "Home"},             // 80
    {"End", "End", "End"},                // 81
    {nullptr, nullptr, nullptr},          // 82
    {"Up", "Up Arrow", "Up"},             // 83
    {"Down", "Down Arrow", "Down"},       // 84
    {"Pg Up", "Page Up", "PgUp"},         // 85
    {"Pg Dn", "Page Down", "PgDn"},       // 86
    {nullptr, nullptr, nullptr},          // 87
    {nullptr, nullptr, nullptr},          // 88
    {"Right", "Right Arrow", "Right"},    // 89
    {"Num Lk", "Num Lock", "Num"},        // 90
    {"7 (N)", "7 (Num)", "7"},            // 91
    {"4 (N)", "4 (Num)", "4"},            // 92
    {"1 (N)", "1 (Num)", "1"},            // 93
    {nullptr, nullptr, nullptr},          // 94
    {"/ (N)", "/ (Num)", "/"},            // 95
    {"8 (N)", "8 (Num)", "8"},            // 96
    {"5 (N)", "5 (Num)", "5"},            // 97
    {"2 (N)", "2 (Num)", "2"},            // 98
    {"0 (N)", "0 (Num)", "0"},            // 99
    {"* (N)", "* (Num)", "*"},            // 100
    {"9 (N)", "9 (Num)", "9"},            // 101
    {"6 (N)", "6 (Num)", "6"},            // 102
    {"3 (N)", "3 (Num)", "3"},            // 103
    {". (N)", ". (Num)", "."},            // 104
    {"- (N)", "- (Num)", "-"},            // 105
    {"+ (N)", "+ (Num)", "+"},            // 106
    {nullptr, nullptr, nullptr},          // 107
    {"Ent (N)", "Enter (Num)", "Ent"},    // 108
    {nullptr, nullptr, nullptr},          // 109
    {"Esc", "Esc", "Esc"},                // 110
    {nullptr, nullptr, nullptr},          // 111
    {"F1", "F1", "F1"},                   // 112
    {"F2", "F2", "F2"},                   // 113
    {"F3", "F3", "F3"},                   // 114
    {"F4", "F4", "F4"},                   // 115
    {"F5", "F5", "F5"},                   // 116
    {"F6", "F6", "F6"},                   // 117
    {"F7", "F7", "F7"},                   // 118
    {"F8", "F8", "F8"},                   // 119
    {"F9", "F9", "F9"},                   // 120
    {"F10", "F10", "F10"},                // 121
    {"F11", "F11", "F11"},                // 122
    {"F12", "F12", "F12"},                // 123
    {"Prt Scn", "Print Screen", "PrtSc"}, // 124
    {"Scrl Lk", "Scrl Lock", "ScrLk"},    // 125
    {"Pause", "Pause", "Pause"},          // 126
    {"Delay", "Delay", nullptr},          // 127
};

constexpr const char* kNotUsed = "Not Used";

} // namespace

const char* key_name(int code, bool short_form) {
    const KeyEntry& key = kKeys[code & 0x7F];
    if (key.short_name == nullptr) return kNotUsed;
    return short_form ? key.short_name : key.long_name;
}

const char* key_button_caption(int key) {
    if (key < 1 || key > kHighestKeyNumber) return nullptr;
    return kKeys[key].button;
}

} // namespace zq70
