#pragma once
// The service steps of the install sequence: saving the start types of an upgrade, stopping the
// running programs, creating and starting the services, checking that they came up and restoring
// the start types. They run in this order, with other steps between them.

#include <array>
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "upgrade/service_table.h"
#include "winsys/service_control.h"

namespace tolva::winsys {

// The fields of the setup state these steps read, and the two they write.
struct ServiceSetup {
    std::string installFolder;  // with a trailing backslash
    bool isUpgrade = false;
    bool noInstallIM = false;
    bool noInstallCalendar = false;
    std::string oldVersion;  // empty on a first installation
    // Cleared once the services have been moved to the installation folder.
    std::string previousInstallDir;
    // One saved start type per service index; kUnknownStartType: not saved.
    std::array<int32_t, upgrade::kServiceCount> serviceStartTypes = {
        kUnknownStartType, kUnknownStartType, kUnknownStartType, kUnknownStartType,
        kUnknownStartType};
};

class ServiceInstall {
public:
    // The pause after the stop pass and after the system SMTP service was moved aside.
    static constexpr uint32_t kSettleMs = 1500;
    // Older versions had the groupware program under another name and no cal.exe.
    static constexpr char kCalendarRenamedIn[] = "8.1.7";

    // setup is the run's setup state; it must outlive this object. The installation folder is
    // taken from it now.
    ServiceInstall(const platform::Platform& platform, ServiceControlWindow& window,
                   ServiceSetup& setup, const i18n::TUIStrings& strings = i18n::UIStrings());

    ServiceControl& Control() { return control_; }

    // Upgrade in service mode: saves each service's start type and switches a disabled one to
    // automatic start for now. Otherwise every saved type becomes kUnknownStartType.
    void SaveStartTypes();
    // True when every program was found stopped. Also decides which services must be created.
    bool StopRunningServices();
    void InstallAndStartServices();
    // Moves a running system SMTP service aside and warns of the programs that do not run.
    void CheckStartedServices();
    // Upgrade in service mode: the saved start types are written back, but for the programs left
    // out of the installation, whose services were removed. An installation that ends early
    // passes leftOutToo: their services may still be there, switched to automatic start.
    void RestoreStartTypes(bool leftOutToo = false);

private:
    // Whether the program at index is left out of this installation.
    bool Excluded(int index) const;
    bool OldVersionBelow(const char* version) const;
    // The suite's SMTP service is there but does not run, and the system's own one runs.
    bool SystemSmtpBlocks() const;
    // Stops the program when it runs; the last state read counts as stopped or not.
    bool StopProgram(int index);
    bool IsActive(const upgrade::ProgramState& state) const;
    void DeleteLeftOutServices();

    const platform::Platform& platform_;
    ServiceControlWindow& window_;
    ServiceSetup& setup_;
    const i18n::TUIStrings& strings_;
    ServiceControl control_;
    // Per service index: the service has to be created.
    std::array<bool, upgrade::kServiceCount> create_ = {true, true, true, true, true};
};

}  // namespace tolva::winsys
