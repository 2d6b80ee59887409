// Where the key buttons of "Select a key" stand, in dialog units, in tab order (row by row,
// left to right). The captions come from the key catalogue; this is the only table of places.
#pragma once

namespace zq70 {

struct KeyButtonPlace {
    int key; // key number; the button's id is IDC_KEY_BUTTON_BASE + key
    int x;
    int y;
    int width;
    int height;
};

constexpr int kSelectKeyButtonCount = 105; // 104 keys and "Not Used"
extern const KeyButtonPlace key_button_places[kSelectKeyButtonCount];

} // namespace zq70
