#pragma once
// The record a stand-in keeps of what it was asked: one line per request in
// "logs\standin-<name>.log" in the folder of its executable or library, each line the local time
// ("yyyy-mm-dd hh:nn:ss"), a blank and the text. Several processes and threads may append at once.

#include <windows.h>

#include <string>

namespace tolva::standins {

class StandinLog {
public:
    // module: the executable (nullptr) or library whose folder holds the log.
    StandinLog(HMODULE module, const std::wstring& name);
    void Write(const std::string& text) const;

private:
    std::wstring path_;
};

// The folder of the module, with a trailing backslash.
std::wstring ModuleFolder(HMODULE module);

}  // namespace tolva::standins
