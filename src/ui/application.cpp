#include "ui/application.h"

#include <algorithm>
#include <exception>

#include "ui/form.h"

namespace tolva::ui {

Form* Application::FindFormByClass(std::string_view className) const {
    for (Form* form : forms_) {
        if (form->ClassName() == className) {
            return form;
        }
    }
    return nullptr;
}

void Application::Run() {
    if (Form* main = MainForm()) {
        main->Show();
    }
    display_->Run();
}

void Application::Invoke(const std::function<void()>& handler) const {
    if (!handler) {
        return;
    }
    try {
        handler();
    } catch (const std::exception& error) {
        if (errorSink_) {
            errorSink_(error.what());
        }
    } catch (...) {
        if (errorSink_) {
            errorSink_("unknown error");
        }
    }
}

std::u16string Application::TextFor(std::u16string text, bool wide) const {
    if (wide || codePage_ == nullptr) {
        return text;
    }
    return codePage_->AnsiToWide(codePage_->WideToAnsi(text));
}

void Application::Unregister(Form& form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
    display_->ForgetForm(form);
}

}  // namespace tolva::ui
