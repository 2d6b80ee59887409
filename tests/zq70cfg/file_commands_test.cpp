// The command line of zq70cfg as scripts meet it: usage, exit codes and the files written.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "cfg_process.h"
#include "config/image.h"
#include "version.h"

namespace zq70cfg::test {
namespace {

TEST(CommandLine, VersionHelpAndUsageErrors) {
    Finished run = run_cfg({"--version"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "zq70cfg " ZQ70_VERSION "\n");

    run = run_cfg({"--help"});
    EXPECT_EQ(run.code, 0);
    for (const char* word : {"show", "export", "import", "diff", "check", "sheet", "read", "write",
                             "Examples:", "Exit codes:", "130"})
        EXPECT_NE(run.out.find(word), std::string::npos) << word;
    run = run_cfg({"write", "--help"});
    EXPECT_EQ(run.code, 0);
    for (const char* word : {"--port", "--no-verify", "--repeat", "--log", "Examples:"})
        EXPECT_NE(run.out.find(word), std::string::npos) << word;

    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {},
             {"frobnicate"},
             {"show"},
             {"import", kPanel},
             {"read", "-o", "x.bin"},
             {"write", "--port", "/dev/null"},
             {"write", "--port", "/dev/null", kPanel, "--log", "x.csv"},
             {"show", kPanel, "extra"}}) {
        run = run_cfg(wrong);
        EXPECT_EQ(run.code, 2) << testing::PrintToString(wrong);
        EXPECT_NE(run.err, "");
    }
}

TEST(CommandLine, ImportExportAndDiffRoundTrip) {
    const std::string image = temporary("panel.bin");
    const std::string text = temporary("panel.toml");
    ASSERT_EQ(run_cfg({"import", kPanel, "-o", image}).code, 0);
    EXPECT_EQ(contents(image).size(), 512u);
    ASSERT_EQ(run_cfg({"export", image, "-o", text}).code, 0);
    EXPECT_EQ(run_cfg({"export", image}).out, contents(text));
    EXPECT_EQ(run_cfg({"diff", image, text}).code, 0);
    EXPECT_EQ(run_cfg({"diff", kPanel, text}).code, 0);

    std::string changed = contents(text);
    changed.replace(changed.find("\"19200\""), 7, "\"9600\"");
    put(text, changed);
    const Finished diff = run_cfg({"diff", image, text});
    EXPECT_EQ(diff.code, 1);
    EXPECT_NE(diff.out.find("19200"), std::string::npos) << diff.out;
    EXPECT_EQ(run_cfg({"show", text}).code, 0);
    unlink(image.c_str());
    unlink(text.c_str());
}

TEST(CommandLine, CheckExitCodeByWhatItFinds) {
    EXPECT_EQ(run_cfg({"check", kPanel}).code, 0);
    const std::string held = temporary("held.toml");
    std::string text = contents(kPanel);
    text.replace(text.find("\"release H\", "), 13, "");
    put(held, text);
    const Finished warned = run_cfg({"check", held});
    EXPECT_EQ(warned.code, 1) << warned.out;
    EXPECT_NE(warned.out.find("Warning: "), std::string::npos);

    const std::string image = temporary("doubled.bin");
    ASSERT_EQ(run_cfg({"import", kPanel, "-o", image}).code, 0);
    std::string bytes = contents(image);
    bytes[zq70::kPinListOffset + 1] = bytes[zq70::kPinListOffset];
    put(image, bytes);
    const Finished refused = run_cfg({"check", image});
    EXPECT_EQ(refused.code, 8);
    EXPECT_NE(refused.out.find("Error: "), std::string::npos);
    // What cannot be encoded cannot be imported either.
    EXPECT_EQ(run_cfg({"import", image, "-o", temporary("copy.bin")}).code, 3);
    // The same mistake in a text is the same finding, with its place.
    const std::string doubled = temporary("doubled.toml");
    put(doubled, "[layout]\nrows = 11\n");
    const Finished text_refused = run_cfg({"check", doubled});
    EXPECT_EQ(text_refused.code, 8);
    EXPECT_EQ(text_refused.out,
              "Error: Pin A is used for multiple scan lines (" + doubled + ":2:8)\n");
    unlink(doubled.c_str());
    unlink(held.c_str());
    unlink(image.c_str());
}

TEST(CommandLine, OutputsNeverDestroyTheInputOrAGoodFile) {
    // The input named as the output, also through another spelling of its path.
    const std::string text = temporary("panel.toml");
    put(text, contents(kPanel));
    const std::string dotted = testing::TempDir() + "./" + text.substr(testing::TempDir().size());
    Finished run = run_cfg({"import", text, "-o", dotted});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("is the input"), std::string::npos) << run.err;
    EXPECT_EQ(contents(text), contents(kPanel));
    EXPECT_EQ(run_cfg({"export", text, "-o", text}).code, 2);
    EXPECT_EQ(run_cfg({"sheet", text, "-o", text}).code, 2);
    EXPECT_EQ(contents(text), contents(kPanel));

    // A folder where the file should go, and a read-only file: nothing written, code 4.
    EXPECT_EQ(run_cfg({"sheet", text, "-o", testing::TempDir()}).code, 4);
    const std::string locked = temporary("locked.bin");
    put(locked, "old");
    chmod(locked.c_str(), 0444);
    if (access(locked.c_str(), W_OK) != 0) { // root writes anything
        EXPECT_EQ(run_cfg({"import", text, "-o", locked}).code, 4);
        EXPECT_EQ(contents(locked), "old");
    }
    // An input that cannot be read or is no configuration.
    EXPECT_EQ(run_cfg({"show", temporary("missing.bin")}).code, 3);
    const std::string short_file = temporary("short.bin");
    put(short_file, std::string(100, '\0'));
    run = run_cfg({"export", short_file, "-o", temporary("never.toml")});
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(access(temporary("never.toml").c_str(), F_OK), -1);

    const std::string sheet = temporary("panel.html");
    EXPECT_EQ(run_cfg({"sheet", text, "-o", sheet}).code, 0);
    EXPECT_NE(contents(sheet).find("<html"), std::string::npos);
    for (const std::string& path : {text, locked, short_file, sheet})
        unlink(path.c_str());
}

} // namespace
} // namespace zq70cfg::test
