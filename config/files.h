// Configuration files (a bare 512-byte device image) and the one-byte preferences file.
#pragma once

#include <string>

#include "durable_file.h"
#include "image.h"
#include "session.h"

namespace zq70 {

// Asks "The current configuration has changed..." when modified; true when the caller may
// go on (No, or Yes with a successful save).
bool query_save_changes(Session& session);

// File > Save: encode, ask for a name, write through a temporary file. True when written.
bool save_file(Session& session);

// File > Open: question, dialog, read, decode, refresh.
void open_file(Session& session);

// zq70load.ini: read once at start-up, written at every port choice. Failures are silent.
void load_preferences(Session& session);
void save_preferences(const Session& session);

// The file layer under Save and Open, usable on its own (tools, tests, fuzzing).
enum class ReadResult { Ok, CannotOpen, TooShort };
ReadResult read_image_file(const std::string& path, DeviceImage& image);
// Writes through replace_file (durable_file.h): the old file survives any failure.
bool write_image_file(const std::string& path, const DeviceImage& image);

} // namespace zq70
