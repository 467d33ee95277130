#pragma once
// A renderer: shows forms (real windows, or none for the tests), runs the message loops and lets
// pending messages run during long steps.

#include "ui/appearance.h"

namespace tolva::ui {

class Form;

class Display {
public:
    virtual ~Display() = default;

    // Shows a form modelessly (creating its window the first time) and brings it to the front.
    virtual void ShowForm(Form& form) = 0;
    virtual void HideForm(Form& form) = 0;
    // Shows a form modally: the program's other forms take no input until it ends. Returns its
    // modal result.
    virtual ModalResult ShowModal(Form& form) = 0;
    // Runs the message loop until Quit().
    virtual void Run() = 0;
    virtual void Quit() = 0;
    // Lets the messages waiting now run (painting, the user's keys and clicks, their handlers)
    // and returns; long steps call it so that progress repaints and Cancel stays live.
    virtual void ProcessPendingMessages() = 0;
    // The wait cursor over every form of the program while busy.
    virtual void SetBusy(bool busy) = 0;
    // The form is being destroyed: what the display keeps of it (its window, its view) goes now,
    // while the form can still be reached, not when the display goes after it.
    virtual void ForgetForm(const Form& form) = 0;
};

}  // namespace tolva::ui
