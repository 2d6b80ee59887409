// One configuration being edited, with the undo and redo of every change since it was
// opened, whether it differs from what was last opened, saved or read, and the macro
// editor's session on one slot. The page's editor is this document; every change is an
// operation of this room, so the page edits by the window program's rules.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "config/configuration.h"

namespace zq70::edit {

class Document {
  public:
    Document(); // a new configuration

    const zq70::Configuration& config() const { return config_; }
    bool modified() const { return config_.modified; }

    // New and Open: the configuration replaces the one on screen; the history starts afresh
    // and nothing is modified.
    void replace(const zq70::Configuration& config);
    // A configuration read from the device: it replaces the one on screen as one step that
    // can be undone (nothing of the user's is lost), and counts as not modified.
    void take(const zq70::Configuration& config);
    // The configuration is now what the file holds.
    void mark_saved();

    // Runs one edit of this room on the configuration. A change of any value becomes one
    // step of the history (inside a macro session, one step of the session); an edit that
    // changes nothing but the modified flag, as choosing the option already chosen, adds none.
    template <typename Edit> auto apply(Edit&& edit) {
        const zq70::Configuration before = config_;
        if constexpr (std::is_void_v<decltype(edit(config_))>) {
            edit(config_);
            record(before);
        } else {
            auto result = edit(config_);
            record(before);
            return result;
        }
    }

    // Inside a macro session these go through the session's own steps.
    bool can_undo() const;
    bool can_redo() const;
    bool undo();
    bool redo();

    // The macro editor, opened on the macro of a cell (or a new one: the first free slot;
    // -1 when there is none, and nothing opens) or on a slot in use. One session at a time.
    int open_macro_of_cell(int index);
    int open_macro_slot(int slot);
    bool macro_open() const { return session_.slot >= 0; }
    int macro_slot() const { return session_.slot; }
    // The cell the session stores its answer in, or -1.
    int macro_cell() const { return session_.cell; }
    // One step of the open macro (edit::set_step's rules).
    bool set_macro_step(int word, int value);
    // OK: the session ends as one step of the document's history; the answer (the macro code,
    // or 0 for a macro left without steps) goes into the cell it was opened for.
    int accept_macro();
    // Cancel: the slot as it was; modified keeps its value.
    void cancel_macro();

  private:
    struct Change {
        int word; // int32 place in the configuration's values
        int32_t before;
        int32_t after;
    };
    using Step = std::vector<Change>;
    struct History {
        std::vector<Step> steps;
        std::size_t position = 0; // steps applied
        long clean = 0;           // position that equals the file, or -1 when none does
    };
    struct Session {
        int slot = -1;
        int cell = -1;
        zq70::MacroSlot backup{};
        zq70::Configuration opened{};
        History history;
    };

    static Step difference(const zq70::Configuration& before, const zq70::Configuration& after);
    void record(const zq70::Configuration& before);
    static void push(History& history, Step step);
    void apply_step(const Step& step, bool forward);
    History& active() { return macro_open() ? session_.history : history_; }
    const History& active() const { return macro_open() ? session_.history : history_; }
    int open_session(int slot, int cell);

    zq70::Configuration config_{};
    History history_;
    Session session_;
};

} // namespace zq70::edit
