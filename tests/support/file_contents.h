// A file's bytes as a string, and a string as a file's bytes: what a test puts in place
// and looks at.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace zq70::test {

inline std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void write_file(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

} // namespace zq70::test
