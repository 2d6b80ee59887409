// The life of macro slots: memory accounting and giving slots back so that the slots in
// use stay an unbroken run from slot 0.
#pragma once

#include "configuration.h"

namespace zq70 {

// Bytes that all macros in use take in the device's 336-byte macro area: one per key step,
// two per delay step, plus two length bytes for a macro with at least one step.
int macro_memory_used(const Configuration& config);
// The share of one macro in use: its steps, and the two length bytes when it has any.
int macro_slot_memory(const MacroSlot& slot);

// Gives slot s back: the last slot in use moves into s and every cell that named it is
// renumbered. Cells that name s itself are the caller's business.
void release_macro_slot(Configuration& config, int slot);

// Gives slot s back only when no key code refers to it any more, so a macro shared by
// several cells survives the edit of one of them. Call it after storing the cell's new code.
void release_macro_slot_if_unused(Configuration& config, int slot);

// First slot not in use among 0..126, or -1 when all are taken.
int first_free_macro_slot(const Configuration& config);

// Whether any of the 32 step words has non-zero low seven bits.
bool macro_has_steps(const MacroSlot& slot);

} // namespace zq70
