#pragma once
// The anti-virus engine's setup library (setiface.dll), which arrives with the engine's package:
// loaded by full path from a folder, called, unloaded. The engine looks for its files relative to
// the current folder, so the folder is made current while the library loads and while it installs,
// and the previous current folder is restored afterwards.

#include <memory>
#include <string>
#include <string_view>

#include "platform/libraries.h"

namespace tolva::winsys {

class AntivirusEngineLibrary {
public:
    explicit AntivirusEngineLibrary(platform::Libraries& libraries) : libraries_(libraries) {}

    // Loads folder (with a trailing backslash) + "setiface.dll", unloading a library loaded
    // before. False when it cannot be loaded.
    bool Load(std::string_view folder);
    bool Loaded() const { return library_ != nullptr; }
    // Also when the loader goes.
    void Unload() { library_.reset(); }

    // Each call is skipped (false) when no library is loaded or it lacks the entry point.

    // Installs the engine into targetFolder (without trailing backslash) with the engine's setup
    // program beside the library. True when the call returns 0.
    bool InstallProgram(std::string_view targetFolder);
    // Updates the files of the engine the library belongs to, overwriting them. True when the
    // call returns 0 and the engine reports it done.
    bool UpdateFiles();
    // Removes the engine the library belongs to. True when the call returns 0 and the engine
    // reports it done.
    bool UninstallProgram();

private:
    void* EntryPoint(const char* name) const;

    platform::Libraries& libraries_;
    std::unique_ptr<platform::Library> library_;
    std::string folder_;
};

}  // namespace tolva::winsys
