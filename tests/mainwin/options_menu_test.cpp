// The Options menu of the resource must be the one table of options, popup for popup and
// item for item (caption and command id), or the program would set other fields than the
// menu shows, and zq70cfg and the web page would word the options otherwise.
#include <string>
#include <windows.h>

#include <gtest/gtest.h>

#include "config/options.h"
#include "resource_ids.h"

namespace zq70 {
namespace {

std::string item_text(HMENU menu, UINT position) {
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(OptionsMenu, IsTheTableOfOptions) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_MAIN));
    ASSERT_NE(menu, nullptr);
    HMENU options = GetSubMenu(menu, 1);
    ASSERT_NE(options, nullptr);
    int found = 0;
    for (int position = 0; position < GetMenuItemCount(options); ++position) {
        HMENU popup = GetSubMenu(options, position);
        if (popup == nullptr) continue; // a separator
        const std::string caption = item_text(options, position);
        if (caption == kPortMenuCaption) continue; // a program setting, not an option
        const OptionGroup* option = option_of_caption(caption);
        ASSERT_NE(option, nullptr) << caption;
        EXPECT_EQ(option, &option_groups[found]) << "menu order differs at " << caption;
        ASSERT_EQ(GetMenuItemCount(popup), option->item_count) << caption;
        for (int v = 0; v < option->item_count; ++v) {
            EXPECT_EQ(item_text(popup, v), option->items[v]) << caption;
            EXPECT_EQ(GetMenuItemID(popup, v), static_cast<UINT>(option->first_command + v))
                << caption << " " << option->items[v];
        }
        ++found;
    }
    EXPECT_EQ(found, kOptionGroupCount);
    DestroyMenu(menu);
}

} // namespace
} // namespace zq70
