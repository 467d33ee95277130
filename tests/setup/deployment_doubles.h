#pragma once
// Recording stand-ins for what the deployment calls outside itself: the window, the process end,
// the abort, the setup log and the steps of other modules.

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "setup/deployment_calls.h"
#include "setup/deployment_state.h"
#include "setup/process_end.h"
#include "util/setup_abort.h"
#include "util/setup_log_sink.h"

namespace tolva::setup::test {

// Everything the doubles below were asked, in order, as short lines such as "text Installing
// Files...", "step", "abort <message>" or "calls DeployPhp C:\dist\".
using Events = std::vector<std::string>;

class RecordingLog : public util::SetupLogSink {
public:
    void Write(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

class RecordingProgress : public DeploymentProgress {
public:
    explicit RecordingProgress(Events& events) : events_(events) {}
    void SetProgressText(std::u16string_view text) override {
        events_.push_back("text " + std::string(text.begin(), text.end()));
    }
    void StepProgress() override { events_.push_back("step"); }
    void ProcessPendingMessages() override { ++pendingPasses; }
    int pendingPasses = 0;

private:
    Events& events_;
};

class RecordingEnd : public ProcessEnd {
public:
    explicit RecordingEnd(Events& events) : events_(events) {}
    void EndProcess(int exitCode) override { events_.push_back("end " + std::to_string(exitCode)); }

private:
    Events& events_;
};

class RecordingAbort : public util::SetupAbort {
public:
    explicit RecordingAbort(Events& events) : events_(events) {}
    void Abort(std::u16string_view message, std::u16string_view details) override {
        events_.push_back("abort " + std::string(message.begin(), message.end()) +
                          std::string(details.begin(), details.end()));
    }

private:
    Events& events_;
};

// The web server, anti-virus and shell steps, recorded; the anti-virus library loads from a
// folder only when that folder holds setiface.dll.
class RecordingCalls : public DeploymentCalls {
public:
    RecordingCalls(Events& events, platform::FileSystem& files) : events_(events), files_(files) {}
    void DeployPhp(std::string_view archiveFolder) override {
        Record("DeployPhp " + std::string(archiveFolder));
    }
    void SetSpellChecking(bool installed) override {
        Record(installed ? "SetSpellChecking on" : "SetSpellChecking off");
    }
    bool LoadAntivirusLibrary(std::string_view folder) override {
        const bool found = files_.FileExists(std::string(folder) + "setiface.dll");
        Record("LoadAntivirusLibrary " + std::string(folder) + (found ? "" : " (missing)"));
        return found;
    }
    bool InstallAntivirusEngine(std::string_view targetFolder) override {
        Record("InstallAntivirusEngine " + std::string(targetFolder));
        (void)files_.CreateFolders(std::string(targetFolder) + "\\setup\\");
        (void)files_.WriteWholeFile(std::string(targetFolder) + "\\setup\\setiface.dll", "engine");
        return true;
    }
    bool UpdateAntivirusEngine() override {
        Record("UpdateAntivirusEngine");
        return true;
    }
    void UnloadAntivirusLibrary() override { Record("UnloadAntivirusLibrary"); }
    void StartHidden(std::string_view file, std::string_view workingFolder) override {
        Record("StartHidden " + std::string(file) + " in " + std::string(workingFolder));
    }

private:
    void Record(std::string line) { events_.push_back("calls " + std::move(line)); }
    Events& events_;
    platform::FileSystem& files_;
};

}  // namespace tolva::setup::test
