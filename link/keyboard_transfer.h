// Reading and writing the device image through the keyboard line, over a KeyboardChannel
// whose platform the caller chooses (the Win32 keyboard, or a simulated device in tests).
// Detail messages go to a box captioned "Error" through the user interface seam; the
// caller shows the summary message for the returned code.
#pragma once

#include "config/image.h"
#include "config/user_interface.h"
#include "keyboard_channel.h"
#include "transfer_progress.h"
#include "transfer_result.h"

namespace zq70 {

struct KeyboardLink {
    const KeyboardChannel& channel;
    const UserInterface& ui;
};

// Fills the image in place, header first, and stops as soon as the key codes and the macro
// records they refer to have arrived. Bytes never reached keep their values.
// Ok, DeviceNotFound, TransferFailed or InvalidHeader.
TransferResult keyboard_read(const KeyboardLink& link, DeviceImage& image,
                             const ProgressSink& progress);

// Sends the used part of the image: Ok, DeviceNotFound, TransferFailed or NoGoodCombos.
TransferResult keyboard_write(const KeyboardLink& link, const DeviceImage& image,
                              const ProgressSink& progress);

// Number of bytes a keyboard-line write sends: the 32 header bytes, then offsets 0 up to
// the end of the last macro record that the key codes refer to (past a record of two zero
// lengths too), or only the key code area when they refer to none. Never more than 512.
int used_length(const DeviceImage& image);

// Number of key code bytes for the column and row counts of the image: R x C + (24 - R - C).
int key_area_size(int columns, int rows);

} // namespace zq70
