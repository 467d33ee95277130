#pragma once
// A form: a window of the program described as a model. It owns its components in ownership
// (creation) order; a subclass named like the window's class (TMainForm, TODBCForm, ...) builds
// them in its constructor and owns the event handlers, named after their controls and bound with
// Bind():
//
//     class TSampleForm : public ui::Form {
//     public:
//         explicit TSampleForm(ui::Application& application)
//             : Form(application, "TSampleForm", "SampleForm") {
//             auto& ok = Add({.className = "TTntButton", .name = "OKButton",
//                             .bounds = {8, 8, 75, 25}, .text = u"&OK"});
//             Bind(ok.events.click, &TSampleForm::OKButtonClick);
//             Bind(events.show, &TSampleForm::FormShow);
//         }
//         void OKButtonClick(ui::Component& sender);
//         void FormShow(ui::Form& sender);
//     };
//
// A form is shown modelessly with Show() (the main window) or modally with ShowModal(), which
// returns once a button with a modal result, SetModalResult() or Close() ends it and the close
// query agrees.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/appearance.h"
#include "ui/component.h"
#include "ui/form_observer.h"

namespace tolva::ui {

class Application;

using FormNotifyHandler = std::function<void(class Form& sender)>;
using FormKeyPressHandler = std::function<void(class Form& sender, char16_t& key)>;
// canClose starts true; a handler sets it false to keep the form open.
using CloseQueryHandler = std::function<void(class Form& sender, bool& canClose)>;

struct FormEvents {
    FormNotifyHandler show;   // each time the form becomes visible
    FormNotifyHandler close;  // the form closes (after the close query agreed)
    CloseQueryHandler closeQuery;
    // With key preview on, every character typed in the form comes here before the control.
    FormKeyPressHandler keyPress;
};

class Form {
public:
    // The form joins the application's forms (creation order) and leaves them when destroyed.
    Form(Application& application, std::string className, std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Application& GetApplication() const { return *application_; }
    const std::string& ClassName() const { return className_; }
    const std::string& Name() const { return name_; }

    // Adds a component. A class that KindOfClass does not know needs spec.kind (kindGiven);
    // names must be unique within the form. Both are the program's own promises: breaking
    // one stops the program.
    Component& Add(const ComponentSpec& spec);
    // First component owned by the form with exactly that name.
    Component* Find(std::string_view name) const;
    // Every component, in ownership order.
    const std::vector<std::unique_ptr<Component>>& Components() const { return components_; }
    // The components placed directly on parent (nullptr: the form), from the back to the front.
    std::vector<Component*> Children(const Component* parent) const;

    const std::u16string& Caption() const { return caption_; }
    void SetCaption(std::u16string caption);
    // Forms whose texts are kept in UTF-16 ("Unicode forms"); others hold 8-bit captions, which
    // pass through the ANSI code page (Application::TextFor).
    bool UnicodeTexts() const { return unicodeTexts_; }
    void SetUnicodeTexts(bool unicode) { unicodeTexts_ = unicode; }
    // Name and size of the form's font: every component without a font of its own uses it.
    const std::u16string& FontName() const { return fontName_; }
    int FontSize() const { return fontSize_; }
    void SetFont(std::u16string name, int size);
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    void SetClientSize(int width, int height);
    Colour GetColour() const { return colour_; }
    void SetColour(Colour colour);
    ui::BorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(ui::BorderStyle style) { borderStyle_ = style; }
    FormPosition Position() const { return position_; }
    void SetPosition(FormPosition position) { position_ = position; }
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool preview) { keyPreview_ = preview; }
    bool ShowHints() const { return showHints_; }
    void SetShowHints(bool show) { showHints_ = show; }

    // The font a component is drawn with: its own settings over the parents' and the form's.
    FontSpec EffectiveFont(const Component& component) const;
    // The background behind a component: the nearest colour set on it or its parents.
    Colour EffectiveColour(const Component& component) const;

    bool Showing() const { return showing_; }
    bool IsModal() const { return modal_; }
    ModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(ModalResult result) { modalResult_ = result; }

    // The component with the keyboard focus, or nullptr.
    Component* ActiveControl() const { return activeControl_; }
    // Moves the focus to a component the user could focus (visible, enabled, focusable);
    // returns false and changes nothing otherwise.
    bool SetFocus(Component& component);
    // The first component of the Tab sequence gets the focus; false when there is none.
    bool FocusFirst();

    void Show();
    void Hide();
    ModalResult ShowModal();
    // A modal form ends with kCancel; a modeless one closes when the close query agrees, and the
    // main form's closing ends the application's message loop.
    void Close();
    // Runs the close query; true when the form may close.
    bool CloseQuery();

    // Pointer position of the user's last mouse action on a component (its client pixels).
    Point PointerPosition(const Component& component) const;
    // The tree node shown at a point of a tree, -1 for none.
    int NodeAt(const Component& tree, Point point) const;

    FormEvents events;

    template <typename Derived>
    void Bind(NotifyHandler& event, void (Derived::*handler)(Component&)) {
        auto* self = static_cast<Derived*>(this);
        event = [self, handler](Component& sender) { (self->*handler)(sender); };
    }
    template <typename Derived>
    void Bind(KeyPressHandler& event, void (Derived::*handler)(Component&, char16_t&)) {
        auto* self = static_cast<Derived*>(this);
        event = [self, handler](Component& sender, char16_t& key) {
            (self->*handler)(sender, key);
        };
    }
    template <typename Derived>
    void Bind(FormNotifyHandler& event, void (Derived::*handler)(Form&)) {
        auto* self = static_cast<Derived*>(this);
        event = [self, handler](Form& sender) { (self->*handler)(sender); };
    }
    template <typename Derived>
    void Bind(FormKeyPressHandler& event, void (Derived::*handler)(Form&, char16_t&)) {
        auto* self = static_cast<Derived*>(this);
        event = [self, handler](Form& sender, char16_t& key) { (self->*handler)(sender, key); };
    }
    template <typename Derived>
    void Bind(CloseQueryHandler& event, void (Derived::*handler)(Form&, bool&)) {
        auto* self = static_cast<Derived*>(this);
        event = [self, handler](Form& sender, bool& canClose) {
            (self->*handler)(sender, canClose);
        };
    }

    // For renderers.
    FormObserver* Observer() const { return observer_; }
    void SetObserver(FormObserver* observer) { observer_ = observer; }
    void SetShowing(bool showing) { showing_ = showing; }
    void SetModal(bool modal) { modal_ = modal; }
    // Records the focus the user moved; no renderer is told.
    void NoteFocus(Component* component) { activeControl_ = component; }
    void ComponentChanged(Component& component, Property property);
    int NextZOrder() { return ++frontZ_; }
    int LowestZOrder() { return --backZ_; }

private:
    void Changed(FormProperty property);

    Application* application_;
    std::string className_;
    std::string name_;
    std::vector<std::unique_ptr<Component>> components_;
    std::u16string caption_;
    bool unicodeTexts_ = true;
    std::u16string fontName_ = u"Tahoma";
    int fontSize_ = 8;
    int clientWidth_ = 320;
    int clientHeight_ = 240;
    Colour colour_ = kColourButtonFace;
    ui::BorderStyle borderStyle_ = ui::BorderStyle::kDialog;
    FormPosition position_ = FormPosition::kScreenCenter;
    bool keyPreview_ = false;
    bool showHints_ = true;
    bool showing_ = false;
    bool modal_ = false;
    ModalResult modalResult_ = ModalResult::kNone;
    Component* activeControl_ = nullptr;
    FormObserver* observer_ = nullptr;
    int frontZ_ = 0;
    int backZ_ = 0;
};

}  // namespace tolva::ui
