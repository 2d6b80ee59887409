// Files that zq70cfg writes: every one through the durable replace of config/, so a failed
// write never damages the file it was to replace.
#pragma once

#include <string>

namespace zq70cfg {

// Writes data to path; false (with nothing changed) when it cannot.
bool write_output(const std::string& path, const std::string& data);

// Whether output is the input file itself (also through another name or a link): writing
// it would destroy the input before anything was learnt from it.
bool same_file(const std::string& input, const std::string& output);

} // namespace zq70cfg
