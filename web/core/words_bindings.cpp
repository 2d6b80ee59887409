// words/ for the page: opening a file's bytes, the text form, and the listing, comparison,
// check and wiring sheet of zq70cfg, in the same words.
#include <emscripten/bind.h>

#include "js_values.h"
#include "words/check.h"
#include "words/compare.h"
#include "words/listing.h"
#include "words/sheet.h"
#include "words/source.h"
#include "words/text_form.h"

namespace zq70::web {

namespace {

val text_error_value(const words::TextError& error) {
    val result = val::object();
    result.set("line", error.line);
    result.set("column", error.column);
    result.set("reason", error.reason);
    result.set("unwritable", error.unwritable);
    return result;
}

// A file the user chose or dropped, told apart as zq70cfg does it: { ok, message, isText,
// config, bytes, refusal, textError }. message is zq70cfg's one line ("name:3:7: reason");
// config and bytes come only with ok, and config may still be refused by the encoder
// (refusal, in check's words), as an image file can be.
val load_source(const std::string& name, const val& bytes) {
    words::Source source;
    std::string message;
    const bool ok = words::load_source_bytes(name, bytes_of(bytes), source, message);
    val result = val::object();
    result.set("ok", ok);
    result.set("message", message);
    result.set("isText", source.is_text);
    result.set("refusal", source.refusal);
    if (ok) {
        result.set("config", source.config);
        result.set("bytes", image_value(source.image));
    } else if (source.is_text) {
        result.set("textError", text_error_value(source.text_error));
    }
    return result;
}

// { config, bytes } of a text, or { error } with its line, column and reason.
val import_text(const std::string& text) {
    Configuration config{};
    reset_configuration(config);
    DeviceImage image{};
    words::TextError error;
    val result = val::object();
    if (!words::import_text(text, config, image, error)) {
        result.set("error", text_error_value(error));
        return result;
    }
    result.set("config", config);
    result.set("bytes", image_value(image));
    return result;
}

const char* severity_name(words::Severity severity) {
    switch (severity) {
    case words::Severity::Error: return "error";
    case words::Severity::Warning: return "warning";
    case words::Severity::Info: break;
    }
    return "info";
}

const char* target_kind_name(words::Target::Kind kind) {
    switch (kind) {
    case words::Target::Kind::None: break;
    case words::Target::Kind::Option: return "option";
    case words::Target::Kind::Cell: return "cell";
    case words::Target::Kind::Line: return "line";
    case words::Target::Kind::Macro: return "macro";
    }
    return "none";
}

const char* line_kind_name(words::LineKind kind) {
    switch (kind) {
    case words::LineKind::Column: return "column";
    case words::LineKind::Row: return "row";
    case words::LineKind::Input: break;
    }
    return "input";
}

// zq70cfg check's findings: { severity, text, line (as zq70cfg prints it), target }.
val check(const Configuration& config) {
    val findings = val::array();
    for (const words::Finding& finding : words::check_configuration(config)) {
        val target = val::object();
        target.set("kind", target_kind_name(finding.target.kind));
        target.set("index", finding.target.index);
        target.set("line", line_kind_name(finding.target.line));
        target.set("word", finding.target.word);
        val entry = val::object();
        entry.set("severity", severity_name(finding.severity));
        entry.set("text", finding.text);
        entry.set("line", words::finding_line(finding));
        entry.set("target", target);
        findings.call<void>("push", entry);
    }
    return findings;
}

val differences(const Configuration& a, const Configuration& b) {
    return array_value(words::differences(a, b));
}

} // namespace

} // namespace zq70::web

EMSCRIPTEN_BINDINGS(zq70_words) {
    using namespace emscripten;
    using namespace zq70::web;
    function("loadSourceBytes", &load_source);
    function("exportText", &zq70::words::export_text);
    function("importText", &import_text);
    function("listing", &zq70::words::listing);
    function("differences", &differences);
    function("checkConfiguration", &check);
    function("wiringSheet", &zq70::words::wiring_sheet);
}
