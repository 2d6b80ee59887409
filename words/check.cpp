#include "check.h"

#include <algorithm>

#include "config/image.h"
#include "config/options.h"
#include "device_view.h"
#include "vocabulary.h"

namespace zq70::words {

namespace {

struct Findings {
    std::vector<Finding> list;

    void error(const std::string& text, Target target = {}) {
        list.push_back({Severity::Error, text, target});
    }
    void warn(const std::string& text, Target target = {}) {
        list.push_back({Severity::Warning, text, target});
    }
};

Target option_target(int32_t zq70::Configuration::*field) {
    for (int i = 0; i < zq70::kOptionGroupCount; ++i) {
        if (zq70::option_groups[i].field == field) return {Target::Kind::Option, i};
    }
    return {};
}

Target cell_target(int index) {
    return {Target::Kind::Cell, index};
}

Target macro_target(int slot, int word = -1) {
    return {Target::Kind::Macro, slot, LineKind::Column, word};
}

// The line at a place of the pin list: the columns, then the rows, then the inputs.
Target line_target(const zq70::Configuration& config, int place) {
    const Layout layout = layout_of(config);
    if (place < 0) return {};
    if (place < layout.columns) return {Target::Kind::Line, place, LineKind::Column};
    place -= layout.columns;
    if (place < layout.rows) return {Target::Kind::Line, place, LineKind::Row};
    return {Target::Kind::Line, place - layout.rows, LineKind::Input};
}

// The encoder's refusals in its own words; finding_line gives the "Error: " of its message
// box back to every error alike. The encoder stops at its first refusal, so a doubled pin
// and macros that do not fit are each reported.
void check_encoder(const zq70::Configuration& config, Findings& findings) {
    if ((config.rows == 0) != (config.columns == 0)) {
        findings.error(std::to_string(config.rows) + " rows with " +
                       std::to_string(config.columns) +
                       " columns: a matrix needs both or neither (the image would not read "
                       "back)");
    }
    zq70::EncodeCheck check = zq70::check_encoding(config);
    if (check.refusal == zq70::EncodeRefusal::MacrosTooLarge)
        check.refusal = zq70::EncodeRefusal::None;
    // A doubled pin points at the later of its two lines, the one more likely just changed.
    if (check.refusal != zq70::EncodeRefusal::None)
        findings.error(zq70::refusal_text(check), line_target(config, check.second_entry));
    if (check.macro_overflow() > 0) {
        check.refusal = zq70::EncodeRefusal::MacrosTooLarge;
        findings.error(zq70::refusal_text(check));
    }
}

const zq70::OptionGroup& words_of(int32_t zq70::Configuration::*field) {
    for (const zq70::OptionGroup& option : zq70::option_groups) {
        if (option.field == field) return option;
    }
    return zq70::option_groups[0]; // every field has its words; not reached
}

// "Make Only" set while the menu grays it: the window program could not have chosen it.
void check_make_only(const zq70::Configuration& config, int32_t zq70::Configuration::*field,
                     bool offered, int32_t zq70::Configuration::*ruling,
                     const std::string& offered_when, Findings& findings) {
    const zq70::OptionGroup& option = words_of(field);
    if (config.*field != 1 || offered) return;
    findings.warn(std::string(option.caption) + ": " + option_setting(option, config) + " while " +
                      words_of(ruling).caption + " is " + option_setting(words_of(ruling), config) +
                      "; the menu offers it only when " + offered_when,
                  option_target(field));
}

void check_options(const zq70::Configuration& config, Findings& findings) {
    for (const zq70::OptionGroup& option : zq70::option_groups) {
        if (option_item(option, config.*option.field) == nullptr)
            findings.warn(std::string(option.caption) + ": " + option_setting(option, config) +
                              " is none of the menu's items",
                          option_target(option.field));
    }
    check_make_only(config, &zq70::Configuration::keyboard_make_break,
                    zq70::keyboard_make_only_enabled(config), &zq70::Configuration::keyboard_output,
                    "the keyboard output goes to RS-232", findings);
    check_make_only(config, &zq70::Configuration::device_make_break,
                    zq70::device_make_only_enabled(config),
                    &zq70::Configuration::switches_keypad_to,
                    "the switches and keypad report to RS-232", findings);
}

// What is odd about the code of one cell or input, or "" when nothing is. In RS-232 mode
// every byte is a raw value the device sends as it is.
std::string code_problem(const zq70::Configuration& config, int code) {
    const int byte = device_code(code);
    if (code != byte) {
        return "holds " + std::to_string(code) + ", which does not fit in a byte: the ZQ70 gets " +
               key_code_text(config, byte);
    }
    if (config.switches_keypad_to == zq70::kSwitchesToRs232 || byte == zq70::kNotUsed) return {};
    if (zq70::is_macro_code(byte)) {
        const int slot = zq70::slot_of_macro_code(byte);
        return macro_written(config, slot) ? ""
                                           : "runs " + macro_label(slot) + ", which holds no macro";
    }
    if (byte == zq70::kDelayMarker) return "code 127 marks delays in macros; it names no key";
    if (byte == zq70::kBreakFlag) return "code 128 names neither a key nor a macro";
    if (key_text(byte).empty()) return "key number " + std::to_string(byte) + " names no key";
    return {};
}

void check_codes(const zq70::Configuration& config, Findings& findings) {
    for (const Cell& cell : cells_of(config)) {
        const std::string problem = code_problem(config, config.key_codes[cell.index]);
        if (!problem.empty()) findings.warn(cell.label + ": " + problem, cell_target(cell.index));
    }
}

std::vector<bool> macros_run(const zq70::Configuration& config) {
    std::vector<bool> run(zq70::kUsableMacroSlots, false);
    for (const Cell& cell : cells_of(config)) {
        const int byte = device_code(config.key_codes[cell.index]);
        if (zq70::is_macro_code(byte) && zq70::slot_of_macro_code(byte) < zq70::kUsableMacroSlots)
            run[zq70::slot_of_macro_code(byte)] = true;
    }
    return run;
}

struct Step {
    std::string where; // "Macro 1 make step 2"
    int word;
    int place; // of the word in the slot, 0..31
};

// A key pressed by one sequence and released by neither stays held on the computer; a
// release that no step of the macro answers is as likely a slip. Matched over both
// sequences, so a macro that holds a key while its input is made is fine.
void check_steps(int s, const zq70::MacroSlot& slot, Findings& findings) {
    const std::string label = macro_label(s);
    std::vector<Step> steps;
    for (bool break_sequence : {false, true}) {
        const std::vector<int> played = played_steps(slot, break_sequence);
        const std::vector<int> places = played_words(slot, break_sequence);
        for (std::size_t k = 0; k < played.size(); ++k) {
            steps.push_back(
                {label + (break_sequence ? " break step " : " make step ") + std::to_string(k + 1),
                 played[k], places[k]});
        }
    }
    if (steps.empty()) {
        findings.warn(label + ": has no steps, so a cell that runs it does nothing",
                      macro_target(s));
        return;
    }
    bool pressed[128] = {};
    bool released[128] = {};
    for (const Step& step : steps) {
        if (zq70::is_delay_step(step.word)) continue;
        const int key = step.word & 0x7F;
        if (key_text(key).empty()) {
            findings.warn(step.where + ": " + step_text(step.word) + ": key number " +
                              std::to_string(key) + " names no key",
                          macro_target(s, step.place));
            continue;
        }
        (zq70::is_break_step(step.word) ? released : pressed)[key] = true;
    }
    bool told[128] = {};
    for (const Step& step : steps) {
        const int key = step.word & 0x7F;
        if (zq70::is_delay_step(step.word) || key_text(key).empty() || told[key]) continue;
        if (pressed[key] && !released[key]) {
            findings.warn(step.where + ": " + step_text(step.word) +
                              ", and no step releases it: the key stays held on the computer",
                          macro_target(s, step.place));
        } else if (released[key] && !pressed[key]) {
            findings.warn(step.where + ": " + step_text(step.word) +
                              ", and no step of the macro presses it",
                          macro_target(s, step.place));
        }
        told[key] = true;
    }
}

void check_macros(const zq70::Configuration& config, Findings& findings) {
    if (config.switches_keypad_to == zq70::kSwitchesToRs232) {
        const int kept = static_cast<int>(
            std::count_if(config.macros, config.macros + zq70::kUsableMacroSlots,
                          [](const zq70::MacroSlot& slot) { return slot.in_use != 0; }));
        if (kept > 0) {
            findings.warn(std::to_string(kept) + (kept == 1 ? " macro is" : " macros are") +
                          " kept but not written: in RS-232 mode the ZQ70 gets no macros");
        }
        return;
    }
    const std::vector<bool> run = macros_run(config);
    int position = 0; // the device numbers the macros by their place in the image
    for (int s = 0; s < zq70::kUsableMacroSlots; ++s) {
        if (!macro_written(config, s)) continue;
        const std::string label = macro_label(s);
        if (position != s) {
            findings.warn(label + ": the macros in use do not run on from " + macro_label(0) +
                              ", so the ZQ70 would play this one as " + macro_label(position),
                          macro_target(s));
        }
        ++position;
        check_steps(s, config.macros[s], findings);
        if (!run[s]) findings.warn(label + ": no cell or input runs it", macro_target(s));
    }
}

} // namespace

std::vector<Finding> check_configuration(const zq70::Configuration& config) {
    Findings findings;
    check_encoder(config, findings);
    check_options(config, findings);
    check_codes(config, findings);
    check_macros(config, findings);
    findings.list.push_back({Severity::Info, macro_memory_words(config)});
    return findings.list;
}

std::string finding_line(const Finding& finding) {
    switch (finding.severity) {
    case Severity::Error: return zq70::kEncoderErrorWord + finding.text;
    case Severity::Warning: return "Warning: " + finding.text;
    case Severity::Info: break;
    }
    return "Info: " + finding.text;
}

bool has_errors(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Error; });
}

} // namespace zq70::words
