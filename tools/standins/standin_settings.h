#pragma once
// How a stand-in is told to misbehave, for tests: the section of its service name in
// "standin.ini" beside the executable.
//
//   [TolvaSMTP]
//   RefuseStop=1        accepts the stop control and goes on running
//   StopDelayMs=3000    takes that long to stop
//   StayStartPending=1  never reports that it runs
//   IgnoreClose=1       keeps its window on WM_CLOSE
//   HangMs=30000        stops answering for that long at the first task message or WM_CLOSE to
//                       its window, then handles it
//   Port=2525           holds this loopback TCP port while it runs, and does not start when
//                       another program holds it

#include <windows.h>

#include <cstdint>
#include <string>

namespace tolva::standins {

struct StandinSettings {
    bool refuseStop = false;
    uint32_t stopDelayMs = 0;
    bool stayStartPending = false;
    bool ignoreClose = false;
    uint32_t hangMs = 0;
    uint16_t port = 0;
};

StandinSettings ReadStandinSettings(const std::wstring& serviceName);

}  // namespace tolva::standins
