// Helpers shared by the configuration tests: the scripted user and temporary folder of
// every test, and byte-level helpers.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "config/image.h"
#include "config/session.h"
#include "tests/support/scripted_user.h"
#include "tests/support/temporary_folder.h"

namespace zq70::test {

inline std::vector<uint8_t> read_all(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::fgetc(file)) != EOF;)
            bytes.push_back(static_cast<uint8_t>(c));
        std::fclose(file);
    }
    return bytes;
}

inline void write_all(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

inline Configuration default_configuration() {
    Configuration config{};
    reset_configuration(config);
    return config;
}

// Encodes with nobody to see a message; the tests that expect messages use ScriptedUser.
inline DeviceImage encoded(const Configuration& config) {
    DeviceImage image{};
    encode_image(config, image, UserInterface{});
    return image;
}

} // namespace zq70::test
