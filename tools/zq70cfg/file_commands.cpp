#include "file_commands.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "console.h"
#include "exit_codes.h"
#include "output_file.h"
#include "words/check.h"
#include "words/compare.h"
#include "words/listing.h"
#include "words/sheet.h"
#include "words/source.h"
#include "words/text_form.h"

namespace zq70cfg {

using namespace zq70::words;

namespace {

// Loads input, or says why not and gives the exit code for it.
int load(const std::string& input, Source& source) {
    std::string message;
    return load_source(input, source, message) ? kExitOk : fail(kExitBadInput, message);
}

// Writes data to output unless output is the input itself.
int write_to(const std::string& input, const std::string& output, const std::string& data) {
    if (same_file(input, output))
        return fail(kExitUsage, output + " is the input file: give another name after -o");
    return write_output(output, data) ? kExitOk : fail(kExitCannotWrite, "cannot write " + output);
}

} // namespace

int show_command(const std::string& input) {
    Source source;
    if (const int code = load(input, source)) return code;
    say(listing(source.config));
    return kExitOk;
}

int export_command(const std::string& input, const std::string& output) {
    Source source;
    if (const int code = load(input, source)) return code;
    const std::string text = export_text(source.config);
    if (output.empty()) {
        say(text);
        return kExitOk;
    }
    return write_to(input, output, text);
}

int import_command(const std::string& input, const std::string& output) {
    Source source;
    if (const int code = load(input, source)) return code;
    // An image that a device could not be given is no configuration file either.
    if (!source.encodes())
        return fail(kExitBadInput, input + ": " + zq70::kEncoderErrorWord + source.refusal);
    return write_to(input, output, std::string(source.image.begin(), source.image.end()));
}

int diff_command(const std::string& first, const std::string& second) {
    Source a;
    Source b;
    if (const int code = load(first, a)) return code;
    if (const int code = load(second, b)) return code;
    const std::vector<std::string> lines = differences(a.config, b.config);
    for (const std::string& line : lines)
        say(line);
    return lines.empty() ? kExitOk : kExitDifferent;
}

int check_command(const std::string& input) {
    Source source;
    std::string message;
    if (!load_source(input, source, message)) {
        // A text that the ZQ70 could not take is an error found, as it is for an image file.
        if (source.encodes()) return fail(kExitBadInput, message);
        say(finding_line({Severity::Error, source.refusal}));
        return kExitCheckErrors;
    }
    const std::vector<Finding> findings = check_configuration(source.config);
    bool warned = false;
    for (const Finding& finding : findings) {
        say(finding_line(finding));
        warned = warned || finding.severity == Severity::Warning;
    }
    if (has_errors(findings)) return kExitCheckErrors;
    return warned ? kExitDifferent : kExitOk;
}

int sheet_command(const std::string& input, const std::string& output) {
    Source source;
    if (const int code = load(input, source)) return code;
    const std::string title = std::filesystem::path(input).filename().string();
    return write_to(input, output, wiring_sheet(source.config, title));
}

} // namespace zq70cfg
