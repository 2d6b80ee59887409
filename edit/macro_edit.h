// The macro editor's rules: opening a slot, which steps may change and whether a delay still
// fits in the 336 bytes of macro memory, storing a step, and closing with OK or Cancel.
// The window program's "ZQ70 Macro" dialog and the web page's macro editor both follow them.
#pragma once

#include <string>

#include "config/configuration.h"

namespace zq70::edit {

// The step word that a make or break step `step` (0..15) of a slot is kept in.
inline int step_word(bool break_sequence, int step) {
    return (break_sequence ? kStepsPerSequence : 0) + step;
}

// Opening the editor on `slot` (0..126): the slot counts as in use from now on, so the
// memory total includes it while it is edited. Keep the slot as it was before as the
// backup for cancel_macro.
void open_macro(zq70::Configuration& config, int slot);

// Bytes of macro memory left: 336 minus what all macros in use take (negative only for a
// damaged configuration whose macros claim more).
int macro_memory_remaining(const zq70::Configuration& config);

// A filled step can always be changed (to a key, "Not Used", or a delay of the same cost);
// an empty one only when a key step would still fit.
bool step_enabled(const zq70::Configuration& config, int slot, int word);

// Whether a delay may be chosen for the step: the total after the change stays within 336.
bool delay_fits(const zq70::Configuration& config, int slot, int word);

// The kind "Select a key" preselects for a step: a filled step its own kind, an empty one
// the kind of its row.
bool preselects_break(int value, bool break_row);

// An answer of "Select a key" for the step: stored (also when it is the value the step had)
// and modified set; a negative answer (cancel) changes nothing. False, with nothing
// changed, when the step is not open to a change (step_enabled), the answer is no step
// word, or it is a delay that does not fit (delay_fits).
bool set_step(zq70::Configuration& config, int slot, int word, int value);

// OK: a macro with a step stays in use and its code (0x81 + slot) is the answer. A macro
// left without steps is not kept: every cell that ran it reads "Not Used" and the slot is
// given back, so that no slot in use is ever empty; the answer is then 0.
int accept_macro(zq70::Configuration& config, int slot);

// Cancel: the slot as it was when the editor opened, in_use included. modified keeps its
// value, so a step changed meanwhile still counts.
void cancel_macro(zq70::Configuration& config, int slot, const zq70::MacroSlot& backup);

// The delay step of a time typed in milliseconds: 10 ms units; below 10 ms the shortest
// delay, from 2560 ms on the longest (count 0, which stands for 256 units).
int delay_step_of_ms(int ms);

// "Select a key" in the macro-step variant: key `key` (0 "Not Used") as a step, released
// when Break is chosen. "Not Used" never carries the break flag.
int key_step(int key, bool break_chosen);

// The number of cells and inputs that run the macro of `slot`, matrix cells out of force
// included (they keep their code).
int macro_users(const zq70::Configuration& config, int slot);

} // namespace zq70::edit
