// zq70cfg read and write: the serial transfers of link/ run from the command line, with
// progress on a terminal, read-back verify, series programming on one port or many at once,
// and Ctrl+C. Each returns the program's exit code (exit_codes.h) and has said what went
// wrong on standard error.
#pragma once

#include <string>
#include <vector>

namespace zq70cfg {

struct ReadRequest {
    std::string port;   // as given to --port
    std::string output; // the image, or its text when the name ends in .toml
};

struct WriteRequest {
    std::vector<std::string> ports; // as given to --port: names or patterns
    std::string source;             // a configuration file or text
    bool verify = true;
    bool repeat = false;
    std::string log; // CSV log of a series; "" for none
};

int read_command(const ReadRequest& request);
int write_command(const WriteRequest& request);

} // namespace zq70cfg
