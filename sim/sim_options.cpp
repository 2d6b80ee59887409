#include "sim_options.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace zq70sim {

const char* const kUsage =
    R"(Usage: zq70sim [OPTION]...
A simulated ZQ70 keyboard encoder on a serial line: it answers every command of the
serial protocol (9600 baud, 8N1) with exactly one byte and keeps a 512-byte memory.

Without --device it opens a pseudo-terminal and prints its path on standard output (one
line) once it is ready; a program then opens that path as its serial port. The terminal
stays usable when the program closes it and opens it again.

Options:
  --device PATH        serve this serial device instead of a new pseudo-terminal
  --memory FILE        load the memory from FILE at start (all 0 when it does not exist)
                       and save it there after every completed write ('S' then 237)
  --log FILE           log every byte received and every answer to FILE ("-": stderr)
  --wine-prefix DIR    register the terminal as a COM port in the Wine prefix DIR (the
  --com N              registry value COMN and the link DIR/dosdevices/comN); both needed
Faults:
  --silent             answer nothing at all
  --wrong-answer CMD[=BYTE]
                       answer the command CMD (128, K, S or 237) with BYTE (default 63,
                       '?') instead of the right byte
  --no-answer-at ADDR  do not answer 'R' or 'W' at address ADDR (0..511)
  --wrong-echo-at ADDR answer 'W' at ADDR with 'w', and 'R' at ADDR with the byte
                       inverted
  --answer-delay MS    send every answer MS milliseconds late
  --bad-cell-at ADDR   a bad memory cell: 'W' at ADDR is echoed as usual, but 'R' at
                       ADDR answers the byte inverted (only a read-back finds it)
Plugging and unplugging:
  --unplugged          start with no device on the line (until SIGUSR2)
  --fresh-memory       every device plugged in with SIGUSR2 starts with its memory all
                       0 (saved to --memory at once); without it the same device comes
                       back with the memory it had
  --help               show this text
  --version            show the version

Signals: SIGUSR1 unplugs the device (the line stays open but nothing answers and what
arrives is lost); SIGUSR2 plugs a device in again. It stops cleanly on SIGTERM or SIGINT
(removing the Wine link it made).
)";

namespace {

bool parse_number(const char* text, int low, int high, int& value) {
    char* end = nullptr;
    const long number = std::strtol(text, &end, 0);
    if (end == text || *end != '\0' || number < low || number > high) return false;
    value = static_cast<int>(number);
    return true;
}

bool parse_wrong_answer(const std::string& text, std::vector<zq70::DeviceFault>& faults) {
    using zq70::DevicePhase;
    const std::string command = text.substr(0, text.find('='));
    int value = '?';
    if (command.size() < text.size() &&
        !parse_number(text.c_str() + command.size() + 1, 0, 255, value))
        return false;
    DevicePhase phase;
    if (command == "128") {
        phase = DevicePhase::SerialOpen;
    } else if (command == "K") {
        phase = DevicePhase::SerialKeyword;
    } else if (command == "S") {
        phase = DevicePhase::SerialStore;
    } else if (command == "237") {
        phase = DevicePhase::SerialEnd;
    } else {
        return false;
    }
    faults.push_back({phase, -1, zq70::FaultKind::WrongAnswer, value});
    return true;
}

// The options without a value.
bool* flag_of(const std::string& name, Options& options) {
    static const std::pair<const char*, bool Options::*> kFlags[] = {
        {"--help", &Options::help},
        {"--version", &Options::version},
        {"--silent", &Options::silent},
        {"--fresh-memory", &Options::fresh_memory},
        {"--unplugged", &Options::start_unplugged},
    };
    for (const auto& [flag, field] : kFlags) {
        if (name == flag) return &(options.*field);
    }
    return nullptr;
}

} // namespace

bool parse_options(int argc, char** argv, Options& options, std::string& error) {
    using zq70::DevicePhase;
    using zq70::FaultKind;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (bool* flag = flag_of(name, options)) {
            *flag = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "unknown option or missing value: " + name;
            return false;
        }
        const char* value = argv[++i];
        int number = 0;
        if (name == "--device") {
            options.device = value;
        } else if (name == "--memory") {
            options.memory_file = value;
        } else if (name == "--log") {
            options.log_file = value;
            options.log = true;
        } else if (name == "--wine-prefix") {
            options.wine_prefix = value;
        } else if (name == "--com" && parse_number(value, 1, 255, number)) {
            options.com = number;
        } else if (name == "--wrong-answer" && parse_wrong_answer(value, options.faults)) {
        } else if (name == "--no-answer-at" && parse_number(value, 0, 511, number)) {
            options.faults.push_back({DevicePhase::SerialRead, number, FaultKind::Silent});
            options.faults.push_back({DevicePhase::SerialWrite, number, FaultKind::Silent});
        } else if (name == "--wrong-echo-at" && parse_number(value, 0, 511, number)) {
            options.faults.push_back({DevicePhase::SerialRead, number, FaultKind::Corrupt});
            options.faults.push_back(
                {DevicePhase::SerialWrite, number, FaultKind::WrongAnswer, 'w'});
        } else if (name == "--bad-cell-at" && parse_number(value, 0, 511, number)) {
            options.faults.push_back({DevicePhase::SerialRead, number, FaultKind::Corrupt});
        } else if (name == "--answer-delay" && parse_number(value, 0, 10000, number)) {
            options.answer_delay_ms = number;
        } else {
            error = "unknown option or bad value: " + name + " " + value;
            return false;
        }
    }
    if (options.wine_prefix.empty() != (options.com == 0)) {
        error = "--wine-prefix and --com go together";
        return false;
    }
    return true;
}

} // namespace zq70sim
