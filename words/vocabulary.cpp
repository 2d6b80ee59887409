#include "vocabulary.h"

#include <cctype>
#include <cstdlib>
#include <utility>
#include <vector>

#include "config/key_names.h"

namespace zq70::words {

namespace {

constexpr const char* kNotUsedText = "Not Used";

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Words separated by single blanks, so that "press  L Ctrl " reads like "press L Ctrl".
std::string tidy(std::string_view text) {
    std::string out;
    for (char c : text) {
        const bool blank = std::isspace(static_cast<unsigned char>(c)) != 0;
        if (blank) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// "7 &&" is a button caption's way of showing one ampersand.
std::string single_ampersands(const char* caption) {
    std::string out;
    for (const char* p = caption; *p != '\0'; ++p) {
        if (p[0] == '&' && p[1] == '&') ++p;
        out += *p;
    }
    return out;
}

// A whole decimal number in low..high, or nullopt.
std::optional<int> whole_number(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

// The number after a word such as "key " or "macro ", when text starts with it.
std::optional<std::string_view> after_word(std::string_view lowered, std::string_view word) {
    if (lowered.substr(0, word.size()) != word) return std::nullopt;
    return lowered.substr(word.size());
}

constexpr int kLongestDelayMs = 2560;
constexpr int kDelayUnitMs = 10;

} // namespace

std::string pin_text(int pin) {
    if (pin < 0 || pin >= zq70::kPinCount) return "?";
    return std::string(1, zq70::pin_letter(pin));
}

int pin_of_text(std::string_view text) {
    if (text.size() != 1) return -1;
    const int letter = std::toupper(static_cast<unsigned char>(text[0]));
    if (letter < 'A' || letter >= 'A' + zq70::kPinCount) return -1;
    return letter - 'A';
}

std::string key_text(int key) {
    if (key < 1 || key > zq70::kHighestKeyNumber) return {};
    if (zq70::key_button_caption(key) == nullptr) return {};
    return single_ampersands(zq70::key_name(key, true));
}

std::string key_long_text(int key) {
    if (key_text(key).empty()) return {};
    return single_ampersands(zq70::key_name(key, false));
}

std::string key_button_text(int key) {
    if (key_text(key).empty()) return {};
    return single_ampersands(zq70::key_button_caption(key));
}

int key_of_text(std::string_view text) {
    // Both names of every key, lowered once: an import looks up every cell and step.
    static const std::vector<std::pair<std::string, int>> names = [] {
        std::vector<std::pair<std::string, int>> list;
        for (int key = 1; key <= zq70::kHighestKeyNumber; ++key) {
            if (zq70::key_button_caption(key) == nullptr) continue;
            list.emplace_back(lower(single_ampersands(zq70::key_name(key, true))), key);
            list.emplace_back(lower(single_ampersands(zq70::key_name(key, false))), key);
        }
        return list;
    }();
    const std::string wanted = lower(single_ampersands(tidy(text).c_str()));
    for (const auto& [name, key] : names) {
        if (name == wanted) return key;
    }
    return -1;
}

std::string step_text(int word) {
    const int low = word & 0xFF;
    if (low == 0) return {};
    if (zq70::is_delay_step(word))
        return "wait " + std::to_string(zq70::delay_step_ms(word)) + " ms";
    const int key = low & 0x7F;
    const std::string name = key_text(key);
    const std::string what = name.empty() ? "key " + std::to_string(key) : name;
    return (zq70::is_break_step(word) ? "release " : "press ") + what;
}

std::optional<int> step_of_text(std::string_view text, std::string& reason) {
    const std::string tidied = tidy(text);
    const std::string lowered = lower(tidied);
    if (auto rest = after_word(lowered, "wait ")) {
        std::string_view number = *rest;
        if (number.size() > 3 && number.substr(number.size() - 3) == " ms")
            number.remove_suffix(3);
        else if (number.size() > 2 && number.substr(number.size() - 2) == "ms")
            number.remove_suffix(2);
        const auto ms = whole_number(number, 0, 999999);
        if (!ms) {
            reason = "a delay is written \"wait 250 ms\"";
            return std::nullopt;
        }
        if (*ms < kDelayUnitMs || *ms > kLongestDelayMs || *ms % kDelayUnitMs != 0) {
            reason = "a delay must be 10 to 2560 ms in steps of 10 ms, not " + std::to_string(*ms) +
                     " ms";
            return std::nullopt;
        }
        return zq70::delay_step(*ms / kDelayUnitMs); // 2560 ms is count 0
    }
    bool release = false;
    std::size_t skip = 0;
    if (after_word(lowered, "press ")) {
        skip = 6;
    } else if (after_word(lowered, "release ")) {
        release = true;
        skip = 8;
    } else {
        reason =
            "a step is \"press KEY\", \"release KEY\" or \"wait N ms\", not \"" + tidied + "\"";
        return std::nullopt;
    }
    const std::string_view what = std::string_view(tidied).substr(skip);
    int key = key_of_text(what);
    if (key < 0) {
        // "key N" names a number without a name. A release may also carry the odd bytes
        // 0x80 and 0xFF that a device image can hold (keys 0 and 127).
        const auto number = after_word(std::string_view(lowered).substr(skip), "key ");
        const auto value = number ? whole_number(*number, 0, 127) : std::nullopt;
        if (!value) {
            reason = "unknown key name \"" + std::string(what) + "\"";
            return std::nullopt;
        }
        if (!release && (*value < 1 || *value > zq70::kHighestKeyNumber)) {
            reason = "key number " + std::to_string(*value) + " is outside 1..126";
            return std::nullopt;
        }
        key = *value;
    }
    return release ? zq70::break_step(key) : zq70::make_step(key);
}

std::string cell_label(int row, int column) {
    return row_label(row) + " " + column_label(column);
}
std::string column_label(int column) {
    return "Col " + std::to_string(column + 1);
}
std::string row_label(int row) {
    return "Row " + std::to_string(row + 1);
}
std::string input_label(int input) {
    return "Input " + std::to_string(input + 1);
}
std::string macro_label(int slot) {
    return "Macro " + std::to_string(slot + 1);
}

std::string key_code_text(const zq70::Configuration& config, int code) {
    code &= 0xFF;
    if (config.switches_keypad_to == zq70::kSwitchesToRs232)
        return code == zq70::kRs232NotUsed ? kNotUsedText : std::to_string(code);
    if (code == zq70::kNotUsed) return kNotUsedText;
    if (zq70::is_macro_code(code)) return macro_label(zq70::slot_of_macro_code(code));
    if (code > zq70::kHighestKeyNumber) return "Code " + std::to_string(code);
    const std::string name = key_text(code);
    return name.empty() ? "Key " + std::to_string(code) : name;
}

std::optional<int> key_code_of_text(int switches_keypad_to, std::string_view text,
                                    std::string& reason) {
    const std::string tidied = tidy(text);
    const std::string lowered = lower(tidied);
    const bool rs232 = switches_keypad_to == zq70::kSwitchesToRs232;
    if (lowered == lower(kNotUsedText)) return rs232 ? zq70::kRs232NotUsed : zq70::kNotUsed;
    if (auto number = after_word(lowered, "code ")) {
        if (auto value = whole_number(*number, 0, 255)) return *value;
        reason = "a code is a number from 0 to 255";
        return std::nullopt;
    }
    if (rs232) {
        if (auto value = whole_number(lowered, 0, 255)) return *value;
        reason = "in RS-232 mode a cell sends a code from 0 to 255, not \"" + tidied + "\"";
        return std::nullopt;
    }
    if (auto number = after_word(lowered, "macro ")) {
        if (auto value = whole_number(*number, 1, zq70::kUsableMacroSlots))
            return zq70::macro_code_of_slot(*value - 1);
        reason = "macros are numbered from 1 to 127";
        return std::nullopt;
    }
    if (auto number = after_word(lowered, "key ")) {
        const auto value = whole_number(*number, 0, 999999);
        if (value && *value >= 1 && *value <= zq70::kHighestKeyNumber) return *value;
        reason = "key number " + std::string(*number) + " is outside 1..126";
        return std::nullopt;
    }
    const int key = key_of_text(tidied);
    if (key < 0) {
        reason = "unknown key name \"" + tidied + "\"";
        return std::nullopt;
    }
    return key;
}

} // namespace zq70::words
