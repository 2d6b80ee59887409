// Crossing into JavaScript: bytes as Uint8Array (embind's std::string would take them for
// UTF-8 text), results as plain objects and arrays.
#pragma once

#include <emscripten/val.h>

#include <cstdint>
#include <string>
#include <vector>

#include "config/image.h"

namespace zq70::web {

using emscripten::val;

// A copy of the bytes, owned by JavaScript.
inline val bytes_value(const uint8_t* data, std::size_t size) {
    return val(emscripten::typed_memory_view(size, data)).call<val>("slice");
}
inline val image_value(const DeviceImage& image) {
    return bytes_value(image.data(), image.size());
}

// The bytes of a Uint8Array (or any array of numbers).
inline std::string bytes_of(const val& array) {
    const std::vector<uint8_t> bytes = emscripten::convertJSArrayToNumberVector<uint8_t>(array);
    return std::string(bytes.begin(), bytes.end());
}

// The 512 bytes of a device image, or false when the array has another length.
inline bool image_of(const val& array, DeviceImage& image) {
    const std::string bytes = bytes_of(array);
    if (bytes.size() != image.size()) return false;
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return true;
}

template <typename T> val array_value(const std::vector<T>& items) {
    val array = val::array();
    for (const T& item : items)
        array.call<void>("push", item);
    return array;
}

} // namespace zq70::web
