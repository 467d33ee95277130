#pragma once
// The order in which Tab moves the keyboard focus through a form.

#include <vector>

#include "ui/form.h"

namespace tolva::ui {

// Every component Tab can reach, in order: the form's components by tab order, a container's
// components in its place. Only visible, enabled components with a tab stop count, and of the
// radio buttons sharing a parent only the checked one (the first when none is checked).
std::vector<Component*> TabSequence(const Form& form);

// The component after (or before) current in the Tab sequence, wrapping at the ends; with no
// current component, the first (or last). nullptr when the sequence is empty.
Component* NextInTabOrder(const Form& form, const Component* current, bool backwards);

}  // namespace tolva::ui
