#include "read_outcome.h"

#include <cstddef>
#include <cstring>

#include "invariant.h"

namespace zq70::fuzz {

namespace {

const Configuration& busy_configuration() {
    static const Configuration config = [] {
        Configuration c;
        std::memset(&c, 0, sizeof c);
        reset_configuration(c);
        for (int i = 0; i < kKeyCodeCount; ++i)
            c.key_codes[i] = (i * 7) % 200;
        for (int s = 0; s < 5; ++s) {
            c.macros[s].in_use = 1;
            c.macros[s].steps[0] = make_step(s + 3);
        }
        c.modified = true;
        return c;
    }();
    return config;
}

// Field by field: the padding after the last one is not copied by assignment.
bool same(const Configuration& a, const Configuration& b) {
    return std::memcmp(&a, &b, offsetof(Configuration, modified)) == 0 && a.modified == b.modified;
}

} // namespace

DeviceImage caller_image() {
    DeviceImage image;
    for (int i = 0; i < kImageSize; ++i)
        image[i] = static_cast<uint8_t>(0x5A + 37 * i);
    return image;
}

void check_decoding_after_read(TransferResult result, const DeviceImage& image,
                               const FetchedOffsets& fetched) {
    // A failed read never reaches the decoder: the configuration stays as it was.
    if (result != Ok) return;
    DeviceImage other = image;
    for (int i = 0; i < kImageSize; ++i)
        if (!fetched[i]) other[i] = static_cast<uint8_t>(~image[i]);
    Configuration config;
    std::memcpy(&config, &busy_configuration(), sizeof config);
    Configuration config_other;
    std::memcpy(&config_other, &busy_configuration(), sizeof config_other);
    const bool taken = decode_image(image, config);
    if (taken != decode_image(other, config_other))
        invariant_broken("whether the decoder takes the image depends on bytes the read "
                         "never fetched");
    if (!taken) {
        require(same(config, busy_configuration()), "a refused image changed the configuration");
        return;
    }
    require(same(config, config_other),
            "the configuration decoded depends on bytes the read never fetched");
}

} // namespace zq70::fuzz
