#include "ui/component.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/form.h"

namespace tolva::ui {
Component::Component(Form& owner, const ComponentSpec& spec, Kind kind, int tabOrder)
    : owner_(&owner),
      name_(spec.name),
      className_(spec.className),
      kind_(kind),
      parent_(spec.parent),
      bounds_(spec.bounds),
      text_(owner.GetApplication().TextFor(spec.text, ui::HoldsWideText(spec.className))),
      tabOrder_(tabOrder),
      tabStop_(TakesFocus(kind)),
      zOrder_(owner.NextZOrder()) {
    if (kind != Kind::kPanel) {
        bevelOuter_ = PanelBevel::kNone;
    }
}

void Component::Changed(Property property) {
    owner_->ComponentChanged(*this, property);
}

void Component::SetBounds(const Bounds& bounds) {
    if (bounds_ != bounds) {
        bounds_ = bounds;
        Changed(Property::kBounds);
    }
}

std::u16string Component::Held(std::u16string text) const {
    return owner_->GetApplication().TextFor(std::move(text), HoldsWideText());
}

void Component::SetText(std::u16string text) {
    text = Held(std::move(text));
    if (text_ == text) {
        return;
    }
    text_ = std::move(text);
    int size = static_cast<int>(text_.size());
    selStart_ = std::min(selStart_, size);
    selLength_ = std::min(selLength_, size - selStart_);
    Changed(Property::kText);
}

void Component::SetHint(std::u16string hint) {
    hint = Held(std::move(hint));
    if (hint_ != hint) {
        hint_ = std::move(hint);
        Changed(Property::kHint);
    }
}

void Component::SetVisible(bool visible) {
    if (visible_ != visible) {
        visible_ = visible;
        Changed(Property::kVisible);
    }
}

void Component::SetEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        Changed(Property::kEnabled);
    }
}

void Component::SetChecked(bool checked) {
    if (checked_ == checked) {
        return;
    }
    checked_ = checked;
    Changed(Property::kChecked);
    if (checked && kind_ == Kind::kRadioButton) {
        UncheckRadioSiblings();
    }
}

void Component::UncheckRadioSiblings() {
    for (Component* sibling : owner_->Children(parent_)) {
        if (sibling != this && sibling->kind_ == Kind::kRadioButton && sibling->checked_) {
            sibling->checked_ = false;
            sibling->Changed(Property::kChecked);
        }
    }
}

void Component::SetFont(const FontSpec& font) {
    if (font_ != font) {
        font_ = font;
        Changed(Property::kFont);
    }
}

void Component::SetColour(Colour colour) {
    if (colour_ != colour) {
        colour_ = colour;
        Changed(Property::kColour);
    }
}

void Component::SetCursor(ui::Cursor cursor) {
    if (cursor_ != cursor) {
        cursor_ = cursor;
        Changed(Property::kCursor);
    }
}

void Component::SetAlignment(Alignment alignment) {
    if (alignment_ != alignment) {
        alignment_ = alignment;
        Changed(Property::kLayout);
    }
}

void Component::SetWordWrap(bool wrap) {
    if (wordWrap_ != wrap) {
        wordWrap_ = wrap;
        Changed(Property::kLayout);
    }
}

void Component::SetShowAccelChar(bool show) {
    if (showAccelChar_ != show) {
        showAccelChar_ = show;
        Changed(Property::kLayout);
    }
}

void Component::SetDefault(bool isDefault) {
    if (default_ != isDefault) {
        default_ = isDefault;
        Changed(Property::kDefault);
    }
}

void Component::SetPasswordChar(char16_t character) {
    if (passwordChar_ != character) {
        passwordChar_ = character;
        Changed(Property::kPasswordChar);
    }
}

void Component::SetReadOnly(bool readOnly) {
    if (readOnly_ != readOnly) {
        readOnly_ = readOnly;
        Changed(Property::kReadOnly);
    }
}

void Component::SetSelection(int start, int length) {
    int size = static_cast<int>(text_.size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    if (selStart_ != start || selLength_ != length) {
        selStart_ = start;
        selLength_ = length;
        Changed(Property::kSelection);
    }
}

void Component::SetItems(const std::vector<std::u16string>& texts) {
    items_.clear();
    for (const auto& text : texts) {
        items_.push_back(ListItem{Held(text)});
    }
    itemIndex_ = -1;
    Changed(Property::kItems);
}

std::u16string Component::ItemsText() const {
    std::u16string text;
    for (const auto& item : items_) {
        text += item.text;
        text += u"\r\n";
    }
    return text;
}

void Component::SetItemsText(std::u16string_view text) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == u'\r' && start < text.size() && text[start] == u'\n') {
            ++start;
        }
    }
    SetItems(lines);
}

void Component::SetItemIndex(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        index = -1;
    }
    if (itemIndex_ == index) {
        return;
    }
    itemIndex_ = index;
    if (kind_ == Kind::kComboBox && comboStyle_ == ComboStyle::kDropDown && index >= 0) {
        text_ = items_[static_cast<size_t>(index)].text;
    }
    Changed(Property::kItemIndex);
}

void Component::SetItemChecked(int index, bool checked) {
    if (index >= 0 && index < static_cast<int>(items_.size()) &&
        items_[static_cast<size_t>(index)].checked != checked) {
        items_[static_cast<size_t>(index)].checked = checked;
        Changed(Property::kItemStates);
    }
}

void Component::SetItemEnabled(int index, bool enabled) {
    if (index >= 0 && index < static_cast<int>(items_.size()) &&
        items_[static_cast<size_t>(index)].enabled != enabled) {
        items_[static_cast<size_t>(index)].enabled = enabled;
        Changed(Property::kItemStates);
    }
}

void Component::SetComboStyle(ComboStyle style) {
    if (comboStyle_ != style) {
        comboStyle_ = style;
        Changed(Property::kLayout);
    }
}

void Component::SetColumns(std::vector<std::u16string> captions) {
    for (auto& caption : captions) {
        caption = Held(std::move(caption));
    }
    columns_ = std::move(captions);
    Changed(Property::kColumns);
}

void Component::SetColumnCaption(int index, std::u16string caption) {
    caption = Held(std::move(caption));
    if (index >= 0 && index < static_cast<int>(columns_.size()) &&
        columns_[static_cast<size_t>(index)] != caption) {
        columns_[static_cast<size_t>(index)] = std::move(caption);
        Changed(Property::kColumns);
    }
}

int Component::AddNode(int parent, std::u16string text, int data) {
    int count = static_cast<int>(nodes_.size());
    if (parent < -1 || parent >= count) {
        parent = -1;
    }
    // The new node goes after the parent's last descendant, which keeps depth-first order.
    int position = count;
    int level = 0;
    if (parent >= 0) {
        level = nodes_[static_cast<size_t>(parent)].level + 1;
        position = parent + 1;
        while (position < count && nodes_[static_cast<size_t>(position)].level >= level) {
            ++position;
        }
    }
    for (auto& node : nodes_) {
        if (node.parent >= position) {
            ++node.parent;
        }
    }
    if (selectedNode_ >= position) {
        ++selectedNode_;
    }
    TreeNode node;
    node.text = Held(std::move(text));
    node.parent = parent;
    node.level = level;
    node.data = data;
    nodes_.insert(nodes_.begin() + position, std::move(node));
    Changed(Property::kNodes);
    return position;
}

void Component::ClearNodes() {
    nodes_.clear();
    selectedNode_ = -1;
    Changed(Property::kNodes);
}

void Component::SetNodeText(int index, std::u16string text) {
    text = Held(std::move(text));
    if (index >= 0 && index < static_cast<int>(nodes_.size()) &&
        nodes_[static_cast<size_t>(index)].text != text) {
        nodes_[static_cast<size_t>(index)].text = std::move(text);
        Changed(Property::kNodes);
    }
}

void Component::SetNodeStatePicture(int index, int picture) {
    if (index >= 0 && index < static_cast<int>(nodes_.size()) &&
        nodes_[static_cast<size_t>(index)].statePicture != picture) {
        nodes_[static_cast<size_t>(index)].statePicture = picture;
        Changed(Property::kNodes);
    }
}

void Component::SetNodeExpanded(int index, bool expanded) {
    if (index >= 0 && index < static_cast<int>(nodes_.size()) &&
        nodes_[static_cast<size_t>(index)].expanded != expanded) {
        nodes_[static_cast<size_t>(index)].expanded = expanded;
        Changed(Property::kNodes);
    }
}

void Component::FullExpand() {
    bool changed = false;
    for (auto& node : nodes_) {
        changed = changed || !node.expanded;
        node.expanded = true;
    }
    if (changed) {
        Changed(Property::kNodes);
    }
}

void Component::SetSelectedNode(int index) {
    if (index < 0 || index >= static_cast<int>(nodes_.size())) {
        index = -1;
    }
    if (selectedNode_ != index) {
        selectedNode_ = index;
        Changed(Property::kSelectedNode);
    }
}

std::vector<int> Component::NodeChildren(int index) const {
    std::vector<int> children;
    for (int i = 0; i < static_cast<int>(nodes_.size()); ++i) {
        if (nodes_[static_cast<size_t>(i)].parent == index) {
            children.push_back(i);
        }
    }
    return children;
}

bool Component::NodeShown(int index) const {
    if (index < 0 || index >= static_cast<int>(nodes_.size())) {
        return false;
    }
    for (int parent = nodes_[static_cast<size_t>(index)].parent; parent >= 0;
         parent = nodes_[static_cast<size_t>(parent)].parent) {
        if (!nodes_[static_cast<size_t>(parent)].expanded) {
            return false;
        }
    }
    return true;
}

int Component::FindNodeByData(int data) const {
    for (int i = 0; i < static_cast<int>(nodes_.size()); ++i) {
        if (nodes_[static_cast<size_t>(i)].data == data) {
            return i;
        }
    }
    return -1;
}

void Component::SetStatePictures(std::vector<Picture> pictures) {
    statePictures_ = std::move(pictures);
    Changed(Property::kStatePictures);
}

void Component::SetRange(int min, int max) {
    if (max < min) {
        max = min;
    }
    if (min_ != min || max_ != max) {
        min_ = min;
        max_ = max;
        position_ = std::clamp(position_, min_, max_);
        Changed(Property::kProgress);
    }
}

void Component::SetPosition(int position) {
    position = std::clamp(position, min_, max_);
    if (position_ != position) {
        position_ = position;
        Changed(Property::kProgress);
    }
}

void Component::StepIt() {
    int next = position_ + step_;
    if (next > max_) {
        next = min_ + (next - max_);
    }
    SetPosition(next);
}

void Component::SetPicture(Picture picture) {
    picture_ = std::move(picture);
    Changed(Property::kPicture);
}

void Component::SetIcon(StockIcon icon) {
    if (icon_ != icon) {
        icon_ = icon;
        Changed(Property::kPicture);
    }
}

void Component::SetCenter(bool center) {
    if (center_ != center) {
        center_ = center;
        Changed(Property::kPicture);
    }
}

void Component::SetBevelOuter(PanelBevel bevel) {
    if (bevelOuter_ != bevel) {
        bevelOuter_ = bevel;
        Changed(Property::kLayout);
    }
}

void Component::SetBevel(BevelShape shape, BevelStyle style) {
    if (bevelShape_ != shape || bevelStyle_ != style) {
        bevelShape_ = shape;
        bevelStyle_ = style;
        Changed(Property::kLayout);
    }
}

void Component::BringToFront() {
    zOrder_ = owner_->NextZOrder();
    Changed(Property::kZOrder);
}

void Component::SendToBack() {
    zOrder_ = owner_->LowestZOrder();
    Changed(Property::kZOrder);
}

std::u16string DisplayedCaption(std::u16string_view caption) {
    std::u16string shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 < caption.size() && caption[i + 1] == u'&') {
                shown.push_back(u'&');
                ++i;
            }
            continue;
        }
        shown.push_back(caption[i]);
    }
    return shown;
}

char16_t MnemonicOf(std::u16string_view caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') {
            continue;
        }
        if (caption[i + 1] == u'&') {
            ++i;
            continue;
        }
        return FoldCase(caption[i + 1]);
    }
    return 0;
}

}  // namespace tolva::ui
