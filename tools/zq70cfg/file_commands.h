// zq70cfg's commands on files: show, export, import, diff, check and sheet. Each takes a
// configuration file or text (load_source tells them apart), returns the program's exit
// code (exit_codes.h) and has said what went wrong on standard error.
#pragma once

#include <string>

namespace zq70cfg {

int show_command(const std::string& input);
// To standard output when output is "".
int export_command(const std::string& input, const std::string& output);
int import_command(const std::string& input, const std::string& output);
int diff_command(const std::string& first, const std::string& second);
int check_command(const std::string& input);
int sheet_command(const std::string& input, const std::string& output);

} // namespace zq70cfg
