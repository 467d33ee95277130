#pragma once
// The pictures of the main window, drawn by the program: the welcome picture, the header logo and
// the four check-state pictures of the component tree.

#include <vector>

#include "ui/picture.h"

namespace tolva::setup {

inline constexpr int kWelcomePictureWidth = 164;
inline constexpr int kWelcomePictureHeight = 298;
inline constexpr int kLogoSize = 40;
inline constexpr int kCheckStateSize = 16;

ui::Picture WelcomePicture();
ui::Picture Logo();
// In check-state order: selected, not selected, fixed, partly selected.
std::vector<ui::Picture> CheckStatePictures();

}  // namespace tolva::setup
