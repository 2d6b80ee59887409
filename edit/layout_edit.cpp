#include "layout_edit.h"

namespace zq70::edit {

int adjusted_other_count(int chosen, int other) {
    if (chosen == 0 && other != 0)
        other = 0;
    else if (other == 0 && chosen != 0)
        other = 1;
    if (chosen + other > kPinCount) other = kPinCount - chosen;
    return other;
}

bool choose_count(Configuration& config, CountList list, int count) {
    if (count < 0 || count > kMaxLines) return false;
    config.modified = true;
    if (list == CountList::Rows) {
        config.rows = count;
        config.columns = adjusted_other_count(config.rows, config.columns);
    } else {
        config.columns = count;
        config.rows = adjusted_other_count(config.columns, config.rows);
    }
    return true;
}

int pin_table_size(PinTable table) {
    return table == PinTable::Inputs ? kPinCount : kMaxLines;
}

int32_t& pin_entry(Configuration& config, PinTable table, int index) {
    switch (table) {
    case PinTable::Columns: return config.column_pins[index];
    case PinTable::Rows: return config.row_pins[index];
    case PinTable::Inputs: break;
    }
    return config.input_pins[index];
}

int32_t pin_entry(const Configuration& config, PinTable table, int index) {
    return pin_entry(const_cast<Configuration&>(config), table, index);
}

bool choose_pin(Configuration& config, PinTable table, int index, int pin) {
    if (index < 0 || index >= pin_table_size(table) || pin < 0 || pin >= kPinCount) return false;
    config.modified = true;
    pin_entry(config, table, index) = pin;
    return true;
}

} // namespace zq70::edit
