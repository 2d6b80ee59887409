#include "captions.h"

#include "config/text_format.h"
#include "grid.h"
#include "main_window_texts.h"

namespace zq70 {
namespace {

// Setting a text repaints the control even when the text stays the same, so only real
// changes are written: scrolling and resizing then redraw only what changed.
void set_text(HWND control, const std::string& text) {
    char current[64] = "";
    GetWindowTextA(control, current, sizeof current);
    if (text != current) SetWindowTextA(control, text.c_str());
}

void show_pin_line(HWND label, HWND box, const char* format, int line, int pin) {
    if (SendMessageA(box, CB_GETCURSEL, 0, 0) != pin)
        SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(pin), 0);
    set_text(label, format_text(format, line + 1));
}

} // namespace

void refresh_captions(MainWindow& m) {
    const Configuration& config = m.session->config;
    const int vc = m.visible_columns, vr = m.visible_rows, vi = m.visible_inputs;
    const int first_column = scroll_position(m.column_scroll);
    const int first_row = scroll_position(m.row_scroll);
    const int first_input = scroll_position(m.input_scroll);

    for (int c = 0; c < vc; ++c) {
        show_pin_line(m.pin_labels[c], m.pin_boxes[c], kColumnLabelFormat, first_column + c,
                      config.column_pins[first_column + c]);
    }
    for (int r = 0; r < vr; ++r) {
        show_pin_line(m.pin_labels[vc + r], m.pin_boxes[vc + r], kRowLabelFormat, first_row + r,
                      config.row_pins[first_row + r]);
    }
    for (int k = 0; k < vi; ++k) {
        show_pin_line(m.pin_labels[vc + vr + k], m.pin_boxes[vc + vr + k], kInputLabelFormat,
                      first_input + k, config.input_pins[first_input + k]);
    }
    const int buttons = visible_button_count(m);
    for (int b = 0; b < buttons; ++b)
        set_text(m.key_buttons[b], key_caption(config, config.key_codes[key_code_index(m, b)]));
}

} // namespace zq70
