#include "platform/win32/win32_file_system.h"

#include <windows.h>
// After windows.h, which it needs.
#include <aclapi.h>

#include "platform/win32/ansi_text.h"
#include "platform/win32/unique_find_handle.h"
#include "platform/win32/unique_handle.h"

namespace tolva::platform {
namespace {

// Largest piece one ReadFile or WriteFile call moves.
constexpr DWORD kChunk = 1 << 20;

Status LastError(const char* what, std::string_view path) {
    return Status::Failure(::GetLastError(), std::string(what) + " " + std::string(path));
}

// The wide path without trailing backslashes, except at a drive's root ("C:\").
std::wstring WidePath(std::string_view path) {
    std::wstring wide = AnsiToWideText(path);
    while (wide.size() > 1 && wide.back() == L'\\' && !(wide.size() == 3 && wide[1] == L':')) {
        wide.pop_back();
    }
    return wide;
}

DWORD Attributes(std::string_view path) {
    return ::GetFileAttributesW(WidePath(path).c_str());
}

// Windows refuses to write, replace or delete a read-only file by itself; checking first keeps the
// rule where the file system does not enforce it (Wine running as root).
bool IsReadOnlyFile(std::string_view path) {
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

Status ReadOnly(const char* what, std::string_view path) {
    return Status::Failure(ERROR_ACCESS_DENIED, std::string(what) + " " + std::string(path));
}

bool WriteAll(HANDLE file, const void* data, size_t size) {
    auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        DWORD piece = size > kChunk ? kChunk : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file, bytes, piece, &written, nullptr)) {
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

// Flushes to the disk and closes; the first failure is reported.
Status FlushAndClose(UniqueHandle& handle) {
    if (!handle.Valid()) {
        return Status::Failure(ERROR_INVALID_HANDLE, "close of a closed file");
    }
    HANDLE file = handle.Release();
    DWORD error = ::FlushFileBuffers(file) ? 0 : ::GetLastError();
    if (!::CloseHandle(file) && error == 0) {
        error = ::GetLastError();
    }
    return error == 0 ? Status::Ok() : Status::Failure(error, "flush and close");
}

OVERLAPPED At(uint64_t position) {
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(position);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    return at;
}

class Win32InputFile : public InputFile {
public:
    Win32InputFile(UniqueHandle file, uint64_t size) : file_(std::move(file)), size_(size) {}
    Status Read(void* buffer, size_t size, size_t& got) override {
        DWORD count = 0;
        DWORD piece = size > kChunk ? kChunk : static_cast<DWORD>(size);
        if (!::ReadFile(file_.Get(), buffer, piece, &count, nullptr)) {
            got = 0;
            return Status::Failure(::GetLastError(), "read");
        }
        got = count;
        return Status::Ok();
    }
    uint64_t Size() const override { return size_; }

private:
    UniqueHandle file_;
    uint64_t size_;
};

class Win32OutputFile : public OutputFile {
public:
    explicit Win32OutputFile(UniqueHandle file) : file_(std::move(file)) {}
    Status Write(const void* data, size_t size) override {
        if (!file_.Valid()) {
            return Status::Failure(ERROR_INVALID_HANDLE, "write to a closed file");
        }
        if (!WriteAll(file_.Get(), data, size)) {
            return Status::Failure(::GetLastError(), "write");
        }
        return Status::Ok();
    }
    Status Close() override { return FlushAndClose(file_); }

private:
    UniqueHandle file_;
};

class Win32UpdateFile : public UpdateFile {
public:
    explicit Win32UpdateFile(UniqueHandle file) : file_(std::move(file)) {}
    uint64_t Size() const override {
        LARGE_INTEGER length;
        return file_.Valid() && ::GetFileSizeEx(file_.Get(), &length)
                   ? static_cast<uint64_t>(length.QuadPart)
                   : 0;
    }
    Status ReadAt(uint64_t position, void* buffer, size_t size, size_t& got) override {
        got = 0;
        auto* bytes = static_cast<char*>(buffer);
        while (got < size) {
            DWORD piece = size - got > kChunk ? kChunk : static_cast<DWORD>(size - got);
            DWORD count = 0;
            OVERLAPPED at = At(position + got);
            if (!::ReadFile(file_.Get(), bytes + got, piece, &count, &at)) {
                if (::GetLastError() == ERROR_HANDLE_EOF) {
                    break;
                }
                return Status::Failure(::GetLastError(), "read");
            }
            if (count == 0) {
                break;
            }
            got += count;
        }
        return Status::Ok();
    }
    Status WriteAt(uint64_t position, const void* data, size_t size) override {
        auto* bytes = static_cast<const char*>(data);
        size_t done = 0;
        while (done < size) {
            DWORD piece = size - done > kChunk ? kChunk : static_cast<DWORD>(size - done);
            DWORD written = 0;
            OVERLAPPED at = At(position + done);
            if (!::WriteFile(file_.Get(), bytes + done, piece, &written, &at)) {
                return Status::Failure(::GetLastError(), "write");
            }
            done += written;
        }
        return Status::Ok();
    }
    Status Close() override { return FlushAndClose(file_); }

private:
    UniqueHandle file_;
};

Status OpenExisting(std::string_view path, const char* what, UniqueHandle& file, uint64_t& size) {
    file.Reset(::CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER length;
    if (!file.Valid() || !::GetFileSizeEx(file.Get(), &length)) {
        return LastError(what, path);
    }
    size = static_cast<uint64_t>(length.QuadPart);
    return Status::Ok();
}

Status WriteFileWith(std::string_view path, std::string_view content, DWORD access,
                     DWORD disposition, const char* what) {
    if (IsReadOnlyFile(path)) {
        return ReadOnly(what, path);
    }
    UniqueHandle file(::CreateFileW(WidePath(path).c_str(), access, FILE_SHARE_READ, nullptr,
                                    disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid() || !WriteAll(file.Get(), content.data(), content.size())) {
        return LastError(what, path);
    }
    if (!::CloseHandle(file.Release())) {
        return LastError(what, path);
    }
    return Status::Ok();
}

Status Attributed(std::string_view path, const char* what, WIN32_FILE_ATTRIBUTE_DATA& data) {
    if (!::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) {
        return LastError(what, path);
    }
    return Status::Ok();
}

// Makes the folder, and its missing parents above the root, deepest first: a folder whose parent
// exists, the usual case, costs one call. False with the system's error set.
bool MakeFolder(const std::wstring& folder, size_t root) {
    if (::CreateDirectoryW(folder.c_str(), nullptr)) {
        return true;
    }
    DWORD error = ::GetLastError();
    if (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) {
        const size_t slash = folder.find_last_of(L'\\');
        if (slash == std::wstring::npos || slash < root ||
            !MakeFolder(folder.substr(0, slash), root)) {
            return false;
        }
        if (::CreateDirectoryW(folder.c_str(), nullptr)) {
            return true;
        }
        error = ::GetLastError();
    }
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) {
        ::SetLastError(error);
        return false;
    }
    // Refused for a folder that is there (a drive's root, a folder this user may not write): made.
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    ::SetLastError(error);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool Win32FileSystem::FileExists(std::string_view path) const {
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::FolderExists(std::string_view path) const {
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

Status Win32FileSystem::CreateFolders(std::string_view path) {
    std::wstring wide = WidePath(path);
    // The drive or share itself is never made.
    size_t root = 0;
    if (wide.size() >= 2 && wide[1] == L':') {
        root = 3;
    } else if (wide.rfind(L"\\\\", 0) == 0) {
        size_t share = wide.find(L'\\', 2);
        root = share == std::wstring::npos ? wide.size() : wide.find(L'\\', share + 1);
    }
    if (!MakeFolder(wide, root)) {
        return Status::Failure(::GetLastError(), "CreateFolders " + std::string(path));
    }
    return Status::Ok();
}

Status Win32FileSystem::ReadWholeFile(std::string_view path, std::string& content) const {
    UniqueHandle file;
    uint64_t size = 0;
    if (Status status = OpenExisting(path, "ReadWholeFile", file, size); !status) {
        return status;
    }
    std::string data;
    data.reserve(static_cast<size_t>(size));
    std::string buffer(65536, '\0');
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                        nullptr)) {
            return LastError("ReadWholeFile", path);
        }
        if (got == 0) {
            break;
        }
        data.append(buffer.data(), got);
    }
    content = std::move(data);
    return Status::Ok();
}

Status Win32FileSystem::WriteWholeFile(std::string_view path, std::string_view content) {
    return WriteFileWith(path, content, GENERIC_WRITE, CREATE_ALWAYS, "WriteWholeFile");
}

Status Win32FileSystem::AppendToFile(std::string_view path, std::string_view content) {
    return WriteFileWith(path, content, FILE_APPEND_DATA, OPEN_ALWAYS, "AppendToFile");
}

Status Win32FileSystem::CopyOver(std::string_view from, std::string_view to) {
    if (IsReadOnlyFile(to)) {
        return ReadOnly("CopyOver", to);
    }
    if (!::CopyFileW(WidePath(from).c_str(), WidePath(to).c_str(), FALSE)) {
        return LastError("CopyOver", std::string(from) + " -> " + std::string(to));
    }
    return Status::Ok();
}

Status Win32FileSystem::MoveTo(std::string_view from, std::string_view to, bool replace) {
    if (replace && IsReadOnlyFile(to)) {
        return ReadOnly("MoveTo", to);
    }
    DWORD flags = replace ? MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH : 0;
    if (!::MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), flags)) {
        return LastError("MoveTo", std::string(from) + " -> " + std::string(to));
    }
    return Status::Ok();
}

Status Win32FileSystem::MoveIn(std::string_view from, std::string_view to) {
    if (IsReadOnlyFile(to)) {
        return ReadOnly("MoveIn", to);
    }
    std::wstring target = WidePath(to);
    // Without MOVEFILE_COPY_ALLOWED: a move to another volume fails rather than copying. A folder
    // replaces nothing: an existing target refuses it.
    if (!::MoveFileExW(WidePath(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return LastError("MoveIn", std::string(from) + " -> " + std::string(to));
    }
    // A moved file keeps the permissions it was given where it was made (a temporary folder only
    // its user may read); a copy takes those its new folder passes on. An empty list that
    // inherits again gives the moved file exactly those, and a moved folder's files with it.
    ACL inherited;
    if (::InitializeAcl(&inherited, sizeof inherited, ACL_REVISION)) {
        (void)::SetNamedSecurityInfoW(
            target.data(), SE_FILE_OBJECT,
            DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
            &inherited, nullptr);
    }
    return Status::Ok();
}

Status Win32FileSystem::RemoveFile(std::string_view path) {
    if (IsReadOnlyFile(path)) {
        return ReadOnly("RemoveFile", path);
    }
    if (!::DeleteFileW(WidePath(path).c_str())) {
        return LastError("RemoveFile", path);
    }
    return Status::Ok();
}

Status Win32FileSystem::RemoveEmptyFolder(std::string_view path) {
    if (!::RemoveDirectoryW(WidePath(path).c_str())) {
        return LastError("RemoveEmptyFolder", path);
    }
    return Status::Ok();
}

Status Win32FileSystem::SetNormalAttributes(std::string_view path) {
    std::wstring wide = WidePath(path);
    DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return LastError("SetNormalAttributes", path);
    }
    attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM);
    if (!::SetFileAttributesW(wide.c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes)) {
        return LastError("SetNormalAttributes", path);
    }
    return Status::Ok();
}

Status Win32FileSystem::ListFolder(std::string_view folder,
                                   std::vector<FolderEntry>& entries) const {
    std::wstring pattern = WidePath(folder);
    if (pattern.empty() || pattern.back() != L'\\') {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW data;
    UniqueFindHandle search(::FindFirstFileW(pattern.c_str(), &data));
    std::vector<FolderEntry> found;
    if (!search.Valid()) {
        if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
            return LastError("ListFolder", folder);
        }
        entries.clear();
        return Status::Ok();
    }
    do {
        std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        found.push_back({WideToAnsiText(name), isFolder, data.dwFileAttributes});
    } while (::FindNextFileW(search.Get(), &data));
    if (::GetLastError() != ERROR_NO_MORE_FILES) {
        return LastError("ListFolder", folder);
    }
    entries = std::move(found);
    return Status::Ok();
}

Status Win32FileSystem::ListDrives(std::vector<DriveEntry>& drives) const {
    const DWORD letters = ::GetLogicalDrives();
    if (letters == 0) {
        return LastError("ListDrives", "");
    }
    std::vector<DriveEntry> found;
    for (int letter = 0; letter < 26; ++letter) {
        if ((letters & (1u << letter)) == 0) {
            continue;
        }
        DriveEntry drive;
        drive.root = std::string(1, static_cast<char>('A' + letter)) + ":\\";
        drive.type = static_cast<DriveType>(::GetDriveTypeA(drive.root.c_str()));
        if (drive.type == DriveType::kFixed || drive.type == DriveType::kRamDisk) {
            wchar_t label[MAX_PATH + 1] = {};
            if (::GetVolumeInformationW(AnsiToWideText(drive.root).c_str(), label, MAX_PATH + 1,
                                        nullptr, nullptr, nullptr, nullptr, 0)) {
                drive.label = WideToAnsiText(label);
            }
        }
        found.push_back(std::move(drive));
    }
    drives = std::move(found);
    return Status::Ok();
}

Status Win32FileSystem::GetFileSize(std::string_view path, uint64_t& size) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (Status status = Attributed(path, "GetFileSize", data); !status) {
        return status;
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Status::Failure(ERROR_ACCESS_DENIED, "GetFileSize " + std::string(path));
    }
    size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return Status::Ok();
}

Status Win32FileSystem::AvailableSpace(std::string_view folder, uint64_t& bytes) const {
    ULARGE_INTEGER available;
    if (!::GetDiskFreeSpaceExW(WidePath(folder).c_str(), &available, nullptr, nullptr)) {
        return LastError("AvailableSpace", folder);
    }
    bytes = available.QuadPart;
    return Status::Ok();
}

Status Win32FileSystem::GetFileTime(std::string_view path, FileTime& lastWrite) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (Status status = Attributed(path, "GetFileTime", data); !status) {
        return status;
    }
    lastWrite = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                data.ftLastWriteTime.dwLowDateTime;
    return Status::Ok();
}

Status Win32FileSystem::GetAttributes(std::string_view path, uint32_t& attributes) const {
    // GetFileAttributes describes a symbolic link or junction itself, not its target.
    const DWORD found = ::GetFileAttributesW(WidePath(path).c_str());
    if (found == INVALID_FILE_ATTRIBUTES) {
        return LastError("GetAttributes", path);
    }
    attributes = found;
    return Status::Ok();
}

Status Win32FileSystem::OpenForRead(std::string_view path, std::unique_ptr<InputFile>& file) const {
    UniqueHandle handle;
    uint64_t size = 0;
    if (Status status = OpenExisting(path, "OpenForRead", handle, size); !status) {
        return status;
    }
    file = std::make_unique<Win32InputFile>(std::move(handle), size);
    return Status::Ok();
}

Status Win32FileSystem::OpenForWrite(std::string_view path, std::unique_ptr<OutputFile>& file) {
    if (IsReadOnlyFile(path)) {
        return ReadOnly("OpenForWrite", path);
    }
    UniqueHandle handle(::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.Valid()) {
        return LastError("OpenForWrite", path);
    }
    file = std::make_unique<Win32OutputFile>(std::move(handle));
    return Status::Ok();
}

Status Win32FileSystem::OpenForUpdate(std::string_view path, bool create,
                                      std::unique_ptr<UpdateFile>& file) {
    if (IsReadOnlyFile(path)) {
        return ReadOnly("OpenForUpdate", path);
    }
    UniqueHandle handle(::CreateFileW(
        WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
        nullptr, create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.Valid()) {
        return LastError("OpenForUpdate", path);
    }
    file = std::make_unique<Win32UpdateFile>(std::move(handle));
    return Status::Ok();
}

}  // namespace tolva::platform
