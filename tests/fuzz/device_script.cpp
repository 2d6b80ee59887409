#include "device_script.h"

#include "seed_configurations.h"

namespace zq70::fuzz {

namespace {

const std::vector<DeviceImage>& base_images() {
    static const std::vector<DeviceImage> images = [] {
        std::vector<DeviceImage> result;
        for (const SeedConfiguration& seed : seed_configurations()) {
            DeviceImage image;
            if (encode_image(seed.config, image, UserInterface{})) result.push_back(image);
        }
        return result;
    }();
    return images;
}

} // namespace

DeviceImage read_image(DeviceScript& script) {
    const uint8_t choice = script.byte();
    DeviceImage image;
    if (choice == kRawImage) {
        for (uint8_t& b : image)
            b = script.byte();
        return image;
    }
    const std::vector<DeviceImage>& bases = base_images();
    image = bases[choice % bases.size()];
    for (int edits = script.byte(); edits > 0; --edits) {
        const int offset = (script.byte() | script.byte() << 8) % kImageSize;
        image[offset] = script.byte();
    }
    return image;
}

} // namespace zq70::fuzz
