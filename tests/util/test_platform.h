#pragma once
// Small platform doubles for the util tests: a code page that is the same on every machine, and an
// in-memory file system whose folders must exist before a file can be written into them.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/system.h"

namespace tolva::util::testing {

// ANSI is ISO-8859-1 with the euro sign at 0x80; characters outside it become "?".
class Latin1System : public platform::System {
public:
    std::string TempFolder() const override { return "C:\\Temp\\"; }
    std::string WindowsFolder() const override { return "C:\\Windows\\"; }
    platform::PlatformId GetPlatformId() const override { return platform::PlatformId::WindowsNT; }
    int32_t TimeZoneBias() const override { return 0; }
    std::vector<std::string> DnsServers() const override { return {}; }
    platform::LocalTime Now() const override { return {}; }
    uint32_t Ticks() const override { return 0; }
    void SleepFor(uint32_t) override {}
    std::string ErrorText(uint32_t) const override { return {}; }

    std::u16string AnsiToWide(std::string_view text) const override {
        std::u16string out;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            out += byte == 0x80 ? u'\u20AC' : static_cast<char16_t>(byte);
        }
        return out;
    }
    std::string WideToAnsi(std::u16string_view text) const override {
        std::string out;
        for (const char16_t unit : text) {
            if (unit == u'\u20AC') {
                out += '\x80';
            } else {
                out += unit <= 0xFF && unit != 0x80 ? static_cast<char>(unit) : '?';
            }
        }
        return out;
    }
};

// Files by exact path; "C:\" exists from the start. Writing into a missing folder fails.
class MemoryFiles : public platform::FileSystem {
public:
    std::map<std::string, std::string, std::less<>> files;
    std::set<std::string, std::less<>> folders{"C:\\"};
    bool failWrites = false;
    std::vector<std::string> createdFolders;

    bool FileExists(std::string_view path) const override { return files.count(path) != 0; }
    bool FolderExists(std::string_view path) const override { return folders.count(path) != 0; }
    platform::Status CreateFolders(std::string_view path) override {
        createdFolders.emplace_back(path);
        for (size_t at = path.find('\\'); at != std::string_view::npos;
             at = path.find('\\', at + 1)) {
            folders.emplace(path.substr(0, at + 1));
        }
        return platform::Status::Ok();
    }
    platform::Status ReadWholeFile(std::string_view path, std::string& content) const override {
        const auto found = files.find(path);
        if (found == files.end()) {
            return platform::Status::Failure(platform::error::kFileNotFound, "read");
        }
        content = found->second;
        return platform::Status::Ok();
    }
    platform::Status WriteWholeFile(std::string_view path, std::string_view content) override {
        if (!Writable(path)) {
            return platform::Status::Failure(platform::error::kPathNotFound, "write");
        }
        files[std::string(path)] = std::string(content);
        return platform::Status::Ok();
    }
    platform::Status AppendToFile(std::string_view path, std::string_view content) override {
        if (!Writable(path)) {
            return platform::Status::Failure(platform::error::kPathNotFound, "append");
        }
        files[std::string(path)] += content;
        return platform::Status::Ok();
    }
    platform::Status RemoveFile(std::string_view path) override {
        const auto found = files.find(path);
        if (found == files.end()) {
            return platform::Status::Failure(platform::error::kFileNotFound, "remove");
        }
        files.erase(found);
        return platform::Status::Ok();
    }

    platform::Status CopyOver(std::string_view, std::string_view) override { return Unused(); }
    platform::Status MoveTo(std::string_view, std::string_view, bool) override { return Unused(); }
    platform::Status RemoveEmptyFolder(std::string_view) override { return Unused(); }
    platform::Status SetNormalAttributes(std::string_view) override { return Unused(); }
    platform::Status ListFolder(std::string_view,
                                std::vector<platform::FolderEntry>&) const override {
        return Unused();
    }
    platform::Status GetFileSize(std::string_view, uint64_t&) const override { return Unused(); }
    platform::Status GetFileTime(std::string_view, platform::FileTime&) const override {
        return Unused();
    }
    platform::Status OpenForRead(std::string_view,
                                 std::unique_ptr<platform::InputFile>&) const override {
        return Unused();
    }
    platform::Status OpenForWrite(std::string_view,
                                  std::unique_ptr<platform::OutputFile>&) override {
        return Unused();
    }

private:
    bool Writable(std::string_view path) const {
        const size_t slash = path.rfind('\\');
        return !failWrites && slash != std::string_view::npos &&
               folders.count(path.substr(0, slash + 1)) != 0;
    }
    static platform::Status Unused() {
        return platform::Status::Failure(platform::error::kNotSupported, "not used by these tests");
    }
};

}  // namespace tolva::util::testing
