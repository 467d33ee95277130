#include "winsys/service_install.h"

#include "util/text.h"
#include "util/version.h"
#include "winsys/com_registration.h"

namespace tolva::winsys {

using platform::ServiceState;
using upgrade::RunMode;
using upgrade::ServiceRowAt;

namespace {

// The order in which programs are stopped: the control program first.
constexpr int kStopOrder[] = {upgrade::kControlService, upgrade::kSmtpService,
                              upgrade::kPop3Service, upgrade::kImService,
                              upgrade::kGroupWareService};

constexpr int32_t kDisabled = static_cast<int32_t>(platform::ServiceStartType::kDisabled);
constexpr int32_t kAutomatic = static_cast<int32_t>(platform::ServiceStartType::kAutomatic);

// The same folder, whatever the case of its letters and whether it ends in a backslash.
bool SameFolder(std::string_view a, std::string_view b) {
    while (!a.empty() && a.back() == '\\') {
        a.remove_suffix(1);
    }
    while (!b.empty() && b.back() == '\\') {
        b.remove_suffix(1);
    }
    return util::SameText(a, b);
}

}  // namespace

ServiceInstall::ServiceInstall(const platform::Platform& platform, ServiceControlWindow& window,
                               ServiceSetup& setup, const i18n::TUIStrings& strings)
    : platform_(platform),
      window_(window),
      setup_(setup),
      strings_(strings),
      control_(platform, window, setup.installFolder, strings) {}

void ServiceInstall::SaveStartTypes() {
    setup_.serviceStartTypes.fill(kUnknownStartType);
    if (!setup_.isUpgrade || control_.Mode() != RunMode::kService) {
        return;
    }
    for (int index = 0; index < upgrade::kServiceCount; ++index) {
        const char* name = ServiceRowAt(index)->serviceName;
        int32_t type = control_.ExchangeStartType(name, false, kUnknownStartType);
        setup_.serviceStartTypes[static_cast<size_t>(index)] = type;
        if (type == kDisabled) {
            (void)control_.ExchangeStartType(name, true, kAutomatic);
        }
    }
}

bool ServiceInstall::StopRunningServices() {
    window_.ShowProgressText(strings_[i18n::cChecking]);
    bool allStopped = true;
    create_.fill(true);
    for (int index : kStopOrder) {
        if (!StopProgram(index)) {
            allStopped = false;
        }
    }
    window_.ProcessPendingMessages();
    platform_.system->SleepFor(kSettleMs);
    if (control_.Mode() != RunMode::kService) {
        return allStopped;
    }
    DeleteLeftOutServices();
    if (!setup_.previousInstallDir.empty() &&
        !SameFolder(setup_.previousInstallDir, setup_.installFolder)) {
        // Created anew below, so that they run the programs of the new folder.
        control_.DeleteStoppedServices();
        setup_.previousInstallDir.clear();
    }
    for (int index = 0; index < upgrade::kServiceCount; ++index) {
        if (control_.GetSuiteServiceState(index).Is(ServiceState::kStopped)) {
            create_[static_cast<size_t>(index)] = false;
        }
    }
    return allStopped;
}

bool ServiceInstall::StopProgram(int index) {
    upgrade::ProgramState state = control_.GetSuiteServiceState(index);
    if (IsActive(state)) {
        (void)control_.StartStopService(index, false);
        state = control_.GetSuiteServiceState(index);
        if (state.present && !state.Is(ServiceState::kStopped)) {
            (void)control_.StartStopService(index, false);
        }
    }
    // Absent services and every program in application mode count as not stopped.
    return state.Is(ServiceState::kStopped);
}

bool ServiceInstall::IsActive(const upgrade::ProgramState& state) const {
    if (control_.Mode() == RunMode::kService) {
        return state.Is(ServiceState::kRunning);
    }
    return state.present;
}

void ServiceInstall::DeleteLeftOutServices() {
    if (setup_.noInstallIM &&
        control_.GetSuiteServiceState(upgrade::kImService).Is(ServiceState::kStopped)) {
        control_.DeleteSuiteService(ServiceRowAt(upgrade::kImService)->serviceName);
    }
    bool oldGroupWare = OldVersionBelow(kCalendarRenamedIn);
    if ((setup_.noInstallCalendar || oldGroupWare) &&
        control_.GetSuiteServiceState(upgrade::kGroupWareService).Is(ServiceState::kStopped)) {
        control_.DeleteSuiteService(ServiceRowAt(upgrade::kGroupWareService)->serviceName);
        if (oldGroupWare) {
            (void)platform_.files->RemoveFile(setup_.installFolder + "calendar.exe");
        }
    }
}

void ServiceInstall::InstallAndStartServices() {
    if (control_.Mode() == RunMode::kService) {
        window_.ShowProgressText(strings_[i18n::cInstalling]);
        for (int index = 0; index < upgrade::kServiceCount; ++index) {
            if (create_[static_cast<size_t>(index)] && !Excluded(index)) {
                control_.CreateSuiteService(index);
            }
        }
    }
    (void)RegisterComServer(*platform_.automation, setup_.installFolder + "api.dll");
    (void)RegisterComServer(*platform_.automation, setup_.installFolder + "corvanecom.dll");
    window_.ShowProgressText(strings_[i18n::cStarting]);
    for (int index = 0; index < upgrade::kServiceCount; ++index) {
        if (setup_.serviceStartTypes[static_cast<size_t>(index)] != kDisabled && !Excluded(index)) {
            (void)control_.StartStopService(index, true);
        }
    }
    window_.ShowProgressText(strings_[i18n::cFinishing]);
}

void ServiceInstall::CheckStartedServices() {
    bool serviceMode = control_.Mode() == RunMode::kService;
    if (serviceMode && SystemSmtpBlocks()) {
        (void)control_.StartStopService(upgrade::kSmtpService, false, upgrade::kSystemSmtpService);
        control_.DisableService(upgrade::kSystemSmtpService);
        (void)control_.StartStopService(upgrade::kSmtpService, true);
        platform_.system->SleepFor(kSettleMs);
    }
    std::u16string list;
    for (int index : {upgrade::kSmtpService, upgrade::kPop3Service, upgrade::kControlService,
                      upgrade::kImService}) {
        upgrade::ProgramState state = control_.GetSuiteServiceState(index);
        bool ok = state.Runs(control_.Mode());
        if (index == upgrade::kImService && setup_.noInstallIM) {
            ok = true;
        }
        // A service disabled before the upgrade is meant not to run.
        if (!ok && setup_.serviceStartTypes[static_cast<size_t>(index)] != kDisabled) {
            list += platform_.system->AnsiToWide(ServiceRowAt(index)->displayName) + u"\r\n";
        }
    }
    if (list.empty()) {
        return;
    }
    platform::MessageBoxRequest box;
    box.text = util::FillMarks(strings_[i18n::cNotRunning], {list});
    box.caption = u"Warning";
    box.icon = platform::DialogIcon::kWarning;
    box.taskModal = true;
    (void)window_.ShowMessageBox(box);
}

void ServiceInstall::RestoreStartTypes(bool leftOutToo) {
    if (!setup_.isUpgrade || control_.Mode() != RunMode::kService) {
        return;
    }
    for (int index = 0; index < upgrade::kServiceCount; ++index) {
        if (leftOutToo || !Excluded(index)) {
            (void)control_.ExchangeStartType(ServiceRowAt(index)->serviceName, true,
                                             setup_.serviceStartTypes[static_cast<size_t>(index)]);
        }
    }
}

bool ServiceInstall::SystemSmtpBlocks() const {
    upgrade::ProgramState smtp = control_.GetSuiteServiceState(upgrade::kSmtpService);
    return smtp.present && !smtp.Is(ServiceState::kRunning) &&
           upgrade::GetServiceState(*platform_.services, upgrade::kSystemSmtpService)
               .Is(ServiceState::kRunning);
}

bool ServiceInstall::Excluded(int index) const {
    return (index == upgrade::kImService && setup_.noInstallIM) ||
           (index == upgrade::kGroupWareService && setup_.noInstallCalendar);
}

bool ServiceInstall::OldVersionBelow(const char* version) const {
    return !setup_.oldVersion.empty() && util::IsVersionLower(setup_.oldVersion, version);
}

}  // namespace tolva::winsys
