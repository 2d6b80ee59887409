// Opens each editing dialog in a typical state and saves a picture of it as a BMP file in
// the current folder; scripts/dialog-screenshots turns them into PNGs. A timer inside each
// modal loop waits until the dialog has settled, captures it from the screen, and closes it.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "dialogs/dialogs.h"
#include "res/resource_ids.h"

namespace {

struct Shot {
    std::string caption;
    std::string file;
    std::function<void(HWND)> prepare;
};

const Shot* current_shot = nullptr;
int settled_ticks = 0;
bool all_saved = true;

bool save_bitmap(HWND window, const std::string& file) {
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int stride = (width * 3 + 3) & ~3;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(stride * height);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();

    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42; // "BM"
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + info.bmiHeader.biSizeImage;
    bool written = false;
    if (FILE* out = std::fopen(file.c_str(), "wb")) {
        written = std::fwrite(&header, sizeof header, 1, out) == 1 &&
                  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                  std::fwrite(bits, info.bmiHeader.biSizeImage, 1, out) == 1;
        written = std::fclose(out) == 0 && written;
    }

    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return copied && written;
}

void close_dialog(HWND dialog) {
    const int id = GetDlgItem(dialog, IDC_NUMBER_CANCEL) ? IDC_NUMBER_CANCEL : IDCANCEL;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD) {
    HWND active = GetActiveWindow();
    char caption[128] = {};
    if (!current_shot || !active) return;
    GetWindowTextA(active, caption, sizeof caption);
    if (current_shot->caption != caption) return;
    if (settled_ticks++ == 0) {
        if (current_shot->prepare) current_shot->prepare(active);
        return;
    }
    if (settled_ticks < 12) return; // let the focus move and everything paint
    UpdateWindow(active);
    if (!save_bitmap(active, current_shot->file)) {
        std::fprintf(stderr, "could not save %s\n", current_shot->file.c_str());
        all_saved = false;
    }
    current_shot = nullptr;
    close_dialog(active);
}

void take(const Shot& shot, const std::function<void()>& open) {
    current_shot = &shot;
    settled_ticks = 0;
    open();
    if (current_shot) {
        std::fprintf(stderr, "no picture of %s\n", shot.file.c_str());
        all_saved = false;
    }
}

// A macro with make, break and delay steps, a long delay in the break row, and another
// macro taking memory.
void fill_macro(zq70::Configuration& config) {
    zq70::reset_configuration(config);
    int32_t* steps = config.macros[1].steps;
    steps[0] = zq70::make_step(58); // Left Ctrl
    steps[1] = zq70::make_step(31); // A
    steps[2] = zq70::break_step(31);
    steps[3] = zq70::break_step(58);
    steps[4] = zq70::delay_step(25); // 250 ms
    steps[5] = zq70::make_step(43);  // Enter
    steps[16] = zq70::delay_step(0); // 2560 ms
    steps[17] = zq70::break_step(43);
    config.macros[1].in_use = 1;
    config.macros[0].steps[0] = zq70::make_step(17);
    config.macros[0].in_use = 1;
    config.key_codes[0] = 0x81;
    config.key_codes[1] = 0x82;
}

} // namespace

int main() {
    HWND owner =
        CreateWindowExA(0, "STATIC", "ZQ70 Configuration Utility", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        0, 0, 1180, 520, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(owner);
    const UINT_PTR timer = SetTimer(nullptr, 0, 25, on_timer);

    auto type_number = [](const char* text) {
        return [text](HWND dialog) { SetDlgItemTextA(dialog, IDC_NUMBER_FIELD, text); };
    };
    take({"Select a key", "select_key.bmp", nullptr}, [&] { select_key(owner, 31); });
    take({"Select a key", "select_macro_step.bmp", nullptr},
         [&] { select_macro_step(owner, zq70::break_step(17), true, true); });
    zq70::Configuration config{};
    fill_macro(config);
    const zq70::MacroSlot backup = config.macros[1];
    take({"ZQ70 Macro", "macro_editor.bmp", nullptr},
         [&] { edit_macro(owner, config, 1, backup); });
    take({"Delay", "delay.bmp", type_number("250")}, [&] { ask_delay(owner); });
    take({"Key Code", "key_code.bmp", type_number("65")}, [&] { ask_key_code(owner); });
    take({"About ZQ70Load", "about.bmp", nullptr}, [&] { show_about(owner); });

    KillTimer(nullptr, timer);
    DestroyWindow(owner);
    return all_saved ? 0 : 1;
}
