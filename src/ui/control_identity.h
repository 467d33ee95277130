#pragma once
// How a test driver in another process finds the controls of our windows and learns that the
// program has taken its input. The Win32 renderer keeps these; tests/wine/driver reads them.
//
// - Every control window carries the window property kComponentProperty: a global atom whose
//   name is the component's name. Form windows carry kFormProperty, the atom of the form's name;
//   their window class is the form's class name ("TMainForm").
// - A control whose text does not fit its bounds in its font carries kClippedProperty (1).
// - Posting the registered message kSyncMessage with a number to a form window makes the form
//   set its property kSyncedProperty to that number once every message posted before it has
//   run (or while a modal loop or message box is waiting for the user).

namespace tolva::ui {

inline constexpr char16_t kComponentProperty[] = u"TolvaComponent";
inline constexpr char16_t kFormProperty[] = u"TolvaForm";
inline constexpr char16_t kClippedProperty[] = u"TolvaClipped";
inline constexpr char16_t kSyncMessage[] = u"TolvaUiSync";
inline constexpr char16_t kSyncedProperty[] = u"TolvaUiSynced";

}  // namespace tolva::ui
