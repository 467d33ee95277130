#pragma once
// A renderer without windows, for native tests: forms are "shown" in memory, and the test acts as
// the user would (click, type, press keys, tick, choose, click a tree node) and reads what the
// user would see. An action the user could not take (a hidden or disabled control, a form
// behind a modal dialog) is refused with the reason. Modal dialogs run scripts the test queued;
// message boxes go through the platform's dialogs (FakeDialogs in tests).

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/display.h"
#include "ui/form.h"
#include "ui/keyboard.h"

namespace tolva::ui {

struct ActionResult {
    bool done = true;
    std::string reason;  // why the user could not act
    explicit operator bool() const { return done; }
};

class HeadlessDisplay : public Display {
public:
    // Tree rows in the headless layout: one row per shown node, indented per level; the state
    // picture sits at the start of the row, the text after it.
    static constexpr int kNodeHeight = 16;
    static constexpr int kNodeIndent = 19;
    static constexpr int kStatePictureWidth = 16;

    HeadlessDisplay();
    ~HeadlessDisplay() override;

    void ShowForm(Form& form) override;
    void HideForm(Form& form) override;
    ModalResult ShowModal(Form& form) override;
    void ForgetForm(const Form& form) override;
    // Runs the queued pending actions, then returns: the test is the user.
    void Run() override;
    void Quit() override { quit_ = true; }
    void ProcessPendingMessages() override;
    void SetBusy(bool busy) override { busy_ = busy; }

    // The user's actions on a component of a form, found by name.
    ActionResult Click(Form& form, std::string_view name);
    // Clicks a check box when its state differs from checked.
    ActionResult Tick(Form& form, std::string_view name, bool checked);
    // Focuses the control (as a click into it does) and types the text one character at a time.
    ActionResult Type(Form& form, std::string_view name, std::u16string_view text);
    // Chooses the item with exactly this text from a combo or list box.
    ActionResult Choose(Form& form, std::string_view name, std::u16string_view item);
    // Double-clicks the item with exactly this text in a list box: the first click chooses it.
    ActionResult DoubleClick(Form& form, std::string_view name, std::u16string_view item);
    // Clicks a tree at x pixels from its left edge on the row of a node. As in the system's
    // trees, the click event comes first and the node becomes current after it.
    ActionResult ClickNode(Form& form, std::string_view name, int node, int x);
    ActionResult Focus(Form& form, std::string_view name);
    // A key pressed while the form is active, sent to the focused control.
    ActionResult Press(Form& form, Key key, bool shift = false);
    // Alt and a letter.
    ActionResult PressAlt(Form& form, char16_t letter);
    // The window's close box.
    ActionResult CloseBox(Form& form);

    // Runs the next time a form of that class is shown modally, then the dialog must be closed;
    // a dialog left open is closed with Cancel and noted in Problems().
    void ScriptModal(std::string className, std::function<void(Form& dialog)> script);
    // Runs during the next ProcessPendingMessages() (or Run()): a user acting while the program
    // works.
    void QueuePending(std::function<void()> action);

    bool Busy() const { return busy_; }
    bool QuitAsked() const { return quit_; }
    int PendingMessageRuns() const { return pendingRuns_; }
    // Forms shown modally, in order, by class name.
    const std::vector<std::string>& ModalsShown() const { return modalsShown_; }
    // Mistakes of the test's scripts (a modal dialog nobody scripted or closed).
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    class View;

    ActionResult Reach(Form& form, std::string_view name, Component*& component);
    ActionResult FormTakesInput(const Form& form) const;
    void TypeCharacter(Form& form, Component* focused, char16_t character);
    void KeyToControl(Form& form, Component* focused, Key key);
    void MoveInList(Component& list, Key key);
    void MoveInTree(Component& tree, Key key);
    // Ends a modal form whose modal result is set, when its close query agrees.
    void CheckModalEnd();
    void EndModal(Form& form);
    View& ViewOf(Form& form);

    std::map<const Form*, std::unique_ptr<View>> views_;
    std::vector<Form*> modalStack_;
    std::multimap<std::string, std::function<void(Form&)>> modalScripts_;
    std::deque<std::function<void()>> pending_;
    std::vector<std::string> modalsShown_;
    std::vector<std::string> problems_;
    bool busy_ = false;
    bool quit_ = false;
    int pendingRuns_ = 0;
};

}  // namespace tolva::ui
