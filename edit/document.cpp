#include "document.h"

#include <cstddef>
#include <cstring>

#include "cell_edit.h"
#include "config/macros.h"
#include "macro_edit.h"

namespace zq70::edit {

namespace {

// The configuration's values as one array of int32 words: every field but modified.
constexpr int kValueWords = static_cast<int>(offsetof(Configuration, modified) / sizeof(int32_t));
static_assert(offsetof(Configuration, modified) % sizeof(int32_t) == 0,
              "the values are whole int32 words");

int32_t value_word(const Configuration& config, int word) {
    int32_t value;
    std::memcpy(&value, reinterpret_cast<const char*>(&config) + word * sizeof value, sizeof value);
    return value;
}

void set_value_word(Configuration& config, int word, int32_t value) {
    std::memcpy(reinterpret_cast<char*>(&config) + word * sizeof value, &value, sizeof value);
}

} // namespace

Document::Document() {
    reset_configuration(config_);
}

void Document::replace(const Configuration& config) {
    cancel_macro();
    config_ = config;
    config_.modified = false;
    history_ = History{};
}

void Document::take(const Configuration& config) {
    cancel_macro();
    const Configuration before = config_;
    config_ = config;
    record(before);
    history_.clean = static_cast<long>(history_.position);
    config_.modified = false;
}

void Document::mark_saved() {
    history_.clean = static_cast<long>(history_.position);
    config_.modified = false;
}

Document::Step Document::difference(const Configuration& before, const Configuration& after) {
    Step step;
    for (int w = 0; w < kValueWords; ++w) {
        const int32_t a = value_word(before, w), b = value_word(after, w);
        if (a != b) step.push_back({w, a, b});
    }
    return step;
}

void Document::push(History& history, Step step) {
    history.steps.resize(history.position);
    // The state that equalled the file is gone from the history for good.
    if (history.clean > static_cast<long>(history.position)) history.clean = -1;
    history.steps.push_back(std::move(step));
    ++history.position;
}

void Document::record(const Configuration& before) {
    Step step = difference(before, config_);
    if (!step.empty()) push(active(), std::move(step));
}

void Document::apply_step(const Step& step, bool forward) {
    for (const Change& change : step)
        set_value_word(config_, change.word, forward ? change.after : change.before);
}

bool Document::can_undo() const {
    return active().position > 0;
}

bool Document::can_redo() const {
    return active().position < active().steps.size();
}

bool Document::undo() {
    if (!can_undo()) return false;
    History& history = active();
    apply_step(history.steps[--history.position], false);
    // In a session every step is a change of the macro; outside, the history knows.
    if (!macro_open()) config_.modified = static_cast<long>(history.position) != history.clean;
    return true;
}

bool Document::redo() {
    if (!can_redo()) return false;
    History& history = active();
    apply_step(history.steps[history.position++], true);
    if (!macro_open()) config_.modified = static_cast<long>(history.position) != history.clean;
    return true;
}

int Document::open_session(int slot, int cell) {
    if (macro_open() || slot < 0) return -1;
    session_.slot = slot;
    session_.cell = cell;
    session_.backup = config_.macros[slot];
    session_.opened = config_;
    session_.history = History{};
    open_macro(config_, slot);
    return slot;
}

int Document::open_macro_of_cell(int index) {
    if (!is_cell_index(index) || config_.switches_keypad_to != kSwitchesToComputer) return -1;
    return open_session(macro_slot_for_cell(config_, index), index);
}

int Document::open_macro_slot(int slot) {
    if (slot < 0 || slot >= kUsableMacroSlots || !config_.macros[slot].in_use) return -1;
    return open_session(slot, -1);
}

bool Document::set_macro_step(int word, int value) {
    if (!macro_open()) return false;
    return apply([&](Configuration& c) { return set_step(c, session_.slot, word, value); });
}

int Document::accept_macro() {
    if (!macro_open()) return -1;
    const int code = edit::accept_macro(config_, session_.slot);
    if (session_.cell >= 0) store_macro_result(config_, session_.cell, code);
    const Configuration opened = session_.opened;
    session_ = Session{};
    record(opened);
    return code;
}

void Document::cancel_macro() {
    if (!macro_open()) return;
    // A session changes nothing but its slot's words.
    edit::cancel_macro(config_, session_.slot, session_.backup);
    session_ = Session{};
}

} // namespace zq70::edit
