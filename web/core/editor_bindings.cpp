// The page's editor: one document (edit/document.h) whose every change is an operation of the
// edit room, and views of it in the window program's captions. The page never changes a
// configuration any other way, so it edits by the same rules as the window program.
#include <emscripten/bind.h>

#include <string>

#include "config/image.h"
#include "config/macros.h"
#include "config/options.h"
#include "edit/captions.h"
#include "edit/cell_edit.h"
#include "edit/document.h"
#include "edit/key_layout.h"
#include "edit/layout_edit.h"
#include "edit/macro_edit.h"
#include "edit/number_entry.h"
#include "edit/option_edit.h"
#include "js_values.h"
#include "words/device_view.h"
#include "words/text_form.h"
#include "words/vocabulary.h"

namespace zq70::web {

namespace {

// The names the page uses for the pin tables, as check's targets name the lines.
bool pin_table_of(const std::string& name, edit::PinTable& table) {
    if (name == "column")
        table = edit::PinTable::Columns;
    else if (name == "row")
        table = edit::PinTable::Rows;
    else if (name == "input")
        table = edit::PinTable::Inputs;
    else
        return false;
    return true;
}

// Indexed by words::LineKind: the names above.
constexpr const char* kPinTableNames[] = {"column", "row", "input"};
static_assert(static_cast<int>(words::LineKind::Input) == 2, "columns, rows, inputs");

// The encoder's message box text for a refusal ("Error: Pin A is used for multiple scan
// lines"), caught from its seam so that the page says exactly what the window program says.
struct CaughtMessage {
    std::string text;
    UserInterface ui() {
        UserInterface ui;
        ui.message = [this](const std::string&, const std::string& message, MessageIcon,
                            MessageButtons) {
            text = message;
            return MessageAnswer::Ok;
        };
        return ui;
    }
};

int macro_slot_of_code(int code) {
    return is_macro_code(code) ? slot_of_macro_code(code) : -1;
}

class Editor {
  public:
    // --- The document as a whole ------------------------------------------------------

    void new_configuration() {
        Configuration config{};
        reset_configuration(config);
        doc_.replace(config);
    }

    // A configuration opened from a file (the core's loadSourceBytes reads it as zq70cfg
    // does): the history starts afresh and nothing is modified.
    void replace(const Configuration& config) { doc_.replace(config); }

    // The 512 bytes that Save and Write send: { bytes }, or { refusal } in the encoder's
    // message box words. Nothing changes.
    val image() const {
        CaughtMessage caught;
        DeviceImage image{};
        val result = val::object();
        if (encode_image(doc_.config(), image, caught.ui()))
            result.set("bytes", image_value(image));
        else
            result.set("refusal", caught.text);
        return result;
    }

    // An image read from the device: taken as one step that can be undone. The reason
    // when it cannot be used ("Invalid configuration", as the window program says it).
    val take_image(const val& bytes) {
        if (doc_.macro_open()) return val("The macro editor is open");
        DeviceImage image{};
        Configuration config = doc_.config();
        if (!image_of(bytes, image) || !decode_image(image, config))
            return val("Invalid configuration");
        doc_.take(config);
        return val::undefined();
    }

    void mark_saved() { doc_.mark_saved(); }
    std::string export_text() const { return words::export_text(doc_.config()); }
    // A copy for the core's check, differences and sheet; the page deletes it.
    Configuration configuration() const { return doc_.config(); }

    bool modified() const { return doc_.modified(); }
    bool can_undo() const { return doc_.can_undo(); }
    bool can_redo() const { return doc_.can_redo(); }
    bool undo() { return doc_.undo(); }
    bool redo() { return doc_.redo(); }

    // --- Edits: each false when refused (out of range, or while the macro editor is open) --

    bool set_count(const std::string& list, int count) {
        if (doc_.macro_open() || (list != "rows" && list != "columns")) return false;
        const auto which = list == "rows" ? edit::CountList::Rows : edit::CountList::Columns;
        return doc_.apply([&](Configuration& c) { return edit::choose_count(c, which, count); });
    }

    bool set_pin(const std::string& table_name, int index, int pin) {
        edit::PinTable table;
        if (doc_.macro_open() || !pin_table_of(table_name, table)) return false;
        return doc_.apply([&](Configuration& c) { return edit::choose_pin(c, table, index, pin); });
    }

    // An item of option `group` (index into the Options menu's table): "done", "refused", or
    // for a Switches/Keypad change "ask": then show kSwitchesWarning and on Yes call
    // setSwitchesKeypad.
    std::string choose_option(int group, int value) {
        if (doc_.macro_open() || group < 0 || group >= kOptionGroupCount) return "refused";
        const OptionGroup& option = option_groups[group];
        if (option.field == &Configuration::switches_keypad_to) {
            if (value < 0 || value >= option.item_count) return "refused";
            const bool asks = doc_.apply(
                [&](Configuration& c) { return edit::choose_switches_keypad(c, value); });
            return asks ? "ask" : "done";
        }
        const bool done =
            doc_.apply([&](Configuration& c) { return edit::choose_option(c, option, value); });
        return done ? "done" : "refused";
    }

    bool set_switches_keypad(int mode) {
        if (doc_.macro_open()) return false;
        return doc_.apply([&](Configuration& c) { return edit::set_switches_keypad(c, mode); });
    }

    bool set_key(int index, int key) {
        if (doc_.macro_open() || !edit::is_cell_index(index) || key < 0 ||
            (key != kNotUsed && words::key_text(key).empty()) ||
            doc_.config().switches_keypad_to != kSwitchesToComputer)
            return false;
        doc_.apply([&](Configuration& c) { edit::store_key(c, index, key); });
        return true;
    }

    bool set_raw_code(int index, int code) {
        if (doc_.macro_open() || !edit::is_cell_index(index) || code < 0 ||
            doc_.config().switches_keypad_to != kSwitchesToRs232)
            return false;
        doc_.apply([&](Configuration& c) { edit::store_raw_code(c, index, code); });
        return true;
    }

    bool clear_cell(int index) {
        if (doc_.macro_open() || !edit::is_cell_index(index)) return false;
        doc_.apply([&](Configuration& c) { edit::clear_cell(c, index); });
        return true;
    }

    // --- The macro editor -------------------------------------------------------------

    int open_macro_of_cell(int index) { return doc_.open_macro_of_cell(index); }
    int open_macro_slot(int slot) { return doc_.open_macro_slot(slot); }
    bool set_macro_step(int word, int value) { return doc_.set_macro_step(word, value); }
    int accept_macro() { return doc_.accept_macro(); }
    void cancel_macro() { doc_.cancel_macro(); }

    // The open macro: { slot, label, cell, remaining, remainingCaption, users, steps } with
    // the 32 step words (make 0..15, break 16..31) as { word, value, caption, text, enabled,
    // delayAllowed, preselectBreak }; null when no macro is open.
    val macro_view() const {
        if (!doc_.macro_open()) return val::null();
        const Configuration& config = doc_.config();
        const int slot = doc_.macro_slot();
        val steps = val::array();
        for (int word = 0; word < kStepWords; ++word) {
            const int value = config.macros[slot].steps[word];
            val step = val::object();
            step.set("word", word);
            step.set("value", value);
            step.set("caption", edit::step_caption(value));
            step.set("text", value == 0 ? std::string() : words::step_text(value));
            step.set("enabled", edit::step_enabled(config, slot, word));
            step.set("delayAllowed", edit::delay_fits(config, slot, word));
            step.set("preselectBreak", edit::preselects_break(value, word >= kStepsPerSequence));
            steps.call<void>("push", step);
        }
        val view = val::object();
        view.set("slot", slot);
        view.set("label", words::macro_label(slot));
        view.set("cell", doc_.macro_cell());
        view.set("remaining", edit::macro_memory_remaining(config));
        view.set("remainingCaption", edit::memory_remaining_caption(config));
        view.set("users", users_of(config, slot));
        view.set("steps", steps);
        return view;
    }

    // --- Views --------------------------------------------------------------------------

    // { rows, columns, inputs, switchesKeypad, macroOpen }
    val layout() const {
        const Configuration& config = doc_.config();
        val view = val::object();
        view.set("rows", config.rows);
        view.set("columns", config.columns);
        view.set("inputs", input_count(config));
        view.set("switchesKeypad", config.switches_keypad_to);
        view.set("macroOpen", doc_.macro_open());
        return view;
    }

    // Every cell in force, row by row, then every input: { index, label, caption, code,
    // macro } where caption is the window program's button caption and macro the slot a
    // macro code runs (-1 for none).
    val cells() const {
        const Configuration& config = doc_.config();
        val cells = val::array();
        for (const words::Cell& cell : words::cells_of(config)) {
            const int code = config.key_codes[cell.index];
            val entry = val::object();
            entry.set("index", cell.index);
            entry.set("label", cell.label);
            entry.set("caption", edit::key_caption(config, code));
            entry.set("code", code);
            entry.set("macro", config.switches_keypad_to == kSwitchesToComputer
                                   ? macro_slot_of_code(code)
                                   : -1);
            cells.call<void>("push", entry);
        }
        return cells;
    }

    // Every line in force with its pin: { table, index, label, pin, doubled }, doubled when
    // another line in force uses the same pin (the encoder refuses the first such pair).
    val lines() const {
        const Configuration& config = doc_.config();
        const std::vector<words::Line> lines = words::lines_of(config);
        int uses[kPinCount] = {};
        for (const words::Line& line : lines) {
            if (line.pin >= 0 && line.pin < kPinCount) ++uses[line.pin];
        }
        val view = val::array();
        for (const words::Line& line : lines) {
            val entry = val::object();
            entry.set("table", kPinTableNames[static_cast<int>(line.kind)]);
            entry.set("index", line.index);
            entry.set("label", words::line_label(line));
            entry.set("pin", line.pin);
            entry.set("doubled", line.pin >= 0 && line.pin < kPinCount && uses[line.pin] > 1);
            view.call<void>("push", entry);
        }
        return view;
    }

    // The Options menu: { caption, value, items: [{ caption, enabled }] } per option; value
    // is one no item has (a baud rate 7 from an image) when none is checked.
    val options() const {
        const Configuration& config = doc_.config();
        val view = val::array();
        for (const OptionGroup& option : option_groups) {
            val items = val::array();
            for (int v = 0; v < option.item_count; ++v) {
                val item = val::object();
                item.set("caption", std::string(option.items[v]));
                item.set("enabled", item_enabled(config, option, v));
                items.call<void>("push", item);
            }
            val entry = val::object();
            entry.set("caption", std::string(option.caption));
            entry.set("value", config.*option.field);
            entry.set("items", items);
            view.call<void>("push", entry);
        }
        return view;
    }

    // The macros in use and the memory: { used, remaining, total, macros: [{ slot, label,
    // caption, make, break, bytes, users, hiddenUsers }] }.
    val macros() const {
        const Configuration& config = doc_.config();
        val list = val::array();
        for (int slot = 0; slot < kUsableMacroSlots; ++slot) {
            const MacroSlot& macro = config.macros[slot];
            if (!macro.in_use) continue;
            val entry = val::object();
            entry.set("slot", slot);
            entry.set("label", words::macro_label(slot));
            entry.set("caption", edit::macro_caption(macro));
            entry.set("make", words::steps_words(words::played_steps(macro, false)));
            entry.set("break", words::steps_words(words::played_steps(macro, true)));
            entry.set("bytes", macro_slot_memory(macro));
            entry.set("users", users_of(config, slot));
            const int in_force = entry["users"]["length"].as<int>();
            entry.set("hiddenUsers", edit::macro_users(config, slot) - in_force);
            list.call<void>("push", entry);
        }
        val view = val::object();
        view.set("used", macro_memory_used(config));
        view.set("remaining", edit::macro_memory_remaining(config));
        view.set("total", kMacroMemory);
        view.set("macros", list);
        return view;
    }

  private:
    static bool item_enabled(const Configuration& config, const OptionGroup& option, int value) {
        if (option.first_command + value == kKeyboardMakeOnlyCommand)
            return keyboard_make_only_enabled(config);
        if (option.first_command + value == kDeviceMakeOnlyCommand)
            return device_make_only_enabled(config);
        return true;
    }

    // Labels of the cells and inputs in force that run the macro of `slot`.
    static val users_of(const Configuration& config, int slot) {
        val users = val::array();
        for (const words::Cell& cell : words::cells_of(config)) {
            if (config.key_codes[cell.index] == macro_code_of_slot(slot))
                users.call<void>("push", cell.label);
        }
        return users;
    }

    edit::Document doc_;
};

// The drawn keyboard of "Select a key", in the dialog's units and tab order: { key, x, y,
// width, height, caption } with the button's caption as a button shows it.
val keyboard_layout() {
    val keys = val::array();
    for (const edit::KeyButtonPlace& place : edit::key_button_places) {
        val entry = val::object();
        entry.set("key", place.key);
        entry.set("x", place.x);
        entry.set("y", place.y);
        entry.set("width", place.width);
        entry.set("height", place.height);
        entry.set("caption", place.key == kNotUsed ? std::string(edit::kNotUsedCaption)
                                                   : words::key_button_text(place.key));
        keys.call<void>("push", entry);
    }
    return keys;
}

std::string switches_warning() {
    return edit::kSwitchesWarning;
}

} // namespace

} // namespace zq70::web

EMSCRIPTEN_BINDINGS(zq70_editor) {
    using namespace emscripten;
    using namespace zq70::web;
    class_<Editor>("Editor")
        .constructor<>()
        .function("newConfiguration", &Editor::new_configuration)
        .function("replace", &Editor::replace)
        .function("image", &Editor::image)
        .function("takeImage", &Editor::take_image)
        .function("markSaved", &Editor::mark_saved)
        .function("exportText", &Editor::export_text)
        .function("configuration", &Editor::configuration)
        .function("modified", &Editor::modified)
        .function("canUndo", &Editor::can_undo)
        .function("canRedo", &Editor::can_redo)
        .function("undo", &Editor::undo)
        .function("redo", &Editor::redo)
        .function("setCount", &Editor::set_count)
        .function("setPin", &Editor::set_pin)
        .function("chooseOption", &Editor::choose_option)
        .function("setSwitchesKeypad", &Editor::set_switches_keypad)
        .function("setKey", &Editor::set_key)
        .function("setRawCode", &Editor::set_raw_code)
        .function("clearCell", &Editor::clear_cell)
        .function("openMacroOfCell", &Editor::open_macro_of_cell)
        .function("openMacroSlot", &Editor::open_macro_slot)
        .function("setMacroStep", &Editor::set_macro_step)
        .function("acceptMacro", &Editor::accept_macro)
        .function("cancelMacro", &Editor::cancel_macro)
        .function("macroView", &Editor::macro_view)
        .function("layout", &Editor::layout)
        .function("cells", &Editor::cells)
        .function("lines", &Editor::lines)
        .function("options", &Editor::options)
        .function("macros", &Editor::macros);
    function("keyboardLayout", &keyboard_layout);
    function("startingKey", &zq70::edit::starting_key);
    function("delayStepOfMs", &zq70::edit::delay_step_of_ms);
    function("keyStep", &zq70::edit::key_step);
    function("entryNumber", &zq70::edit::entry_number);
    function("stepCaption", &zq70::edit::step_caption);
    function("switchesWarning", &switches_warning);
}
