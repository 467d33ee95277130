#pragma once
// The window of one form: the top-level frame, a window per component, and the traffic between
// them and the model in both directions.

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/win32/unique_window.h"
#include "ui/form.h"
#include "ui/win32/control_window.h"
#include "ui/win32/gdi_resources.h"

namespace tolva::ui {

class Win32Display;

class FormWindow : public FormObserver {
public:
    FormWindow(Win32Display& display, Form& form);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Makes the window and its controls; owner may be null.
    bool Create(HWND owner);
    HWND Handle() const { return window_.Get(); }
    Form& GetForm() const { return *form_; }

    // The component a window of this form belongs to (controls inside a combo box count as the
    // combo box); nullptr for the form itself and foreign windows.
    Component* ComponentOf(HWND window) const;
    HWND WindowOf(const Component& component) const;
    // A mouse button went down at point (client pixels of window).
    void NotePointer(HWND window, POINT point);
    // The focused control uses this key itself (an open drop-down list and Enter or Esc, a list
    // and the arrows, an edit and its caret keys).
    bool ControlWantsKey(HWND window, UINT virtualKey) const;

    void ComponentChanged(Component& component, Property property) override;
    void FormChanged(FormProperty property) override;
    void FocusChanged(Component* component) override;
    Point PointerPosition(const Component& component) const override;
    int NodeAt(const Component& tree, Point point) const override;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Command(HWND control, UINT code);
    LRESULT Notify(const NMHDR& header, LPARAM lParam);
    LRESULT ControlColour(HDC dc, HWND control);
    bool SetCursorFor(HWND window);
    void PaintContainer(HWND window, const Component& component);
    void PaintImage(HWND window, const ControlWindow& image);
    void CreateControl(Component& component);
    void Recreate(Component& component);
    void Restack(const Component* parent);
    void UpdateHint(const Component& component);
    void CheckTextFits(const ControlWindow& control);
    void Cascade(const Component& parent, Property property);
    ControlWindow* ControlOf(const Component& component) const;

    Win32Display* display_;
    Form* form_;
    platform::UniqueWindow window_;
    platform::UniqueWindow tooltip_;
    std::vector<std::unique_ptr<ControlWindow>> controls_;
    std::map<const Component*, ControlWindow*> byComponent_;
    std::map<HWND, ControlWindow*> byWindow_;
    std::vector<ATOM> atoms_;
    // Changes we make to the windows must not come back as the user's actions.
    int updating_ = 0;
    HWND pointerWindow_ = nullptr;
    POINT pointer_ = {};
};

}  // namespace tolva::ui
