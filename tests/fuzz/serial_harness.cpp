#include "serial_harness.h"

#include <algorithm>
#include <vector>

#include "device_script.h"
#include "invariant.h"
#include "link/serial_transfer.h"
#include "link/stoppable_port.h"
#include "read_outcome.h"
#include "sim/simulated_serial_port.h"

namespace zq70::fuzz {

namespace {

// A one-byte read gives up after twice the answer time-out.
constexpr int kAnswerWindowMs = 2 * kSerialAnswerTimeoutMs;
constexpr int kLongestCommand = 4; // 'W', address high and low, value

int command_count(SerialTransfer transfer) {
    return transfer == SerialTransfer::Read ? 1 + kImageSize + 1 : 2 + kImageSize + 2;
}

// Address of the byte command at position index of the transfer, or -1 for the handshakes.
int address_of(SerialTransfer transfer, int index) {
    const int first = transfer == SerialTransfer::Read ? 1 : 2;
    return index >= first && index < first + kImageSize ? index - first : -1;
}

// The command at position index of a complete transfer.
std::vector<uint8_t> expected_command(SerialTransfer transfer, int index,
                                      const DeviceImage& image) {
    const int address = address_of(transfer, index);
    if (address >= 0) {
        const uint8_t high = static_cast<uint8_t>(address >> 8);
        const uint8_t low = static_cast<uint8_t>(address & 0xFF);
        if (transfer == SerialTransfer::Read) return {kSerialRead, high, low};
        return {kSerialWrite, high, low, image[address]};
    }
    if (index == 0) return {kSerialOpen};
    if (index == command_count(transfer) - 1) return {kSerialEnd};
    return {transfer == SerialTransfer::Write && index == 1 ? kSerialKeyword : kSerialStore};
}

// Whether the answer lets the transfer go on past the command at position index.
bool answer_accepted(SerialTransfer transfer, int index, int answer) {
    if (index == 0) return true; // the opening answer is not judged
    if (index == command_count(transfer) - 1) return answer == kSerialAcknowledge;
    if (transfer == SerialTransfer::Read) return answer >= 0;
    if (address_of(transfer, index) >= 0) return answer == kSerialWrite;
    return answer == (index == 1 ? kSerialKeyword : kSerialStore);
}

// One byte on its way back from the device, in the order of the line.
struct Arrival {
    uint32_t due;
    uint8_t byte;
};

// A command as the transfer sent it, and the one read that waited for its answer.
struct SentCommand {
    std::vector<uint8_t> bytes;
    uint32_t sent_at = 0;
    size_t arrivals_before = 0; // bytes the device had sent when the command began
    int pumps_before = 0;
    bool answer_read = false;
    int answer = -1;           // what the read gave the transfer
    size_t arrivals_until = 0; // bytes the device had sent when that read ended
};

struct SerialSetup {
    uint8_t port_kind;
    uint32_t start_ticks;
    PortTimeouts timeouts;
    std::vector<uint8_t> stale;
    int stop_at; // the user asks to stop before this read of an answer (1 = the first); 0 never
    DeviceImage image; // the device memory for a read, the image written for a write

    SerialSetup(SerialTransfer transfer, DeviceScript& script) {
        port_kind = script.byte();
        start_ticks = script.word();
        timeouts.interval = script.byte();
        timeouts.multiplier = script.byte();
        timeouts.constant = script.byte();
        stale.resize(script.byte() % 4);
        for (uint8_t& b : stale)
            b = script.byte();
        stop_at = script.byte() | script.byte() << 8;
        if (transfer == SerialTransfer::Read) {
            // Every value 0..255 at some address, '!', 'W' and 128 among them.
            const int salt = script.byte();
            for (int i = 0; i < kImageSize; ++i)
                image[i] = static_cast<uint8_t>(salt + i * 151 + (i >> 8));
        } else {
            image = read_image(script);
        }
    }
};

class SerialCase {
  public:
    SerialCase(SerialTransfer transfer, DeviceScript& script)
        : transfer_(transfer), script_(script), setup_(transfer, script),
          clock_(setup_.start_ticks),
          port_([this](uint8_t byte) { return device_byte(byte); }, clock_.clock()) {
        model_.memory = setup_.image;
        port_.absent = setup_.port_kind == kPortAbsent;
        port_.fail_configure = setup_.port_kind == kPortUnconfigurable;
        port_.timeouts = setup_.timeouts;
        for (uint8_t b : setup_.stale)
            arrive(b, 0);
    }

    void run() {
        // As zq70cfg and the web page use it: a port the user can stop at any moment.
        const SerialPort seam = stoppable(recording_port(), [this] { return stop_requested(); });
        const Pump pump = [this](int ms) { record_pump(ms); };
        int progress_lines = 0;
        const ProgressSink progress = [&progress_lines](const std::string&) { ++progress_lines; };
        TransferResult result;
        DeviceImage image = caller_image();
        if (transfer_ == SerialTransfer::Read) {
            result = serial_read(seam, image, progress, pump);
        } else {
            result = serial_write(seam, setup_.image, progress, pump);
        }
        check_result_code(result);
        check_port_given_back(result);
        const int answered = check_commands(result);
        if (transfer_ == SerialTransfer::Read) check_read_image(result, image, answered);
        show_outcome("result %d after %zu commands, %u ms", static_cast<int>(result),
                     commands_.size(), clock_.now() - setup_.start_ticks);
    }

  private:
    // The device: a correct one (the device model) whose every answer the script may drop,
    // replace, delay, or surround with bytes sent unasked.
    DeviceAnswer device_byte(uint8_t byte) {
        const DeviceAnswer right = model_.serial_byte(byte);
        if (right.value < 0) return {};
        const uint8_t action = script_.byte();
        if (action & kStrayBefore) arrive(script_.byte(), script_.delay());
        int answer = right.value;
        switch (action & 3) {
        case kAnswerNone: answer = -1; break;
        case kAnswerOther: answer = script_.byte(); break;
        case kAnswerCorrupt: answer = right.value ^ 0xFF; break;
        default: break;
        }
        const int delay = action & kLate ? script_.delay() : 0;
        if (answer >= 0) arrive(static_cast<uint8_t>(answer), delay);
        if (action & kStrayAfter) arrive(script_.byte(), script_.delay());
        return {};
    }

    void arrive(uint8_t byte, int delay_ms) {
        arrivals_.push_back({port_.inject_input(byte, delay_ms), byte});
    }

    // The simulated port's seam with every call checked as it is made: the port's life
    // (open, configure, use, close once), whole commands, one read per command and how
    // long it waits, and a bound on the calls, so that a transfer that does not end stops.
    SerialPort recording_port() {
        const SerialPort inner = port_.port();
        SerialPort port;
        port.open = [this, inner] {
            count_call();
            require(!open_called_, "the port was opened twice");
            open_called_ = true;
            opened_ = inner.open();
            return opened_;
        };
        port.configure = [this, inner] {
            require_usable("configured");
            return inner.configure();
        };
        port.send_byte = [this, inner](uint8_t byte) {
            require_usable("written to");
            if (commands_.empty() || commands_.back().answer_read) begin_command();
            SentCommand& command = commands_.back();
            command.bytes.push_back(byte);
            if (command.bytes.size() > kLongestCommand)
                invariant_broken("command %zu runs on past %d bytes", commands_.size() - 1,
                                 kLongestCommand);
            inner.send_byte(byte);
        };
        port.receive_byte = [this, inner](int timeout_ms) {
            require_usable("read");
            if (commands_.empty() || commands_.back().answer_read)
                invariant_broken("a read of the port with no command before it (after command "
                                 "%zu)",
                                 commands_.size());
            const uint32_t start = clock_.now();
            const int answer = inner.receive_byte(timeout_ms);
            const uint32_t waited = clock_.now() - start;
            if (waited > kAnswerWindowMs)
                invariant_broken("command %zu waited %u ms for its answer, more than %d",
                                 commands_.size() - 1, waited, kAnswerWindowMs);
            SentCommand& command = commands_.back();
            command.answer_read = true;
            command.answer = answer;
            command.arrivals_until = arrivals_.size();
            return answer;
        };
        port.discard_input = [this, inner] {
            require_usable("emptied");
            inner.discard_input();
        };
        port.close = [this, inner] {
            require_usable("closed");
            closed_ = true;
            inner.close();
        };
        return port;
    }

    void count_call() {
        // Each command costs at most its bytes, a discard, a read and a pump; and the port
        // is opened, configured and closed once.
        const int bound = command_count(transfer_) * (kLongestCommand + 3) + 3;
        if (++calls_ > bound)
            invariant_broken("the transfer did not end within %d calls of the port", bound);
    }

    void require_usable(const char* what) {
        count_call();
        if (!opened_) invariant_broken("the port was %s before it was opened", what);
        if (closed_) invariant_broken("the port was %s after it was closed", what);
    }

    void begin_command() {
        if (static_cast<int>(commands_.size()) == command_count(transfer_))
            invariant_broken("more than the %d commands of a whole transfer",
                             command_count(transfer_));
        SentCommand command;
        command.sent_at = clock_.now();
        command.arrivals_before = arrivals_.size();
        command.pumps_before = pending_pumps_;
        pending_pumps_ = 0;
        commands_.push_back(std::move(command));
    }

    void record_pump(int ms) {
        count_call();
        if (ms != kSerialPumpMs)
            invariant_broken("a pump of %d ms instead of %d", ms, kSerialPumpMs);
        if (++pending_pumps_ > 1) invariant_broken("two pumps before one command");
        clock_.advance(ms);
    }

    // The device's answer to a command, as the line carries it: the first byte that reaches
    // the port after the command was sent (bytes that were already waiting belong to earlier
    // exchanges) and within the answer window; -1 when none does.
    int line_answer(const SentCommand& command) const {
        size_t first = command.arrivals_before;
        // Bytes sent earlier but still on the way arrive after the command, and come first.
        while (first > 0 && ticks_until(arrivals_[first - 1].due, command.sent_at) > 0)
            --first;
        if (first >= command.arrivals_until) return -1;
        const Arrival& arrival = arrivals_[first];
        if (ticks_until(arrival.due, command.sent_at) > kAnswerWindowMs) return -1;
        return arrival.byte;
    }

    // Asked before each read of an answer until it says yes: the port then reads no more
    // answers and sends no more bytes, and the command whose answer was due is the last.
    bool stop_requested() {
        if (setup_.stop_at == 0 || ++reads_asked_ < setup_.stop_at) return false;
        stopped_command_ = static_cast<int>(commands_.size()) - 1;
        return true;
    }

    void check_result_code(TransferResult result) const {
        if (result != Ok && result != TransferFailed && result != PortOpenFailed)
            invariant_broken("result %d is none of Ok, TransferFailed, PortOpenFailed",
                             static_cast<int>(result));
    }

    void check_port_given_back(TransferResult result) const {
        const bool usable = !port_.absent && !port_.fail_configure;
        if ((result == PortOpenFailed) == usable)
            invariant_broken("result %d for a port that %s", static_cast<int>(result),
                             usable ? "works" : "cannot be used");
        require(!port_.is_open, "the port was left open");
        if (opened_) require(port_.closes == 1, "the port was not closed");
        require(port_.timeouts == setup_.timeouts, "the port's time-outs were not put back");
        if (!usable) require(commands_.empty(), "a command was sent to a port that failed");
    }

    // Every command whole and the one expected at its place, answered from the line, and
    // the transfer ending exactly where an answer is wrong, with the matching result.
    // Returns the number of commands whose answer was accepted.
    int check_commands(TransferResult result) const {
        const int sent = static_cast<int>(commands_.size());
        for (int c = 0; c < sent; ++c) {
            const SentCommand& command = commands_[c];
            const std::vector<uint8_t> expected = expected_command(transfer_, c, setup_.image);
            if (command.bytes != expected) {
                if (command.bytes.size() < expected.size() &&
                    std::equal(command.bytes.begin(), command.bytes.end(), expected.begin()))
                    invariant_broken("command %d was cut short: %zu of its %zu bytes sent", c,
                                     command.bytes.size(), expected.size());
                invariant_broken("command %d is not the one the protocol sends there", c);
            }
            const bool byte_command = address_of(transfer_, c) >= 0;
            if (command.pumps_before != (byte_command ? 1 : 0))
                invariant_broken("command %d came after %d pumps instead of %d", c,
                                 command.pumps_before, byte_command ? 1 : 0);
            if (c == stopped_command_) {
                // The user stopped the transfer while this command awaited its answer.
                if (c != sent - 1)
                    invariant_broken("command %d reached the port after the user's stop", c + 1);
                if (result != TransferFailed)
                    invariant_broken("result %d after the user stopped at command %d",
                                     static_cast<int>(result), c);
                return c;
            }
            if (!command.answer_read) invariant_broken("command %d was not answered", c);
            const int answer = line_answer(command);
            if (command.answer != answer)
                invariant_broken("command %d took %d for its answer, but the first byte after "
                                 "it on the line was %d",
                                 c, command.answer, answer);
            if (!answer_accepted(transfer_, c, answer)) {
                if (c != sent - 1)
                    invariant_broken("the transfer went on after command %d was answered %d", c,
                                     answer);
                if (result != TransferFailed)
                    invariant_broken("result %d after command %d was answered %d",
                                     static_cast<int>(result), c, answer);
                return c;
            }
        }
        if (result == PortOpenFailed) return 0;
        if (sent != command_count(transfer_))
            invariant_broken("the transfer stopped after %d commands, all answered right", sent);
        if (result != Ok)
            invariant_broken("every command was answered right, yet the result is %d",
                             static_cast<int>(result));
        return sent;
    }

    // Bytes that came are where they belong; those that never came left as they were.
    void check_read_image(TransferResult result, const DeviceImage& image, int answered) const {
        DeviceImage expected = caller_image();
        for (int c = 1; c < answered && c <= kImageSize; ++c)
            expected[c - 1] = static_cast<uint8_t>(commands_[c].answer);
        for (int i = 0; i < kImageSize; ++i) {
            if (image[i] != expected[i])
                invariant_broken("after result %d byte %d is %d, but %d %s",
                                 static_cast<int>(result), i, image[i], expected[i],
                                 expected[i] == caller_image()[i] ? "was there before"
                                                                  : "came from the device");
        }
        FetchedOffsets fetched;
        fetched.fill(result == Ok);
        check_decoding_after_read(result, image, fetched);
    }

    SerialTransfer transfer_;
    DeviceScript& script_;
    SerialSetup setup_;
    VirtualClock clock_;
    DeviceModel model_;
    SimulatedSerialPort port_;
    std::vector<Arrival> arrivals_;
    std::vector<SentCommand> commands_;
    int pending_pumps_ = 0;
    int reads_asked_ = 0;
    int stopped_command_ = -1;
    int calls_ = 0;
    bool open_called_ = false;
    bool opened_ = false;
    bool closed_ = false;
};

} // namespace

void run_serial_case(SerialTransfer transfer, const uint8_t* data, size_t size) {
    set_invariant_subject(transfer == SerialTransfer::Read ? "serial read" : "serial write");
    DeviceScript script(data, size);
    SerialCase(transfer, script).run();
}

} // namespace zq70::fuzz
