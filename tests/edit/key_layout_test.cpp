// The drawn keyboard: every key of the catalogue has exactly one button, no two overlap,
// and the dialog opens on the right one.
#include <gtest/gtest.h>

#include <set>

#include "config/configuration.h"
#include "config/key_names.h"
#include "edit/key_layout.h"

namespace zq70::edit {
namespace {

TEST(KeyLayout, EveryNamedKeyHasOneButtonAndNoneOverlap) {
    std::set<int> keys;
    for (const KeyButtonPlace& place : key_button_places) {
        EXPECT_TRUE(keys.insert(place.key).second) << "key " << place.key << " twice";
        EXPECT_STRNE(key_button_text(place.key), "") << place.key;
    }
    for (int key = 1; key <= kHighestKeyNumber; ++key)
        EXPECT_EQ(keys.count(key) == 1, key_button_caption(key) != nullptr) << key;
    EXPECT_EQ(keys.count(kNotUsed), 1u);

    for (const KeyButtonPlace& a : key_button_places) {
        for (const KeyButtonPlace& b : key_button_places) {
            if (&a == &b) continue;
            const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x ||
                               a.y + a.height <= b.y || b.y + b.height <= a.y;
            EXPECT_TRUE(apart) << a.key << " and " << b.key;
        }
    }
}

TEST(KeyLayout, ButtonTexts) {
    EXPECT_STREQ(key_button_text(0), "Not Used");
    EXPECT_STREQ(key_button_text(30), "Caps Lock");
    EXPECT_STREQ(key_button_text(14), "");
    EXPECT_STREQ(key_button_text(200), "");
}

TEST(KeyLayout, StartingButton) {
    struct Case {
        int code;
        bool macro_step;
        int key;
    };
    const Case cases[] = {
        {0, false, kNotUsed},
        {31, false, 31},
        {0x85, false, kNotUsed}, // a macro reference
        {127, false, kNotUsed},  // no Delay button in the key-only variant
        {14, false, kNotUsed},   // an unassigned number has no button
        {0x80 + 31, true, 31},   // a break step starts on its key
        {delay_step(10), true, kDelayButtonKey},
        {delay_step(0), true, kDelayButtonKey},
        {0x80 + 14, true, kNotUsed},
        {delay_step(10), false, kNotUsed},
    };
    for (const Case& c : cases)
        EXPECT_EQ(starting_key(c.code, c.macro_step), c.key) << c.code << " " << c.macro_step;
}

} // namespace
} // namespace zq70::edit
