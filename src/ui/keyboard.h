#pragma once
// The keyboard rules of a form, the same in every renderer: Tab and Shift+Tab move the focus,
// Enter presses the default button and Esc the cancel button, arrows move between radio buttons,
// accelerators ("&" in captions) act, and typed characters reach the form (key preview) before
// the focused control.

#include "ui/form.h"

namespace tolva::ui {

enum class Key : uint8_t {
    kTab,
    kEnter,
    kEscape,
    kSpace,
    kBackspace,
    kLeft,
    kRight,
    kUp,
    kDown,
    kHome,
    kEnd,
};

// A key the form handles before the focused control. focusedWantsKey: the control uses this key
// itself (a multi-line edit and Enter, an open drop-down list and Esc). Returns true when the key
// was used; the control then never sees it, nor its character.
bool HandleDialogKey(Form& form, Key key, bool shift, bool focusedWantsKey);

// Alt+letter, or a plain letter while the focused control takes no characters: the button, box or
// label whose caption marks that letter acts (a label moves the focus to its focus control, a
// group box to its first control). Returns true when one did.
bool HandleMnemonic(Form& form, char16_t letter, bool alt);

// A typed character: the form's key press handler (with key preview) and then the focused
// control's see it. Returns what is left of it; 0 means swallowed.
char16_t DispatchKeyPress(Form& form, char16_t character);

}  // namespace tolva::ui
