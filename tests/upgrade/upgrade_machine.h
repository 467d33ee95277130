#pragma once
// An earlier installation in memory for the upgrade procedures: the five programs run as services
// and record what reaches their pipes, the installation's settings lie in its config folder, and a
// loopback web server stands in for the control service's pages.

#include <cstdint>
#include <string>
#include <vector>

#include "fakes/suite_machine.h"
#include "net/http_download.h"
#include "net/loopback_server.h"
#include "stores/account_store.h"
#include "stores/settings_store.h"
#include "upgrade/task_messages.h"
#include "upgrade/task_packet.h"
#include "upgrade/upgrade_procedures.h"
#include "upgrade/web_server_edits.h"
#include "util/setup_log_sink.h"

namespace tolva::upgrade {

inline constexpr char kInstallFolder[] = "C:\\Tolva\\";
inline constexpr char kConfigFolder[] = "C:\\Tolva\\config\\";

// Records the edits and how many pipe messages had gone out before each.
class RecordingWebServer : public WebServerEdits {
public:
    explicit RecordingWebServer(const platform::FakePipes& pipes) : pipes_(pipes) {}

    bool AddWebDavHandler(std::string_view configFolder) override {
        return Record("webdav", configFolder);
    }
    bool AddPhpHandler(std::string_view configFolder) override {
        return Record("php", configFolder);
    }

    struct Edit {
        std::string what;
        std::string configFolder;
        size_t messagesBefore;
    };
    std::vector<Edit> edits;

private:
    bool Record(const char* what, std::string_view configFolder) {
        edits.push_back({what, std::string(configFolder), pipes_.Sessions().size()});
        return true;
    }

    const platform::FakePipes& pipes_;
};

// The setup log's lines.
class RecordingLog : public util::SetupLogSink {
public:
    void Write(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

class UpgradeMachine {
public:
    UpgradeMachine() {
        for (int index = 0; index < kServiceCount; ++index) {
            machine.InstallService(index, platform::ServiceState::kRunning);
            machine.pipes.Serve(PipeOf(index), platform::FakePipeServer{});
        }
        settings.SetRootFolder(kInstallFolder);
        SeedSettings([](stores::SettingsRecord&) {});
    }

    static std::string PipeOf(int index) {
        return std::string("\\\\.\\pipe\\") + ServiceRowAt(index)->serviceName;
    }

    // settings.cfg and domains.cfg of the installation as an older version left them: the mail
    // folder in the installation, the control service on the loopback server, and whatever edit
    // sets.
    template <typename Edit>
    void SeedStore(Edit edit) {
        stores::SettingsStore seed(machine.platform);
        seed.SetRootFolder(kInstallFolder);
        seed.UseConfigurationFolder(kInstallFolder);
        seed.Record().SetMailPath(std::string(kInstallFolder) + "mail\\");
        seed.Record().SetHostAddresses("127.0.0.1");
        seed.Record().SetControlHttpPort(controlService.port());
        edit(seed);
        ASSERT_TRUE(seed.SaveSettings(false));
    }
    template <typename Edit>
    void SeedSettings(Edit edit) {
        SeedStore([&](stores::SettingsStore& seed) { edit(seed.Record()); });
    }

    // The record as the server reads settings.cfg after the upgrade.
    stores::SettingsRecord SavedSettings() {
        stores::SettingsStore reader(machine.platform);
        reader.SetRootFolder(kInstallFolder);
        reader.UseConfigurationFolder(kInstallFolder);
        return reader.Record();
    }

    bool Run(std::string_view oldVersion) {
        UpgradeProcedures procedures(machine.files, messenger, settings, accounts, webServer, http,
                                     log);
        return procedures.RunUpgradeProcedures(oldVersion, kInstallFolder);
    }

    // Each message that reached a pipe: "b" for the configuration-changed broadcast, else
    // "target:code:argument".
    std::vector<std::string> Messages() const {
        std::vector<std::string> messages;
        for (const platform::FakePipeSession& session : machine.pipes.Sessions()) {
            messages.push_back(Describe(session));
        }
        return messages;
    }

    testing::SuiteMachine machine;
    testing::LoopbackServer controlService{{}, [](const testing::LoopbackRequest&) {
                                               return testing::LoopbackReply::Of(
                                                   "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n"
                                                   "converted");
                                           }};
    net::HttpClient http{machine.platform};
    stores::SettingsStore settings{machine.platform};
    stores::AccountStore accounts{machine.platform, settings};
    RecordingWebServer webServer{machine.pipes};
    TaskMessenger messenger{machine.platform};
    RecordingLog log;

private:
    static int32_t Field(const std::string& packet, size_t offset) {
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i) {
            value |= static_cast<uint32_t>(static_cast<uint8_t>(packet.at(offset + i))) << (8 * i);
        }
        return static_cast<int32_t>(value);
    }

    static std::string Describe(const platform::FakePipeSession& session) {
        int target = -1;
        for (int index = 0; index < kServiceCount; ++index) {
            if (session.pipePath == PipeOf(index)) {
                target = index;
            }
        }
        const int32_t code = Field(session.written, 8);
        if (code == kConfigChangedCode) {
            return "b";
        }
        return std::to_string(target) + ":" + std::to_string(code) + ":" +
               std::to_string(Field(session.written, 12));
    }
};

}  // namespace tolva::upgrade
