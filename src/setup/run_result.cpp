#include "setup/run_result.h"

#include <nlohmann/json.hpp>

#include "setup/exit_codes.h"
#include "upgrade/service_table.h"
#include "util/product.h"

namespace tolva::setup {
namespace {

using Json = nlohmann::ordered_json;
using platform::ServiceStartType;
using platform::ServiceState;

std::string StartTypeName(ServiceStartType type) {
    switch (type) {
        case ServiceStartType::kBoot:
            return "boot";
        case ServiceStartType::kSystem:
            return "system";
        case ServiceStartType::kAutomatic:
            return "automatic";
        case ServiceStartType::kManual:
            return "manual";
        case ServiceStartType::kDisabled:
            return "disabled";
    }
    return "";
}

std::string StateName(ServiceState state) {
    switch (state) {
        case ServiceState::kStopped:
            return "stopped";
        case ServiceState::kStartPending:
            return "start pending";
        case ServiceState::kStopPending:
            return "stop pending";
        case ServiceState::kRunning:
            return "running";
        case ServiceState::kContinuePending:
            return "continue pending";
        case ServiceState::kPausePending:
            return "pause pending";
        case ServiceState::kPaused:
            return "paused";
    }
    return "";
}

// Empty texts stand for "none".
Json OrNull(const std::string& text) {
    return text.empty() ? Json(nullptr) : Json(text);
}

Json HealthJson(const HealthReport& health) {
    return {{"healthy", health.Healthy()},
            {"running", health.running},
            {"notRunning", health.notRunning},
            {"smtpGreeting", health.greeted ? Json(health.greeting) : Json(nullptr)},
            {"smtpProblem", health.greeted ? Json(nullptr) : Json(health.greeting)}};
}

Json PreflightJson(const PreflightReport& report) {
    Json components = Json::array();
    for (const ComponentPlan& component : report.components) {
        Json archives = Json::array();
        for (const ArchivePlan& archive : component.archives) {
            archives.push_back(
                {{"name", archive.name},
                 {"present", archive.present},
                 {"size", archive.present ? Json(archive.size) : Json(nullptr)},
                 {"unpackedSize", archive.unpacked ? Json(*archive.unpacked) : Json(nullptr)}});
        }
        components.push_back({{"name", component.name}, {"archives", archives}});
    }
    Json ports = Json::array();
    for (const PortHolder& held : report.portsHeld) {
        ports.push_back({{"port", held.port},
                         {"protocol", held.protocol},
                         {"processId", held.processId == 0 ? Json(nullptr) : Json(held.processId)},
                         {"program", OrNull(held.program)}});
    }
    Json document = {
        {"ready", report.Problems() == 0},
        {"problems", report.Problems()},
        {"upgrade", report.upgrade},
        {"versionBefore", OrNull(report.oldVersion)},
        {"folder", report.installDir},
        {"components", components},
        {"downloads", report.downloads},
        {"diskSpaceNeeded", report.spaceNeeded},
        {"diskSpaceAvailable",
         report.spaceAvailable ? Json(*report.spaceAvailable) : Json(nullptr)},
        {"portsHeld", ports},
        {"servicesToStop", report.servicesToStop},
        {"database", nullptr},
    };
    if (report.databaseTested) {
        document["database"] = {{"reachable", report.databaseReachable},
                                {"error", OrNull(report.databaseError)}};
    }
    return document;
}

}  // namespace

std::vector<ServiceResult> QueryServices(const platform::Platform& platform) {
    std::vector<ServiceResult> results;
    std::unique_ptr<platform::ServiceDatabase> database;
    const bool connected =
        platform.services->Connect(platform::service_access::kManagerConnect, database).ok();
    for (const upgrade::ServiceRow& row : upgrade::kServiceTable) {
        ServiceResult result;
        result.name = row.serviceName;
        result.displayName = row.displayName;
        std::unique_ptr<platform::Service> service;
        if (connected && database
                             ->Open(row.serviceName,
                                    platform::service_access::kQueryConfig |
                                        platform::service_access::kQueryStatus,
                                    service)
                             .ok()) {
            result.present = true;
            platform::ServiceConfig config;
            if (service->QueryConfig(config).ok()) {
                result.startType = StartTypeName(config.startType);
            }
            ServiceState state;
            if (service->QueryState(state).ok()) {
                result.state = StateName(state);
            }
        }
        results.push_back(std::move(result));
    }
    return results;
}

std::string RunResultJson(const RunResult& result) {
    const bool check = result.mode == "check";
    Json services = Json::array();
    for (const ServiceResult& service : result.services) {
        services.push_back({{"name", service.name},
                            {"displayName", service.displayName},
                            {"present", service.present},
                            {"startType", OrNull(service.startType)},
                            {"state", OrNull(service.state)}});
    }
    Json document = {
        {"product", kProductName},
        {"setupVersion", kSetupVersion},
        {"exitCode", result.exitCode},
        {"meaning", ExitCodeMeaning(result.exitCode, check)},
        {"mode", result.mode},
        {"action", OrNull(result.action)},
        {"versionInstalled", OrNull(result.versionInstalled)},
        {"versionBefore", OrNull(result.versionBefore)},
        {"folder", OrNull(result.folder)},
        {"components", result.components},
        {"services", services},
        {"health", result.health ? HealthJson(*result.health) : Json(nullptr)},
        {"durationSeconds", result.durationSeconds},
        {"setupLog", OrNull(result.setupLog)},
        {"log", OrNull(result.logCopy)},
        {"error", OrNull(result.error)},
    };
    if (result.preflight) {
        document["preflight"] = PreflightJson(*result.preflight);
    }
    // Texts that are not UTF-8 are written with U+FFFD in place of their bad bytes.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace tolva::setup
