#include "standin_settings.h"

#include "standin_log.h"

namespace tolva::standins {

StandinSettings ReadStandinSettings(const std::wstring& serviceName) {
    std::wstring file = ModuleFolder(nullptr) + L"standin.ini";
    auto number = [&](const wchar_t* key) {
        return ::GetPrivateProfileIntW(serviceName.c_str(), key, 0, file.c_str());
    };
    StandinSettings settings;
    settings.refuseStop = number(L"RefuseStop") != 0;
    settings.stopDelayMs = number(L"StopDelayMs");
    settings.stayStartPending = number(L"StayStartPending") != 0;
    settings.ignoreClose = number(L"IgnoreClose") != 0;
    settings.hangMs = number(L"HangMs");
    settings.port = static_cast<uint16_t>(number(L"Port"));
    return settings;
}

}  // namespace tolva::standins
