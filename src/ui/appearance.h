#pragma once
// How components look: colours, fonts, cursors and the style choices of the component kinds.

#include <cstdint>
#include <string>

namespace tolva::ui {

// 0x00BBGGRR, or a system colour 0x800000nn (nn: the system's colour index), or kColourDefault.
using Colour = uint32_t;

// A component's own default: the parent's background, or the control's usual text colour.
inline constexpr Colour kColourDefault = 0x1FFFFFFF;
inline constexpr Colour kColourWindow = 0x80000005;
inline constexpr Colour kColourWindowText = 0x80000008;
inline constexpr Colour kColourButtonFace = 0x8000000F;
inline constexpr Colour kColourGrayText = 0x80000011;

constexpr Colour Rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 |
           static_cast<Colour>(blue) << 16;
}
inline constexpr Colour kColourBlack = Rgb(0, 0, 0);
inline constexpr Colour kColourWhite = Rgb(255, 255, 255);
inline constexpr Colour kColourBlue = Rgb(0, 0, 255);
inline constexpr Colour kColourNavy = Rgb(0, 0, 128);

constexpr bool IsSystemColour(Colour colour) {
    return (colour & 0xFF000000) == 0x80000000;
}

// Empty name and size 0 take the parent's (in the end the form's) font.
struct FontSpec {
    std::u16string name;
    int size = 0;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Colour colour = kColourDefault;

    bool operator==(const FontSpec&) const = default;
};

enum class Cursor : uint8_t { kDefault, kArrow, kHandPoint, kHourGlass, kIBeam };

enum class Alignment : uint8_t { kLeft, kCenter, kRight };

// TComboBox: an editable field with a list, or a list without free text.
enum class ComboStyle : uint8_t { kDropDown, kDropDownList };

// TBevel: the lines drawn and whether they look pressed in or raised.
enum class BevelShape : uint8_t { kBox, kFrame, kTopLine, kBottomLine, kLeftLine, kRightLine };
enum class BevelStyle : uint8_t { kLowered, kRaised };

// TPanel's outer edge.
enum class PanelBevel : uint8_t { kNone, kLowered, kRaised };

// Pictures the system draws (TImage showing an icon).
enum class StockIcon : uint8_t { kNone, kApplication, kInformation, kQuestion, kWarning, kError };

// The result a modal form closes with; the values of the system's dialog results.
enum class ModalResult : uint8_t {
    kNone = 0,
    kOk = 1,
    kCancel = 2,
    kAbort = 3,
    kRetry = 4,
    kIgnore = 5,
    kYes = 6,
    kNo = 7
};

// A form's frame. None of them can be resized by the user.
enum class BorderStyle : uint8_t {
    kSingle,      // caption, system menu and minimize box: a main window
    kDialog,      // caption and system menu, dialog frame
    kToolWindow,  // small caption with a close box
};

enum class FormPosition : uint8_t { kScreenCenter, kOwnerCenter, kDesigned };

}  // namespace tolva::ui
