#include "captions.h"

#include "config/key_names.h"
#include "config/text_format.h"
#include "macro_edit.h"

namespace zq70::edit {

namespace {

constexpr const char* kRs232CaptionFormat = "%d\n0x%.2x";

// A word whose low seven bits are the delay marker reads as a delay, as the catalogue names
// it "Delay", whatever its bit 7.
bool is_delay_caption(int word) {
    return (word & 0x7F) == kDelayMarker;
}

} // namespace

std::string macro_caption(const MacroSlot& slot) {
    std::string caption = "Macro\n(";
    int named = 0;
    for (int step : slot.steps) {
        if (step == 0) continue;
        if (named == 2) {
            caption += ", ...";
            break;
        }
        if (named == 1) caption += ", ";
        caption += key_name(step, true);
        ++named;
    }
    return caption + ")";
}

std::string key_caption(const Configuration& config, int code) {
    if (config.switches_keypad_to == kSwitchesToRs232) {
        if (code == kRs232NotUsed) return kNotUsedCaption;
        return format_text(kRs232CaptionFormat, code, code);
    }
    if (is_macro_code(code)) return macro_caption(config.macros[slot_of_macro_code(code)]);
    return key_name(code, false);
}

std::string step_caption(int word) {
    std::string caption;
    if (!is_delay_caption(word) && word != 0) caption = is_break_step(word) ? "Break\n" : "Make\n";
    caption += key_name(word, true);
    if (is_delay_caption(word)) caption += format_text("\n%dms", delay_step_ms(word));
    return caption;
}

std::string step_label(int step) {
    return format_text("Step %d", step + 1);
}

std::string memory_remaining_caption(const Configuration& config) {
    return format_text("Macro memory remaining: %d", macro_memory_remaining(config));
}

} // namespace zq70::edit
