// zq70cfg: ZQ70 configurations from the command line. The command line is declared here
// once; every command is a function of file_commands.h or serial_commands.h.
#include <CLI/CLI.hpp>

#include <string>

#include "exit_codes.h"
#include "file_commands.h"
#include "port_list.h"
#include "serial_commands.h"
#include "version.h"

namespace {

using namespace zq70cfg;

#ifdef _WIN32
constexpr const char* kPortHelp = "serial port: COM1 to COM256 (COM7, or \\\\.\\COM12)";
constexpr const char* kPortsHelp =
    "serial port: COM1 to COM256 (COM7, or \\\\.\\COM12); with --repeat, give --port again "
    "for more ports, or a range (COM3-COM10)";
#define PORT "COM7"
#define PORT2 "COM8"
#define PORTS "COM3-COM10"
#define PORT_LIST "COM3  0403:6001  FTDI  USB Serial Port (COM3)  serial A50285BI"
#else
constexpr const char* kPortHelp = "serial device: /dev/ttyUSB0, /dev/ttyS0, ...";
constexpr const char* kPortsHelp =
    "serial device: /dev/ttyUSB0, /dev/ttyS0, ...; with --repeat, give --port again for more "
    "ports, or a pattern ('/dev/ttyUSB*')";
#define PORT "/dev/ttyUSB0"
#define PORT2 "/dev/ttyUSB1"
#define PORTS "'/dev/ttyUSB*'"
#define PORT_LIST                                                                                  \
    "/dev/ttyUSB0  0403:6001  FTDI  FT232R USB UART  serial A50285BI\n"                            \
    "      /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"
#endif

constexpr const char* kDescription =
    "zq70cfg " ZQ70_VERSION ": configurations of the ZQ70 keyboard encoder from the command\n"
    "line: as text, checked, compared, printed, and read from or written to the device over\n"
    "a serial port. Wherever a configuration is read, it may be a 512-byte configuration\n"
    "file (as the window program saves it) or a text (TOML, as export writes it).";

constexpr const char* kExamples = R"(
Examples:
  zq70cfg show panel.bin
  zq70cfg export panel.bin -o panel.toml
  zq70cfg import panel.toml -o panel.bin
  zq70cfg diff panel.bin panel.toml
  zq70cfg check panel.toml
  zq70cfg sheet panel.toml -o panel.html
  zq70cfg read --port )" PORT R"( -o device.bin
  zq70cfg write --port )" PORT R"( panel.toml
  zq70cfg write --port )" PORT R"( panel.toml --repeat --log series.csv
  zq70cfg write --port )" PORTS R"( panel.toml --repeat --log series.csv
  zq70cfg ports --probe

)";

constexpr const char* kWriteFooter = R"(
The configuration is written, then read back and compared byte for byte (unless
--no-verify); a difference names the first addresses that differ.

With --repeat, zq70cfg programs one device after another on the same port: it waits
for a ZQ70 to answer, writes and verifies it, prints one line for it
  2026-12-09 10:14:03  #3  written  verified
then waits for it to be taken off and for the next one. A device that fails is reported
and the series goes on. Ctrl+C ends the series and prints the tally; the exit code is 0
when every device was written and verified, 9 when any failed, 130 when Ctrl+C cut a
transfer short. --log appends the same lines to a CSV file (time,device,result,verify).

Many ports at once: with --repeat, give --port for each port, or a pattern that names
several ()" PORTS R"(); each port runs its own series at the same time, and a device
that fails on one port never stops the others. On a terminal one table shows a line
per port (its device, its state: waiting, writing 43 %, verifying, done, failed, port
gone, and its last result), redrawn in place; otherwise each event is one line with
the port in front. A port that goes away (its adapter unplugged) shows "port gone" and
is watched until it comes back. Ctrl+C lets every port finish the command it is in,
then prints the tally of each port and in all. The log gets a fifth column, port
(time,device,result,verify,port); a log with the four columns of a single port gets
it added to its header, and its older lines keep four fields.

Examples:
  zq70cfg write --port )" PORT R"( panel.toml
  zq70cfg write --port )" PORT R"( panel.bin --no-verify
  zq70cfg write --port )" PORT R"( panel.toml --repeat --log series.csv
  zq70cfg write --port )" PORT R"( --port )" PORT2 R"( panel.toml --repeat
  zq70cfg write --port )" PORTS R"( panel.toml --repeat --log series.csv
)";

constexpr const char* kPortsFooter = R"(
One line per serial port: the name to give --port, then what the system knows of it:
the USB vendor and product ids, the maker's and the product's names, the serial
number, and other names of the same port (Linux: /dev/serial/by-id). For example:
  )" PORT_LIST R"(

--probe asks each port with the serial protocol's opening command alone whether a ZQ70
answers, and puts one word after the name: ZQ70 (one answers), no answer, busy (another
program holds the port; it is left alone), no access (on Linux: join the dialout
group), cannot open. A port that no program holds is opened for a moment.

Examples:
  zq70cfg ports
  zq70cfg ports --probe
)";

constexpr const char* kReadFooter = R"(
FILE gets the 512 bytes as read, or their text when its name ends in .toml. On any
failure FILE is left as it was.

Examples:
  zq70cfg read --port )" PORT R"( -o device.bin
  zq70cfg read --port )" PORT R"( -o device.toml
)";

std::string footer(const char* text) {
    return std::string(text) + "\n" + kExitCodeTable;
}

CLI::App* add_command(CLI::App& app, const char* name, const char* description,
                      const std::string& examples) {
    CLI::App* command = app.add_subcommand(name, description);
    command->footer(footer(examples.c_str()));
    return command;
}

// A configuration file or text named on the command line.
void add_input(CLI::App* command, const char* name, std::string& value,
               const char* help = "configuration file or text") {
    command->add_option(name, value, help)->type_name("")->required();
}

std::string examples(const char* lines) {
    return std::string("\nExamples:\n") + lines;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{kDescription, "zq70cfg"};
    app.set_version_flag("--version", "zq70cfg " ZQ70_VERSION);
    app.require_subcommand(1);
    // "/dev/ttyUSB0" and "/home/..." are names, never "/option" as CLI11 reads them on
    // Windows by default; the subcommands inherit this.
    app.allow_windows_style_options(false);
    app.footer(footer(kExamples));

    std::string input;
    std::string second;
    std::string output;

    CLI::App* show =
        add_command(app, "show", "List a configuration: layout, pins, keys, macros and options.",
                    examples("  zq70cfg show panel.bin\n"));
    add_input(show, "FILE", input);

    CLI::App* to_text = add_command(app, "export", "Write a configuration as text (TOML).",
                                    examples("  zq70cfg export panel.bin\n"
                                             "  zq70cfg export panel.bin -o panel.toml\n"));
    add_input(to_text, "FILE", input);
    to_text->add_option("-o,--output", output, "the text file (default: standard output)")
        ->type_name("TEXT");

    CLI::App* from_text =
        add_command(app, "import", "Make a 512-byte configuration file from a text.",
                    examples("  zq70cfg import panel.toml -o panel.bin\n"));
    add_input(from_text, "TEXT", input, "configuration text (or file)");
    from_text->add_option("-o,--output", output, "the configuration file to write")
        ->type_name("FILE")
        ->required();

    CLI::App* diff = add_command(
        app, "diff", "List the differences between two configurations, one per line.",
        "\nThe differences are told by meaning (\"Row 3 Col 5: A -> B\"), not by byte.\n"
        "Exit code 0 when the two are equal, 1 when they differ.\n" +
            examples(
                "  zq70cfg diff panel.bin device.bin\n  zq70cfg diff panel.toml device.bin\n"));
    add_input(diff, "A", input);
    add_input(diff, "B", second);

    CLI::App* check = add_command(
        app, "check", "List what is wrong or doubtful in a configuration.",
        "\nErrors are what the window program would refuse to write; warnings are legal but\n"
        "probably not meant. Exit code 0 when nothing is found, 1 with warnings only, 8 with\n"
        "errors.\n" +
            examples("  zq70cfg check panel.toml\n"));
    add_input(check, "FILE", input);

    CLI::App* sheet = add_command(app, "sheet", "Make a printable HTML wiring and legend sheet.",
                                  examples("  zq70cfg sheet panel.toml -o panel.html\n"));
    add_input(sheet, "FILE", input);
    sheet->add_option("-o,--output", output, "the HTML file to write")
        ->type_name("OUT.html")
        ->required();

    ReadRequest read_request;
    CLI::App* read =
        app.add_subcommand("read", "Read the configuration of the ZQ70 on a serial port.");
    read->footer(footer(kReadFooter));
    read->add_option("--port", read_request.port, kPortHelp)->type_name("PORT")->required();
    read->add_option("-o,--output", read_request.output, "the file to write")
        ->type_name("FILE")
        ->required();

    WriteRequest write_request;
    CLI::App* write = app.add_subcommand(
        "write", "Write a configuration into the ZQ70 on a serial port and verify it.");
    write->footer(footer(kWriteFooter));
    write->add_option("--port", write_request.ports, kPortsHelp)
        ->type_name("PORT")
        ->required()
        ->allow_extra_args(false);
    add_input(write, "FILE", write_request.source);
    write->add_flag("--no-verify", "do not read the configuration back to compare it");
    CLI::Option* repeat =
        write->add_flag("--repeat", write_request.repeat,
                        "program a series of devices, one after another, until Ctrl+C");
    write->add_option("--log", write_request.log, "append one CSV line per device (with --repeat)")
        ->type_name("CSV")
        ->needs(repeat);

    bool probe = false;
    CLI::App* ports = app.add_subcommand("ports", "List the serial ports, and which has a ZQ70.");
    ports->footer(footer(kPortsFooter));
    ports->add_flag("--probe", probe, "ask each port whether a ZQ70 answers");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and version are successes; every other parse error is a usage error.
        return app.exit(error) == 0 ? kExitOk : kExitUsage;
    }
    write_request.verify = write->count("--no-verify") == 0;

    if (show->parsed()) return show_command(input);
    if (to_text->parsed()) return export_command(input, output);
    if (from_text->parsed()) return import_command(input, output);
    if (diff->parsed()) return diff_command(input, second);
    if (check->parsed()) return check_command(input);
    if (sheet->parsed()) return sheet_command(input, output);
    if (read->parsed()) return read_command(read_request);
    if (write->parsed()) return write_command(write_request);
    if (ports->parsed()) return ports_command(probe);
    return kExitUsage;
}
