// What the visible grid controls say: column, row and input numbers, the pin of each, and a
// caption for every visible cell.
#pragma once

#include "edit/captions.h"
#include "main_window.h"

namespace zq70 {

using edit::key_caption;
using edit::macro_caption;

// Rewrites every visible label, pin selection and cell caption from the configuration.
void refresh_captions(MainWindow& main);

} // namespace zq70
