// The launcher's start: the folder made or taken as it is, the program started in it as
// asked, and what the user is told when either cannot be.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "start_in_folder.h"
#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"

namespace fs = std::filesystem;
using zq70::test::read_file;
using zq70::test::write_file;

namespace {

// The launcher's start, "" when the program runs, else what the user is told.
std::wstring start(const fs::path& program, const fs::path& folder, const STARTUPINFOW& how) {
    static wchar_t problem[zq70start::kProblemSize];
    problem[0] = L'\0';
    const bool started = zq70start::start_in_folder(program.c_str(), folder.c_str(), how, problem);
    EXPECT_EQ(started, problem[0] == L'\0') << fs::path(problem);
    return problem;
}

struct Started {
    fs::path folder;
    int show;
};

fs::path beside_this_test(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path() / name;
}

// What the probe wrote into FOLDER, once it has (within 20 s).
std::optional<Started> started_in(const fs::path& folder) {
    const fs::path record = folder / "started.txt";
    for (int tries = 0; tries < 400 && !fs::exists(record); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream in(record);
    std::string where;
    int show = 0;
    if (!std::getline(in, where) || !(in >> show)) return std::nullopt;
    return Started{fs::u8path(where), show};
}

bool contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

class StartInFolder : public ::testing::Test {
  protected:
    zq70::test::TemporaryFolder temp;
    const fs::path root{temp.root};
    const fs::path folder = root / "ZQ70Load";
    const fs::path probe = beside_this_test(L"start_probe.exe");
    STARTUPINFOW how{};
};

TEST_F(StartInFolder, MakesAMissingFolderAndStartsTheProgramInItAsAsked) {
    how.dwFlags = STARTF_USESHOWWINDOW;
    how.wShowWindow = SW_SHOWMAXIMIZED;
    ASSERT_EQ(L"", start(probe, folder, how));
    const auto started = started_in(folder);
    ASSERT_TRUE(started);
    EXPECT_TRUE(fs::equivalent(started->folder, folder)) << started->folder;
    EXPECT_EQ(SW_SHOWMAXIMIZED, started->show);
}

TEST_F(StartInFolder, StartsInAnExistingFolderAndLeavesTheSettingThere) {
    fs::create_directory(folder);
    write_file((folder / "zq70load.ini").string(), "3");
    ASSERT_EQ(L"", start(probe, folder, how));
    const auto started = started_in(folder);
    ASSERT_TRUE(started);
    EXPECT_TRUE(fs::equivalent(started->folder, folder)) << started->folder;
    EXPECT_EQ(-1, started->show);
    EXPECT_EQ("3", read_file((folder / "zq70load.ini").string()));
}

TEST_F(StartInFolder, AFileInPlaceOfTheFolderIsToldAndKept) {
    write_file(folder.string(), "mine");
    const std::wstring problem = start(probe, folder, how);
    EXPECT_TRUE(contains(problem, folder.wstring())) << fs::path(problem);
    EXPECT_TRUE(contains(problem, L"A file of that name is in the way.")) << fs::path(problem);
    EXPECT_EQ("mine", read_file(folder.string()));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(fs::exists(root / "started.txt"));
}

TEST_F(StartInFolder, AFolderThatCannotBeMadeIsToldWithTheSystemsReason) {
    const fs::path nowhere = root / "missing" / "ZQ70Load";
    const std::wstring problem = start(probe, nowhere, how);
    EXPECT_TRUE(contains(problem, L"cannot make the folder")) << fs::path(problem);
    EXPECT_TRUE(contains(problem, nowhere.wstring())) << fs::path(problem);
    EXPECT_FALSE(contains(problem, L"in the way")) << fs::path(problem);
    EXPECT_FALSE(fs::exists(root / "missing"));
}

TEST_F(StartInFolder, AMissingProgramIsToldByItsPath) {
    const fs::path missing = root / "zq70load.exe";
    const std::wstring problem = start(missing, folder, how);
    EXPECT_TRUE(contains(problem, L"ZQ70Load cannot start:\n" + missing.wstring()))
        << fs::path(problem);
    EXPECT_TRUE(fs::is_directory(folder));
}

} // namespace
