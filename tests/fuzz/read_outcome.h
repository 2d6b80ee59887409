// What the program makes of a read: the window's Read command and zq70cfg decode the image
// into the configuration only after Ok, and throw it away otherwise.
#pragma once

#include <array>

#include "config/image.h"
#include "link/transfer_result.h"

namespace zq70::fuzz {

// The caller's buffer before a read: a pattern, so that a byte the read never reached shows.
DeviceImage caller_image();

// Offsets of the image that the read filled from the device.
using FetchedOffsets = std::array<bool, kImageSize>;

// Decodes as the Read command does, into a configuration with something everywhere: an image
// the decoder refuses must leave it exactly as it was, and what it takes may depend only on
// the bytes that the read fetched (the others are whatever the caller's buffer held).
void check_decoding_after_read(TransferResult result, const DeviceImage& image,
                               const FetchedOffsets& fetched);

} // namespace zq70::fuzz
