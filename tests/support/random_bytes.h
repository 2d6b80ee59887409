// 512 bytes of noise, the same for the same seed: every value in every place, so that a
// transfer that loses, moves or changes a byte shows.
#pragma once

#include <random>

#include "config/image.h"

namespace zq70::test {

inline DeviceImage random_bytes(unsigned seed) {
    std::mt19937 random(seed);
    DeviceImage image;
    for (uint8_t& b : image)
        b = static_cast<uint8_t>(random());
    return image;
}

} // namespace zq70::test
