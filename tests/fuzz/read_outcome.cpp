#include "read_outcome.h"

#include <cstring>

#include "busy_configuration.h"
#include "invariant.h"

namespace zq70::fuzz {

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
        require(same_configuration(config, busy_configuration()),
                "a refused image changed the configuration");
        return;
    }
    require(same_configuration(config, config_other),
            "the configuration decoded depends on bytes the read never fetched");
}

} // namespace zq70::fuzz
