#pragma once
// The setup log: one text file that every step of the installation appends its lines to, and the
// log channel (TDebugStruct) that writes it.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/system.h"
#include "util/setup_log_sink.h"

namespace tolva::setup {

// Flag bits of a log channel.
namespace log_flag {
inline constexpr uint32_t kTimeStamp = 0x1;      // "yyyy-mm-dd hh:nn:ss " before the text
inline constexpr uint32_t kThreadId = 0x2;       // "[id] " after the time stamp
inline constexpr uint32_t kFirstLineOnly = 0x4;  // the text up to its first line feed
inline constexpr uint32_t kDeleteOnOpen = 0x80;  // the file starts empty when the log is opened
inline constexpr uint32_t kConsole = 0x100;      // lines go to the console instead of the file
}  // namespace log_flag

// The setup log is appended to across runs, never truncated.
inline constexpr uint32_t kSetupLogFlags = log_flag::kTimeStamp;

// LogDir + "setup\setup.log".
std::string SetupLogFile(std::string_view logDir);

class TDebugStruct : public util::SetupLogSink {
public:
    // Where the lines of the kThreadId and kConsole flags come from and go; each has a default.
    struct Outputs {
        std::function<uint32_t()> threadId;
        std::function<void(std::string_view line)> console;
    };

    TDebugStruct(platform::FileSystem& files, const platform::System& system, Outputs outputs = {});

    // Remembers the file and the flags and enables writing; with kDeleteOnOpen the file is
    // deleted.
    void Open(std::string_view fileName, uint32_t flags);
    bool IsOpen() const;
    // The file given to Open; empty before.
    std::string FileName() const;

    // A second file that receives every line from now on, as the setup log would write it, also
    // while the setup log is not open yet; created, with its folders, when missing.
    void SetCopyFile(std::string_view fileName);

    // One line: the local time (always with "-" and ":"), a blank, the message in the ANSI code
    // page as given, CR LF. A message that ends in CR LF itself leaves an empty line after it.
    // Under the channel's lock the file is opened for appending (created, with its folders, when
    // missing), written and closed. Dropped before Open, but for the copy file; every failure is
    // swallowed.
    void Write(std::string_view message) override;

private:
    std::string FormatLine(std::string_view message, uint32_t flags) const;

    platform::FileSystem& files_;
    const platform::System& system_;
    Outputs outputs_;
    mutable std::mutex lock_;
    std::string fileName_;
    uint32_t flags_ = 0;
    bool open_ = false;
    std::string copyFile_;
};

}  // namespace tolva::setup
