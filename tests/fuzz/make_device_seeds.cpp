// Writes the seed scripts of the device targets (device_script.h), one file each, into
// FOLDER/serial_read_corpus, serial_write_corpus, keyboard_read_corpus and
// keyboard_write_corpus: for each transfer a correct device's full exchange, and each fault
// that the protocol tests inject (silent, wrong answer, corrupt, late, stray byte or key,
// parity error, bad header, too few distinct answers, wrong echo).
#include <cstdio>
#include <functional>
#include <string>

#include "config/image.h"
#include "device_script.h"
#include "link/keyboard_platform.h"
#include "link/serial_commands.h"
#include "seed_configurations.h"

using namespace zq70;
using namespace zq70::fuzz;

namespace {

constexpr uint32_t kStartTicks = 1000;
constexpr uint32_t kNearWrap = 0xFFFFF000; // the tick count wraps during the transfer
constexpr int kSerialCommands = kImageSize + 4;
constexpr int kWakeUpSignals = 6;
constexpr int kProbes = 32;
constexpr int kAnnouncements = 16;
// Signals before the first nibble of a write: wake-up, opening, probes, announcements.
constexpr int kBeforeNibbles = kWakeUpSignals + 1 + kProbes + kAnnouncements;

class SeedFolder {
  public:
    explicit SeedFolder(std::string path) : path_(std::move(path)) {}

    void write(const std::string& name, const ScriptWriter& script) {
        const std::string file = path_ + "/" + name;
        std::FILE* out = std::fopen(file.c_str(), "wb");
        const std::vector<uint8_t>& data = script.data();
        ok_ = ok_ && out != nullptr && std::fwrite(data.data(), 1, data.size(), out) == data.size();
        if (out) ok_ = std::fclose(out) == 0 && ok_;
    }
    bool ok() const { return ok_; }

  private:
    std::string path_;
    bool ok_ = true;
};

// The serial script's start: a usable port with time-outs of its own, stale bytes, and the
// read of an answer before which the user stops the transfer (0: never).
ScriptWriter serial_start(uint8_t port = 0, uint32_t ticks = kStartTicks,
                          const std::vector<uint8_t>& stale = {}, int stop_at = 0) {
    ScriptWriter script;
    script.byte(port).word(ticks).byte(11).byte(22).byte(33);
    script.byte(static_cast<uint8_t>(stale.size()));
    for (uint8_t b : stale)
        script.byte(b);
    return script.byte(static_cast<uint8_t>(stop_at)).byte(static_cast<uint8_t>(stop_at >> 8));
}

// A serial script: the start, then the actions of the commands before `at`, then `fault`,
// then right answers to the end.
using Fault = std::function<void(ScriptWriter&)>;
ScriptWriter with_fault(ScriptWriter script, int at, const Fault& fault) {
    script.right(at);
    fault(script);
    const int done = at + 1;
    return script.right(kSerialCommands - done);
}

Fault right() {
    return [](ScriptWriter& s) { s.byte(kAnswerRight); };
}
Fault kind(uint8_t action) {
    return [action](ScriptWriter& s) { s.byte(action); };
}
Fault none() {
    return [](ScriptWriter& s) { s.byte(kAnswerNone); };
}
Fault other(uint8_t value) {
    return [value](ScriptWriter& s) { s.byte(kAnswerOther).byte(value); };
}
Fault corrupt() {
    return [](ScriptWriter& s) { s.byte(kAnswerCorrupt); };
}
Fault late(int ms) {
    return [ms](ScriptWriter& s) { s.byte(kLate).delay(ms); };
}
Fault stray_after(uint8_t value, int ms) {
    return [value, ms](ScriptWriter& s) { s.byte(kStrayAfter).byte(value).delay(ms); };
}
Fault stray_before(uint8_t value, int ms) {
    return [value, ms](ScriptWriter& s) { s.byte(kStrayBefore).byte(value).delay(ms); };
}

bool serial_read_seeds(SeedFolder folder) {
    // The read's commands: 0 is 128, 1 + i reads address i, 513 is 237.
    const auto start = [](uint32_t ticks = kStartTicks, std::vector<uint8_t> stale = {}) {
        return serial_start(0, ticks, stale).byte(0x21);
    };
    folder.write("correct", start().right(kSerialCommands));
    folder.write("correct_near_wrap", start(kNearWrap).right(kSerialCommands));
    folder.write("silent", start().byte(kAnswerNone).byte(kAnswerNone));
    folder.write("port_absent", serial_start(kPortAbsent));
    folder.write("port_unconfigurable", serial_start(kPortUnconfigurable));
    folder.write("stale_byte", start(kStartTicks, {'x'}).right(kSerialCommands));
    folder.write("open_silent", with_fault(start(), 0, none()));
    folder.write("open_wrong", with_fault(start(), 0, other('?')));
    folder.write("open_late_73", with_fault(start(), 0, late(73)));
    folder.write("open_late_100", with_fault(start(), 0, late(100)));
    for (int address : {0, 255, 300, 511}) {
        const std::string at = std::to_string(address);
        folder.write("read_silent_" + at, with_fault(start(), 1 + address, none()));
        folder.write("read_late_73_" + at, with_fault(start(), 1 + address, late(73)));
        folder.write("read_corrupt_" + at, with_fault(start(), 1 + address, corrupt()));
    }
    folder.write("read_late_71_at_10", with_fault(start(), 11, late(71)));
    folder.write("stray_between_commands", with_fault(start(), 20, stray_after('W', 1)));
    folder.write("stray_before_answer", with_fault(start(), 30, stray_before(0xEE, 0)));
    folder.write("end_silent", with_fault(start(), 513, none()));
    folder.write("end_wrong", with_fault(start(), 513, other('S')));
    folder.write("end_late_80", with_fault(start(), 513, late(80)));
    for (int read : {1, 2, 300})
        folder.write("user_stop_" + std::to_string(read),
                     serial_start(0, kStartTicks, {}, read).byte(0x21).right(kSerialCommands));
    return folder.ok();
}

// The image of the first seed configuration, the defaults.
constexpr uint8_t kDefaults = 0;

bool serial_write_seeds(SeedFolder folder, const DeviceImage& command_like) {
    // The write's commands: 0 is 128, 1 is 'K', 2 + i writes address i, 514 'S', 515 237.
    const auto start = [](uint8_t port = 0, uint32_t ticks = kStartTicks,
                          std::vector<uint8_t> stale = {}) {
        return serial_start(port, ticks, stale).image(kDefaults);
    };
    folder.write("correct", start().right(kSerialCommands));
    folder.write("correct_command_bytes",
                 serial_start().raw_image(command_like).right(kSerialCommands));
    folder.write("correct_near_wrap", start(0, kNearWrap).right(kSerialCommands));
    folder.write("silent", start().byte(kAnswerNone).byte(kAnswerNone));
    folder.write("port_absent", start(kPortAbsent));
    folder.write("port_unconfigurable", start(kPortUnconfigurable));
    folder.write("stale_byte", start(0, kStartTicks, {'x'}).right(kSerialCommands));
    folder.write("open_late_100", with_fault(start(), 0, late(100)));
    folder.write("keyword_silent", with_fault(start(), 1, none()));
    folder.write("keyword_wrong", with_fault(start(), 1, other('!')));
    for (int address : {0, 200, 300, 511}) {
        const std::string at = std::to_string(address);
        folder.write("echo_silent_" + at, with_fault(start(), 2 + address, none()));
        folder.write("echo_wrong_" + at, with_fault(start(), 2 + address, other('w')));
        folder.write("echo_late_73_" + at, with_fault(start(), 2 + address, late(73)));
    }
    folder.write("echo_corrupt_300", with_fault(start(), 302, corrupt()));
    folder.write("stray_between_commands", with_fault(start(), 40, stray_after('W', 1)));
    folder.write("store_silent", with_fault(start(), 514, none()));
    folder.write("store_wrong", with_fault(start(), 514, other('W')));
    folder.write("end_wrong", with_fault(start(), 515, other('S')));
    folder.write("end_silent", with_fault(start(), 515, none()));
    for (int read : {1, 2, 300, 516})
        folder.write(
            "user_stop_" + std::to_string(read),
            serial_start(0, kStartTicks, {}, read).image(kDefaults).right(kSerialCommands));
    return folder.ok();
}

// A keyboard script's image: a seed configuration's, with edits.
struct Image {
    uint8_t base = kDefaults;
    std::vector<std::pair<int, uint8_t>> edits;
};

// The keyboard script's start: clock, the user's delay and speed, and the image.
ScriptWriter keyboard_start(const Image& image, uint32_t ticks = kStartTicks) {
    ScriptWriter script;
    script.word(ticks).byte(2).byte(27);
    return script.image(image.base, image.edits);
}

// A keyboard script: right answers to the signals before `at`, the fault, and right answers
// for as many signals as a whole write could have after it.
ScriptWriter keyboard_fault(const Image& image, int at, const Fault& fault) {
    ScriptWriter script = keyboard_start(image);
    script.right(at);
    fault(script);
    return script.right(kBeforeNibbles + 2 * kImageSize + 3 - at - 1);
}

Image with_counts(int columns, int rows) {
    return {kDefaults,
            {{kColumnsOffset, static_cast<uint8_t>(columns)},
             {kRowsOffset, static_cast<uint8_t>(rows)}}};
}

// A correct device's whole exchange for each seed configuration.
void correct_exchanges(SeedFolder& folder) {
    const std::vector<SeedConfiguration> seeds = seed_configurations();
    for (size_t base = 0; base < seeds.size(); ++base)
        folder.write(std::string("correct_") + seeds[base].name,
                     keyboard_fault({static_cast<uint8_t>(base), {}}, 0, right()));
}

bool keyboard_read_seeds(SeedFolder folder) {
    // Signal 5 is the last of the wake-up; then two per byte, the header first.
    const Image image;
    correct_exchanges(folder);
    folder.write("correct_near_wrap",
                 keyboard_start(image, kNearWrap).right(kWakeUpSignals + 2 * kImageSize));
    folder.write("wake_up_silent", keyboard_fault(image, 5, none()));
    folder.write("wake_up_shift", keyboard_fault(image, 5, other(kVkShift)));
    folder.write("wake_up_late_500", keyboard_fault(image, 5, late(500)));
    folder.write("user_key_in_pause", keyboard_fault(image, 2, stray_after('A', 10)));
    for (int key : {0, 1, 57, 58, 64, 65, 351}) {
        const std::string at = std::to_string(key);
        const int signal = kWakeUpSignals + key;
        folder.write("key_silent_" + at, keyboard_fault(image, signal, none()));
        folder.write("key_wrong_" + at, keyboard_fault(image, signal, other('Z')));
        folder.write("key_late_600_" + at, keyboard_fault(image, signal, late(600)));
        folder.write("key_parity_" + at, keyboard_fault(image, signal, corrupt()));
    }
    folder.write("key_ctrl_mid_data",
                 keyboard_fault(image, kWakeUpSignals + 40, other(kVkControl)));
    folder.write("key_repeated", keyboard_fault(image, kWakeUpSignals + 3, kind(kKeyRepeated)));
    folder.write("key_down_only", keyboard_fault(image, kWakeUpSignals + 7, kind(kKeyDownOnly)));
    folder.write("key_up_only", keyboard_fault(image, kWakeUpSignals + 9, kind(kKeyUpOnly)));
    folder.write("paint_in_wait", keyboard_fault(image, kWakeUpSignals + 11, [](ScriptWriter& s) {
                     s.byte(kRawMessage).byte(3).word(0);
                 }));
    folder.write("header_columns_24", keyboard_fault(with_counts(24, 0), 0, right()));
    folder.write("header_rows_24", keyboard_fault(with_counts(0, 24), 0, right()));
    folder.write("header_sum_25", keyboard_fault(with_counts(13, 12), 0, right()));
    folder.write("header_1_23", keyboard_fault(with_counts(1, 23), 0, right()));
    return folder.ok();
}

bool keyboard_write_seeds(SeedFolder folder) {
    const Image image;
    correct_exchanges(folder);
    folder.write("correct_near_wrap",
                 keyboard_start(image, kNearWrap).right(kBeforeNibbles + 2 * kImageSize + 3));
    folder.write("wake_up_silent", keyboard_fault(image, 5, none()));
    folder.write("wake_up_late_500", keyboard_fault(image, 5, late(500)));
    for (int v : {0, 1, 16, 31}) {
        const int signal = kWakeUpSignals + 1 + v;
        folder.write("probe_silent_" + std::to_string(v), keyboard_fault(image, signal, none()));
        folder.write("probe_late_500_" + std::to_string(v),
                     keyboard_fault(image, signal, late(500)));
    }
    // Speed 1 answers as speed 0 did: the good combos become 0, 2, 3, ... 16.
    folder.write("probe_repeated_answer", keyboard_fault(image, kWakeUpSignals + 2, other('0')));
    // Speeds 15..31 all answer as speed 0 did: only 15 distinct answers.
    ScriptWriter few = keyboard_start(image);
    few.right(kWakeUpSignals + 1 + 15);
    for (int v = 15; v < kProbes; ++v)
        few.byte(kAnswerOther).byte('0');
    folder.write("probe_15_distinct", few);
    for (int d : {0, 7, 15}) {
        const int signal = kWakeUpSignals + 1 + kProbes + d;
        folder.write("announce_silent_" + std::to_string(d), keyboard_fault(image, signal, none()));
        folder.write("announce_shift_" + std::to_string(d),
                     keyboard_fault(image, signal, corrupt()));
        folder.write("announce_late_1999_" + std::to_string(d),
                     keyboard_fault(image, signal, late(1999)));
    }
    for (int n : {0, 1, 2, 63, 200, 351}) {
        const std::string at = std::to_string(n);
        const int signal = kBeforeNibbles + n;
        folder.write("nibble_silent_" + at, keyboard_fault(image, signal, none()));
        folder.write("nibble_wrong_echo_" + at, keyboard_fault(image, signal, corrupt()));
        folder.write("nibble_answer_A_" + at, keyboard_fault(image, signal, other('A')));
        folder.write("nibble_late_500_" + at, keyboard_fault(image, signal, late(500)));
    }
    // An image that only the fuzzer's raw bytes could give: counts beyond any layout and
    // macro lengths that run past the macro area.
    DeviceImage odd;
    for (int i = 0; i < kImageSize; ++i)
        odd[i] = static_cast<uint8_t>(0xF0 + i * 13);
    ScriptWriter raw;
    raw.word(kStartTicks).byte(1).byte(31).raw_image(odd);
    folder.write("correct_raw_image", raw.right(kBeforeNibbles + 2 * kImageSize + 3));
    return folder.ok();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_device_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    // Bytes equal to the protocol's commands and answers travel like any other.
    DeviceImage command_like;
    for (int i = 0; i < kImageSize; ++i) {
        static const uint8_t kBytes[] = {kSerialOpen,       kSerialKeyword, kSerialRead,
                                         kSerialWrite,      kSerialStore,   kSerialEnd,
                                         kSerialAcknowledge};
        command_like[i] = kBytes[i % sizeof kBytes];
    }
    bool ok = serial_read_seeds(SeedFolder(folder + "/serial_read_corpus"));
    ok &= serial_write_seeds(SeedFolder(folder + "/serial_write_corpus"), command_like);
    ok &= keyboard_read_seeds(SeedFolder(folder + "/keyboard_read_corpus"));
    ok &= keyboard_write_seeds(SeedFolder(folder + "/keyboard_write_corpus"));
    return ok ? 0 : 1;
}
