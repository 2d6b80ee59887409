#include <cstring>
#include <map>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "config/key_names.h"

namespace zq70 {
namespace {

// The catalogue written out once more, in another shape: "number<TAB>short<TAB>long<TAB>button".
// Keys with one name leave long and button empty when they equal the short name.
const char* const kCatalogue[] = {"1\t` ~",
                                  "2\t1 !",
                                  "3\t2 @",
                                  "4\t3 #",
                                  "5\t4 $",
                                  "6\t5 %",
                                  "7\t6 ^",
                                  "8\t7 &&",
                                  "9\t8 *",
                                  "10\t9 (",
                                  "11\t0 )",
                                  "12\t- _",
                                  "13\t= +",
                                  "15\tBksp\tBackspace\tBackspace",
                                  "16\tTab",
                                  "17\tQ",
                                  "18\tW",
                                  "19\tE",
                                  "20\tR",
                                  "21\tT",
                                  "22\tY",
                                  "23\tU",
                                  "24\tI",
                                  "25\tO",
                                  "26\tP",
                                  "27\t[ {",
                                  "28\t] }",
                                  "29\t\\ |",
                                  "30\tCaps\t\tCaps Lock",
                                  "31\tA",
                                  "32\tS",
                                  "33\tD",
                                  "34\tF",
                                  "35\tG",
                                  "36\tH",
                                  "37\tJ",
                                  "38\tK",
                                  "39\tL",
                                  "40\t; :",
                                  "41\t' \"\t\t' ''",
                                  "43\tEnt\tEnter\tEnter",
                                  "44\tL Sft\tLeft Shift\tShift",
                                  "46\tZ",
                                  "47\tX",
                                  "48\tC",
                                  "49\tV",
                                  "50\tB",
                                  "51\tN",
                                  "52\tM",
                                  "53\t, <",
                                  "54\t. >",
                                  "55\t/ ?",
                                  "57\tR Sft\tRight Shift\tShift",
                                  "58\tL Ctrl\tLeft Ctrl\tCtrl",
                                  "60\tL Alt\tLeft Alt\tAlt",
                                  "61\tSpace",
                                  "62\tR Alt\tRight Alt\tAlt",
                                  "64\tR Ctrl\tRight Ctrl\tCtrl",
                                  "70\tL Win\tLeft Win\tWin",
                                  "71\tR Win\tRight Win\tWin",
                                  "72\tWin Apl\t\tApl",
                                  "75\tIns\tInsert\tIns",
                                  "76\tDel\tDelete\tDel",
                                  "79\tLeft\tLeft Arrow\tLeft",
                                  "80\tHome",
                                  "81\tEnd",
                                  "83\tUp\tUp Arrow\tUp",
                                  "84\tDown\tDown Arrow\tDown",
                                  "85\tPg Up\tPage Up\tPgUp",
                                  "86\tPg Dn\tPage Down\tPgDn",
                                  "89\tRight\tRight Arrow\tRight",
                                  "90\tNum Lk\tNum Lock\tNum",
                                  "91\t7 (N)\t7 (Num)\t7",
                                  "92\t4 (N)\t4 (Num)\t4",
                                  "93\t1 (N)\t1 (Num)\t1",
                                  "95\t/ (N)\t/ (Num)\t/",
                                  "96\t8 (N)\t8 (Num)\t8",
                                  "97\t5 (N)\t5 (Num)\t5",
                                  "98\t2 (N)\t2 (Num)\t2",
                                  "99\t0 (N)\t0 (Num)\t0",
                                  "100\t* (N)\t* (Num)\t*",
                                  "101\t9 (N)\t9 (Num)\t9",
                                  "102\t6 (N)\t6 (Num)\t6",
                                  "103\t3 (N)\t3 (Num)\t3",
                                  "104\t. (N)\t. (Num)\t.",
                                  "105\t- (N)\t- (Num)\t-",
                                  "106\t+ (N)\t+ (Num)\t+",
                                  "108\tEnt (N)\tEnter (Num)\tEnt",
                                  "110\tEsc",
                                  "112\tF1",
                                  "113\tF2",
                                  "114\tF3",
                                  "115\tF4",
                                  "116\tF5",
                                  "117\tF6",
                                  "118\tF7",
                                  "119\tF8",
                                  "120\tF9",
                                  "121\tF10",
                                  "122\tF11",
                                  "123\tF12",
                                  "124\tPrt Scn\tPrint Screen\tPrtSc",
                                  "125\tScrl Lk\tScrl Lock\tScrLk",
                                  "126\tPause"};

struct Names {
    std::string short_name, long_name, button;
};

std::map<int, Names> catalogue() {
    std::map<int, Names> names;
    for (const char* line : kCatalogue) {
        std::stringstream in(line);
        std::string number, short_name, long_name, button;
        std::getline(in, number, '\t');
        std::getline(in, short_name, '\t');
        std::getline(in, long_name, '\t');
        std::getline(in, button, '\t');
        if (long_name.empty()) long_name = short_name;
        if (button.empty()) button = short_name;
        names[std::stoi(number)] = {short_name, long_name, button};
    }
    return names;
}

TEST(KeyNames, EveryNumberAgainstTheCatalogue) {
    const auto names = catalogue();
    const int unassigned[] = {14, 42, 45, 56, 59, 63, 65, 66, 67,  68,  69,
                              73, 74, 77, 78, 82, 87, 88, 94, 107, 109, 111};
    EXPECT_EQ(names.size() + std::size(unassigned), 126u);
    for (int key = 1; key <= 126; ++key) {
        const auto found = names.find(key);
        if (found == names.end()) {
            EXPECT_STREQ(key_name(key, true), "Not Used") << key;
            EXPECT_STREQ(key_name(key, false), "Not Used") << key;
            EXPECT_EQ(key_button_caption(key), nullptr) << key;
            continue;
        }
        EXPECT_EQ(key_name(key, true), found->second.short_name) << key;
        EXPECT_EQ(key_name(key, false), found->second.long_name) << key;
        ASSERT_NE(key_button_caption(key), nullptr) << key;
        EXPECT_EQ(key_button_caption(key), found->second.button) << key;
        EXPECT_LE(std::strlen(key_name(key, false)), static_cast<size_t>(kLongestKeyName));
    }
    for (int key : unassigned)
        EXPECT_EQ(names.count(key), 0u) << key;
}

TEST(KeyNames, SpecialValues) {
    EXPECT_STREQ(key_name(0, false), "Not Used");
    EXPECT_STREQ(key_name(127, true), "Delay");
    EXPECT_STREQ(key_name(10 * 256 + 127, true), "Delay");
    EXPECT_STREQ(key_name(255, false), "Delay");
    EXPECT_EQ(key_button_caption(0), nullptr);
    EXPECT_EQ(key_button_caption(127), nullptr);
    EXPECT_EQ(key_button_caption(-1), nullptr);
    EXPECT_EQ(key_button_caption(128 + 31), nullptr);
    EXPECT_STREQ(key_name(41, true), "' \"");
    EXPECT_STREQ(key_name(8, true), "7 &&");
    EXPECT_STREQ(key_name(124, false), "Print Screen");
}

TEST(KeyNames, OnlyTheLowSevenBitsCount) {
    for (int code = 0; code < 128; ++code) {
        for (int high : {0x80, 0x100, 0x7F00, 0x12380, -256}) {
            EXPECT_STREQ(key_name(code | high, true), key_name(code, true)) << code << " " << high;
            EXPECT_STREQ(key_name(code | high, false), key_name(code, false)) << code;
        }
    }
    EXPECT_STREQ(key_name(128, false), "Not Used");
    EXPECT_STREQ(key_name(0x80 + 14, false), "Not Used");
    EXPECT_STREQ(key_name(0x80 + 31, true), "A");
    EXPECT_STREQ(key_name(15, true), "Bksp");
    EXPECT_STREQ(key_name(15, false), "Backspace");
}

} // namespace
} // namespace zq70
