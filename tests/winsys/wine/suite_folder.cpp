#include "suite_folder.h"

#include <windows.h>

#include "stores/settings_store.h"
#include "util/text.h"

namespace tolva::winsys::testing {
namespace {

// A file the build made, as Wine's drive Z: shows it.
std::string BuildPath(std::string path) {
    path = "Z:" + path;
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

constexpr const char* kStandins[] = {"smtp.exe", "pop3.exe",    "control.exe", "im.exe",
                                     "cal.exe",  "smtpsvc.exe", "api.dll",     "corvanecom.dll"};

}  // namespace

SuiteFolder::SuiteFolder(platform::Platform& platform) : platform_(platform) {}

uint16_t SuiteFolder::FreePort(platform::Network& network) {
    // Above the ports the system hands out, and checked: nobody answers there.
    for (uint16_t port = 41000 + static_cast<uint16_t>(::GetCurrentProcessId() % 2000);; ++port) {
        std::unique_ptr<platform::Connection> connection;
        if (!network.Connect("127.0.0.1", port, 500, connection)) {
            return port;
        }
    }
}

void SuiteFolder::Install() {
    platform::FileSystem& files = *platform_.files;
    Remove();
    if (!files.CreateFolders(std::string(kFolder) + "config").ok()) {
        std::abort();
    }
    for (const char* name : kStandins) {
        std::string built = std::string(name) == "corvanecom.dll"
                                ? BuildPath(TOLVA_AUTOMATION_LIBRARY)
                                : BuildPath(TOLVA_STANDIN_DIR "/") + name;
        if (!files.CopyOver(built, std::string(kFolder) + name).ok()) {
            std::abort();
        }
    }
    httpPort_ = FreePort(*platform_.network);
    stores::SettingsStore settings(platform_);
    settings.SetRootFolder(kFolder);
    settings.InitServerPaths();
    settings.Record().SetControlHttpPort(httpPort_);
    if (!settings.SaveSettings(true)) {
        std::abort();
    }
}

void SuiteFolder::Remove() {
    platform::FileSystem& files = *platform_.files;
    std::vector<platform::FolderEntry> entries;
    for (const char* sub : {"logs\\", "config\\", ""}) {
        std::string folder = std::string(kFolder) + sub;
        if (files.ListFolder(folder, entries).ok()) {
            for (const platform::FolderEntry& entry : entries) {
                if (!entry.isFolder) {
                    (void)files.RemoveFile(folder + entry.name);
                }
            }
        }
        (void)files.RemoveEmptyFolder(folder);
    }
}

void SuiteFolder::WriteStandinSettings(const std::string& text) {
    if (!platform_.files->WriteWholeFile(std::string(kFolder) + "standin.ini", text).ok()) {
        std::abort();
    }
}

std::vector<std::string> SuiteFolder::LogLines(const std::string& serviceName) const {
    std::string content;
    std::vector<std::string> lines;
    std::string path = std::string(kFolder) + "logs\\standin-" + serviceName + ".log";
    if (!platform_.files->ReadWholeFile(path, content).ok()) {
        return lines;
    }
    size_t start = 0;
    for (size_t end = content.find("\r\n"); end != std::string::npos;
         start = end + 2, end = content.find("\r\n", start)) {
        // "yyyy-mm-dd hh:nn:ss " first.
        lines.push_back(content.substr(start + 20, end - start - 20));
    }
    return lines;
}

bool SuiteFolder::Logged(const std::string& serviceName, const std::string& text) const {
    for (const std::string& line : LogLines(serviceName)) {
        if (line == text) {
            return true;
        }
    }
    return false;
}

bool SuiteFolder::WaitFor(const std::function<bool()>& condition, uint32_t timeoutMs) const {
    platform::System& system = *platform_.system;
    uint32_t start = system.Ticks();
    while (!condition()) {
        if (system.Ticks() - start >= timeoutMs) {
            return false;
        }
        system.SleepFor(50);
    }
    return true;
}

std::vector<std::string> SuiteFolder::RunningStandins() const {
    std::vector<platform::ProcessInfo> running;
    std::vector<std::string> standins;
    if (!platform_.processes->List(running).ok()) {
        return {"(the processes could not be listed)"};
    }
    for (const platform::ProcessInfo& process : running) {
        for (const char* name : kStandins) {
            if (util::SameText(process.baseName, name)) {
                standins.push_back(process.baseName);
            }
        }
    }
    return standins;
}

}  // namespace tolva::winsys::testing
