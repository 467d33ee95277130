#include "platform/fake/fake_shell.h"

#include <array>
#include <charconv>
#include <utility>

namespace tolva::platform {
namespace {

constexpr char kLinkMark[] = "[fake shell link]\r\n";

// The items of a link in the order the file holds them.
std::array<std::pair<const char*, std::string ShellLink::*>, 5> TextItems() {
    return {{{"Target", &ShellLink::target},
             {"Arguments", &ShellLink::arguments},
             {"WorkingFolder", &ShellLink::workingFolder},
             {"Description", &ShellLink::description},
             {"IconFile", &ShellLink::iconFile}}};
}

std::string ParentOf(std::string_view path) {
    size_t slash = path.find_last_of('\\');
    return std::string(slash == std::string_view::npos ? std::string_view()
                                                       : path.substr(0, slash));
}

bool IsPath(std::string_view target) {
    return (target.size() >= 3 && target.substr(1, 2) == ":\\") || target.starts_with("\\\\");
}

}  // namespace

FakeShell::FakeShell(FileSystem& files) : files_(files) {
    const std::string profile = "C:\\Users\\Tester\\";
    const std::string common = "C:\\ProgramData\\";
    folders_ = {
        {SpecialFolder::kPrograms,
         profile + "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\"},
        {SpecialFolder::kCommonPrograms, common + "Microsoft\\Windows\\Start Menu\\Programs\\"},
        {SpecialFolder::kDesktop, profile + "Desktop\\"},
        {SpecialFolder::kCommonDesktop, "C:\\Users\\Public\\Desktop\\"},
        {SpecialFolder::kAppData, profile + "AppData\\Roaming\\"},
        {SpecialFolder::kCommonAppData, common},
        {SpecialFolder::kProgramFiles, "C:\\Program Files\\"},
        {SpecialFolder::kQuickLaunch,
         profile + "AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\"},
    };
}

std::string FakeShell::FolderPath(SpecialFolder folder) const {
    auto found = folders_.find(folder);
    return found == folders_.end() ? std::string() : found->second;
}

Status FakeShell::CreateLink(const ShellLink& link) {
    Status status = log_.Record("CreateLink", link.linkFile);
    if (!status) {
        return status;
    }
    if (!files_.FolderExists(ParentOf(link.linkFile))) {
        return Status::Failure(error::kPathNotFound, "save link " + link.linkFile);
    }
    std::string content = kLinkMark;
    for (const auto& [name, item] : TextItems()) {
        content += std::string(name) + "=" + link.*item + "\r\n";
    }
    content += "IconIndex=" + std::to_string(link.iconFile.empty() ? 0 : link.iconIndex) + "\r\n";
    return files_.WriteWholeFile(link.linkFile, content);
}

Status FakeShell::ReadLink(std::string_view linkFile, ShellLink& link) const {
    link = ShellLink{};
    link.linkFile = std::string(linkFile);
    Status status = log_.Record("ReadLink", linkFile);
    if (!status) {
        return status;
    }
    std::string content;
    status = files_.ReadWholeFile(linkFile, content);
    if (!status) {
        return status;
    }
    const Status notALink =
        Status::Failure(error::kInvalidParameter, "load link " + std::string(linkFile));
    if (!content.starts_with(kLinkMark)) {
        return notALink;
    }
    size_t at = sizeof kLinkMark - 1;
    auto nextValue = [&](std::string_view name, std::string& value) {
        size_t end = content.find("\r\n", at);
        std::string_view line = std::string_view(content).substr(at, end - at);
        if (end == std::string::npos || !line.starts_with(name) ||
            line.substr(name.size(), 1) != "=") {
            return false;
        }
        value = std::string(line.substr(name.size() + 1));
        at = end + 2;
        return true;
    };
    for (const auto& [name, item] : TextItems()) {
        if (!nextValue(name, link.*item)) {
            return notALink;
        }
    }
    std::string index;
    if (!nextValue("IconIndex", index) ||
        std::from_chars(index.data(), index.data() + index.size(), link.iconIndex).ec !=
            std::errc()) {
        return notALink;
    }
    return Status::Ok();
}

Status FakeShell::Open(std::string_view target, std::string_view parameters, ShowCommand show) {
    Status status = log_.Record("Open", target);
    if (!status) {
        return status;
    }
    opened_.push_back(FakeOpen{std::string(target), std::string(parameters), show});
    if (IsPath(target) && !files_.FileExists(target) && !files_.FolderExists(target)) {
        return Status::Failure(error::kFileNotFound, "open " + std::string(target));
    }
    return Status::Ok();
}

Status FakeShell::ShowNetworkConnectionDialog() {
    return log_.Record("ShowNetworkConnectionDialog", "");
}

Status FakeShell::ConnectNetworkShare(std::string_view remoteName, std::string_view,
                                      std::string_view) {
    return log_.Record("ConnectNetworkShare", remoteName);
}

void FakeShell::SetFolderPath(SpecialFolder folder, std::string path) {
    folders_[folder] = std::move(path);
}

std::vector<std::string> FakeShell::FolderPaths() const {
    std::vector<std::string> paths;
    for (const auto& [folder, path] : folders_) {
        if (!path.empty()) {
            paths.push_back(path);
        }
    }
    return paths;
}

}  // namespace tolva::platform
