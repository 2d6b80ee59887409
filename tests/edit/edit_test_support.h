// What the edit tests share: whether two configurations hold the same values.
#pragma once

#include <cstddef>
#include <cstring>

#include "config/configuration.h"

namespace zq70::test {

// Every field, without the padding behind the last one.
inline bool same_configuration(const Configuration& a, const Configuration& b) {
    return std::memcmp(&a, &b, offsetof(Configuration, modified)) == 0 && a.modified == b.modified;
}

} // namespace zq70::test
