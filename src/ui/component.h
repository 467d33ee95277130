#pragma once
// One component of a form: a control, a container or a menu item. Every kind keeps the same set of
// properties and uses the ones that mean something for it (items for lists, nodes for trees, ...).
// Setting a property tells the form's renderer; it never fires an event: events come from the
// user's actions only (see user_input.h), so a handler may set properties freely.

#include <functional>
#include <string>
#include <vector>

#include "ui/appearance.h"
#include "ui/component_kind.h"
#include "ui/geometry.h"
#include "ui/picture.h"

namespace tolva::ui {

class Form;

// What changed, as the renderers are told.
enum class Property : uint8_t {
    kText,
    kHint,
    kBounds,
    kVisible,
    kEnabled,
    kChecked,
    kFont,
    kColour,
    kCursor,
    kLayout,  // alignment, word wrap, combo style, bevel, accelerator display
    kItems,
    kItemIndex,
    kItemStates,
    kColumns,
    kNodes,
    kSelectedNode,
    kStatePictures,
    kProgress,
    kPicture,
    kReadOnly,
    kPasswordChar,
    kSelection,
    kDefault,
    kZOrder,
};

struct ListItem {
    std::u16string text;
    bool checked = false;  // check lists
    bool enabled = true;   // check lists
    bool operator==(const ListItem&) const = default;
};

// Tree nodes are kept in depth-first order (a parent before its children); a node's index is its
// position in that order.
struct TreeNode {
    std::u16string text;
    int parent = -1;
    int level = 0;
    int data = 0;           // the caller's key for the node
    int statePicture = -1;  // index into the tree's state pictures, -1 for none
    bool expanded = false;
};

using NotifyHandler = std::function<void(class Component& sender)>;
// The character typed; a handler sets it to 0 to swallow it.
using KeyPressHandler = std::function<void(class Component& sender, char16_t& key)>;

struct ComponentEvents {
    NotifyHandler click;     // buttons, check boxes, labels, list boxes, trees, images
    NotifyHandler dblClick;  // lists and trees
    NotifyHandler change;    // edits, combo boxes, trees (current node), check lists (a tick)
    KeyPressHandler keyPress;
};

struct ComponentSpec {
    std::string className;
    std::string name;
    class Component* parent = nullptr;  // none: the form itself
    Bounds bounds;
    std::u16string text;
    Kind kind = Kind::kLabel;
    bool kindGiven = false;  // set for a class that KindOfClass does not know
};

class Component {
public:
    Component(Form& owner, const ComponentSpec& spec, Kind kind, int tabOrder);
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    Form& Owner() const { return *owner_; }
    const std::string& Name() const { return name_; }
    const std::string& ClassName() const { return className_; }
    Kind GetKind() const { return kind_; }
    Component* Parent() const { return parent_; }
    bool HoldsWideText() const { return ui::HoldsWideText(className_); }

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    const Bounds& GetBounds() const { return bounds_; }
    void SetBounds(const Bounds& bounds);

    // The caption of labels, buttons, boxes and panels; the text of edits, memos and editable
    // combo boxes. Memos separate lines with CR LF.
    // Texts of 8-bit classes (not "TTnt...") pass through the ANSI code page on the way in
    // (Application::TextFor): captions, texts, hints, items, columns and node texts.
    const std::u16string& Text() const { return text_; }
    void SetText(std::u16string text);
    const std::u16string& Hint() const { return hint_; }
    void SetHint(std::u16string hint);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Check boxes and radio buttons. Checking a radio button unchecks the radio buttons that share
    // its parent.
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);

    const FontSpec& Font() const { return font_; }
    void SetFont(const FontSpec& font);
    // Background; kColourDefault shows the parent's.
    Colour GetColour() const { return colour_; }
    void SetColour(Colour colour);
    ui::Cursor GetCursor() const { return cursor_; }
    void SetCursor(ui::Cursor cursor);
    Alignment GetAlignment() const { return alignment_; }
    void SetAlignment(Alignment alignment);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);
    // Labels: "&" marks an accelerator (true), or is shown as it is.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);
    // Labels: the control an accelerator of the caption moves the focus to.
    Component* FocusControl() const { return focusControl_; }
    void SetFocusControl(Component* control) { focusControl_ = control; }

    // Buttons: Enter presses the default button, Esc the cancel button; a modal result closes a
    // modal form with that result when the button is clicked.
    bool IsDefault() const { return default_; }
    void SetDefault(bool isDefault);
    bool IsCancel() const { return cancel_; }
    void SetCancel(bool isCancel) { cancel_ = isCancel; }
    ModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(ModalResult result) { modalResult_ = result; }

    // Edits and memos.
    char16_t PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char16_t character);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    int MaxLength() const { return maxLength_; }  // 0: no limit
    void SetMaxLength(int length) { maxLength_ = length; }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool want) { wantReturns_ = want; }
    int SelStart() const { return selStart_; }
    int SelLength() const { return selLength_; }
    void SetSelection(int start, int length);
    void SelectAll() { SetSelection(0, static_cast<int>(text_.size())); }

    // Combo boxes, list boxes, check lists and list views (rows).
    const std::vector<ListItem>& Items() const { return items_; }
    // Replaces the items; the selection is cleared and every item unchecked and enabled.
    void SetItems(const std::vector<std::u16string>& texts);
    // Each item followed by CR LF.
    std::u16string ItemsText() const;
    // One item per line; lines end at CR LF, CR or LF; a final line break adds no item.
    void SetItemsText(std::u16string_view text);
    int ItemIndex() const { return itemIndex_; }
    // Out-of-range indexes clear the selection. An editable combo box shows the item's text.
    void SetItemIndex(int index);
    void SetItemChecked(int index, bool checked);
    void SetItemEnabled(int index, bool enabled);
    ComboStyle GetComboStyle() const { return comboStyle_; }
    void SetComboStyle(ComboStyle style);
    // List views.
    const std::vector<std::u16string>& Columns() const { return columns_; }
    void SetColumns(std::vector<std::u16string> captions);
    void SetColumnCaption(int index, std::u16string caption);

    // Trees.
    const std::vector<TreeNode>& Nodes() const { return nodes_; }
    // Adds a node as the last child of parent (-1: a root) and returns its index. Nodes after it
    // in depth-first order move up by one.
    int AddNode(int parent, std::u16string text, int data = 0);
    void ClearNodes();
    void SetNodeText(int index, std::u16string text);
    void SetNodeStatePicture(int index, int picture);
    void SetNodeExpanded(int index, bool expanded);
    void FullExpand();
    // The current node, -1 for none.
    int SelectedNode() const { return selectedNode_; }
    void SetSelectedNode(int index);
    // The node's children, in order.
    std::vector<int> NodeChildren(int index) const;
    // The node is shown: every ancestor is expanded.
    bool NodeShown(int index) const;
    int FindNodeByData(int data) const;
    const std::vector<Picture>& StatePictures() const { return statePictures_; }
    void SetStatePictures(std::vector<Picture> pictures);

    // Progress bars.
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int Step() const { return step_; }
    void SetRange(int min, int max);
    void SetPosition(int position);
    void SetStep(int step) { step_ = step; }
    // Advances the position by the step, wrapping to the minimum past the maximum.
    void StepIt();

    // Images: a picture of our own, or one the system draws.
    const Picture& GetPicture() const { return picture_; }
    void SetPicture(Picture picture);
    StockIcon Icon() const { return icon_; }
    void SetIcon(StockIcon icon);
    bool Center() const { return center_; }
    void SetCenter(bool center);

    // Panels and bevels.
    PanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(PanelBevel bevel);
    BevelShape GetBevelShape() const { return bevelShape_; }
    BevelStyle GetBevelStyle() const { return bevelStyle_; }
    void SetBevel(BevelShape shape, BevelStyle style);

    // Position among the siblings in the Tab sequence, and whether Tab stops here at all.
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int order) { tabOrder_ = order; }
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool stop) { tabStop_ = stop; }

    // Moves the component in front of (or behind) its siblings.
    void BringToFront();
    void SendToBack();
    // Larger is further in front among the siblings.
    int ZOrder() const { return zOrder_; }

    ComponentEvents events;

private:
    void Changed(Property property);
    std::u16string Held(std::u16string text) const;
    void UncheckRadioSiblings();

    Form* owner_;
    std::string name_;
    std::string className_;
    Kind kind_;
    Component* parent_;
    int tag_ = 0;
    Bounds bounds_;
    std::u16string text_;
    std::u16string hint_;
    bool visible_ = true;
    bool enabled_ = true;
    bool checked_ = false;
    FontSpec font_;
    Colour colour_ = kColourDefault;
    ui::Cursor cursor_ = ui::Cursor::kDefault;
    Alignment alignment_ = Alignment::kLeft;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    Component* focusControl_ = nullptr;
    bool default_ = false;
    bool cancel_ = false;
    ModalResult modalResult_ = ModalResult::kNone;
    char16_t passwordChar_ = 0;
    bool readOnly_ = false;
    int maxLength_ = 0;
    bool wantReturns_ = true;
    int selStart_ = 0;
    int selLength_ = 0;
    std::vector<ListItem> items_;
    int itemIndex_ = -1;
    ComboStyle comboStyle_ = ComboStyle::kDropDown;
    std::vector<std::u16string> columns_;
    std::vector<TreeNode> nodes_;
    int selectedNode_ = -1;
    std::vector<Picture> statePictures_;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
    Picture picture_;
    StockIcon icon_ = StockIcon::kNone;
    bool center_ = false;
    PanelBevel bevelOuter_ = PanelBevel::kRaised;
    BevelShape bevelShape_ = BevelShape::kBox;
    BevelStyle bevelStyle_ = BevelStyle::kLowered;
    int tabOrder_;
    bool tabStop_;
    int zOrder_;
};

// The text as the user reads it: "&&" becomes "&" and a single "&" (the accelerator mark) goes.
std::u16string DisplayedCaption(std::u16string_view caption);
// Capital letters of the Latin (ASCII and Latin-1), Greek and Cyrillic alphabets in lower case;
// every other character as it is. Accelerators of translated captions ("&Нет") match the letter
// typed whatever its case.
constexpr char16_t FoldCase(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= u'\u00C0' && c <= u'\u00DE' && c != u'\u00D7') ||
        (c >= u'\u0391' && c <= u'\u03AB' && c != u'\u03A2') ||
        (c >= u'\u0410' && c <= u'\u042F')) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= u'\u0400' && c <= u'\u040F') {
        return static_cast<char16_t>(c + 0x50);
    }
    return c;
}
// The accelerator letter of a caption, case-folded (FoldCase); 0 when there is none.
char16_t MnemonicOf(std::u16string_view caption);

}  // namespace tolva::ui
