// Writes the wiring sheets of two known configurations into a folder, for sheet_test.py:
// panel.html, whose key names need escaping, and doubled.html, the same with pin E twice.
#include <fstream>
#include <string>

#include "words/sheet.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    zq70::Configuration c{};
    zq70::reset_configuration(c);
    c.rows = 3;
    c.columns = 4;
    const int columns[] = {2, 0, 1, 7}; // C A B H
    const int rows[] = {23, 12, 3};     // X M D
    const int cells[3][4] = {{31, 53, 54, 41}, {8, 0x81, 0, 29}, {124, 108, 14, 128}};
    for (int col = 0; col < 4; ++col)
        c.column_pins[col] = columns[col];
    for (int r = 0; r < 3; ++r) {
        c.row_pins[r] = rows[r];
        for (int col = 0; col < 4; ++col)
            c.key_codes[zq70::cell_index(r, col)] = cells[r][col];
    }
    int input = 0; // the other pins in ascending order
    for (int pin = 0; pin < zq70::kPinCount; ++pin) {
        if (pin != 0 && pin != 1 && pin != 2 && pin != 3 && pin != 7 && pin != 12 && pin != 23)
            c.input_pins[input++] = pin;
    }
    c.key_codes[zq70::input_index(0)] = 110;
    c.key_codes[zq70::input_index(1)] = 0x81;
    c.macros[0].in_use = 1;
    const int steps[] = {zq70::make_step(44), zq70::make_step(8), zq70::break_step(8),
                         zq70::break_step(44)};
    for (int i = 0; i < 4; ++i)
        c.macros[0].steps[i] = steps[i];
    c.macros[0].steps[16] = zq70::delay_step(10);
    c.baud_rate = 6;
    c.computer_type = 1;

    const std::string folder = argv[1];
    std::ofstream(folder + "/panel.html") << zq70::words::wiring_sheet(c, "panel <A&B> \"1\".zq7");
    c.input_pins[16] = 4; // Input 17 on pin E beside Input 1; W is left free
    std::ofstream doubled(folder + "/doubled.html");
    doubled << zq70::words::wiring_sheet(c, "doubled");
    return doubled.flush() ? 0 : 1;
}
