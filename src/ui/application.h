#pragma once
// The program's forms, in the order they were created, and the renderer that shows them.

#include <functional>
#include <string_view>
#include <vector>

#include "platform/system.h"
#include "ui/display.h"

namespace tolva::ui {

class Form;

class Application {
public:
    // codePage: the system's ANSI code page, through which the texts of 8-bit components and
    // forms pass (see TextFor); none keeps every text as given.
    explicit Application(Display& display, const platform::System* codePage = nullptr)
        : display_(&display), codePage_(codePage) {}
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Display& GetDisplay() const { return *display_; }

    // Every form, in creation order. The first form created is the main form.
    const std::vector<Form*>& Forms() const { return forms_; }
    Form* MainForm() const { return forms_.empty() ? nullptr : forms_.front(); }
    // First form whose class name equals the text exactly.
    Form* FindFormByClass(std::string_view className) const;

    // Shows the main form and runs the message loop until Terminate() or the main form closes.
    void Run();
    void Terminate() { display_->Quit(); }
    void ProcessPendingMessages() { display_->ProcessPendingMessages(); }

    // Runs an event handler. An exception that escapes it ends there: the sink hears of it
    // (by default nothing does) and the program goes on.
    void Invoke(const std::function<void()>& handler) const;
    void SetHandlerErrorSink(std::function<void(std::string_view what)> sink) {
        errorSink_ = std::move(sink);
    }

    // The text an 8-bit control can hold of a UTF-16 text: what the ANSI code page can say of it,
    // read back as UTF-16 (characters it lacks become what the system makes of them, "?").
    // Wide texts (Tnt classes, Unicode forms) stay as they are.
    std::u16string TextFor(std::u16string text, bool wide) const;

    // For Form.
    void Register(Form& form) { forms_.push_back(&form); }
    void Unregister(Form& form);

private:
    Display* display_;
    const platform::System* codePage_;
    std::vector<Form*> forms_;
    std::function<void(std::string_view)> errorSink_;
};

}  // namespace tolva::ui
