#include "platform/win32/win32_shell.h"

#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <winnetwk.h>

#include <string>

#include "platform/win32/ansi_text.h"
#include "platform/win32/com_apartment.h"
#include "platform/win32/unique_com.h"
#include "platform/win32/unique_item_list.h"

namespace tolva::platform {
namespace {

// Description and arguments may be longer than a path.
constexpr int kTextItemSize = INFOTIPSIZE;

std::string WithBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') {
        folder += '\\';
    }
    return folder;
}

// The file-system path of a special folder, found through its item list; empty on any failure.
std::string ItemListPath(int csidl) {
    UniqueItemList list;
    if (FAILED(::SHGetSpecialFolderLocation(::GetActiveWindow(), csidl, list.Receive()))) {
        return std::string();
    }
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(list.Get(), path)) {
        return std::string();
    }
    return WithBackslash(WideToAnsiText(path));
}

Status LinkObject(UniqueCom<IShellLinkA>& link, UniqueCom<IPersistFile>& file) {
    HRESULT result = EnterCom();
    if (FAILED(result)) {
        return ComFailure(result, "CoInitializeEx");
    }
    result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(link.Receive()));
    if (FAILED(result)) {
        return ComFailure(result, "create the shell link object");
    }
    result = link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive()));
    if (FAILED(result)) {
        return ComFailure(result, "IPersistFile of the shell link object");
    }
    return Status::Ok();
}

using TextGetter = HRESULT (STDMETHODCALLTYPE IShellLinkA::*)(LPSTR, int);

std::string TextItem(IShellLinkA* link, TextGetter get) {
    char text[kTextItemSize] = {};
    if (FAILED((link->*get)(text, kTextItemSize))) {
        return std::string();
    }
    return text;
}

}  // namespace

std::string Win32Shell::FolderPath(SpecialFolder folder) const {
    switch (folder) {
        case SpecialFolder::kPrograms:
            return ItemListPath(CSIDL_PROGRAMS);
        case SpecialFolder::kCommonPrograms:
            return ItemListPath(CSIDL_COMMON_PROGRAMS);
        case SpecialFolder::kDesktop:
            return ItemListPath(CSIDL_DESKTOP);
        case SpecialFolder::kCommonDesktop:
            return ItemListPath(CSIDL_COMMON_DESKTOPDIRECTORY);
        case SpecialFolder::kAppData:
            return ItemListPath(CSIDL_APPDATA);
        case SpecialFolder::kCommonAppData:
            return ItemListPath(CSIDL_COMMON_APPDATA);
        case SpecialFolder::kProgramFiles:
            return ItemListPath(CSIDL_PROGRAM_FILES);
        case SpecialFolder::kQuickLaunch: {
            // No special folder of its own: it lives below the roaming application data.
            std::string appData = ItemListPath(CSIDL_APPDATA);
            return appData.empty() ? appData
                                   : appData + "Microsoft\\Internet Explorer\\Quick Launch\\";
        }
    }
    return std::string();
}

Status Win32Shell::CreateLink(const ShellLink& link) {
    UniqueCom<IShellLinkA> shellLink;
    UniqueCom<IPersistFile> file;
    Status status = LinkObject(shellLink, file);
    if (!status) {
        return status;
    }
    IShellLinkA* item = shellLink.Get();
    HRESULT result = item->SetPath(link.target.c_str());
    if (SUCCEEDED(result) && !link.iconFile.empty()) {
        result = item->SetIconLocation(link.iconFile.c_str(), link.iconIndex);
    }
    if (SUCCEEDED(result) && !link.arguments.empty()) {
        result = item->SetArguments(link.arguments.c_str());
    }
    if (SUCCEEDED(result) && !link.workingFolder.empty()) {
        result = item->SetWorkingDirectory(link.workingFolder.c_str());
    }
    if (SUCCEEDED(result) && !link.description.empty()) {
        result = item->SetDescription(link.description.c_str());
    }
    if (FAILED(result)) {
        return ComFailure(result, "set the items of link " + link.linkFile);
    }
    result = file.Get()->Save(AnsiToWideText(link.linkFile).c_str(), TRUE);
    if (FAILED(result)) {
        return ComFailure(result, "save link " + link.linkFile);
    }
    return Status::Ok();
}

Status Win32Shell::ReadLink(std::string_view linkFile, ShellLink& link) const {
    link = ShellLink{};
    link.linkFile = std::string(linkFile);
    UniqueCom<IShellLinkA> shellLink;
    UniqueCom<IPersistFile> file;
    Status status = LinkObject(shellLink, file);
    if (!status) {
        return status;
    }
    HRESULT result = file.Get()->Load(AnsiToWideText(linkFile).c_str(), STGM_READ);
    if (FAILED(result)) {
        return ComFailure(result, "load link " + link.linkFile);
    }
    IShellLinkA* item = shellLink.Get();
    char path[MAX_PATH] = {};
    if (SUCCEEDED(item->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) {
        link.target = path;
    }
    link.arguments = TextItem(item, &IShellLinkA::GetArguments);
    link.workingFolder = TextItem(item, &IShellLinkA::GetWorkingDirectory);
    link.description = TextItem(item, &IShellLinkA::GetDescription);
    char iconFile[MAX_PATH] = {};
    int iconIndex = 0;
    if (SUCCEEDED(item->GetIconLocation(iconFile, MAX_PATH, &iconIndex)) && iconFile[0] != '\0') {
        link.iconFile = iconFile;
        link.iconIndex = iconIndex;
    }
    return Status::Ok();
}

Status Win32Shell::Open(std::string_view target, std::string_view parameters, ShowCommand show) {
    std::wstring wideTarget = AnsiToWideText(target);
    std::wstring wideParameters = AnsiToWideText(parameters);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = ::GetActiveWindow();
    info.lpVerb = L"open";
    info.lpFile = wideTarget.c_str();
    info.lpParameters = parameters.empty() ? nullptr : wideParameters.c_str();
    info.nShow = static_cast<int>(show);
    if (!::ShellExecuteExW(&info)) {
        return Status::Failure(::GetLastError(), "open " + std::string(target));
    }
    return Status::Ok();
}

Status Win32Shell::ShowNetworkConnectionDialog() {
    DWORD result = ::WNetConnectionDialog(::GetActiveWindow(), RESOURCETYPE_DISK);
    if (result == static_cast<DWORD>(-1)) {
        return Status::Failure(error::kCancelled, "network connection dialog");
    }
    if (result != NO_ERROR) {
        return Status::Failure(result, "network connection dialog");
    }
    return Status::Ok();
}

Status Win32Shell::ConnectNetworkShare(std::string_view remoteName, std::string_view user,
                                       std::string_view password) {
    std::wstring wideRemote = AnsiToWideText(remoteName);
    std::wstring wideUser = AnsiToWideText(user);
    std::wstring widePassword = AnsiToWideText(password);
    NETRESOURCEW resource = {};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpRemoteName = wideRemote.data();
    DWORD result =
        ::WNetAddConnection2W(&resource, password.empty() ? nullptr : widePassword.c_str(),
                              user.empty() ? nullptr : wideUser.c_str(), 0);
    if (result != NO_ERROR) {
        return Status::Failure(result, "connect " + std::string(remoteName));
    }
    return Status::Ok();
}

}  // namespace tolva::platform
