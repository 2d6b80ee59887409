#include "output_file.h"

#include <filesystem>
#include <system_error>

#include "config/durable_file.h"

namespace zq70cfg {

bool write_output(const std::string& path, const std::string& data) {
    return zq70::replace_file(path, data.data(), data.size());
}

bool same_file(const std::string& input, const std::string& output) {
    std::error_code error;
    return std::filesystem::equivalent(input, output, error) && !error;
}

} // namespace zq70cfg
