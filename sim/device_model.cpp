#include "device_model.h"

#include <algorithm>

#include "link/nibble_keys.h"
#include "link/serial_commands.h"

namespace zq70 {

namespace {

constexpr std::array<int, 6> kWakeUpDelays = {1, 0, 2, 0, 0, 1};
constexpr int kEndDelay = 3;
constexpr int kProbeCount = 32;
constexpr int kAnnounceCount = 16;

int image_address(const std::array<uint8_t, 3>& arguments) {
    return (arguments[0] * 256 + arguments[1]) % kImageSize;
}

} // namespace

DeviceModel::DeviceModel() {
    limit_probe_answers(kKeyValueCount);
}

void DeviceModel::limit_probe_answers(int count) {
    for (int v = 0; v < kKeyValueCount; ++v)
        probe_keys[v] = key_of_value(v % count);
}

DeviceAnswer DeviceModel::answer(DevicePhase phase, int index, int value) const {
    DeviceAnswer result{silent ? -1 : value, answer_delay_ms};
    for (const DeviceFault& fault : faults) {
        if (fault.phase != phase || (fault.index != -1 && fault.index != index)) continue;
        switch (fault.kind) {
        case FaultKind::Silent: result.value = -1; break;
        case FaultKind::WrongAnswer: result.value = fault.value; break;
        case FaultKind::Late: result.delay_ms += fault.value; break;
        case FaultKind::Corrupt:
            if (phase == DevicePhase::ReadKey)
                result.value = key_of_value(key_value_of(value) ^ 0x10);
            else if (value == kVkControl || value == kVkShift)
                result.value = value == kVkControl ? kVkShift : kVkControl;
            else
                result.value = value ^ 0xFF;
            break;
        }
    }
    return result;
}

DeviceAnswer DeviceModel::keyboard_delay(int delay) {
    std::rotate(delay_history_.begin(), delay_history_.begin() + 1, delay_history_.end());
    delay_history_.back() = delay;
    if (delay_history_ == kWakeUpDelays) {
        key_mode_ = KeyMode::Awake;
        return answer(DevicePhase::WakeUp, 0, kVkControl);
    }
    if (delay == kEndDelay) {
        if (key_mode_ == KeyMode::Writing && bytes_written_ > 0) completed_write_ = true;
        key_mode_ = KeyMode::Idle;
        return {};
    }
    if (key_mode_ == KeyMode::Awake) {
        // The first signal after the wake-up tells a read (delay 0) from a write (delay 1).
        if (delay == 1) {
            key_mode_ = KeyMode::Writing;
            speed_signals_ = 0;
            nibbles_written_ = 0;
            bytes_written_ = 0;
            nibble_of_speed_.fill(-1);
            return {};
        }
        key_mode_ = KeyMode::Reading;
        read_key_index_ = 0;
    }
    if (key_mode_ != KeyMode::Reading || (delay != 0 && delay != 2)) return {};
    // Delay 0 asks for the first key of a byte, delay 2 for the second.
    const int byte_index = read_key_index_ / 2;
    const int key_index = 2 * byte_index + (delay == 2 ? 1 : 0);
    const int byte = memory[(byte_index + kHeaderOffset) % kImageSize];
    const int value = delay == 0 ? first_key_value(byte) : second_key_value(byte);
    read_key_index_ = key_index + 1;
    return answer(DevicePhase::ReadKey, key_index, key_of_value(value));
}

DeviceAnswer DeviceModel::keyboard_speed(int speed) {
    if (key_mode_ != KeyMode::Writing || speed < 0 || speed >= kKeyValueCount) return {};
    const int signal = speed_signals_++;
    if (signal < kProbeCount) return answer(DevicePhase::Probe, signal, probe_keys[speed]);
    if (signal < kProbeCount + kAnnounceCount) {
        const int nibble = signal - kProbeCount;
        nibble_of_speed_[speed] = nibble;
        return answer(DevicePhase::Announce, nibble, kVkControl);
    }
    const int nibble = nibble_of_speed_[speed];
    if (nibble < 0) return {};
    const int index = nibbles_written_++;
    if (index % 2 == 0) {
        pending_high_ = nibble;
    } else if (index / 2 < kImageSize) {
        memory[(index / 2 + kHeaderOffset) % kImageSize] =
            static_cast<uint8_t>(pending_high_ << 4 | nibble);
        bytes_written_ = index / 2 + 1;
    }
    return answer(DevicePhase::WriteNibble, index, nibble_answer(nibble));
}

DeviceAnswer DeviceModel::serial_byte(uint8_t byte) {
    switch (serial_state_) {
    case SerialState::Command:
        argument_count_ = 0;
        switch (byte) {
        case kSerialOpen: return answer(DevicePhase::SerialOpen, 0, kSerialAcknowledge);
        case kSerialKeyword:
            serial_wrote_ = serial_stored_ = false;
            return answer(DevicePhase::SerialKeyword, 0, kSerialKeyword);
        case kSerialRead: serial_state_ = SerialState::ReadAddress; return {};
        case kSerialWrite: serial_state_ = SerialState::WriteAddress; return {};
        case kSerialStore:
            serial_stored_ = serial_wrote_;
            return answer(DevicePhase::SerialStore, 0, kSerialStore);
        case kSerialEnd:
            // A write counts as complete once its data was closed by 'S' and then 237.
            completed_write_ = completed_write_ || serial_stored_;
            serial_stored_ = serial_wrote_ = false;
            return answer(DevicePhase::SerialEnd, 0, kSerialAcknowledge);
        default: return {};
        }
    case SerialState::ReadAddress:
        arguments_[argument_count_++] = byte;
        if (argument_count_ < 2) return {};
        serial_state_ = SerialState::Command;
        return answer(DevicePhase::SerialRead, image_address(arguments_),
                      memory[image_address(arguments_)]);
    case SerialState::WriteAddress:
        arguments_[argument_count_++] = byte;
        if (argument_count_ == 2) serial_state_ = SerialState::WriteValue;
        return {};
    case SerialState::WriteValue:
        serial_state_ = SerialState::Command;
        memory[image_address(arguments_)] = byte;
        serial_wrote_ = true;
        return answer(DevicePhase::SerialWrite, image_address(arguments_), kSerialWrite);
    }
    return {};
}

bool DeviceModel::take_completed_write() {
    const bool completed = completed_write_;
    completed_write_ = false;
    return completed;
}

} // namespace zq70
