#include "keyboard_platform_win32.h"

#include <mmsystem.h>

namespace zq70 {

namespace {

constexpr UINT kResolutionMs = 1;

int get_parameter(UINT action) {
    int value = 0;
    SystemParametersInfoA(action, 0, &value, 0);
    return value;
}

// The profile flag is 0: the change is neither stored nor broadcast, and lasts only until
// the restore.
void set_parameter(UINT action, int value) {
    SystemParametersInfoA(action, static_cast<UINT>(value), nullptr, 0);
}

} // namespace

MillisecondTimer::MillisecondTimer() : raised_(timeBeginPeriod(kResolutionMs) == TIMERR_NOERROR) {}

MillisecondTimer::~MillisecondTimer() {
    if (raised_) timeEndPeriod(kResolutionMs);
}

uint32_t millisecond_ticks() {
    return timeGetTime();
}

ThreadMessage from_native(const MSG& message) {
    ThreadMessage result;
    result.window = message.hwnd;
    result.id = message.message;
    result.wparam = message.wParam;
    result.lparam = message.lParam;
    result.time = message.time;
    result.x = message.pt.x;
    result.y = message.pt.y;
    return result;
}

MSG to_native(const ThreadMessage& message) {
    MSG result{};
    result.hwnd = static_cast<HWND>(message.window);
    result.message = message.id;
    result.wParam = message.wparam;
    result.lParam = message.lparam;
    result.time = message.time;
    result.pt.x = message.x;
    result.pt.y = message.y;
    return result;
}

void translate_and_dispatch(const ThreadMessage& message) {
    const MSG native = to_native(message);
    TranslateMessage(&native);
    DispatchMessageA(&native);
}

KeyboardPlatform win32_keyboard_platform(std::function<void(const ThreadMessage&)> dispatch_other) {
    KeyboardPlatform platform;
    platform.get_delay = [] { return get_parameter(SPI_GETKEYBOARDDELAY); };
    platform.get_speed = [] { return get_parameter(SPI_GETKEYBOARDSPEED); };
    platform.set_delay = [](int value) { set_parameter(SPI_SETKEYBOARDDELAY, value); };
    platform.set_speed = [](int value) { set_parameter(SPI_SETKEYBOARDSPEED, value); };
    platform.sleep = [](int ms) { Sleep(static_cast<DWORD>(ms)); };
    platform.ticks = millisecond_ticks;
    platform.take_message = [](ThreadMessage& message) {
        MSG native{};
        if (!PeekMessageA(&native, nullptr, 0, 0, PM_REMOVE)) return false;
        message = from_native(native);
        return true;
    };
    platform.dispatch_other = std::move(dispatch_other);
    return platform;
}

} // namespace zq70
