// The drawn keyboard of "Select a key": where its key buttons stand, in dialog units, in tab
// order (row by row, left to right), what they say, and which one a dialog opens on. The
// captions come from the key catalogue; this is the only table of places, for the window
// program's dialogs and the web page's picker alike.
#pragma once

namespace zq70::edit {

struct KeyButtonPlace {
    int key; // key number; the button's id is IDC_KEY_BUTTON_BASE + key
    int x;
    int y;
    int width;
    int height;
};

constexpr int kSelectKeyButtonCount = 105; // 104 keys and "Not Used"
extern const KeyButtonPlace key_button_places[kSelectKeyButtonCount];

// The Delay button of the macro-step variant stands where key 132 would: the starting
// rule treats it as one.
constexpr int kDelayButtonKey = 132;

// Caption of the button of key number `key` ("Not Used" for 0, "Caps Lock" for 30), or ""
// for a number without a button.
const char* key_button_text(int key);

// The button that "Select a key" opens on for the starting code: the Delay button for a
// delay step (low byte 127), "Not Used" for a code of 127 or more (a macro reference in a
// cell) and for a number without a button, otherwise the key's own button. The macro-step
// variant looks only at the low seven bits; the key-only variant has no Delay button and
// opens on "Not Used" for a delay.
int starting_key(int code, bool macro_step_variant);

} // namespace zq70::edit
