#pragma once
// The result file of /RESULT=: a JSON document about one run, written at its end whatever the end
// (see the administrators' section of the README for its fields). Texts are UTF-8.

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "setup/health_check.h"
#include "setup/preflight.h"

namespace tolva::setup {

struct ServiceResult {
    std::string name;
    std::string displayName;
    bool present = false;
    std::string startType;  // "automatic", "manual", "disabled", ...; empty when unknown
    std::string state;      // "running", "stopped", "start pending", ...; empty when unknown
};

struct RunResult {
    int exitCode = 0;
    std::string mode;    // "interactive", "passive", "quiet" or "check"
    std::string action;  // "install", "upgrade", "uninstall" or "check"; empty before one began
    std::string versionInstalled;  // the product key's version at the end; empty: none
    std::string versionBefore;     // the version recorded before the run; empty: none
    std::string folder;
    std::vector<std::string> components;
    std::vector<ServiceResult> services;
    std::optional<HealthReport> health;
    std::optional<PreflightReport> preflight;
    std::string error;  // why the command line or answer file was refused
    double durationSeconds = 0;
    std::string setupLog;  // empty: none was written
    std::string logCopy;   // the /LOG= file; empty: none
};

// The suite's five services as the service manager reports them now.
std::vector<ServiceResult> QueryServices(const platform::Platform& platform);

// The document, indented, with a line end at its end.
std::string RunResultJson(const RunResult& result);

}  // namespace tolva::setup
