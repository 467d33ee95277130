// Stands for a hung test: starts a copy of itself, and both wait forever. Each creates a marker
// file (the path given, plus ".parent" or ".child") once it runs, so the harness check knows both
// were up.

#include <windows.h>

#include <string>

namespace {

void Mark(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return 64;
    }
    std::string marker = argv[1];
    if (argc == 2) {
        char self[MAX_PATH];
        ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string commandLine = "\"" + std::string(self) + "\" \"" + marker + "\" child";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process)) {
            return 1;
        }
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        Mark(marker + ".parent");
    } else {
        Mark(marker + ".child");
    }
    ::Sleep(INFINITE);
    return 0;
}
