// Feeds arbitrary bytes to the configuration-file path and the image decoder. Whatever the
// decoder takes must encode again without harm, and the encoding must be stable: decoding
// it and encoding once more gives the same 512 bytes. A refused image must change nothing.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "busy_configuration.h"
#include "config/files.h"
#include "config/image.h"

namespace {

using namespace zq70;

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_decode: %s\n", what);
    std::abort();
}

void check_image(const DeviceImage& image) {
    Configuration config;
    std::memcpy(&config, &fuzz::busy_configuration(), sizeof config);
    if (!decode_image(image, config)) {
        require(fuzz::same_configuration(config, fuzz::busy_configuration()),
                "a refused image changed the configuration");
        return;
    }
    require(config.modified, "decoding changed the modified flag");

    int messages = 0;
    UserInterface ui;
    ui.message = [&](const std::string&, const std::string&, MessageIcon, MessageButtons) {
        ++messages;
        return MessageAnswer::Ok;
    };
    DeviceImage first;
    if (!encode_image(config, first, ui)) {
        // Only a pin used twice may stop it; the decoder lets such a list in on purpose.
        require(messages == 1, "a refused encoding must say why, once");
        require(std::all_of(first.begin(), first.end(), [](uint8_t b) { return b == 0; }),
                "a refused encoding left bytes behind");
        bool repeated = false;
        for (int i = 0; i < kPinCount; ++i)
            for (int j = i + 1; j < kPinCount; ++j)
                repeated |= image[kPinListOffset + i] == image[kPinListOffset + j];
        require(repeated, "encoding refused an image without a repeated pin");
        return;
    }
    require(messages == 0, "a successful encoding showed a message");
    require(std::equal(image.begin() + kPinListOffset, image.begin() + kPinListOffset + kPinCount,
                       first.begin() + kPinListOffset),
            "the pin list changed");
    const int key_area = config.rows * config.columns + input_count(config);
    require(std::equal(image.begin(), image.begin() + key_area, first.begin()),
            "the key code area changed");

    Configuration again;
    std::memcpy(&again, &fuzz::busy_configuration(), sizeof again);
    require(decode_image(first, again), "an encoded image was refused");
    DeviceImage second;
    require(encode_image(again, second, ui), "the second encoding failed");
    require(first == second, "encoding is not stable");
}

// The file that stands for the configuration file, one per fuzzing process, removed when
// the process ends.
struct ScratchFile {
    std::string path = (std::filesystem::temp_directory_path() /
                        ("zq70-fuzz-" + std::to_string(getpid()) + ".cfg"))
                           .string();
    ~ScratchFile() { std::remove(path.c_str()); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The raw bytes as an image, cut or padded with 0 to 512.
    DeviceImage image{};
    if (size > 0) std::memcpy(image.data(), data, std::min(size, image.size()));
    check_image(image);

    // The same bytes as a configuration file.
    static const ScratchFile scratch;
    const std::string& path = scratch.path;
    // A fresh file each time: rewriting a truncated one makes ext4 flush it on close,
    // which would slow every run down to disk speed.
    std::remove(path.c_str());
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    DeviceImage from_file;
    from_file.fill(0xA5);
    switch (read_image_file(path, from_file)) {
    case ReadResult::Ok:
        require(size >= kImageSize, "a short file was read as whole");
        require(std::equal(from_file.begin(), from_file.end(), data), "the file was misread");
        check_image(from_file);
        break;
    case ReadResult::TooShort: require(size < kImageSize, "a whole file was called short"); break;
    case ReadResult::CannotOpen: require(false, "the scratch file did not open"); break;
    }
    return 0;
}
