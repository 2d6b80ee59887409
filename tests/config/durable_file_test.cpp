#include <filesystem>
#include <utility>

#include <gtest/gtest.h>

#include "config/durable_file.h"
#include "config/files.h"
#include "test_support.h"

namespace zq70 {
namespace {

using test::read_all;
using test::write_all;

const std::vector<uint8_t> kOld(512, 0x42);
const std::vector<uint8_t> kNew(512, 0x17);

bool replace_with_new(const std::string& path, const ReplaceFault& fault = {}) {
    return replace_file(path, kNew.data(), kNew.size(), fault);
}

int entries_in(const std::string& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

TEST(DurableFile, EveryFailingStepKeepsTheOldFileAndLeavesNothingBeside) {
    // The failing step, and the last step taken: after a failed write the file is still
    // closed, and nothing is renamed.
    const std::pair<ReplaceStep, ReplaceStep> cases[] = {
        {ReplaceStep::CheckTarget, ReplaceStep::CheckTarget},
        {ReplaceStep::Open, ReplaceStep::Open},
        {ReplaceStep::Write, ReplaceStep::Close},
        {ReplaceStep::Flush, ReplaceStep::Close},
        {ReplaceStep::Sync, ReplaceStep::Close},
        {ReplaceStep::Close, ReplaceStep::Close},
        {ReplaceStep::Rename, ReplaceStep::Rename},
    };
    for (const auto& [step, last] : cases) {
        SCOPED_TRACE(static_cast<int>(step));
        test::TemporaryFolder folder;
        const std::string path = folder.path("keep.cfg");
        write_all(path, kOld);
        std::vector<ReplaceStep> seen;
        EXPECT_FALSE(replace_with_new(path, [&](ReplaceStep s) {
            seen.push_back(s);
            return s == step;
        }));
        EXPECT_EQ(read_all(path), kOld);
        EXPECT_EQ(entries_in(folder.root), 1) << "a temporary file was left";
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), last);
    }
}

TEST(DurableFile, ReplacesAndCreates) {
    test::TemporaryFolder folder;
    const std::string path = folder.path("new.cfg");
    EXPECT_TRUE(replace_with_new(path));
    EXPECT_EQ(read_all(path), kNew);
    write_all(path, kOld);
    EXPECT_TRUE(replace_with_new(path));
    EXPECT_EQ(read_all(path), kNew);
    EXPECT_EQ(entries_in(folder.root), 1);
}

TEST(DurableFile, ALeftOverTemporaryFileDoesNotStopTheNextSave) {
    test::TemporaryFolder folder;
    const std::string path = folder.path("a.cfg");
    write_all(path + kReplaceSuffix, std::vector<uint8_t>(3000, 1));
    EXPECT_TRUE(replace_with_new(path));
    EXPECT_EQ(read_all(path), kNew);
    EXPECT_FALSE(std::filesystem::exists(path + kReplaceSuffix));
}

// The user's protection of a file holds even where a rename could replace it (Wine lets
// one): Save fails exactly as for a file that cannot be opened for writing.
TEST(DurableFile, AReadOnlyFileIsNeverReplaced) {
    test::TemporaryFolder folder;
    test::ScriptedUser user;
    Session session;
    session.ui = user.seam();
    reset_configuration(session.config);
    session.config.modified = true;
    const std::string path = folder.path("protected.cfg");
    write_all(path, kOld);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    user.file_names = {path};
    EXPECT_FALSE(save_file(session));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "Error saving the file");
    EXPECT_TRUE(session.config.modified);
    EXPECT_EQ(read_all(path), kOld);
    EXPECT_EQ(entries_in(folder.root), 1);
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    user.file_names = {path};
    EXPECT_TRUE(save_file(session));
    EXPECT_EQ(read_all(path).size(), 512u);
}

} // namespace
} // namespace zq70
