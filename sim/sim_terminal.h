// The line zq70sim serves: a new pseudo-terminal or a given serial device, and its
// registration as a COM port of a Wine prefix.
#pragma once

#include <string>

namespace zq70sim {

struct Terminal {
    int fd = -1;      // the side zq70sim reads commands from and answers on
    int held_fd = -1; // the pseudo-terminal's other side, kept open by zq70sim itself
    std::string path; // what a program opens as its serial port
};

// A new pseudo-terminal in raw mode. zq70sim holds its other side open as well, so the
// terminal survives a program closing it and opening it again.
bool open_pseudo_terminal(Terminal& terminal, std::string& error);
bool open_serial_device(const std::string& path, Terminal& terminal, std::string& error);
void close_terminal(Terminal& terminal);

// Registers path as COM<com> in the prefix: the registry value read when the Wine server
// starts, and the dosdevices link that a running server follows.
bool register_wine_port(const std::string& prefix, int com, const std::string& path,
                        std::string& error);
// Removes the dosdevices link again if it still points at path.
void unregister_wine_port(const std::string& prefix, int com, const std::string& path);

} // namespace zq70sim
