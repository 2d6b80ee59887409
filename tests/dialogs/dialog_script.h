// A scripted user for modal dialogs: a thread timer that runs inside whatever modal loop is
// active, finds the active window, and plays the next step of a script when that window
// carries the step's caption. Each step may wait (return false) until the dialog is in the
// state it expects. Every wait is bounded: past the deadline the script fails and the open
// dialogs are cancelled so that the test ends.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class DialogScript {
  public:
    using Action = std::function<bool(HWND dialog)>;

    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // Adds a step for the active window captioned `caption`.
    DialogScript& then(const std::string& caption, Action action);

    // Whether every step was played before the dialogs closed.
    bool finished() const { return next_ == steps_.size(); }

  private:
    struct Step {
        std::string caption;
        Action action;
    };
    static void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD);
    void tick();
    void give_up(HWND active);

    std::vector<Step> steps_;
    size_t next_ = 0;
    UINT_PTR timer_ = 0;
    DWORD deadline_ = 0;
    bool gave_up_ = false;
};

// What a user does and sees; each failure is reported at the caller's line.
void click(HWND dialog, int id);
void press_key(WORD key);
void type_text(HWND dialog, int id, const std::string& text);
std::string text_of(HWND window);
std::string item_text(HWND dialog, int id);
int focused_id(HWND dialog);
int default_button_id(HWND dialog);
// The rectangle of a control in the dialog's client coordinates.
RECT control_rect(HWND dialog, int id);
// A rectangle in dialog units converted to the dialog's pixels.
RECT dialog_units(HWND dialog, int x, int y, int width, int height);

// Steps that only act.
DialogScript::Action press(WORD key);
DialogScript::Action click_on(int id);

// A visible top-level window that owns the dialogs, as the main window does.
class OwnerWindow {
  public:
    OwnerWindow();
    ~OwnerWindow();
    HWND handle() const { return window_; }

  private:
    HWND window_;
};
