#include "i18n/tree_captions.h"

#include <algorithm>

namespace tolva::i18n {

namespace {

UIString TreeEntry(size_t position) {
    return static_cast<UIString>(MEngine + position);
}

size_t SharedPositions(const ComponentsTreeCaptions& tree) {
    return std::min(tree.NodeCount(), kTreeCaptionCount);
}

}  // namespace

void CaptureTreeCaptions(const ComponentsTreeCaptions& tree, TUIStrings& strings) {
    for (size_t position = 0; position < SharedPositions(tree); ++position) {
        strings[TreeEntry(position)] = tree.NodeCaption(position);
    }
}

void ApplyTreeCaptions(const TUIStrings& strings, ComponentsTreeCaptions& tree) {
    for (size_t position = 0; position < SharedPositions(tree); ++position) {
        tree.SetNodeCaption(position, strings[TreeEntry(position)]);
    }
}

}  // namespace tolva::i18n
