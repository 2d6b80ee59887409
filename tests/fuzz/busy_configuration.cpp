#include "busy_configuration.h"

#include <cstddef>
#include <cstring>

namespace zq70::fuzz {

const Configuration& busy_configuration() {
    static const Configuration config = [] {
        Configuration c;
        std::memset(&c, 0, sizeof c);
        reset_configuration(c);
        for (int i = 0; i < kKeyCodeCount; ++i)
            c.key_codes[i] = i % 200;
        for (int s = 0; s < 3; ++s) {
            c.macros[s].in_use = 1;
            c.macros[s].steps[0] = make_step(s + 1);
        }
        c.modified = true;
        return c;
    }();
    return config;
}

bool same_configuration(const Configuration& a, const Configuration& b) {
    return std::memcmp(&a, &b, offsetof(Configuration, modified)) == 0 && a.modified == b.modified;
}

} // namespace zq70::fuzz
