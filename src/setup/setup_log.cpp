#include "setup/setup_log.h"

#include <cstdio>
#include <thread>

#include "util/string_file.h"

namespace tolva::setup {

namespace {

uint32_t DefaultThreadId() {
    return static_cast<uint32_t>(std::hash<std::thread::id>{}(std::this_thread::get_id()));
}

void WriteToStandardOutput(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

std::string TimeStamp(const platform::LocalTime& time) {
    char text[48];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", unsigned{time.year},
                  unsigned{time.month}, unsigned{time.day}, unsigned{time.hour},
                  unsigned{time.minute}, unsigned{time.second});
    return text;
}

}  // namespace

std::string SetupLogFile(std::string_view logDir) {
    return std::string(logDir).append("setup\\setup.log");
}

TDebugStruct::TDebugStruct(platform::FileSystem& files, const platform::System& system,
                           Outputs outputs)
    : files_(files), system_(system), outputs_(std::move(outputs)) {
    if (!outputs_.threadId) {
        outputs_.threadId = DefaultThreadId;
    }
    if (!outputs_.console) {
        outputs_.console = WriteToStandardOutput;
    }
}

void TDebugStruct::Open(std::string_view fileName, uint32_t flags) {
    const std::lock_guard<std::mutex> hold(lock_);
    fileName_ = fileName;
    flags_ = flags;
    open_ = true;
    if ((flags_ & log_flag::kDeleteOnOpen) != 0) {
        (void)files_.RemoveFile(fileName_);
    }
}

bool TDebugStruct::IsOpen() const {
    const std::lock_guard<std::mutex> hold(lock_);
    return open_;
}

std::string TDebugStruct::FileName() const {
    const std::lock_guard<std::mutex> hold(lock_);
    return fileName_;
}

void TDebugStruct::SetCopyFile(std::string_view fileName) {
    const std::lock_guard<std::mutex> hold(lock_);
    copyFile_ = fileName;
}

std::string TDebugStruct::FormatLine(std::string_view message, uint32_t flags) const {
    std::string line;
    if ((flags & log_flag::kTimeStamp) != 0) {
        line = TimeStamp(system_.Now()) + " ";
    }
    if ((flags & log_flag::kThreadId) != 0) {
        line += "[" + std::to_string(outputs_.threadId()) + "] ";
    }
    if ((flags & log_flag::kFirstLineOnly) != 0) {
        message = message.substr(0, message.find('\n'));
        if (!message.empty() && message.back() == '\r') {
            message.remove_suffix(1);
        }
    }
    line.append(message);
    line += "\r\n";
    return line;
}

void TDebugStruct::Write(std::string_view message) {
    const std::lock_guard<std::mutex> hold(lock_);
    if (!copyFile_.empty()) {
        (void)util::WriteCreatingFolders(
            files_, copyFile_, FormatLine(message, open_ ? flags_ : kSetupLogFlags), true);
    }
    if (!open_) {
        return;
    }
    const std::string line = FormatLine(message, flags_);
    if ((flags_ & log_flag::kConsole) != 0) {
        outputs_.console(line);
        return;
    }
    (void)util::WriteCreatingFolders(files_, fileName_, line, true);
}

}  // namespace tolva::setup
