// A folder of the test's own under the system's temporary folder, removed with everything
// in it when the test ends.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>

namespace zq70::test {

class TemporaryFolder {
  public:
    TemporaryFolder() {
        // The random device of some C libraries gives the same numbers in every run, so
        // the time and a counter make the name unique too.
        static std::atomic<int> serial{0};
        std::random_device seed;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        const std::string name = "zq70-test-" + std::to_string(seed()) + "-" + std::to_string(now) +
                                 "-" + std::to_string(++serial);
        root = (std::filesystem::temp_directory_path() / name).string();
        std::filesystem::create_directories(root);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // The path of a file in the folder.
    std::string path(const std::string& name) const {
        return (std::filesystem::path(root) / name).string();
    }

    std::string root;
};

} // namespace zq70::test
