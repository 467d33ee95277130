#include "ui/headless_display.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/tab_order.h"
#include "ui/user_input.h"
#include "ui/visibility.h"

namespace tolva::ui {
namespace {

ActionResult Refused(std::string reason) {
    return ActionResult{false, std::move(reason)};
}

std::vector<int> ShownNodes(const Component& tree) {
    std::vector<int> shown;
    for (int i = 0; i < static_cast<int>(tree.Nodes().size()); ++i) {
        if (tree.NodeShown(i)) {
            shown.push_back(i);
        }
    }
    return shown;
}

bool IsEditable(const Component& component) {
    Kind kind = component.GetKind();
    return kind == Kind::kEdit || kind == Kind::kMemo ||
           (kind == Kind::kComboBox && component.GetComboStyle() == ComboStyle::kDropDown);
}

}  // namespace

class HeadlessDisplay::View : public FormObserver {
public:
    void ComponentChanged(Component&, Property) override {}
    void FormChanged(FormProperty) override {}
    void FocusChanged(Component*) override {}
    Point PointerPosition(const Component& component) const override {
        auto at = pointers_.find(&component);
        return at != pointers_.end() ? at->second : Point{};
    }
    int NodeAt(const Component& tree, Point point) const override {
        if (point.y < 0 || point.x < 0 || point.x >= tree.GetBounds().width) {
            return -1;
        }
        std::vector<int> shown = ShownNodes(tree);
        size_t row = static_cast<size_t>(point.y / kNodeHeight);
        return row < shown.size() ? shown[row] : -1;
    }
    void SetPointer(const Component& component, Point point) { pointers_[&component] = point; }

private:
    std::map<const Component*, Point> pointers_;
};

HeadlessDisplay::HeadlessDisplay() = default;

HeadlessDisplay::~HeadlessDisplay() {
    for (auto& [form, view] : views_) {
        if (form->Observer() == view.get()) {
            const_cast<Form*>(form)->SetObserver(nullptr);
        }
    }
}

void HeadlessDisplay::ForgetForm(const Form& form) {
    views_.erase(&form);
    modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), &form),
                      modalStack_.end());
}

HeadlessDisplay::View& HeadlessDisplay::ViewOf(Form& form) {
    auto& view = views_[&form];
    if (!view) {
        view = std::make_unique<View>();
        form.SetObserver(view.get());
    }
    return *view;
}

void HeadlessDisplay::ShowForm(Form& form) {
    ViewOf(form);
    if (form.Showing()) {
        return;
    }
    form.SetShowing(true);
    if (form.events.show) {
        form.GetApplication().Invoke([&form] { form.events.show(form); });
    }
    if (form.ActiveControl() == nullptr || !IsEffectivelyVisibleAndEnabled(*form.ActiveControl())) {
        form.FocusFirst();
    }
}

void HeadlessDisplay::HideForm(Form& form) {
    form.SetShowing(false);
}

ModalResult HeadlessDisplay::ShowModal(Form& form) {
    modalsShown_.push_back(form.ClassName());
    form.SetModalResult(ModalResult::kNone);
    form.SetModal(true);
    modalStack_.push_back(&form);
    ShowForm(form);
    CheckModalEnd();
    auto script = modalScripts_.find(form.ClassName());
    if (script == modalScripts_.end()) {
        problems_.push_back("modal " + form.ClassName() + " shown with no script");
    } else {
        auto run = std::move(script->second);
        modalScripts_.erase(script);
        if (form.Showing()) {
            run(form);
        }
    }
    if (form.Showing()) {
        problems_.push_back("modal " + form.ClassName() + " left open by its script");
        form.SetModalResult(ModalResult::kCancel);
        EndModal(form);
    }
    modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), &form),
                      modalStack_.end());
    form.SetModal(false);
    return form.GetModalResult();
}

void HeadlessDisplay::EndModal(Form& form) {
    if (form.events.close) {
        form.GetApplication().Invoke([&form] { form.events.close(form); });
    }
    form.SetShowing(false);
}

void HeadlessDisplay::CheckModalEnd() {
    if (modalStack_.empty()) {
        return;
    }
    Form& top = *modalStack_.back();
    if (!top.Showing() || top.GetModalResult() == ModalResult::kNone) {
        return;
    }
    if (top.CloseQuery()) {
        EndModal(top);
    } else {
        top.SetModalResult(ModalResult::kNone);
    }
}

void HeadlessDisplay::Run() {
    quit_ = false;
    while (!pending_.empty() && !quit_) {
        ProcessPendingMessages();
    }
}

void HeadlessDisplay::ProcessPendingMessages() {
    ++pendingRuns_;
    std::deque<std::function<void()>> now;
    now.swap(pending_);
    for (auto& action : now) {
        action();
    }
}

void HeadlessDisplay::ScriptModal(std::string className, std::function<void(Form&)> script) {
    modalScripts_.emplace(std::move(className), std::move(script));
}

void HeadlessDisplay::QueuePending(std::function<void()> action) {
    pending_.push_back(std::move(action));
}

ActionResult HeadlessDisplay::FormTakesInput(const Form& form) const {
    if (!form.Showing()) {
        return Refused("form " + form.ClassName() + " is not shown");
    }
    if (!modalStack_.empty() && modalStack_.back() != &form) {
        return Refused("form " + form.ClassName() + " is behind the modal " +
                       modalStack_.back()->ClassName());
    }
    return {};
}

ActionResult HeadlessDisplay::Reach(Form& form, std::string_view name, Component*& component) {
    if (ActionResult ready = FormTakesInput(form); !ready) {
        return ready;
    }
    component = form.Find(name);
    std::string what(name);
    if (component == nullptr) {
        return Refused(what + " is not on form " + form.ClassName());
    }
    if (!IsEffectivelyVisible(*component)) {
        return Refused(what + " is hidden");
    }
    if (!IsSeen(*component)) {
        return Refused(what + " is covered by a component in front of it");
    }
    if (!IsEffectivelyEnabled(*component)) {
        return Refused(what + " is disabled");
    }
    return {};
}

ActionResult HeadlessDisplay::Click(Form& form, std::string_view name) {
    Component* component = nullptr;
    if (ActionResult reached = Reach(form, name, component); !reached) {
        return reached;
    }
    ViewOf(form).SetPointer(
        *component, Point{component->GetBounds().width / 2, component->GetBounds().height / 2});
    if (TakesFocus(component->GetKind())) {
        form.SetFocus(*component);
    }
    if (!UserClick(*component)) {
        return Refused(std::string(name) + " takes no clicks");
    }
    CheckModalEnd();
    return {};
}

ActionResult HeadlessDisplay::Tick(Form& form, std::string_view name, bool checked) {
    Component* component = form.Find(name);
    if (component != nullptr && component->Checked() == checked) {
        return Reach(form, name, component);
    }
    return Click(form, name);
}

ActionResult HeadlessDisplay::Focus(Form& form, std::string_view name) {
    Component* component = nullptr;
    if (ActionResult reached = Reach(form, name, component); !reached) {
        return reached;
    }
    if (!form.SetFocus(*component)) {
        return Refused(std::string(name) + " cannot hold the focus");
    }
    return {};
}

ActionResult HeadlessDisplay::Type(Form& form, std::string_view name, std::u16string_view text) {
    if (ActionResult focused = Focus(form, name); !focused) {
        return focused;
    }
    for (char16_t character : text) {
        if (ActionResult ready = FormTakesInput(form); !ready) {
            return ready;
        }
        TypeCharacter(form, form.ActiveControl(), character);
        CheckModalEnd();
    }
    return {};
}

void HeadlessDisplay::TypeCharacter(Form& form, Component* focused, char16_t character) {
    character = DispatchKeyPress(form, character);
    if (character == 0 || focused == nullptr || form.ActiveControl() != focused) {
        return;
    }
    if (IsEditable(*focused)) {
        if (focused->ReadOnly()) {
            return;
        }
        std::u16string text = focused->Text();
        size_t start = static_cast<size_t>(focused->SelStart());
        size_t length = static_cast<size_t>(focused->SelLength());
        if (character == u'\b') {
            if (length == 0 && start > 0) {
                --start;
                length = 1;
            }
            text.erase(start, length);
        } else if (character == u'\r') {
            if (focused->GetKind() != Kind::kMemo) {
                return;
            }
            text.replace(start, length, u"\r\n");
            start += 1;
        } else if (character >= u' ') {
            text.replace(start, length, 1, character);
            start += 1;
        } else {
            return;
        }
        UserEditText(*focused, text);
        focused->SetSelection(static_cast<int>(std::min(start + (character == u'\r' ? 1 : 0),
                                                        focused->Text().size())),
                              0);
        return;
    }
    switch (focused->GetKind()) {
        case Kind::kButton:
        case Kind::kCheckBox:
        case Kind::kRadioButton:
            if (character == u' ') {
                UserClick(*focused);
            } else {
                HandleMnemonic(form, character, false);
            }
            return;
        case Kind::kComboBox:
        case Kind::kListBox: {
            // A letter chooses the next item that starts with it, as the system's lists do.
            const auto& items = focused->Items();
            int count = static_cast<int>(items.size());
            for (int step = 1; step <= count; ++step) {
                int index = (focused->ItemIndex() + step + count) % count;
                const std::u16string& item = items[static_cast<size_t>(index)].text;
                if (!item.empty() && FoldCase(item[0]) == FoldCase(character)) {
                    UserChooseItem(*focused, index);
                    return;
                }
            }
            return;
        }
        case Kind::kCheckListBox:
            if (character == u' ' && focused->ItemIndex() >= 0) {
                size_t index = static_cast<size_t>(focused->ItemIndex());
                UserTickItem(*focused, focused->ItemIndex(), !focused->Items()[index].checked);
            }
            return;
        default:
            return;
    }
}

ActionResult HeadlessDisplay::Press(Form& form, Key key, bool shift) {
    if (ActionResult ready = FormTakesInput(form); !ready) {
        return ready;
    }
    if (!HandleDialogKey(form, key, shift, false)) {
        KeyToControl(form, form.ActiveControl(), key);
    }
    CheckModalEnd();
    return {};
}

void HeadlessDisplay::KeyToControl(Form& form, Component* focused, Key key) {
    switch (key) {
        case Key::kSpace:
            TypeCharacter(form, focused, u' ');
            return;
        case Key::kEnter:
            TypeCharacter(form, focused, u'\r');
            return;
        case Key::kEscape:
            TypeCharacter(form, focused, 27);
            return;
        case Key::kBackspace:
            TypeCharacter(form, focused, u'\b');
            return;
        case Key::kTab:
            return;
        default:
            break;
    }
    if (focused == nullptr) {
        return;
    }
    if (focused->GetKind() == Kind::kTreeView) {
        MoveInTree(*focused, key);
    } else if (HasItems(focused->GetKind())) {
        MoveInList(*focused, key);
    }
}

void HeadlessDisplay::MoveInList(Component& list, Key key) {
    int count = static_cast<int>(list.Items().size());
    if (count == 0) {
        return;
    }
    int index = list.ItemIndex();
    switch (key) {
        case Key::kUp:
        case Key::kLeft:
            index = std::max(index - 1, 0);
            break;
        case Key::kDown:
        case Key::kRight:
            index = std::min(index + 1, count - 1);
            break;
        case Key::kHome:
            index = 0;
            break;
        case Key::kEnd:
            index = count - 1;
            break;
        default:
            return;
    }
    if (index != list.ItemIndex()) {
        UserChooseItem(list, index);
    }
}

void HeadlessDisplay::MoveInTree(Component& tree, Key key) {
    std::vector<int> shown = ShownNodes(tree);
    if (shown.empty()) {
        return;
    }
    auto at = std::find(shown.begin(), shown.end(), tree.SelectedNode());
    int row = at == shown.end() ? -1 : static_cast<int>(at - shown.begin());
    int last = static_cast<int>(shown.size()) - 1;
    switch (key) {
        case Key::kUp:
            row = std::max(row - 1, 0);
            break;
        case Key::kDown:
            row = std::min(row + 1, last);
            break;
        case Key::kHome:
            row = 0;
            break;
        case Key::kEnd:
            row = last;
            break;
        default:
            return;
    }
    UserSelectNode(tree, shown[static_cast<size_t>(row)]);
}

ActionResult HeadlessDisplay::PressAlt(Form& form, char16_t letter) {
    if (ActionResult ready = FormTakesInput(form); !ready) {
        return ready;
    }
    if (!HandleMnemonic(form, letter, true)) {
        return Refused(std::string("no control answers Alt+") + static_cast<char>(letter));
    }
    CheckModalEnd();
    return {};
}

ActionResult HeadlessDisplay::Choose(Form& form, std::string_view name, std::u16string_view item) {
    Component* component = nullptr;
    if (ActionResult reached = Reach(form, name, component); !reached) {
        return reached;
    }
    const auto& items = component->Items();
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (items[static_cast<size_t>(i)].text == item) {
            form.SetFocus(*component);
            if (!UserChooseItem(*component, i)) {
                break;
            }
            CheckModalEnd();
            return {};
        }
    }
    return Refused(std::string(name) + " has no such item");
}

ActionResult HeadlessDisplay::DoubleClick(Form& form, std::string_view name,
                                          std::u16string_view item) {
    if (ActionResult chosen = Choose(form, name, item); !chosen) {
        return chosen;
    }
    if (!UserDoubleClick(*form.Find(name))) {
        return Refused(std::string(name) + " takes no double click");
    }
    CheckModalEnd();
    return {};
}

ActionResult HeadlessDisplay::ClickNode(Form& form, std::string_view name, int node, int x) {
    Component* tree = nullptr;
    if (ActionResult reached = Reach(form, name, tree); !reached) {
        return reached;
    }
    if (tree->GetKind() != Kind::kTreeView) {
        return Refused(std::string(name) + " is not a tree");
    }
    std::vector<int> shown = ShownNodes(*tree);
    auto row = std::find(shown.begin(), shown.end(), node);
    if (row == shown.end()) {
        return Refused(std::string(name) + " does not show node " + std::to_string(node));
    }
    int y = static_cast<int>(row - shown.begin()) * kNodeHeight + kNodeHeight / 2;
    ViewOf(form).SetPointer(*tree, Point{x, y});
    form.SetFocus(*tree);
    UserClick(*tree);
    UserSelectNode(*tree, node);
    CheckModalEnd();
    return {};
}

ActionResult HeadlessDisplay::CloseBox(Form& form) {
    if (ActionResult ready = FormTakesInput(form); !ready) {
        return ready;
    }
    form.Close();
    CheckModalEnd();
    return {};
}

}  // namespace tolva::ui
