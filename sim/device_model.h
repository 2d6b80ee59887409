// The simulated ZQ70: one 512-byte configuration memory answered through both transports.
// On the keyboard line it watches the typematic delay and speed signals and types answer
// keys; on the serial line it answers every command with one byte. Faults can be injected
// at any phase. It has no clock of its own: answers carry a delay that whoever hosts the
// model (a simulated keyboard or port, or zq70sim) applies on its clock.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "config/image.h"

namespace zq70 {

enum class DevicePhase {
    WakeUp,      // keyboard: the answer to the wake-up sequence
    ReadKey,     // keyboard read: data key n (byte n / 2, first or second key)
    Probe,       // keyboard write: probe answer for speed value n
    Announce,    // keyboard write: acknowledgement of good combo n
    WriteNibble, // keyboard write: acknowledgement of nibble n (byte n / 2, high then low)
    SerialOpen,  // 128
    SerialKeyword,
    SerialRead,  // 'R' at address n
    SerialWrite, // 'W' at address n
    SerialStore,
    SerialEnd, // 237
};

enum class FaultKind {
    Silent,      // no answer
    WrongAnswer, // answer with value instead
    // A read key with its parity bit flipped, Shift for Ctrl and back, or a serial answer
    // with every bit inverted.
    Corrupt,
    Late, // the right answer, value milliseconds late
};

struct DeviceFault {
    DevicePhase phase;
    int index; // -1 for every occurrence of the phase
    FaultKind kind;
    int value = 0;
};

struct DeviceAnswer {
    int value = -1; // virtual-key code or serial byte; -1 for none
    int delay_ms = 0;
};

class DeviceModel {
  public:
    DeviceModel();

    DeviceImage memory{};
    std::vector<DeviceFault> faults;
    // No answer at all, in any phase.
    bool silent = false;
    // Added to every answer.
    int answer_delay_ms = 0;
    // Key typed for each probed speed value; at least 16 distinct ones make a write work.
    std::array<int, 32> probe_keys{};

    // Keyboard line: the device sees one typematic command.
    DeviceAnswer keyboard_delay(int delay);
    DeviceAnswer keyboard_speed(int speed);

    // Serial line: the device receives one byte; most bytes complete no command.
    DeviceAnswer serial_byte(uint8_t byte);

    // True once after each write that was closed by 'S' and 237 (serial) or by the end
    // signal (keyboard), so that a host can keep the memory.
    bool take_completed_write();

    // Bytes stored by the keyboard-line write in progress or last finished.
    int keyboard_bytes_written() const { return bytes_written_; }

    // Makes probe_keys give only `count` distinct answers (speed v answers as v mod count).
    void limit_probe_answers(int count);

  private:
    enum class KeyMode { Idle, Awake, Reading, Writing };
    enum class SerialState { Command, ReadAddress, WriteAddress, WriteValue };

    DeviceAnswer answer(DevicePhase phase, int index, int value) const;

    // Keyboard line.
    std::array<int, 6> delay_history_{};
    KeyMode key_mode_ = KeyMode::Idle;
    int read_key_index_ = 0;
    int speed_signals_ = 0;
    std::array<int, 32> nibble_of_speed_{};
    int pending_high_ = -1;
    int nibbles_written_ = 0;
    int bytes_written_ = 0;

    // Serial line.
    SerialState serial_state_ = SerialState::Command;
    std::array<uint8_t, 3> arguments_{};
    int argument_count_ = 0;
    bool serial_wrote_ = false;
    bool serial_stored_ = false;

    bool completed_write_ = false;
};

} // namespace zq70
