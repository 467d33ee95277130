#pragma once
// The renderer of real windows: each form becomes a top-level window of common controls, made the
// first time it is shown. The message loops (the program's, modal forms' and the pending-messages
// pump) all pass the keyboard through the forms' rules (keyboard.h) before the controls see it.

#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "ui/display.h"
#include "ui/win32/form_window.h"
#include "ui/win32/gdi_resources.h"

namespace tolva::ui {

class Win32Display : public Display {
public:
    // owner: the program's hidden application window, owner of the forms; may be null.
    Win32Display(HINSTANCE instance, HWND owner);
    ~Win32Display() override;
    Win32Display(const Win32Display&) = delete;
    Win32Display& operator=(const Win32Display&) = delete;

    void ShowForm(Form& form) override;
    void HideForm(Form& form) override;
    void ForgetForm(const Form& form) override;
    ModalResult ShowModal(Form& form) override;
    void Run() override;
    void Quit() override;
    void ProcessPendingMessages() override;
    void SetBusy(bool busy) override;

    bool Busy() const { return busy_; }
    HINSTANCE Instance() const { return instance_; }
    GdiResources& Resources() { return resources_; }
    UINT SyncMessage() const { return syncMessage_; }
    // The window of a form, null before it was first shown.
    HWND WindowOf(const Form& form) const;

private:
    FormWindow* Window(Form& form);
    FormWindow* WindowFor(HWND window) const;
    // The forms' keyboard rules; true when the message was used up.
    bool PreTranslate(MSG& message);
    void Dispatch(MSG& message);
    bool RegisterClasses();
    HWND OwnerFor(const Form& form) const;

    HINSTANCE instance_;
    HWND owner_;
    GdiResources resources_;
    std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
    std::set<std::string> registeredClasses_;
    std::vector<Form*> modalStack_;
    UINT syncMessage_ = 0;
    bool busy_ = false;
};

}  // namespace tolva::ui
