#include "dialog_script.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kTickMs = 15;
constexpr DWORD kScriptTimeoutMs = 8000;

DialogScript* current_script = nullptr;

bool is_caption(HWND window, const std::string& caption) {
    return window && IsWindowVisible(window) && text_of(window) == caption;
}

} // namespace

DialogScript::DialogScript() {
    current_script = this;
    deadline_ = GetTickCount() + kScriptTimeoutMs;
    timer_ = SetTimer(nullptr, 0, kTickMs, on_timer);
}

DialogScript::~DialogScript() {
    KillTimer(nullptr, timer_);
    current_script = nullptr;
}

DialogScript& DialogScript::then(const std::string& caption, Action action) {
    steps_.push_back({caption, std::move(action)});
    return *this;
}

void CALLBACK DialogScript::on_timer(HWND, UINT, UINT_PTR, DWORD) {
    if (current_script) current_script->tick();
}

void DialogScript::tick() {
    HWND active = GetActiveWindow();
    if (static_cast<LONG>(GetTickCount() - deadline_) > 0) {
        give_up(active);
        return;
    }
    if (next_ >= steps_.size()) return;
    const Step& step = steps_[next_];
    if (!is_caption(active, step.caption)) return;
    if (step.action(active)) ++next_;
}

// Closes whatever dialog is still open, the number entries through their Cancel button
// since they ignore Esc.
void DialogScript::give_up(HWND active) {
    if (!gave_up_) {
        ADD_FAILURE() << "dialog script timed out at step " << next_ << " of " << steps_.size()
                      << (active ? ", active window \"" + text_of(active) + "\"" : "");
        gave_up_ = true;
    }
    if (!active) return;
    if (GetDlgItem(active, 2303))
        PostMessageA(active, WM_COMMAND, MAKEWPARAM(2303, BN_CLICKED), 0);
    else
        PostMessageA(active, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void click(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    ASSERT_TRUE(control) << "no control " << id;
    // A posted click would reach a disabled button, which a user cannot press.
    ASSERT_TRUE(IsWindowEnabled(control) && IsWindowVisible(control))
        << "control " << id << " cannot be clicked";
    PostMessageA(control, BM_CLICK, 0, 0);
}

void press_key(WORD key) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(2u, SendInput(2, input, sizeof(INPUT)));
}

void type_text(HWND dialog, int id, const std::string& text) {
    ASSERT_TRUE(SetDlgItemTextA(dialog, id, text.c_str()));
}

std::string text_of(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string item_text(HWND dialog, int id) {
    return text_of(GetDlgItem(dialog, id));
}

int focused_id(HWND dialog) {
    HWND focus = GetFocus();
    return focus && IsChild(dialog, focus) ? GetDlgCtrlID(focus) : 0;
}

// The button that Enter presses: the one drawn as the default push button.
int default_button_id(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (SendMessageA(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
            return GetDlgCtrlID(child);
    return 0;
}

RECT control_rect(HWND dialog, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT dialog_units(HWND dialog, int x, int y, int width, int height) {
    // The dialog manager converts a control's position and size apart.
    RECT r{x, y, width, height};
    MapDialogRect(dialog, &r);
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

DialogScript::Action press(WORD key) {
    return [key](HWND) {
        press_key(key);
        return true;
    };
}

DialogScript::Action click_on(int id) {
    return [id](HWND dialog) {
        click(dialog, id);
        return true;
    };
}

OwnerWindow::OwnerWindow() {
    window_ = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                              100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(window_);
}

OwnerWindow::~OwnerWindow() {
    DestroyWindow(window_);
}
