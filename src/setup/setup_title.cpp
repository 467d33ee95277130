#include "setup/setup_title.h"

#include "util/product.h"

namespace tolva::setup {
namespace {

// The product's names are plain ASCII.
std::u16string Widen(const char* text) {
    std::u16string wide;
    for (; *text != '\0'; ++text) {
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
    }
    return wide;
}

}  // namespace

std::u16string MainWindowTitle() {
    return Widen(kProductName) + u" " + Widen(kSetupVersion) + u" Setup";
}

}  // namespace tolva::setup
