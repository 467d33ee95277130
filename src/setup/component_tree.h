#pragma once
// The component tree of the main window: one node per component and group, each with its
// component key as data and one of four check states shown as its state picture.

#include <cstdint>
#include <string_view>

#include "ui/component.h"

namespace tolva::setup {

enum CheckState : int {
    kSelected = 0,
    kNotSelected = 1,
    kFixed = 2,           // cannot be toggled
    kPartlySelected = 3,  // a group whose children differ
};

// Fills the tree with the components and groups, captions from the UI string table by
// depth-first position, every node selected, fully expanded.
void BuildComponentTree(ui::Component& tree);

// The state of the node with that component key; kNotSelected when there is none.
int ComponentState(const ui::Component& tree, int32_t key);
void SetComponentState(ui::Component& tree, int32_t key, int state);

// The user's toggle of a node: selected and partly selected become not selected, not selected
// becomes selected, fixed stays. The parent is recomputed; a group heading hands its new state to
// its children.
void ToggleComponentNode(ui::Component& tree, int node);

// Every group takes its state from its children: selected when all are selected, not selected
// when none is, partly selected otherwise.
void RecomputeGroups(ui::Component& tree);

// The key of the node whose English caption is the name ("Anti-Spam", "Modules"), letter case
// aside; -1 when there is none. Choices made without the tree name the nodes this way, whatever
// the language of the run.
int32_t ComponentKeyOfName(std::string_view name);
// The English caption of the node with that key; empty when there is none.
std::u16string_view ComponentName(int32_t key);

// Selects or deselects the node with that key as the user's toggle would, so that a group heading
// takes its children with it; a node already in that state, and a fixed one, stay as they are.
void ChooseComponent(ui::Component& tree, int32_t key, bool selected);

}  // namespace tolva::setup
