#include "platform/fake/memory_file_system.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "platform/path_names.h"

namespace tolva::platform {
namespace {

constexpr uint32_t kSharingViolation = 32;  // ERROR_SHARING_VIOLATION
constexpr uint32_t kNotAFolder = 267;       // ERROR_DIRECTORY
constexpr int kMaxLinkHops = 32;
constexpr FileTime kSecond = 10000000;
constexpr FileTime kClockStart = 13411796645ULL * kSecond;  // 2026-01-02 03:04:05 UTC
// kReparsePoint marks a folder that another program made a junction or symbolic link.
constexpr uint32_t kSettableAttributes = file_attribute::kReadOnly | file_attribute::kHidden |
                                         file_attribute::kSystem | file_attribute::kArchive |
                                         file_attribute::kReparsePoint;

Status Failure(uint32_t code, const char* what, std::string_view path) {
    return Status::Failure(code, std::string(what) + " " + std::string(path));
}

bool SameName(std::string_view a, std::string_view b) {
    const CaseInsensitiveLess less;
    return !less(a, b) && !less(b, a);
}

// True when path lies below folder (a full path).
bool IsBelow(std::string_view path, const std::string& folder) {
    const std::string prefix = folder.back() == '\\' ? folder : folder + '\\';
    return path.size() > prefix.size() && SameName(path.substr(0, prefix.size()), prefix);
}

// The length of the root a full path starts with: "C:\" or "\\server\share\".
size_t RootLength(std::string_view full) {
    if (full.rfind("\\\\", 0) != 0) {
        return std::min<size_t>(full.size(), 3);
    }
    const size_t share = full.find('\\', 2);
    const size_t end = share == std::string_view::npos ? share : full.find('\\', share + 1);
    return end == std::string_view::npos ? full.size() : end + 1;
}

// Empty for a root.
std::string ParentOf(const std::string& full) {
    const size_t root = RootLength(full);
    if (full.size() <= root) {
        return std::string();
    }
    const size_t slash = full.rfind('\\');
    return full.substr(0, slash + 1 == root ? root : slash);
}

char UpperLetter(char letter) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

std::string_view KeyOf(const std::string& key) {
    return key;
}
template <typename Value>
std::string_view KeyOf(const std::pair<const std::string, Value>& entry) {
    return entry.first;
}

// The first entry of a container sorted by name that lies below folder, or end. Entries below a
// folder sort together, right after the folder's own name with a backslash.
template <typename Container>
auto FirstBelow(const Container& entries, const std::string& folder) {
    const std::string prefix = folder.back() == '\\' ? folder : folder + '\\';
    auto it = entries.lower_bound(prefix);
    if (it != entries.end() && SameName(KeyOf(*it), prefix)) {
        ++it;
    }
    return it;
}

template <typename Container>
bool AnyBelow(const Container& entries, const std::string& folder) {
    const auto it = FirstBelow(entries, folder);
    return it != entries.end() && IsBelow(KeyOf(*it), folder);
}

}  // namespace

class MemoryFileSystem::Input final : public InputFile {
public:
    Input(const MemoryFileSystem& owner, std::string path, uint64_t handle, uint64_t size)
        : owner_(owner), path_(std::move(path)), handle_(handle), size_(size) {}
    ~Input() override { owner_.Closed(handle_); }
    Status Read(void* buffer, size_t size, size_t& got) override {
        const auto found = owner_.files.find(path_);
        const std::string_view content =
            found == owner_.files.end() ? std::string_view() : std::string_view(found->second);
        got = at_ < content.size() ? std::min(size, content.size() - at_) : 0;
        std::memcpy(buffer, content.data() + at_, got);
        at_ += got;
        return Status::Ok();
    }
    uint64_t Size() const override { return size_; }

private:
    const MemoryFileSystem& owner_;
    std::string path_;
    uint64_t handle_;
    uint64_t size_;
    size_t at_ = 0;
};

// A file open for writing: appended to as a stream, or read and written at any position.
class MemoryFileSystem::Writable final : public OutputFile, public UpdateFile {
public:
    Writable(MemoryFileSystem& owner, std::string path, uint64_t handle)
        : owner_(owner), path_(std::move(path)), handle_(handle) {}
    ~Writable() override { (void)Close(); }

    Status Write(const void* data, size_t size) override { return WriteAt(Size(), data, size); }
    uint64_t Size() const override { return owner_.files[path_].size(); }
    Status ReadAt(uint64_t position, void* buffer, size_t size, size_t& got) override {
        got = 0;
        if (handle_ == 0) {
            return Failure(error::kInvalidHandle, "read from a closed file", path_);
        }
        const std::string& content = owner_.files[path_];
        if (position < content.size()) {
            got = static_cast<size_t>(std::min<uint64_t>(size, content.size() - position));
            std::memcpy(buffer, content.data() + position, got);
        }
        return Status::Ok();
    }
    Status WriteAt(uint64_t position, const void* data, size_t size) override {
        if (handle_ == 0) {
            return Failure(error::kInvalidHandle, "write to a closed file", path_);
        }
        std::string& content = owner_.files[path_];
        if (content.size() < position + size) {
            content.resize(static_cast<size_t>(position + size), '\0');
        }
        content.replace(static_cast<size_t>(position), size, static_cast<const char*>(data), size);
        owner_.Stamp(path_);
        return Status::Ok();
    }
    Status Close() override {
        if (handle_ == 0) {
            return Failure(error::kInvalidHandle, "close of a closed file", path_);
        }
        owner_.Closed(std::exchange(handle_, 0));
        return Status::Ok();
    }

private:
    MemoryFileSystem& owner_;
    std::string path_;
    uint64_t handle_;
};

MemoryFileSystem::MemoryFileSystem(Folders folders, const std::vector<std::string>& existing)
    : folderRule_(folders), folders_{"C:\\"}, clock_(kClockStart) {
    for (const std::string& folder : existing) {
        const std::string full = FullPath(folder);
        folders_.insert(full);
        KeepFolders(full);
    }
}

MemoryFileSystem::~MemoryFileSystem() = default;

std::string MemoryFileSystem::FullPath(std::string_view path) const {
    std::string given(path);
    std::replace(given.begin(), given.end(), '/', '\\');
    const bool endsInSeparator = !given.empty() && given.back() == '\\';

    std::string root;
    std::string rest;
    if (given.size() >= 2 && given[1] == ':') {
        root = given.substr(0, 2) + '\\';
        const bool sameDrive = SameName(root, current_.substr(0, 3));
        rest = given.size() > 2 && given[2] == '\\' ? given.substr(3)
               : sameDrive                          ? current_.substr(3) + given.substr(2)
                                                    : given.substr(2);
    } else if (given.rfind("\\\\", 0) == 0) {
        // \\server\share\ is the root of a network path.
        size_t end = given.find('\\', 2);
        end = end == std::string::npos ? given.size() : given.find('\\', end + 1);
        root = given.substr(0, end) + '\\';
        rest = end < given.size() ? given.substr(end + 1) : std::string();
    } else if (!given.empty() && given[0] == '\\') {
        root = current_.substr(0, RootLength(current_));
        rest = given.substr(1);
    } else {
        root = current_.substr(0, RootLength(current_));
        rest = current_.substr(root.size()) + given;
    }

    std::vector<std::string_view> parts = ResolvePathNames(rest);
    if (!endsInSeparator && !parts.empty()) {
        std::string_view& last = parts.back();
        while (!last.empty() && (last.back() == '.' || last.back() == ' ')) {
            last.remove_suffix(1);
        }
        if (last.empty()) {
            parts.pop_back();
        }
    }
    std::string full = root;
    for (size_t i = 0; i < parts.size(); ++i) {
        full += (i == 0 ? "" : "\\") + std::string(parts[i]);
    }
    // Bounded, so that links that lead into one another end.
    for (int hop = 0; hop < kMaxLinkHops && !links_.empty(); ++hop) {
        const auto link = std::find_if(links_.begin(), links_.end(), [&](const auto& entry) {
            return IsBelow(full, entry.first);
        });
        if (link == links_.end()) {
            break;
        }
        full = link->second + full.substr(link->first.size());
    }
    return full;
}

std::string MemoryFileSystem::ThroughLink(std::string full) const {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        const auto link = links_.find(full);
        if (link == links_.end()) {
            break;
        }
        full = link->second;
    }
    return full;
}

std::string MemoryFileSystem::Spelled(const std::string& full) const {
    const std::string parent = ParentOf(full);
    if (parent.empty()) {
        return full;
    }
    std::string spelled = parent;
    if (const auto folder = folders_.find(parent); folder != folders_.end()) {
        spelled = *folder;
    } else if (const auto below = FirstBelow(files, parent);
               below != files.end() && IsBelow(below->first, parent)) {
        spelled = below->first.substr(0, parent.size());
    }
    if (spelled.back() != '\\') {
        spelled += '\\';
    }
    return spelled + full.substr(spelled.size());
}

bool MemoryFileSystem::IsFile(const std::string& full) const {
    return files.count(full) != 0;
}

bool MemoryFileSystem::IsFolder(const std::string& full) const {
    return !IsFile(full) && (folders_.count(full) != 0 || HasEntriesBelow(full));
}

bool MemoryFileSystem::HasEntriesBelow(const std::string& full) const {
    return AnyBelow(files, full) || AnyBelow(folders_, full);
}

bool MemoryFileSystem::ParentExists(const std::string& full) const {
    if (folderRule_ == Folders::kAlwaysExist) {
        return true;
    }
    const std::string parent = ParentOf(full);
    return !parent.empty() && IsFolder(parent);
}

bool MemoryFileSystem::IsReadOnly(const std::string& full) const {
    const auto found = attributes_.find(full);
    return found != attributes_.end() && (found->second & file_attribute::kReadOnly) != 0;
}

uint32_t MemoryFileSystem::AttributesOf(const std::string& full, bool folder) const {
    const auto found = attributes_.find(full);
    uint32_t attributes = found != attributes_.end() ? found->second
                          : folder                   ? 0
                                                     : file_attribute::kArchive;
    if (folder) {
        attributes |= file_attribute::kDirectory;
    }
    if (links_.count(full) != 0) {
        attributes |= file_attribute::kReparsePoint;
    }
    return attributes == 0 ? file_attribute::kNormal : attributes;
}

Status MemoryFileSystem::Missing(const std::string& full, const char* what) const {
    return Failure(ParentExists(full) ? error::kFileNotFound : error::kPathNotFound, what, full);
}

Status MemoryFileSystem::CheckWritable(const std::string& full, const char* what) const {
    if (IsFolder(full) || IsReadOnly(full)) {
        return Failure(error::kAccessDenied, what, full);
    }
    if (!ParentExists(full)) {
        return Failure(error::kPathNotFound, what, full);
    }
    return Status::Ok();
}

Status MemoryFileSystem::CheckSharing(const std::string& full, uint32_t access, uint32_t share,
                                      const char* what) const {
    for (const auto& [handle, open] : open_) {
        if (SameName(open.path, full) &&
            ((access & ~open.share) != 0 || (open.access & ~share) != 0)) {
            return Failure(kSharingViolation, what, full);
        }
    }
    return Status::Ok();
}

bool MemoryFileSystem::OpenBelow(const std::string& full) const {
    return std::any_of(open_.begin(), open_.end(),
                       [&](const auto& entry) { return IsBelow(entry.second.path, full); });
}

uint64_t MemoryFileSystem::Open(const std::string& full, uint32_t access, uint32_t share) const {
    const uint64_t handle = nextHandle_++;
    open_[handle] = {full, access, share};
    return handle;
}

void MemoryFileSystem::Closed(uint64_t handle) const {
    open_.erase(handle);
}

void MemoryFileSystem::Stamp(const std::string& full) {
    times_[full] = clock_;
    clock_ += kSecond;
}

void MemoryFileSystem::KeepFolders(const std::string& full) {
    for (std::string folder = ParentOf(full); !folder.empty(); folder = ParentOf(folder)) {
        folders_.insert(folder);
    }
}

bool MemoryFileSystem::FileExists(std::string_view path) const {
    return IsFile(FullPath(path));
}

bool MemoryFileSystem::FolderExists(std::string_view path) const {
    const std::string full = FullPath(path);
    return folderRule_ == Folders::kAlwaysExist ? !IsFile(full) : IsFolder(full);
}

Status MemoryFileSystem::CreateFolders(std::string_view path) {
    createdFolders_.emplace_back(path);
    const std::string full = FullPath(path);
    std::vector<std::string> chain;
    for (std::string folder = full; !folder.empty(); folder = ParentOf(folder)) {
        if (IsFile(folder)) {
            return Failure(error::kAlreadyExists, "CreateFolders", full);
        }
        chain.push_back(folder);
    }
    for (auto folder = chain.rbegin(); folder != chain.rend(); ++folder) {
        if (folders_.insert(Spelled(*folder)).second) {
            Stamp(*folder);
        }
    }
    return Status::Ok();
}

Status MemoryFileSystem::ReadWholeFile(std::string_view path, std::string& content) const {
    const std::string full = FullPath(path);
    if (IsFolder(full)) {
        return Failure(error::kAccessDenied, "ReadWholeFile", full);
    }
    const auto found = files.find(full);
    if (found == files.end()) {
        return Missing(full, "ReadWholeFile");
    }
    if (Status status = CheckSharing(full, kReading, kReading | kWriting, "ReadWholeFile");
        !status) {
        return status;
    }
    content = found->second;
    return Status::Ok();
}

Status MemoryFileSystem::WriteWholeFile(std::string_view path, std::string_view content) {
    const std::string full = FullPath(path);
    if (Status status = CheckWritable(full, "WriteWholeFile"); !status) {
        return status;
    }
    if (Status status = CheckSharing(full, kWriting, kReading, "WriteWholeFile"); !status) {
        return status;
    }
    files[Spelled(full)] = std::string(content);
    Stamp(full);
    return Status::Ok();
}

Status MemoryFileSystem::AppendToFile(std::string_view path, std::string_view content) {
    const std::string full = FullPath(path);
    if (Status status = CheckWritable(full, "AppendToFile"); !status) {
        return status;
    }
    if (Status status = CheckSharing(full, kWriting, kReading, "AppendToFile"); !status) {
        return status;
    }
    files[Spelled(full)] += content;
    Stamp(full);
    return Status::Ok();
}

Status MemoryFileSystem::CopyOver(std::string_view from, std::string_view to) {
    const std::string source = FullPath(from);
    const std::string target = FullPath(to);
    if (IsFolder(source)) {
        return Failure(error::kAccessDenied, "CopyOver", source);
    }
    if (!IsFile(source)) {
        return Missing(source, "CopyOver");
    }
    if (SameName(source, target)) {
        return Failure(kSharingViolation, "CopyOver onto itself", target);
    }
    if (Status status = CheckWritable(target, "CopyOver"); !status) {
        return status;
    }
    if (Status status = CheckSharing(source, kReading, kReading | kWriting, "CopyOver"); !status) {
        return status;
    }
    if (Status status = CheckSharing(target, kWriting, kReading, "CopyOver"); !status) {
        return status;
    }
    std::string content = files.find(source)->second;
    files[Spelled(target)] = std::move(content);
    const auto time = times_.find(source);
    times_[target] = time != times_.end() ? time->second : kClockStart;
    const auto attributes = attributes_.find(source);
    if (attributes != attributes_.end()) {
        attributes_[target] = attributes->second;
    } else {
        attributes_.erase(target);
    }
    return Status::Ok();
}

void MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
    const auto renamed = [&](std::string_view key) {
        return to + std::string(key.substr(from.size()));
    };
    const auto move = [&](auto& entries) {
        std::vector<std::string> keys;
        for (const auto& entry : entries) {
            std::string_view key = KeyOf(entry);
            if (SameName(key, from) || IsBelow(key, from)) {
                keys.emplace_back(key);
            }
        }
        for (const std::string& key : keys) {
            auto node = entries.extract(key);
            if constexpr (requires { node.key(); }) {
                node.key() = renamed(key);
            } else {
                node.value() = renamed(key);
            }
            entries.insert(std::move(node));
        }
    };
    move(files);
    move(folders_);
    move(attributes_);
    move(times_);
    move(links_);
}

Status MemoryFileSystem::MoveTo(std::string_view from, std::string_view to, bool replace) {
    const std::string source = FullPath(from);
    const std::string target = FullPath(to);
    const bool file = IsFile(source);
    if (!file && (!IsFolder(source) || source.back() == '\\')) {
        return Missing(source, "MoveTo");
    }
    if (source == target) {
        return Status::Ok();
    }
    const bool sameEntry = SameName(source, target);
    if (!ParentExists(target)) {
        return Failure(error::kPathNotFound, "MoveTo", target);
    }
    if (!file && IsBelow(target, source)) {
        return Failure(kSharingViolation, "MoveTo into itself", target);
    }
    if (!sameEntry && (IsFile(target) || IsFolder(target))) {
        if (!replace) {
            return Failure(error::kAlreadyExists, "MoveTo", target);
        }
        // Windows replaces neither a folder nor a file that is open.
        if (!file || IsFolder(target) || IsReadOnly(target) ||
            !CheckSharing(target, kDeleting, 0, "MoveTo")) {
            return Failure(error::kAccessDenied, "MoveTo", target);
        }
    }
    if (Status status = CheckSharing(source, kDeleting, 0, "MoveTo"); !status) {
        return status;
    }
    if (!file && OpenBelow(source)) {
        return Failure(error::kAccessDenied, "MoveTo a folder with open files", source);
    }
    KeepFolders(source);
    if (!sameEntry) {
        files.erase(target);
        attributes_.erase(target);
        times_.erase(target);
    }
    Rename(source, Spelled(target));
    return Status::Ok();
}

Status MemoryFileSystem::MoveIn(std::string_view from, std::string_view to) {
    return MoveTo(from, to, !IsFolder(FullPath(from)));
}

Status MemoryFileSystem::RemoveFile(std::string_view path) {
    const std::string full = FullPath(path);
    if (IsFolder(full)) {
        return Failure(error::kAccessDenied, "RemoveFile", full);
    }
    if (!IsFile(full)) {
        return Missing(full, "RemoveFile");
    }
    if (IsReadOnly(full)) {
        return Failure(error::kAccessDenied, "RemoveFile", full);
    }
    if (Status status = CheckSharing(full, kDeleting, 0, "RemoveFile"); !status) {
        return status;
    }
    KeepFolders(full);
    files.erase(full);
    attributes_.erase(full);
    times_.erase(full);
    return Status::Ok();
}

Status MemoryFileSystem::RemoveEmptyFolder(std::string_view path) {
    const std::string full = FullPath(path);
    if (IsFile(full)) {
        return Failure(kNotAFolder, "RemoveEmptyFolder", full);
    }
    if (!IsFolder(full)) {
        return Missing(full, "RemoveEmptyFolder");
    }
    if (full.back() == '\\' || IsReadOnly(full)) {
        return Failure(error::kAccessDenied, "RemoveEmptyFolder", full);
    }
    if (HasEntriesBelow(full)) {
        return Failure(error::kDirNotEmpty, "RemoveEmptyFolder", full);
    }
    KeepFolders(full);
    folders_.erase(full);
    attributes_.erase(full);
    times_.erase(full);
    links_.erase(full);
    return Status::Ok();
}

Status MemoryFileSystem::MakeLink(std::string_view link, std::string_view target) {
    const std::string full = FullPath(link);
    if (IsFile(full) || IsFolder(full)) {
        return Failure(error::kAlreadyExists, "MakeLink", full);
    }
    if (!ParentExists(full)) {
        return Failure(error::kPathNotFound, "MakeLink", full);
    }
    links_[full] = FullPath(target);
    folders_.insert(Spelled(full));
    Stamp(full);
    return Status::Ok();
}

Status MemoryFileSystem::SetAttributes(std::string_view path, uint32_t attributes) {
    const std::string full = FullPath(path);
    if (!IsFile(full) && !IsFolder(full)) {
        return Missing(full, "SetAttributes");
    }
    attributes_[full] = attributes & kSettableAttributes;
    return Status::Ok();
}

Status MemoryFileSystem::SetNormalAttributes(std::string_view path) {
    const std::string full = FullPath(path);
    const bool folder = IsFolder(full);
    if (!IsFile(full) && !folder) {
        return Missing(full, "SetNormalAttributes");
    }
    constexpr uint32_t kCleared =
        file_attribute::kReadOnly | file_attribute::kHidden | file_attribute::kSystem;
    attributes_[full] = AttributesOf(full, folder) & kSettableAttributes & ~kCleared;
    return Status::Ok();
}

Status MemoryFileSystem::ListFolder(std::string_view folder,
                                    std::vector<FolderEntry>& entries) const {
    const std::string full = ThroughLink(FullPath(folder));
    const bool exists = folderRule_ == Folders::kAlwaysExist ? !IsFile(full) : IsFolder(full);
    if (!exists) {
        return Failure(error::kPathNotFound, "ListFolder", full);
    }
    const std::string prefix = full.back() == '\\' ? full : full + '\\';
    std::map<std::string, FolderEntry, CaseInsensitiveLess> found;
    const auto collect = [&](const auto& container) {
        for (auto it = FirstBelow(container, full); it != container.end(); ++it) {
            std::string_view key = KeyOf(*it);
            if (!IsBelow(key, full)) {
                break;
            }
            const std::string_view rest = key.substr(prefix.size());
            const size_t slash = rest.find('\\');
            const std::string name(rest.substr(0, slash));
            const std::string path = prefix + name;
            if (found.count(name) == 0) {
                const bool isFolder = slash != std::string_view::npos || !IsFile(path);
                found[name] = {name, isFolder, AttributesOf(path, isFolder)};
            }
        }
    };
    collect(folders_);
    collect(files);
    entries.clear();
    for (auto& [name, entry] : found) {
        entries.push_back(std::move(entry));
    }
    return Status::Ok();
}

Status MemoryFileSystem::ListDrives(std::vector<DriveEntry>& drives) const {
    std::map<char, DriveEntry> found = drives_;
    const auto collect = [&found](const auto& container) {
        for (const auto& item : container) {
            std::string_view key = KeyOf(item);
            if (key.size() >= 3 && key[1] == ':' && key[2] == '\\') {
                const char letter = UpperLetter(key[0]);
                found.try_emplace(letter, DriveEntry{std::string(1, letter) + ":\\"});
            }
        }
    };
    collect(folders_);
    collect(files);
    drives.clear();
    for (auto& [letter, drive] : found) {
        drives.push_back(std::move(drive));
    }
    return Status::Ok();
}

void MemoryFileSystem::AddDrive(DriveEntry drive) {
    const char letter = UpperLetter(drive.root.at(0));
    drive.root = std::string(1, letter) + ":\\";
    folders_.insert(drive.root);
    drives_[letter] = std::move(drive);
}

Status MemoryFileSystem::GetFileSize(std::string_view path, uint64_t& size) const {
    const std::string full = FullPath(path);
    if (IsFolder(full)) {
        return Failure(error::kAccessDenied, "GetFileSize", full);
    }
    const auto found = files.find(full);
    if (found == files.end()) {
        return Missing(full, "GetFileSize");
    }
    size = found->second.size();
    return Status::Ok();
}

void MemoryFileSystem::SetAvailableSpace(char driveLetter, uint64_t bytes) {
    freeSpace_[UpperLetter(driveLetter)] = bytes;
}

Status MemoryFileSystem::AvailableSpace(std::string_view folder, uint64_t& bytes) const {
    constexpr uint64_t kUnlimited = uint64_t{1} << 40;
    const std::string full = FullPath(folder);
    const bool exists = folderRule_ == Folders::kAlwaysExist ? !IsFile(full) : IsFolder(full);
    if (!exists) {
        return Missing(full, "AvailableSpace");
    }
    const auto found = freeSpace_.find(UpperLetter(full.empty() ? 'C' : full[0]));
    bytes = found != freeSpace_.end() ? found->second : kUnlimited;
    return Status::Ok();
}

Status MemoryFileSystem::GetFileTime(std::string_view path, FileTime& lastWrite) const {
    const std::string full = FullPath(path);
    if (!IsFile(full) && !IsFolder(full)) {
        return Missing(full, "GetFileTime");
    }
    const auto found = times_.find(full);
    lastWrite = found != times_.end() ? found->second : kClockStart;
    return Status::Ok();
}

Status MemoryFileSystem::GetAttributes(std::string_view path, uint32_t& attributes) const {
    const std::string full = FullPath(path);
    const bool folder = folderRule_ == Folders::kAlwaysExist ? !IsFile(full) : IsFolder(full);
    if (!IsFile(full) && !folder) {
        return Missing(full, "GetAttributes");
    }
    attributes = AttributesOf(full, folder);
    return Status::Ok();
}

Status MemoryFileSystem::OpenForRead(std::string_view path,
                                     std::unique_ptr<InputFile>& file) const {
    const std::string full = FullPath(path);
    if (IsFolder(full)) {
        return Failure(error::kAccessDenied, "OpenForRead", full);
    }
    const auto found = files.find(full);
    if (found == files.end()) {
        return Missing(full, "OpenForRead");
    }
    constexpr uint32_t kShare = kReading | kWriting;
    if (Status status = CheckSharing(full, kReading, kShare, "OpenForRead"); !status) {
        return status;
    }
    file = std::make_unique<Input>(*this, full, Open(full, kReading, kShare), found->second.size());
    return Status::Ok();
}

Status MemoryFileSystem::OpenForWrite(std::string_view path, std::unique_ptr<OutputFile>& file) {
    const std::string full = FullPath(path);
    if (Status status = CheckWritable(full, "OpenForWrite"); !status) {
        return status;
    }
    if (Status status = CheckSharing(full, kWriting, kReading, "OpenForWrite"); !status) {
        return status;
    }
    files[Spelled(full)].clear();
    Stamp(full);
    file = std::make_unique<Writable>(*this, full, Open(full, kWriting, kReading));
    return Status::Ok();
}

Status MemoryFileSystem::OpenForUpdate(std::string_view path, bool create,
                                       std::unique_ptr<UpdateFile>& file) {
    const std::string full = FullPath(path);
    if (!create && !IsFile(full) && !IsFolder(full)) {
        return Missing(full, "OpenForUpdate");
    }
    if (Status status = CheckWritable(full, "OpenForUpdate"); !status) {
        return status;
    }
    constexpr uint32_t kBoth = kReading | kWriting;
    if (Status status = CheckSharing(full, kBoth, kBoth, "OpenForUpdate"); !status) {
        return status;
    }
    if (!IsFile(full)) {
        files[Spelled(full)];
        Stamp(full);
    }
    file = std::make_unique<Writable>(*this, full, Open(full, kBoth, kBoth));
    return Status::Ok();
}

Status MemoryFileSystem::SetCurrentFolder(std::string_view folder) {
    const std::string full = ThroughLink(FullPath(folder));
    const bool exists = folderRule_ == Folders::kAlwaysExist ? !IsFile(full) : IsFolder(full);
    if (!exists) {
        return Missing(full, "SetCurrentFolder");
    }
    current_ = full.back() == '\\' ? full : full + '\\';
    return Status::Ok();
}

}  // namespace tolva::platform
