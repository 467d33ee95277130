#pragma once
// The component tree of the main window: one node per component and group, each with its
// component key as data and one of four check states shown as its state picture.

#include <cstdint>

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

}  // namespace tolva::setup
