#pragma once
// The post-install wizard: host name, primary domain and the domain administrator, one page each,
// then a closing page. Finishing it closes the window with OK; the values are read by
// RunPostInstallWizard.

#include <cstdint>

#include "provisioning/post_install_wizard.h"
#include "ui/application.h"
#include "ui/form.h"

namespace tolva::provisioning {

class TSetupWizardForm : public ui::Form, public PostInstallWizardWindow {
public:
    // Pages by number; kFinished closes the window with OK.
    static constexpr uint8_t kHostNamePage = 0;
    static constexpr uint8_t kDomainPage = 1;
    static constexpr uint8_t kAdministratorPage = 2;
    static constexpr uint8_t kCompletePage = 3;
    static constexpr uint8_t kFinished = 4;

    explicit TSetupWizardForm(ui::Application& application);

    bool ShowWizard() override;
    WizardEntries Entries() const override;

    uint8_t Page() const { return page_; }

    void FormShow(ui::Form& sender);
    void FormKeyPress(ui::Form& sender, char16_t& key);
    void NextButtonClick(ui::Component& sender);
    void PreviousButtonClick(ui::Component& sender);
    // Every edit's change: Next is enabled when the field its tag names is not empty.
    void EditChange(ui::Component& sender);

    ui::Component* TopPanel = nullptr;
    ui::Component* TopMenuLabel = nullptr;
    ui::Component* NamePanel = nullptr;
    ui::Component* NameEdit = nullptr;
    ui::Component* OtherPanel = nullptr;
    ui::Component* OtherEdit = nullptr;
    ui::Component* EmailPanel = nullptr;
    ui::Component* EmailEdit = nullptr;
    ui::Component* PassEdit = nullptr;
    ui::Component* FinishPanel = nullptr;
    ui::Component* PreviousButton = nullptr;
    ui::Component* NextButton = nullptr;
    ui::Component* CancelButton = nullptr;

private:
    // A page panel with its explanation; the page's fields follow below it.
    ui::Component& AddPage(const char* panel, const char* textName, std::u16string text);
    struct Example {
        const char* name = nullptr;  // none
        std::u16string text;
    };
    // A caption, an edit under it, and an example line under the edit; returns the edit.
    ui::Component& AddField(ui::Component& panel, int top, const char* labelName,
                            std::u16string caption, const char* editName, int tag, Example example);
    void ShowPage();

    uint8_t page_ = kHostNamePage;
};

}  // namespace tolva::provisioning
