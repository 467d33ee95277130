#pragma once
// A file system held in memory, and a system with a fixed clock: enough for the download code,
// with a switch that makes writes fail.

#include <map>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/system.h"

namespace tolva::testing {

class MemoryFiles final : public platform::FileSystem {
public:
    std::map<std::string, std::string> files;
    bool failWrites = false;
    bool failMoves = false;

    bool FileExists(std::string_view path) const override {
        return files.count(std::string(path)) > 0;
    }
    bool FolderExists(std::string_view) const override { return true; }
    platform::Status CreateFolders(std::string_view) override { return platform::Status::Ok(); }
    platform::Status ReadWholeFile(std::string_view path, std::string& content) const override {
        auto it = files.find(std::string(path));
        if (it == files.end()) {
            return platform::Status::Failure(platform::error::kFileNotFound, "no file");
        }
        content = it->second;
        return platform::Status::Ok();
    }
    platform::Status WriteWholeFile(std::string_view path, std::string_view content) override {
        files[std::string(path)] = std::string(content);
        return platform::Status::Ok();
    }
    platform::Status AppendToFile(std::string_view path, std::string_view content) override {
        files[std::string(path)] += content;
        return platform::Status::Ok();
    }
    platform::Status CopyOver(std::string_view from, std::string_view to) override {
        return Move(from, to, false);
    }
    platform::Status MoveTo(std::string_view from, std::string_view to, bool) override {
        if (failMoves) {
            return platform::Status::Failure(platform::error::kAccessDenied, "no rights");
        }
        return Move(from, to, true);
    }
    platform::Status RemoveFile(std::string_view path) override {
        return files.erase(std::string(path)) > 0
                   ? platform::Status::Ok()
                   : platform::Status::Failure(platform::error::kFileNotFound, "no file");
    }
    platform::Status RemoveEmptyFolder(std::string_view) override { return Unsupported(); }
    platform::Status SetNormalAttributes(std::string_view) override {
        return platform::Status::Ok();
    }
    platform::Status ListFolder(std::string_view,
                                std::vector<platform::FolderEntry>&) const override {
        return Unsupported();
    }
    platform::Status GetFileSize(std::string_view path, uint64_t& size) const override {
        auto it = files.find(std::string(path));
        if (it == files.end()) {
            return platform::Status::Failure(platform::error::kFileNotFound, "no file");
        }
        size = it->second.size();
        return platform::Status::Ok();
    }
    platform::Status GetFileTime(std::string_view, platform::FileTime&) const override {
        return Unsupported();
    }
    platform::Status OpenForRead(std::string_view,
                                 std::unique_ptr<platform::InputFile>&) const override {
        return Unsupported();
    }
    platform::Status OpenForWrite(std::string_view path,
                                  std::unique_ptr<platform::OutputFile>& file) override {
        files[std::string(path)].clear();
        file = std::make_unique<Output>(*this, std::string(path));
        return platform::Status::Ok();
    }

private:
    class Output final : public platform::OutputFile {
    public:
        Output(MemoryFiles& owner, std::string path) : owner_(owner), path_(std::move(path)) {}
        platform::Status Write(const void* data, size_t size) override {
            if (owner_.failWrites) {
                return platform::Status::Failure(platform::error::kDiskFull, "disk full");
            }
            owner_.files[path_].append(static_cast<const char*>(data), size);
            return platform::Status::Ok();
        }
        platform::Status Close() override { return platform::Status::Ok(); }

    private:
        MemoryFiles& owner_;
        std::string path_;
    };

    static platform::Status Unsupported() {
        return platform::Status::Failure(platform::error::kNotSupported, "not in memory");
    }
    platform::Status Move(std::string_view from, std::string_view to, bool remove) {
        auto it = files.find(std::string(from));
        if (it == files.end()) {
            return platform::Status::Failure(platform::error::kFileNotFound, "no file");
        }
        std::string content = it->second;
        if (remove) {
            files.erase(it);
        }
        files[std::string(to)] = std::move(content);
        return platform::Status::Ok();
    }
};

class FixedSystem final : public platform::System {
public:
    std::string tempFolder = "C:\\Temp\\";
    platform::LocalTime now{2026, 12, 9, 14, 5, 9, 0, 3};

    std::string TempFolder() const override { return tempFolder; }
    std::string WindowsFolder() const override { return "C:\\Windows\\"; }
    platform::PlatformId GetPlatformId() const override { return platform::PlatformId::WindowsNT; }
    int32_t TimeZoneBias() const override { return 0; }
    std::vector<std::string> DnsServers() const override { return {}; }
    platform::LocalTime Now() const override { return now; }
    uint32_t Ticks() const override { return 0; }
    void SleepFor(uint32_t) override {}
    std::u16string AnsiToWide(std::string_view text) const override {
        std::u16string out;
        for (unsigned char c : text) {
            out += static_cast<char16_t>(c);
        }
        return out;
    }
    std::string WideToAnsi(std::u16string_view text) const override {
        std::string out;
        for (char16_t c : text) {
            out += c < 0x100 ? static_cast<char>(c) : '?';
        }
        return out;
    }
    std::string ErrorText(uint32_t) const override { return "error"; }
};

}  // namespace tolva::testing
