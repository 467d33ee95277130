#pragma once
// The service control manager of the machine.

#include "platform/service_manager.h"

namespace tolva::platform {

class Win32ServiceManager : public ServiceManager {
public:
    Status Connect(uint32_t access, std::unique_ptr<ServiceDatabase>& database) override;
};

}  // namespace tolva::platform
