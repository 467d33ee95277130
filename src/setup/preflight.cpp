#include "setup/preflight.h"

#include <algorithm>
#include <map>
#include <set>

#include "archive/unpacked_size.h"
#include "setup/component_tree.h"
#include "setup/package_table.h"
#include "upgrade/program_state.h"
#include "upgrade/service_table.h"
#include "util/product.h"
#include "util/text.h"
#include "util/utf8.h"

namespace tolva::setup {
namespace {

struct SuitePort {
    uint16_t port;
    const char* protocol;
    int service;  // the suite's service that listens on it
};

std::vector<SuitePort> SuitePorts(const PreflightInput& input) {
    return {
        {25, "SMTP", upgrade::kSmtpService},
        {465, "SMTP", upgrade::kSmtpService},
        {587, "SMTP", upgrade::kSmtpService},
        {110, "POP3", upgrade::kPop3Service},
        {995, "POP3", upgrade::kPop3Service},
        {143, "IMAP", upgrade::kPop3Service},
        {993, "IMAP", upgrade::kPop3Service},
        {input.controlHttpPort, "Control", upgrade::kControlService},
        {input.secureControlPort, "Control", upgrade::kControlService},
    };
}

bool IsSuiteProgram(std::string_view program) {
    return std::any_of(
        upgrade::kServiceTable.begin(), upgrade::kServiceTable.end(),
        [&](const upgrade::ServiceRow& row) { return util::SameText(program, row.executable); });
}

class Preflight {
public:
    Preflight(const platform::Platform& platform, const PreflightInput& input)
        : platform_(platform),
          input_(input),
          mode_(upgrade::RunModeOf(platform.system->GetPlatformId())) {}

    PreflightReport Run(DatabaseProbe* probe) {
        r_.installDir = input_.installDir;
        r_.upgrade = platform_.files->FolderExists(input_.installDir + "config\\");
        r_.oldVersion = input_.oldVersion;
        PlanComponents();
        r_.downloads = MissingArchives(*platform_.files, input_.setupFolder, input_.selected);
        CheckSpace();
        if (!IsAdminOnlyInstall(input_.selected)) {
            FindRunningServices();
            FindHeldPorts();
        }
        if (probe != nullptr && !input_.database.empty()) {
            r_.databaseTested = true;
            r_.databaseReachable = probe->Connect(input_.database, r_.databaseError);
        }
        return std::move(r_);
    }

private:
    ArchivePlan PlanArchive(const std::string& name) {
        ArchivePlan plan;
        plan.name = name;
        const std::string path = input_.setupFolder + name;
        plan.present = platform_.files->FileExists(path);
        if (plan.present) {
            (void)platform_.files->GetFileSize(path, plan.size);
            uint64_t unpacked = 0;
            if (archive::UnpackedSize(*platform_.files, path, unpacked)) {
                plan.unpacked = unpacked;
            }
        }
        return plan;
    }

    void PlanComponents() {
        const bool adminOnly = IsAdminOnlyInstall(input_.selected);
        std::set<std::string> deployed;
        for (size_t key = 0; key < input_.selected.size(); ++key) {
            const auto component = static_cast<int32_t>(key);
            // The core archives go in whether their component is chosen or not, unless only the
            // administration interface is installed.
            const bool core = component == component_key::kServicesAndCoreFiles && !adminOnly;
            if (!input_.selected[key] && !core) {
                continue;
            }
            ComponentPlan plan{component, util::WideToUTF8(ComponentName(component)), {}};
            for (const TPackageItem& package : GetPackages(component)) {
                // setupconfig.dat carries the administration interface of an administration-only
                // installation alone; every other installation takes it from setup.dat.
                if ((package.FileName == kAdministrationArchive) != adminOnly) {
                    continue;
                }
                ArchivePlan archive = PlanArchive(package.FileName);
                if (archive.unpacked && deployed.insert(archive.name).second) {
                    r_.spaceNeeded += *archive.unpacked;
                }
                plan.archives.push_back(std::move(archive));
            }
            r_.components.push_back(std::move(plan));
        }
    }

    void CheckSpace() {
        std::string folder = input_.installDir;
        while (!folder.empty() && !platform_.files->FolderExists(folder)) {
            const size_t slash = folder.find_last_of('\\', folder.size() - 2);
            folder = slash == std::string::npos ? "" : folder.substr(0, slash + 1);
        }
        uint64_t available = 0;
        if (!folder.empty() && platform_.files->AvailableSpace(folder, available).ok()) {
            r_.spaceAvailable = available;
        }
    }

    bool Runs(int index) const {
        return upgrade::GetSuiteServiceState(platform_, mode_, index).Runs(mode_);
    }

    void FindRunningServices() {
        for (int index = 0; index < upgrade::kServiceCount; ++index) {
            if (Runs(index)) {
                r_.servicesToStop.push_back(upgrade::kServiceTable[size_t(index)].displayName);
            }
        }
    }

    void FindHeldPorts() {
        std::vector<platform::TcpListener> listeners;
        if (!platform_.system->ListTcpListeners(listeners).ok()) {
            return;
        }
        std::vector<platform::ProcessInfo> processes;
        (void)platform_.processes->List(processes);
        std::map<uint32_t, std::string> programs;
        for (const platform::ProcessInfo& process : processes) {
            programs[process.id] = process.baseName;
        }
        std::set<uint16_t> reported;
        for (const SuitePort& suitePort : SuitePorts(input_)) {
            for (const platform::TcpListener& listener : listeners) {
                if (listener.port != suitePort.port || reported.count(listener.port) != 0) {
                    continue;
                }
                const auto program = programs.find(listener.processId);
                const std::string name =
                    listener.processId != 0 && program != programs.end() ? program->second : "";
                // The suite's own service is stopped before its files are replaced. Where the
                // system does not name the holder, the suite's running service is taken for it.
                const bool suite = name.empty() ? Runs(suitePort.service) : IsSuiteProgram(name);
                if (!suite) {
                    r_.portsHeld.push_back(
                        {suitePort.port, suitePort.protocol, listener.processId, name});
                    reported.insert(listener.port);
                }
            }
        }
    }

    const platform::Platform& platform_;
    const PreflightInput& input_;
    upgrade::RunMode mode_;
    PreflightReport r_;
};

std::string Bytes(uint64_t bytes) {
    return std::to_string(bytes) + " bytes";
}

}  // namespace

int PreflightReport::Problems() const {
    int problems = 0;
    if (!portsHeld.empty()) {
        problems |= problem::kPortHeld;
    }
    if (spaceAvailable && *spaceAvailable < spaceNeeded) {
        problems |= problem::kDiskSpace;
    }
    if (databaseTested && !databaseReachable) {
        problems |= problem::kDatabase;
    }
    return problems;
}

PreflightReport RunPreflight(const platform::Platform& platform, const PreflightInput& input,
                             DatabaseProbe* probe) {
    return Preflight(platform, input).Run(probe);
}

std::vector<std::string> PreflightLines(const PreflightReport& report) {
    std::vector<std::string> lines;
    lines.push_back(std::string("Dry run of ") + kProductName + " " + kSetupVersion + " Setup");
    if (report.upgrade) {
        lines.push_back("Upgrade from " +
                        (report.oldVersion.empty() ? "an unrecorded version" : report.oldVersion) +
                        " in \"" + report.installDir + "\"");
    } else {
        lines.push_back("New installation into \"" + report.installDir + "\"");
    }
    for (const ComponentPlan& component : report.components) {
        std::string line = "Component " + component.name + ":";
        if (component.archives.empty()) {
            line += " no archive";
        }
        for (size_t i = 0; i < component.archives.size(); ++i) {
            const ArchivePlan& archive = component.archives[i];
            line += (i == 0 ? " " : ", ") + archive.name + " (";
            if (!archive.present) {
                line += "to be downloaded";
            } else {
                line += "present, " + Bytes(archive.size) + ", unpacks to " +
                        (archive.unpacked ? Bytes(*archive.unpacked) : "an unknown size");
            }
            line += ")";
        }
        lines.push_back(line);
    }
    if (!report.downloads.empty()) {
        std::string line = "To be downloaded first:";
        for (const std::string& name : report.downloads) {
            line += " " + name;
        }
        lines.push_back(line + " (their size is known once downloaded)");
    }
    lines.push_back("Disk space: " + Bytes(report.spaceNeeded) + " needed, " +
                    (report.spaceAvailable ? Bytes(*report.spaceAvailable) : "an unknown amount") +
                    " free" +
                    ((report.Problems() & problem::kDiskSpace) != 0 ? ": NOT ENOUGH" : ""));
    if (report.portsHeld.empty()) {
        lines.push_back("Ports: none of the suite's ports is held by another program");
    }
    for (const PortHolder& held : report.portsHeld) {
        lines.push_back("Port " + std::to_string(held.port) + " (" + held.protocol +
                        ") is held by " +
                        (held.program.empty()
                             ? std::string("a program the system does not name")
                             : held.program + " (process " + std::to_string(held.processId) + ")"));
    }
    std::string services = "Services to stop:";
    for (const std::string& name : report.servicesToStop) {
        services += (services.back() == ':' ? " " : ", ") + name;
    }
    lines.push_back(report.servicesToStop.empty() ? "Services to stop: none" : services);
    if (report.databaseTested) {
        lines.push_back(report.databaseReachable
                            ? "Database: reachable"
                            : "Database: NOT reachable - " + report.databaseError);
    }
    lines.push_back(report.Problems() == 0 ? "Ready: yes" : "Ready: no");
    return lines;
}

}  // namespace tolva::setup
