#pragma once
// The run around a deployment, for native tests: the in-memory platform, its files seen through
// the fault-injecting file system, scripted message boxes, and the recording doubles.

#include <map>
#include <string>
#include <string_view>

#include "archive/archive_writer.h"
#include "deployment_doubles.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/faulty_file_system.h"
#include "platform/platform.h"

namespace tolva::setup::test {

class DeploymentRun {
public:
    static constexpr char kSetupFolder[] = "C:\\dist\\";
    static constexpr char kInstallDir[] = "C:\\Tolva Mail Server\\";
    static constexpr char kExtractDir[] = "C:\\Temp\\tolvainstall\\";

    DeploymentRun()
        : files(fake.Files()),
          system(fake.System()),
          dialogs(fake.Dialogs()),
          platform(fake.Services()),
          progress(events),
          processEnd(events),
          abort(events),
          calls(events, files) {
        // A question nobody expected cancels, so that a failing copy cannot retry for ever.
        dialogs.SetDefaultAnswer(platform::DialogResult::kCancel);
        platform.files = &files;
        state.SetupFolder = kSetupFolder;
        state.SetupProgram = "setup.exe";
        state.InstallDir = kInstallDir;
        state.ExtractDir = kExtractDir;
        state.LogDir = std::string(kInstallDir) + "logs\\";
        state.InfoXmlFile = std::string(kSetupFolder) + "info.xml";
        state.LicenseFile = std::string(kSetupFolder) + "license.txt";
        state.ReadmeFile = std::string(kSetupFolder) + "readme.txt";
        state.Selected.fill(true);
    }

    void Put(const std::string& path, std::string_view content) {
        const size_t separator = path.find_last_of('\\');
        (void)files.CreateFolders(path.substr(0, separator + 1));
        (void)files.WriteWholeFile(path, content);
    }
    std::string Get(const std::string& path) const {
        std::string content;
        return files.ReadWholeFile(path, content) ? content : "(missing)";
    }
    bool Has(const std::string& path) const { return files.FileExists(path); }
    // Packs the entries (name with backslashes -> content) into an archive at path.
    void PutArchive(const std::string& path, const std::map<std::string, std::string>& entries) {
        archive::ArchiveWriter writer;
        (void)files.CreateFolders(path.substr(0, path.find_last_of('\\') + 1));
        (void)writer.Create(files, path, "");
        for (const auto& [name, content] : entries) {
            (void)writer.AddContent(name, content);
        }
        (void)writer.Finish();
    }

    platform::FakePlatform fake;
    platform::FaultyFileSystem files;
    platform::FakeSystem& system;
    platform::FakeDialogs& dialogs;
    platform::Platform platform;
    DeploymentState state;
    Events events;
    RecordingLog log;
    RecordingProgress progress;
    RecordingEnd processEnd;
    RecordingAbort abort;
    RecordingCalls calls;
};

}  // namespace tolva::setup::test
