#include "text_form.h"

#include <algorithm>
#include <map>
#include <vector>

// toml++ checks its parser's expectations with TOML_ASSERT, and malformed text breaks some of
// them ("[" and a line end) before the parser's own error handling reports the problem.
// Debug builds would abort there, and under NDEBUG the checks become hints to the optimiser,
// which is undefined behaviour when they fail. So they are neither run nor assumed: NDEBUG
// is lifted while the header is read and TOML_ASSERT does nothing. No other file includes
// toml++, so no translation unit builds its functions differently.
#ifdef NDEBUG
#undef NDEBUG
#define ZQ70_RESTORE_NDEBUG
#endif
#define TOML_ASSERT(expr) static_assert(true)
#include <toml++/toml.h>
#ifdef ZQ70_RESTORE_NDEBUG
#define NDEBUG
#undef ZQ70_RESTORE_NDEBUG
#endif

#include "config/options.h"
#include "device_view.h"
#include "vocabulary.h"

namespace zq70::words {

namespace {

using zq70::Configuration;
using zq70::DeviceImage;

constexpr const char* kHeader =
    "# ZQ70 configuration as text, to edit by hand and keep under version control; zq70cfg\n"
    "# import turns it into a configuration file. Lines from # on are comments.\n"
    "# [layout]: rows, columns and the pin letter (A to X) of each column, row and input.\n"
    "# [options]: the Options menu, caption = item. [cells] and [inputs]: what each sends,\n"
    "# numbered from 1 like the main window; those not listed are not used. Each [[macro]] is\n"
    "# Macro 1, Macro 2, ... in order; its steps read \"press A\", \"release A\", \"wait 250 "
    "ms\".\n";

constexpr int kLineWidth = 100;
constexpr int kMostUsersNamed = 4; // users listed in the comment of a [[macro]]

// ---- Writing ----

// A TOML basic string. Not named quoted: libc++ would find std::quoted by argument-
// dependent lookup for a std::string argument and call the two ambiguous.
std::string toml_string(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out + '"';
}

// key = ["a", "b"] on one line; one item a line when that line would be too long to read.
void write_list(std::string& out, const char* key, const std::vector<std::string>& items,
                bool may_wrap) {
    std::string line = std::string(key) + " = [";
    for (std::size_t i = 0; i < items.size(); ++i)
        line += (i > 0 ? ", " : "") + toml_string(items[i]);
    line += "]";
    if (!may_wrap || static_cast<int>(line.size()) <= kLineWidth) {
        out += line + "\n";
        return;
    }
    out += std::string(key) + " = [\n";
    for (const std::string& item : items)
        out += "    " + toml_string(item) + ",\n";
    out += "]\n";
}

void write_pins(std::string& out, const char* key, const int32_t* pins, int count) {
    std::vector<std::string> letters;
    for (int i = 0; i < count; ++i)
        letters.push_back(pin_text(pins[i]));
    write_list(out, key, letters, false);
}

void write_layout(std::string& out, const Configuration& config) {
    out += "\n[layout]\n";
    out += "rows = " + std::to_string(config.rows) + "\n";
    out += "columns = " + std::to_string(config.columns) + "\n";
    // The counts in force, so that a damaged configuration can still be written out (the
    // import then says what is wrong with it).
    const Layout layout = layout_of(config);
    write_pins(out, "column_pins", config.column_pins, layout.columns);
    write_pins(out, "row_pins", config.row_pins, layout.rows);
    write_pins(out, "input_pins", config.input_pins, layout.inputs);
}

void write_options(std::string& out, const Configuration& config) {
    out += "\n[options]\n";
    for (const zq70::OptionGroup& option : zq70::option_groups) {
        const int value = config.*option.field;
        out += toml_string(option.caption) + " = ";
        if (const char* item = option_item(option, value))
            out += toml_string(item) + "\n";
        else
            out += std::to_string(value) + " # a value that no menu item has\n";
    }
}

void write_codes(std::string& out, const Configuration& config) {
    const bool rs232 = config.switches_keypad_to == zq70::kSwitchesToRs232;
    out += "\n[cells]\n";
    bool inputs_begun = false;
    for (const Cell& cell : cells_of(config)) {
        if (is_input(cell) && !inputs_begun) {
            out += "\n[inputs]\n";
            inputs_begun = true;
        }
        const int code = device_code(config.key_codes[cell.index]);
        if (sends_nothing(config, code)) continue;
        out += toml_string(cell.label) + " = ";
        out += rs232 ? std::to_string(code) : toml_string(key_code_text(config, code));
        out += "\n";
    }
}

// "Macro 2: Row 1 Col 3, Input 2", so that a reader sees where a macro is played.
std::string macro_comment(const Configuration& config, int number, int code) {
    std::vector<std::string> users;
    for (const Cell& cell : cells_of(config)) {
        if (device_code(config.key_codes[cell.index]) == code) users.push_back(cell.label);
    }
    std::string comment = "# " + macro_label(number);
    if (users.empty()) return comment + ", sent by no cell or input";
    for (std::size_t i = 0; i < users.size() && i < kMostUsersNamed; ++i)
        comment += (i == 0 ? ": " : ", ") + users[i];
    if (users.size() > kMostUsersNamed)
        comment += " and " + std::to_string(users.size() - kMostUsersNamed) + " more";
    return comment;
}

// The steps that reach the device (the encoder closes up empty words), in words.
std::vector<std::string> step_texts(const zq70::MacroSlot& slot, bool break_sequence) {
    std::vector<std::string> texts;
    for (const int step : played_steps(slot, break_sequence))
        texts.push_back(step_text(step));
    return texts;
}

// The slots in use in slot order, as the encoder writes them: the k-th listed is Macro k.
void write_macros(std::string& out, const Configuration& config) {
    int number = 0;
    for (int s = 0; s < zq70::kUsableMacroSlots; ++s) {
        const zq70::MacroSlot& slot = config.macros[s];
        if (!slot.in_use) continue;
        out += "\n[[macro]] " + macro_comment(config, number, zq70::macro_code_of_slot(s)) + "\n";
        write_list(out, "make", step_texts(slot, false), true);
        write_list(out, "break", step_texts(slot, true), true);
        ++number;
    }
}

// ---- Reading ----

constexpr const char* kSectionNames = "[layout], [options], [cells], [inputs] and [[macro]]";

std::string type_name(const toml::node& node) {
    switch (node.type()) {
    case toml::node_type::table: return "a table";
    case toml::node_type::array: return "a list";
    case toml::node_type::string: return "text";
    case toml::node_type::integer: return "a whole number";
    case toml::node_type::floating_point: return "a number with a fraction";
    case toml::node_type::boolean: return "true or false";
    default: return "a date or time";
    }
}

// Labels to key code indices, made from the same words that export writes.
const std::map<std::string, int>& cell_labels() {
    static const std::map<std::string, int> labels = [] {
        std::map<std::string, int> map;
        for (int r = 0; r < zq70::kMaxLines; ++r)
            for (int c = 0; c < zq70::kMaxLines; ++c)
                map[cell_label(r, c)] = zq70::cell_index(r, c);
        return map;
    }();
    return labels;
}
const std::map<std::string, int>& input_labels() {
    static const std::map<std::string, int> labels = [] {
        std::map<std::string, int> map;
        for (int i = 0; i < zq70::kPinCount; ++i)
            map[input_label(i)] = zq70::input_index(i);
        return map;
    }();
    return labels;
}

// Whether the device image can carry this value of an option: the codec itself decides,
// so that the text form never accepts a value that would not come back.
bool image_holds(int32_t Configuration::*field, int64_t value) {
    if (value < 0 || value > 0xFF) return false;
    Configuration config;
    zq70::reset_configuration(config);
    config.*field = static_cast<int32_t>(value);
    DeviceImage image;
    if (!zq70::encode_image(config, image, zq70::UserInterface{})) return false;
    Configuration back;
    zq70::reset_configuration(back);
    return zq70::decode_image(image, back) && back.*field == value;
}

// One pin list of [layout]: its key, the table it fills and where it stands in the image's
// pin list (columns, rows, inputs).
struct PinList {
    const char* key;
    const char* lines; // what one entry is wired to, for the messages
    int32_t* pins;
    int count;
    int first; // position of its first entry in the image's pin list
};

class Reader {
  public:
    explicit Reader(TextError& error) : error_(error) {}

    // Builds config (which starts as the defaults) and image from the document.
    bool read(const toml::table& root, Configuration& config, DeviceImage& image) {
        const toml::table* layout = nullptr;
        const toml::table* options = nullptr;
        const toml::table* cells = nullptr;
        const toml::table* inputs = nullptr;
        const toml::node* macros = nullptr;
        for (auto&& [key, node] : root) {
            const std::string_view name = key.str();
            if (name == "macro") {
                macros = &node;
                continue;
            }
            const toml::table** section = name == "layout"    ? &layout
                                          : name == "options" ? &options
                                          : name == "cells"   ? &cells
                                          : name == "inputs"  ? &inputs
                                                              : nullptr;
            if (section == nullptr) {
                const std::string what = node.is_table()
                                             ? "unknown table [" + std::string(name) + "]"
                                             : toml_string(name) + " outside a table";
                return refuse(key.source(), what + "; a configuration text has " + kSectionNames);
            }
            *section = node.as_table();
            if (*section == nullptr)
                return refuse(node, "[" + std::string(name) + "] must be a table, not " +
                                        type_name(node));
        }
        return read_options(options, config) && read_layout(layout, config) && check_pins(config) &&
               read_macro_list(macros, config) && check_macros(config) &&
               read_codes(cells, false, config) && read_codes(inputs, true, config) &&
               check_macro_use(config) && encode(config, image);
    }

  private:
    bool refuse(const toml::source_region& where, std::string reason) {
        error_.line = static_cast<int>(where.begin.line);
        error_.column = static_cast<int>(where.begin.column);
        error_.reason = std::move(reason);
        return false;
    }
    bool refuse(const toml::node& where, std::string reason) {
        return refuse(where.source(), std::move(reason));
    }
    bool refuse(const toml::node* where, std::string reason) {
        return where ? refuse(*where, std::move(reason)) : refuse(toml::source_region{}, reason);
    }
    // A well-formed text whose configuration the window program would refuse to write:
    // the reason as given, and the problem in the words of check.
    template <typename Where>
    bool refuse_to_write(const Where& where, std::string reason, std::string problem) {
        error_.unwritable = std::move(problem);
        return refuse(where, std::move(reason));
    }
    // The encoder's refusal, in the words of its message box.
    template <typename Where>
    bool refuse_to_write(const Where& where, const zq70::EncodeCheck& check) {
        return refuse_to_write(where, zq70::kEncoderErrorWord + zq70::refusal_text(check),
                               zq70::refusal_text(check));
    }

    bool read_whole(const toml::node& node, const std::string& what, int low, int high,
                    int32_t& out) {
        const auto* value = node.as_integer();
        if (value == nullptr)
            return refuse(node, what + " must be a whole number, not " + type_name(node));
        if (value->get() < low || value->get() > high)
            return refuse(node, what + " must be " + std::to_string(low) + " to " +
                                    std::to_string(high) + ", not " + std::to_string(value->get()));
        out = static_cast<int32_t>(value->get());
        return true;
    }

    bool read_options(const toml::table* options, Configuration& config) {
        if (options == nullptr) return true;
        for (auto&& [key, node] : *options) {
            const zq70::OptionGroup* option = option_of_caption(key.str());
            if (option == nullptr) {
                std::string known;
                for (const zq70::OptionGroup& o : zq70::option_groups)
                    known += (known.empty() ? "" : ", ") + toml_string(o.caption);
                return refuse(key.source(),
                              "unknown option " + toml_string(key.str()) + "; the options are " + known);
            }
            if (!read_option(*option, node, config)) return false;
        }
        // What a cell that the text leaves out sends, as the window's switch of modes does.
        std::fill(std::begin(config.key_codes), std::end(config.key_codes), not_used_code(config));
        return true;
    }

    // An item's caption, or a bare number for a value that no item has but the image can
    // hold (a baud rate 7 read from a device).
    bool read_option(const zq70::OptionGroup& option, const toml::node& node,
                     Configuration& config) {
        if (const auto* number = node.as_integer()) {
            if (!image_holds(option.field, number->get()))
                return refuse(node, std::to_string(number->get()) + " is not a value of " +
                                        toml_string(option.caption) + "; write an item, such as " +
                                        toml_string(option.items[0]));
            config.*option.field = static_cast<int32_t>(number->get());
            return true;
        }
        const auto* caption = node.as_string();
        if (caption == nullptr)
            return refuse(node, toml_string(option.caption) + " must be an item as text, not " +
                                    type_name(node));
        const int value = option_value(option, caption->get());
        if (value < 0) {
            std::string items;
            for (int i = 0; i < option.item_count; ++i)
                items += (i == 0 ? "" : ", ") + toml_string(option.items[i]);
            return refuse(node, toml_string(option.caption) + " has no item " + toml_string(caption->get()) +
                                    "; its items are " + items);
        }
        config.*option.field = value;
        return true;
    }

    bool read_layout(const toml::table* layout, Configuration& config) {
        if (layout == nullptr) return true;
        layout_ = layout;
        const toml::node* lists[3] = {};
        for (auto&& [key, node] : *layout) {
            const std::string_view name = key.str();
            if (name == "rows") {
                rows_ = &node;
                if (!read_whole(node, "rows", 0, zq70::kMaxLines, config.rows)) return false;
            } else if (name == "columns") {
                columns_ = &node;
                if (!read_whole(node, "columns", 0, zq70::kMaxLines, config.columns)) return false;
            } else if (name == "column_pins" || name == "row_pins" || name == "input_pins") {
                lists[name[0] == 'c' ? 0 : name[0] == 'r' ? 1 : 2] = &node;
            } else {
                return refuse(key.source(), "unknown key \"" + std::string(name) +
                                                "\" in [layout]; it holds rows, columns, "
                                                "column_pins, row_pins and input_pins");
            }
        }
        const toml::node* counts = rows_ ? rows_ : columns_;
        if ((config.rows == 0) != (config.columns == 0))
            return refuse(counts, "a matrix has both rows and columns, or neither (rows = 0 "
                                  "and columns = 0 make 24 inputs), not " +
                                      std::to_string(config.rows) + " rows and " +
                                      std::to_string(config.columns) + " columns");
        if (config.rows + config.columns > zq70::kPinCount)
            return refuse(counts, std::to_string(config.rows) + " rows and " +
                                      std::to_string(config.columns) +
                                      " columns take more than the 24 pins");
        const PinList pin_lists[3] = {
            {"column_pins", "columns", config.column_pins, config.columns, 0},
            {"row_pins", "rows", config.row_pins, config.rows, config.columns},
            {"input_pins", "inputs", config.input_pins, zq70::input_count(config),
             config.columns + config.rows},
        };
        for (int l = 0; l < 3; ++l) {
            if (lists[l] != nullptr && !read_pins(*lists[l], pin_lists[l])) return false;
        }
        return true;
    }

    bool read_pins(const toml::node& node, const PinList& list) {
        const toml::array* letters = node.as_array();
        if (letters == nullptr)
            return refuse(node, std::string(list.key) +
                                    " must be a list of pin letters such as [\"A\", \"B\"], not " +
                                    type_name(node));
        if (static_cast<int>(letters->size()) != list.count)
            return refuse(node, std::string(list.key) + " lists " +
                                    std::to_string(letters->size()) +
                                    (letters->size() == 1 ? " pin for " : " pins for ") +
                                    std::to_string(list.count) + " " + list.lines);
        for (int i = 0; i < list.count; ++i) {
            const toml::node& entry = *letters->get(static_cast<std::size_t>(i));
            const auto* letter = entry.as_string();
            const int pin = letter ? pin_of_text(letter->get()) : -1;
            if (pin < 0)
                return refuse(entry, (letter ? toml_string(letter->get()) : type_name(entry)) +
                                         " is not a pin; pins are the letters A to X");
            list.pins[i] = pin;
            pin_nodes_[list.first + i] = &entry;
        }
        return true;
    }

    // The encoder is the judge of pins used twice: its own message, pointed at the entry
    // that repeats the pin (or at the counts, when that entry comes from the defaults).
    // A doubled pin, pointed at the repeated entry (or the first, or the counts, when the
    // text left the entry to the defaults).
    bool check_pins(const Configuration& config) {
        const zq70::EncodeCheck check = zq70::check_encoding(config);
        if (check.refusal != zq70::EncodeRefusal::PinUsedTwice) return true;
        const toml::node* where = pin_nodes_[check.second_entry] ? pin_nodes_[check.second_entry]
                                                                 : pin_nodes_[check.first_entry];
        return refuse_to_write(where ? where : rows_ ? rows_ : columns_, check);
    }

    bool read_macro_list(const toml::node* node, Configuration& config) {
        if (node == nullptr) return true;
        const toml::array* list = node->as_array();
        if (list == nullptr || (!list->empty() && !list->is_array_of_tables()))
            return refuse(*node, "macros are written as [[macro]] tables");
        if (list->size() > static_cast<std::size_t>(zq70::kUsableMacroSlots))
            return refuse(*list->get(zq70::kUsableMacroSlots), "the ZQ70 holds at most 127 macros");
        for (std::size_t k = 0; k < list->size(); ++k) {
            const toml::table& table = *list->get(k)->as_table();
            zq70::MacroSlot& slot = config.macros[k];
            slot.in_use = 1;
            macros_.push_back(&table);
            for (auto&& [key, steps] : table) {
                const std::string_view name = key.str();
                int32_t* words = name == "make"    ? slot.steps
                                 : name == "break" ? slot.steps + zq70::kStepsPerSequence
                                                   : nullptr;
                if (words == nullptr)
                    return refuse(key.source(), "unknown key \"" + std::string(name) +
                                                    "\" in [[macro]]; it holds make and break");
                if (!read_steps(steps, static_cast<int>(k), name, words)) return false;
            }
        }
        return true;
    }

    bool read_steps(const toml::node& node, int slot, std::string_view which, int32_t* words) {
        const std::string where = macro_label(slot) + ", " + std::string(which) + ": ";
        const toml::array* steps = node.as_array();
        if (steps == nullptr)
            return refuse(node, where +
                                    "a list of steps such as [\"press A\", \"release A\"] "
                                    "is needed, not " +
                                    type_name(node));
        if (steps->size() > static_cast<std::size_t>(zq70::kStepsPerSequence))
            return refuse(*steps->get(zq70::kStepsPerSequence),
                          where + std::to_string(steps->size()) +
                              " steps, but a sequence holds at most 16");
        for (std::size_t i = 0; i < steps->size(); ++i) {
            const toml::node& entry = *steps->get(i);
            const auto* text = entry.as_string();
            if (text == nullptr)
                return refuse(entry, where + "a step is text, not " + type_name(entry));
            std::string reason;
            const auto word = step_of_text(text->get(), reason);
            if (!word) return refuse(entry, where + reason);
            words[i] = *word;
        }
        return true;
    }

    // Macros need the Computer mode and must fit into the macro area.
    bool check_macros(const Configuration& config) {
        if (macros_.empty()) return true;
        if (config.switches_keypad_to == zq70::kSwitchesToRs232)
            return refuse(*macros_[0], "with \"Switches/Keypad to\" = \"RS-232\" the ZQ70 "
                                       "keeps no macros");
        const zq70::EncodeCheck check = zq70::check_encoding(config);
        if (check.macro_overflow() == 0) return true;
        int total = 0;
        std::size_t first_over = 0;
        while (first_over < macros_.size()) {
            total += zq70::macro_record_size(config.macros[first_over]);
            if (total > zq70::kMacroMemory) break;
            ++first_over;
        }
        const std::string problem =
            macro_label(static_cast<int>(first_over)) + " does not fit: the macros take " +
            std::to_string(check.macro_bytes) + " bytes, " +
            std::to_string(check.macro_overflow()) + " more than the 336 bytes of macro memory";
        return refuse_to_write(*macros_[first_over], problem, problem);
    }

    bool read_codes(const toml::table* table, bool inputs, Configuration& config) {
        if (table == nullptr) return true;
        const std::map<std::string, int>& labels = inputs ? input_labels() : cell_labels();
        for (auto&& [key, node] : *table) {
            const std::string label(key.str());
            const auto found = labels.find(label);
            if (found == labels.end())
                return refuse(key.source(),
                              inputs ? "unknown input " + toml_string(label) +
                                           "; inputs are named \"Input 1\", \"Input 2\", ..."
                                     : "unknown cell " + toml_string(label) +
                                           "; cells are named like \"Row 1 Col 1\"");
            const int index = found->second;
            if (!inside_layout(config, index))
                return refuse(key.source(),
                              inputs ? label + " is beyond the " +
                                           std::to_string(zq70::input_count(config)) + " inputs"
                                     : label + " is outside the " + std::to_string(config.rows) +
                                           " x " + std::to_string(config.columns) + " matrix");
            if (!read_code(node, label, config, config.key_codes[index])) return false;
        }
        return true;
    }

    static bool inside_layout(const Configuration& config, int index) {
        if (index >= zq70::kMatrixCells)
            return index - zq70::kMatrixCells < zq70::input_count(config);
        return index / zq70::kRowStride < config.rows && index % zq70::kRowStride < config.columns;
    }

    bool read_code(const toml::node& node, const std::string& label, const Configuration& config,
                   int32_t& code) {
        const bool rs232 = config.switches_keypad_to == zq70::kSwitchesToRs232;
        std::string text;
        if (const auto* number = node.as_integer(); number && rs232) {
            text = std::to_string(number->get());
        } else if (const auto* words = node.as_string()) {
            text = words->get();
        } else {
            return refuse(node,
                          label + " must be " +
                              (rs232 ? "a code from 0 to 255"
                                     : "a key name, \"Key 14\", \"Macro 1\" or \"Code 128\"") +
                              ", not " + type_name(node));
        }
        std::string reason;
        const auto value = key_code_of_text(config.switches_keypad_to, text, reason);
        if (!value) return refuse(node, label + ": " + reason);
        if (!rs232 && zq70::is_macro_code(*value) &&
            zq70::slot_of_macro_code(*value) >= static_cast<int>(macros_.size()))
            return refuse(node, label + ": " + macro_label(zq70::slot_of_macro_code(*value)) +
                                    " does not exist; the text has " +
                                    std::to_string(macros_.size()) + " [[macro]] tables");
        code = *value;
        return true;
    }

    // The image stores no macro count: a reader takes as many macros as the highest macro
    // code that a cell or input sends. A macro after that one would be written and then
    // lost on the next read, so it is refused.
    bool check_macro_use(const Configuration& config) {
        if (config.switches_keypad_to == zq70::kSwitchesToRs232) return true;
        int highest = -1;
        for (const Cell& cell : cells_of(config)) {
            const int code = config.key_codes[cell.index];
            if (zq70::is_macro_code(code))
                highest = std::max(highest, zq70::slot_of_macro_code(code));
        }
        const std::size_t first_lost = static_cast<std::size_t>(highest + 1);
        if (first_lost >= macros_.size()) return true;
        return refuse(*macros_[first_lost],
                      macro_label(static_cast<int>(first_lost)) +
                          " would be lost: no cell or input sends it or a later macro, and "
                          "the ZQ70 only reads macros up to the last one that is sent");
    }

    // Everything the encoder could refuse has been checked; should it refuse all the same,
    // its message is still the one to give.
    bool encode(const Configuration& config, DeviceImage& image) {
        const zq70::EncodeCheck check = zq70::check_encoding(config);
        if (check.refusal != zq70::EncodeRefusal::None) return refuse_to_write(layout_, check);
        return zq70::encode_image(config, image, zq70::UserInterface{});
    }

    TextError& error_;
    const toml::table* layout_ = nullptr;
    const toml::node* rows_ = nullptr;
    const toml::node* columns_ = nullptr;
    const toml::node* pin_nodes_[zq70::kPinCount] = {};
    std::vector<const toml::table*> macros_;
};

} // namespace

std::string export_text(const Configuration& config) {
    std::string out = kHeader;
    write_layout(out, config);
    write_options(out, config);
    write_codes(out, config);
    if (config.switches_keypad_to != zq70::kSwitchesToRs232) write_macros(out, config);
    return out;
}

bool import_text(std::string_view text, Configuration& config, DeviceImage& image,
                 TextError& error) {
    try {
        const toml::table root = toml::parse(text);
        Configuration next;
        zq70::reset_configuration(next);
        DeviceImage bytes{};
        if (!Reader(error).read(root, next, bytes)) return false;
        config = next;
        image = bytes;
        return true;
    } catch (const toml::parse_error& e) {
        error.line = static_cast<int>(e.source().begin.line);
        error.column = static_cast<int>(e.source().begin.column);
        error.reason = std::string(e.description());
    } catch (const std::exception& e) {
        // Only running out of memory gets here; the outputs are untouched all the same.
        error = TextError{0, 0, std::string("the text could not be read: ") + e.what(), ""};
    }
    return false;
}

} // namespace zq70::words
