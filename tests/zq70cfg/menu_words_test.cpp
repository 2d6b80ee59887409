// The option words of zq70cfg must be the captions that the window program's Options menu
// shows, or a text written by one would not read like the other. Checked against the real
// menu resource.
#include <string>
#include <windows.h>

#include <gtest/gtest.h>

#include "resource_ids.h"
#include "vocabulary.h"

namespace zq70cfg {
namespace {

std::string item_text(HMENU menu, UINT position) {
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(MenuWords, OptionCaptionsAreTheMenuCaptions) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_MAIN));
    ASSERT_NE(menu, nullptr);
    HMENU options = GetSubMenu(menu, 1);
    ASSERT_NE(options, nullptr);
    int found = 0;
    for (int position = 0; position < GetMenuItemCount(options); ++position) {
        HMENU popup = GetSubMenu(options, position);
        if (popup == nullptr) continue; // a separator
        const std::string caption = item_text(options, position);
        if (caption == "Communication port") continue; // not part of a configuration
        const OptionWords* option = option_of_caption(caption);
        ASSERT_NE(option, nullptr) << caption;
        EXPECT_EQ(option, &kOptionWords[found]) << "menu order differs at " << caption;
        ASSERT_EQ(GetMenuItemCount(popup), option->item_count) << caption;
        for (int v = 0; v < option->item_count; ++v)
            EXPECT_EQ(item_text(popup, v), option->items[v]) << caption;
        ++found;
    }
    EXPECT_EQ(found, kOptionCount);
    DestroyMenu(menu);
}

} // namespace
} // namespace zq70cfg
