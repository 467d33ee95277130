#include "setup/component_tree.h"

#include <array>

#include "i18n/ui_strings.h"
#include "setup/package_table.h"
#include "util/text.h"
#include "util/utf8.h"

namespace tolva::setup {
namespace {

namespace key = component_key;

struct Entry {
    int32_t key;
    int32_t group;  // -1: a root
};

// Depth-first, a group before its children; the position selects the caption.
constexpr std::array<Entry, 15> kTree = {{
    {key::kServicesAndCoreFiles, -1},
    {key::kAdministrationGroup, -1},
    {key::kAdministrationInterface, key::kAdministrationGroup},
    {key::kDesktopIcon, key::kAdministrationGroup},
    {key::kQuickLaunchIcon, key::kAdministrationGroup},
    {key::kModulesGroup, -1},
    {key::kWebmail, key::kModulesGroup},
    {key::kAntiSpam, key::kModulesGroup},
    {key::kAntiVirus, key::kModulesGroup},
    {key::kGroupWare, key::kModulesGroup},
    {key::kInstantMessaging, key::kModulesGroup},
    {key::kLdap, key::kModulesGroup},
    {key::kAddOnsGroup, -1},
    {key::kASpell, key::kAddOnsGroup},
    {key::kWizards, key::kAddOnsGroup},
}};
static_assert(kTree.size() == i18n::kTreeCaptionCount);

bool IsGroupHeading(int32_t key) {
    return key == key::kAdministrationGroup || key == key::kModulesGroup ||
           key == key::kAddOnsGroup;
}

void Recompute(ui::Component& tree, int group) {
    bool allSelected = true;
    bool noneSelected = true;
    for (int child : tree.NodeChildren(group)) {
        const int state = tree.Nodes()[static_cast<size_t>(child)].statePicture;
        allSelected = allSelected && state == kSelected;
        noneSelected = noneSelected && state == kNotSelected;
    }
    tree.SetNodeStatePicture(group, allSelected    ? kSelected
                                    : noneSelected ? kNotSelected
                                                   : kPartlySelected);
}

}  // namespace

void BuildComponentTree(ui::Component& tree) {
    tree.ClearNodes();
    for (size_t position = 0; position < kTree.size(); ++position) {
        const Entry& entry = kTree[position];
        const int parent = entry.group < 0 ? -1 : tree.FindNodeByData(entry.group);
        const auto caption = static_cast<i18n::UIString>(i18n::MEngine + position);
        const int node = tree.AddNode(parent, i18n::Text(caption), entry.key);
        tree.SetNodeStatePicture(node, kSelected);
    }
    tree.FullExpand();
}

int ComponentState(const ui::Component& tree, int32_t key) {
    const int node = tree.FindNodeByData(key);
    return node < 0 ? kNotSelected : tree.Nodes()[static_cast<size_t>(node)].statePicture;
}

void SetComponentState(ui::Component& tree, int32_t key, int state) {
    const int node = tree.FindNodeByData(key);
    if (node >= 0) {
        tree.SetNodeStatePicture(node, state);
    }
}

void ToggleComponentNode(ui::Component& tree, int node) {
    if (node < 0 || static_cast<size_t>(node) >= tree.Nodes().size()) {
        return;
    }
    const ui::TreeNode& current = tree.Nodes()[static_cast<size_t>(node)];
    switch (current.statePicture) {
        case kSelected:
        case kPartlySelected:
            tree.SetNodeStatePicture(node, kNotSelected);
            break;
        case kNotSelected:
            tree.SetNodeStatePicture(node, kSelected);
            break;
        default:
            return;
    }
    const ui::TreeNode& toggled = tree.Nodes()[static_cast<size_t>(node)];
    if (toggled.parent >= 0) {
        Recompute(tree, toggled.parent);
    }
    if (IsGroupHeading(toggled.data)) {
        const int state = toggled.statePicture;
        for (int child : tree.NodeChildren(node)) {
            // A fixed component keeps its state whatever its group does.
            if (tree.Nodes()[static_cast<size_t>(child)].statePicture != kFixed) {
                tree.SetNodeStatePicture(child, state);
            }
        }
    }
}

void RecomputeGroups(ui::Component& tree) {
    for (size_t node = 0; node < tree.Nodes().size(); ++node) {
        if (!tree.NodeChildren(static_cast<int>(node)).empty()) {
            Recompute(tree, static_cast<int>(node));
        }
    }
}

int32_t ComponentKeyOfName(std::string_view name) {
    for (size_t position = 0; position < kTree.size(); ++position) {
        if (util::SameText(name, util::WideToUTF8(ComponentName(kTree[position].key)))) {
            return kTree[position].key;
        }
    }
    return -1;
}

std::u16string_view ComponentName(int32_t key) {
    for (size_t position = 0; position < kTree.size(); ++position) {
        if (kTree[position].key == key) {
            return i18n::UIStringDefault(static_cast<i18n::UIString>(i18n::MEngine + position));
        }
    }
    return {};
}

void ChooseComponent(ui::Component& tree, int32_t key, bool selected) {
    const int node = tree.FindNodeByData(key);
    if (node < 0) {
        return;
    }
    const int state = tree.Nodes()[static_cast<size_t>(node)].statePicture;
    const bool toggle = selected ? state == kNotSelected || state == kPartlySelected
                                 : state == kSelected || state == kPartlySelected;
    if (toggle && state == kPartlySelected && selected) {
        // A partly selected group goes to not selected first, as a click on it would.
        ToggleComponentNode(tree, node);
    }
    if (toggle) {
        ToggleComponentNode(tree, node);
    }
    RecomputeGroups(tree);
}

}  // namespace tolva::setup
