#pragma once
// COM automation through CoCreateInstance and IDispatch. COM is initialised (single-threaded
// apartment) on a thread at its first use and stays so until the thread ends.

#include "platform/automation.h"

namespace tolva::platform {

class Win32Automation : public Automation {
public:
    Status Create(std::string_view progId, std::unique_ptr<AutomationObject>& object) override;
    Status RegisterServer(std::string_view libraryPath, bool unregister) override;
};

}  // namespace tolva::platform
