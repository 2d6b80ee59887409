// The editing dialogs. Each function runs one modal dialog from the program's resources and
// returns its result; a negative result means the user cancelled and nothing was changed.
#pragma once

#include <windows.h>

#include "config/configuration.h"

// "Select a key" for a key cell: the key number chosen (0 for "Not Used") or -1. The dialog
// opens on the button of `code`, or on "Not Used" when the code has no button.
int select_key(HWND owner, int code);

// "Select a key" for a macro step: a key number, a key number with the break flag, a delay
// step word, 0 for "Not Used", or -1. `value` is the step's current word; Make or Break is
// preselected by `preselect_break`; the Delay button is offered only when `delay_allowed`.
int select_macro_step(HWND owner, int value, bool preselect_break, bool delay_allowed);

// The macro editor on slot `slot` of `config`, which it changes in place. `backup` is the
// slot as it was before, restored on cancel (-1). Returns the macro code 0x81 + slot, or 0
// when the macro was left without steps: then the slot has been released and every cell
// that named it reads "Not Used".
int edit_macro(HWND owner, zq70::Configuration& config, int slot, const zq70::MacroSlot& backup);

// The number entries: the number typed (a number too large to hold saturates at INT_MAX,
// text that is no number reads 0), or -1 for Cancel.
int ask_delay(HWND owner);
int ask_key_code(HWND owner);

// The About box; returns the id of the command that closed it.
int show_about(HWND owner);
