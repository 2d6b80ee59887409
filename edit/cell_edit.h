// How a key cell (a matrix position or a discrete input) gets its code: a raw code in RS-232
// mode, a macro, or a key from "Select a key". The dialogs ask; these rules store the answer.
#pragma once

#include "config/configuration.h"

namespace zq70::edit {

enum class CellEditPath {
    RawCode, // RS-232 mode: a number 0..255 ("Key Code")
    Macro,   // Computer mode with the Control key: the macro editor
    Key,     // Computer mode: "Select a key"
};

CellEditPath cell_edit_path(const zq70::Configuration& config, bool control_down);

// Whether `index` names an entry of key_codes (a matrix cell r x 23 + c, or input 529 + i).
bool is_cell_index(int index);

// RawCode: the number entered, at most 255 (a larger one saturates). A negative answer is a
// cancel and changes nothing; otherwise sets modified.
void store_raw_code(zq70::Configuration& config, int index, int code);

// Macro: the slot that the cell's macro lives in, or the first free slot for a new macro;
// -1 when there is none (every slot taken, or the code 0x80 that names no slot). The editor
// then does not open.
int macro_slot_for_cell(const zq70::Configuration& config, int index);

// Macro: the editor's answer (the macro code, 0 for a macro left without steps, negative
// for cancel). The editor marks its own step changes; a cell that now names the macro, or
// lost it to an emptied macro, is a change of its own.
void store_macro_result(zq70::Configuration& config, int index, int code);

// Key: the key chosen (0 for "Not Used"; negative for cancel, which changes nothing). The
// new key is stored before a replaced macro is given back, so that a macro that other cells
// still run is kept. Sets modified.
void store_key(zq70::Configuration& config, int index, int key);

// The cell sends nothing any more ("Not Used" of the mode), by the path that mode takes.
void clear_cell(zq70::Configuration& config, int index);

} // namespace zq70::edit
