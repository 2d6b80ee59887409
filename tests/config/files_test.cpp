#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "config/files.h"
#include "test_support.h"

namespace zq70 {
namespace {

using test::read_all;
using test::write_all;

constexpr const char* kSaveError = "Error saving the file";
constexpr const char* kOpenError = "Error opening the file";
constexpr const char* kInvalid = "Invalid configuration file";

struct FilesTest : ::testing::Test {
    test::TemporaryFolder folder;
    test::ScriptedUser user;
    Session session;
    int refreshes = 0;

    void SetUp() override {
        session.ui = user.seam();
        session.view.show_grid = [this] { ++refreshes; };
        reset_configuration(session.config);
        session.preferences_path = folder.path("zq70load.ini");
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const auto& m : user.messages)
            result.push_back(m.text);
        return result;
    }

    std::vector<uint8_t> image_bytes(const Configuration& config) {
        const DeviceImage image = test::encoded(config);
        return std::vector<uint8_t>(image.begin(), image.end());
    }
};

TEST_F(FilesTest, SaveWritesTheImageAndClearsModified) {
    session.config.key_codes[0] = 31;
    session.config.modified = true;
    const std::string path = folder.path("new name.cfg");
    user.file_names = {path};
    EXPECT_TRUE(save_file(session));
    EXPECT_FALSE(session.config.modified);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_EQ(user.file_questions, std::vector<FileQuestion>{FileQuestion::Save});
    const auto saved = read_all(path);
    ASSERT_EQ(saved.size(), 512u);
    EXPECT_EQ(saved, image_bytes(session.config));
    EXPECT_EQ(std::vector<uint8_t>(saved.end() - 8, saved.end()),
              (std::vector<uint8_t>{0x2B, 0x0D, 0xA0, 0x10, 0x0C, 0x0C, 0x00, 0x00}));
    // Nothing is left beside it.
    int files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(path).parent_path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(FilesTest, SaveReplacesAnExistingFile) {
    const std::string path = folder.path("old.cfg");
    write_all(path, std::vector<uint8_t>(700, 0xEE));
    user.file_names = {path};
    EXPECT_TRUE(save_file(session));
    EXPECT_EQ(read_all(path), image_bytes(session.config));
}

TEST_F(FilesTest, SaveWithCollidingPinsAsksNoName) {
    session.config.rows = 11;
    session.config.modified = true;
    EXPECT_FALSE(save_file(session));
    EXPECT_TRUE(user.file_questions.empty());
    EXPECT_EQ(texts(), std::vector<std::string>{"Error: Pin A is used for multiple scan lines"});
    EXPECT_TRUE(session.config.modified);
}

TEST_F(FilesTest, SaveCancelledSaysNothing) {
    session.config.modified = true;
    user.file_names = {""};
    EXPECT_FALSE(save_file(session));
    EXPECT_TRUE(user.messages.empty());
    EXPECT_TRUE(session.config.modified);
}

TEST_F(FilesTest, SaveIntoAMissingFolderFails) {
    session.config.modified = true;
    user.file_names = {folder.path("missing/x.cfg")};
    EXPECT_FALSE(save_file(session));
    ASSERT_EQ(texts(), std::vector<std::string>{kSaveError});
    EXPECT_EQ(user.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(user.messages[0].caption, "ZQ70 Configuration Utility");
    EXPECT_TRUE(session.config.modified);
}

TEST_F(FilesTest, FailedSaveKeepsTheOldFile) {
    const std::string path = folder.path("keep.cfg");
    const std::vector<uint8_t> old(512, 0x42);
    write_all(path, old);
    // The new content cannot be written beside the old file: that name is taken by a
    // folder. The old file must come through untouched.
    std::filesystem::create_directory(path + ".zq70-saving");
    session.config.modified = true;
    user.file_names = {path};
    EXPECT_FALSE(save_file(session));
    EXPECT_EQ(texts(), std::vector<std::string>{kSaveError});
    EXPECT_EQ(read_all(path), old);
    EXPECT_TRUE(session.config.modified);
}

TEST_F(FilesTest, SaveOntoAFolderFailsAndLeavesNoTemporaryFile) {
    const std::string path = folder.path("a folder");
    std::filesystem::create_directory(path);
    std::filesystem::create_directory(path + "/inside");
    user.file_names = {path};
    EXPECT_FALSE(save_file(session));
    EXPECT_EQ(texts(), std::vector<std::string>{kSaveError});
    EXPECT_TRUE(std::filesystem::is_directory(path + "/inside"));
    EXPECT_FALSE(std::filesystem::exists(path + ".zq70-saving"));
}

#ifndef _WIN32
TEST(ImageFiles, AWriteThatFailsAfterOpeningIsReported) {
    DeviceImage image{};
    EXPECT_FALSE(write_image_file("/dev/full", image));
}
#endif

TEST_F(FilesTest, OpenTakesTheImage) {
    Configuration saved = session.config;
    saved.rows = 2;
    saved.columns = 3;
    for (int i = 0; i < 19; ++i)
        saved.input_pins[i] = 0;
    saved.column_pins[0] = 0;
    saved.column_pins[1] = 1;
    saved.column_pins[2] = 2;
    saved.row_pins[0] = 3;
    saved.row_pins[1] = 4;
    for (int i = 0; i < 19; ++i)
        saved.input_pins[i] = 5 + i;
    saved.key_codes[cell_index(1, 2)] = 99;
    const std::string path = folder.path("in.cfg");
    write_all(path, image_bytes(saved));

    session.comm_port = 3;
    session.config.modified = false;
    user.file_names = {path};
    open_file(session);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_EQ(user.file_questions, std::vector<FileQuestion>{FileQuestion::Open});
    EXPECT_EQ(session.config.rows, 2);
    EXPECT_EQ(session.config.key_codes[cell_index(1, 2)], 99);
    EXPECT_FALSE(session.config.modified);
    EXPECT_EQ(session.comm_port, 3);
    EXPECT_EQ(refreshes, 1);
}

TEST_F(FilesTest, OpenReadsOnlyTheFirst512Bytes) {
    Configuration saved = session.config;
    saved.key_codes[0] = 7;
    std::vector<uint8_t> bytes = image_bytes(saved);
    bytes.resize(1000, 0xFF);
    write_all(folder.path("long.cfg"), bytes);
    session.config.modified = true;
    user.answers = {MessageAnswer::No};
    user.file_names = {folder.path("long.cfg")};
    open_file(session);
    EXPECT_EQ(texts().size(), 1u) << "only the save question";
    EXPECT_EQ(session.config.key_codes[0], 7);
    EXPECT_FALSE(session.config.modified);
}

TEST_F(FilesTest, OpenRefusalsChangeNothing) {
    struct Case {
        std::string name;
        std::vector<uint8_t> content; // empty name: no file at all
        const char* message;
    };
    const std::vector<uint8_t> good = image_bytes(session.config);
    std::vector<uint8_t> bad_geometry = good;
    bad_geometry[509] = 0;
    bad_geometry[508] = 3;
    const std::vector<Case> cases = {
        {"short.cfg", std::vector<uint8_t>(100, 0), kInvalid},
        {"511.cfg", std::vector<uint8_t>(good.begin(), good.end() - 1), kInvalid},
        {"empty.cfg", {}, kInvalid},
        {"geometry.cfg", bad_geometry, kInvalid},
    };
    session.config.key_codes[3] = 55;
    for (const Case& c : cases) {
        write_all(folder.path(c.name), c.content);
        for (bool modified : {false, true}) {
            SCOPED_TRACE(c.name);
            session.config.modified = modified;
            Configuration before;
            std::memcpy(&before, &session.config, sizeof before);
            user.messages.clear();
            user.answers = {MessageAnswer::No};
            user.file_names = {folder.path(c.name)};
            open_file(session);
            EXPECT_EQ(texts().back(), c.message);
            EXPECT_EQ(user.messages.back().icon, MessageIcon::Error);
            EXPECT_EQ(std::memcmp(&before, &session.config, sizeof before), 0);
            EXPECT_EQ(refreshes, 0);
        }
    }
    user.messages.clear();
    user.file_names = {folder.path("does not exist.cfg")};
    session.config.modified = false;
    open_file(session);
    EXPECT_EQ(texts(), std::vector<std::string>{kOpenError});
}

TEST_F(FilesTest, OpenQuestionAndDialogCancelled) {
    write_all(folder.path("x.cfg"), image_bytes(test::default_configuration()));
    session.config.key_codes[3] = 55;
    session.config.modified = true;
    user.answers = {MessageAnswer::Cancel};
    user.file_names = {folder.path("x.cfg")};
    open_file(session);
    EXPECT_TRUE(user.file_questions.empty());
    EXPECT_EQ(session.config.key_codes[3], 55);

    // Yes, then the save dialog cancelled: nothing is opened.
    user.answers = {MessageAnswer::Yes};
    user.file_names = {""};
    open_file(session);
    EXPECT_EQ(user.file_questions, std::vector<FileQuestion>{FileQuestion::Save});
    EXPECT_EQ(session.config.key_codes[3], 55);
    EXPECT_TRUE(session.config.modified);

    // No, then the open dialog cancelled.
    user.file_questions.clear();
    user.answers = {MessageAnswer::No};
    user.file_names = {""};
    open_file(session);
    EXPECT_EQ(user.file_questions, std::vector<FileQuestion>{FileQuestion::Open});
    EXPECT_EQ(session.config.key_codes[3], 55);
    EXPECT_EQ(refreshes, 0);
}

TEST_F(FilesTest, YesSavesBeforeOpening) {
    const std::string saved = folder.path("saved.cfg");
    const std::string other = folder.path("other.cfg");
    Configuration other_config = test::default_configuration();
    other_config.key_codes[0] = 88;
    write_all(other, image_bytes(other_config));
    session.config.key_codes[0] = 12;
    session.config.modified = true;
    user.answers = {MessageAnswer::Yes};
    user.file_names = {saved, other};
    open_file(session);
    EXPECT_EQ(read_all(saved)[0], 12);
    EXPECT_EQ(session.config.key_codes[0], 88);
    EXPECT_FALSE(session.config.modified);
}

TEST_F(FilesTest, QuerySaveChanges) {
    EXPECT_TRUE(query_save_changes(session));
    EXPECT_TRUE(user.messages.empty()) << "nothing to lose, nothing asked";
    session.config.modified = true;
    user.answers = {MessageAnswer::No, MessageAnswer::Cancel};
    EXPECT_TRUE(query_save_changes(session));
    EXPECT_FALSE(query_save_changes(session));
    // Yes with a failing save stops the caller too.
    session.config.rows = 11;
    user.answers = {MessageAnswer::Yes};
    EXPECT_FALSE(query_save_changes(session));
    EXPECT_TRUE(session.config.modified);
}

TEST_F(FilesTest, PreferencesPort) {
    int shown = 0;
    session.view.show_port = [&] { ++shown; };
    const std::pair<std::vector<uint8_t>, int> cases[] = {
        {{'1'}, 0},  {{'3'}, 2},  {{'6'}, 5}, {{'7'}, 6},      {{'0'}, -1},
        {{'8'}, -1}, {{'a'}, -1}, {{}, -1},   {{'2', '5'}, 1}, {{0xFF}, -1},
    };
    for (const auto& [content, port] : cases) {
        write_all(session.preferences_path, content);
        session.comm_port = 0;
        shown = 0;
        load_preferences(session);
        EXPECT_EQ(session.comm_port, port < 0 ? 0 : port) << (content.empty() ? -1 : content[0]);
        EXPECT_EQ(shown, port < 0 ? 0 : 1);
    }
    std::filesystem::remove(session.preferences_path);
    session.comm_port = 4;
    load_preferences(session);
    EXPECT_EQ(session.comm_port, 4);
    EXPECT_FALSE(std::filesystem::exists(session.preferences_path));
}

TEST_F(FilesTest, PreferencesAreOneByte) {
    session.comm_port = kKeyboardPort;
    save_preferences(session);
    EXPECT_EQ(read_all(session.preferences_path), std::vector<uint8_t>{'7'});
    session.comm_port = 1;
    save_preferences(session);
    EXPECT_EQ(read_all(session.preferences_path), std::vector<uint8_t>{'2'});
    Session fresh;
    fresh.preferences_path = session.preferences_path;
    load_preferences(fresh);
    EXPECT_EQ(fresh.comm_port, 1);

    session.preferences_path = folder.path("missing/zq70load.ini");
    save_preferences(session); // silent
    EXPECT_TRUE(user.messages.empty());
}

TEST(ImageFiles, ReadResults) {
    test::TemporaryFolder folder;
    DeviceImage image{};
    EXPECT_EQ(read_image_file(folder.path("none"), image), ReadResult::CannotOpen);
    write_all(folder.path("short"), std::vector<uint8_t>(511, 1));
    EXPECT_EQ(read_image_file(folder.path("short"), image), ReadResult::TooShort);
    std::vector<uint8_t> bytes(600);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7);
    write_all(folder.path("long"), bytes);
    ASSERT_EQ(read_image_file(folder.path("long"), image), ReadResult::Ok);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), bytes.begin()));
    ASSERT_TRUE(write_image_file(folder.path("copy"), image));
    EXPECT_EQ(read_all(folder.path("copy")),
              std::vector<uint8_t>(bytes.begin(), bytes.begin() + 512));
}

} // namespace
} // namespace zq70
