#pragma once
// The fifteen tree entries of the UI string table (MEngine ... MAddOns) and the components tree of
// the main window. An entry belongs to a node by the node's depth-first position (a parent before
// its children), not by what the node is.

#include <cstddef>
#include <string>
#include <string_view>

#include "i18n/ui_strings.h"

namespace tolva::i18n {

// The components tree as a list of node captions in depth-first order.
class ComponentsTreeCaptions {
public:
    virtual ~ComponentsTreeCaptions() = default;
    virtual size_t NodeCount() const = 0;
    virtual std::u16string NodeCaption(size_t position) const = 0;
    virtual void SetNodeCaption(size_t position, std::u16string_view caption) = 0;
};

// Each tree entry takes the caption of the node at its position; entries beyond the tree's nodes
// keep their values.
void CaptureTreeCaptions(const ComponentsTreeCaptions& tree, TUIStrings& strings);
// The node at each position 0 to 14 takes its tree entry; further nodes are left alone.
void ApplyTreeCaptions(const TUIStrings& strings, ComponentsTreeCaptions& tree);

}  // namespace tolva::i18n
