// A stand-in for the server's API library (api.dll): its registration and the removal of it, each
// recorded in logs\standin-api.log beside the library. The library registers no class of its own.

#include <windows.h>

#include "standin_log.h"

namespace {

HMODULE library = nullptr;

const tolva::standins::StandinLog& Log() {
    static const tolva::standins::StandinLog log(library, L"api");
    return log;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        library = instance;
    }
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
    Log().Write("DllRegisterServer");
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() {
    Log().Write("DllUnregisterServer");
    return S_OK;
}
