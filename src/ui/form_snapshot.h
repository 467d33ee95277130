#pragma once
// What a user reads on a form, as text: one line per component that can be seen. Tests compare
// it; the sample program under Wine prints it to show that model and window agree.

#include <string>

#include "ui/form.h"

namespace tolva::ui {

// The text a user reads on the component: captions without accelerator marks, password
// characters instead of the text, a drop-down list's chosen item.
std::u16string ShownText(const Component& component);

// "<kind> <name> ..." per seen component in ownership order, for example
//   button NextButton "Next >" default
//   checkbox LicenseAgree [ ] "I agree with the license agreement" disabled
//   tree ComponentsList
//     [0] "Services and core files" current
// Each line ends with LF.
std::u16string DescribeForm(const Form& form);

}  // namespace tolva::ui
