#pragma once
// Processes of the machine. The process-status library is loaded from the system folder on first
// use, since older systems lack it.

#include "platform/processes.h"
#include "platform/win32/unique_module.h"

namespace tolva::platform {

class Win32Processes : public Processes {
public:
    Status List(std::vector<ProcessInfo>& processes) const override;
    Status Terminate(uint32_t processId, uint32_t exitCode) override;
    Status EnablePrivilege(std::string_view name) override;
    Status Launch(std::string_view file, std::string_view parameters,
                  std::string_view workingFolder, ShowCommand show) override;
    Status LimitToFirstProcessor(bool firstOnly) override;
    Status ClaimInstance(std::string_view name, std::unique_ptr<InstanceClaim>& claim) override;

private:
    mutable UniqueModule statusLibrary_;
    mutable bool statusLibraryTried_ = false;
};

}  // namespace tolva::platform
