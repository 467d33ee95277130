#pragma once
// COM automation: objects created by ProgID and methods called by name (IDispatch).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/status.h"

namespace tolva::platform {

// An argument or result: empty, a 32-bit integer, a boolean or a string (UTF-16, as BSTR).
using AutomationValue = std::variant<std::monostate, int32_t, bool, std::u16string>;

class AutomationObject {
public:
    virtual ~AutomationObject() = default;
    virtual Status Call(std::string_view method, const std::vector<AutomationValue>& arguments,
                        AutomationValue& result) = 0;
};

class Automation {
public:
    virtual ~Automation() = default;
    virtual Status Create(std::string_view progId, std::unique_ptr<AutomationObject>& object) = 0;
    // Runs the library's DllRegisterServer or DllUnregisterServer.
    virtual Status RegisterServer(std::string_view libraryPath, bool unregister) = 0;
};

}  // namespace tolva::platform
