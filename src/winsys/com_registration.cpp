#include "winsys/com_registration.h"

namespace tolva::winsys {

bool RegisterComServer(platform::Automation& automation, std::string_view path) {
    return automation.RegisterServer(path, false).ok();
}

bool UnregisterComServer(platform::Automation& automation, std::string_view path) {
    return automation.RegisterServer(path, true).ok();
}

}  // namespace tolva::winsys
