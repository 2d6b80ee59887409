// The matrix layout as the user changes it: the row and column counts and the pin of every
// line. The window program's lists and the web page's controls both come here.
#pragma once

#include <cstdint>

#include "config/configuration.h"

namespace zq70::edit {

enum class CountList { Rows, Columns };

// A new selection in the rows or columns list. The chosen count keeps the user's choice
// and the other one follows, so that the matrix is 0 x 0 or has a row and a column, and
// never takes more than the 24 pins. Sets modified, even when nothing moves. False (and
// nothing changed) for a count outside 0..23.
bool choose_count(zq70::Configuration& config, CountList list, int count);

// The count that the other list takes when one list is set to `chosen`.
int adjusted_other_count(int chosen, int other);

// The three pin tables, in the order of the image's pin list.
enum class PinTable { Columns, Rows, Inputs };

// Entries of a table (23, 23 or 24), whether in force or not.
int pin_table_size(PinTable table);

// Entry `index` of a table; the caller keeps index within pin_table_size.
int32_t& pin_entry(zq70::Configuration& config, PinTable table, int index);
int32_t pin_entry(const zq70::Configuration& config, PinTable table, int index);

// A new selection in a pin list: the line is wired to `pin` (0..23). Doubled pins are
// allowed while editing; the encoder refuses them. Sets modified. False (and nothing
// changed) for an entry or pin out of range.
bool choose_pin(zq70::Configuration& config, PinTable table, int index, int pin);

} // namespace zq70::edit
