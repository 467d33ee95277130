#pragma once
// The calling contract of the anti-virus engine's setup library (setiface.dll): the entry points it
// exports by name and their C signatures, standard call. Included by the loader and by every
// library that offers them.
//
// Strings are 8-bit and zero-terminated; a null options string means none. Every call returns 0
// when it succeeded and sets *status (which the caller sets to 0 first) to the engine's status
// code, kStatusDone when the engine finished the work.

#include <cstdint>

#if defined(_WIN32)
#define TOLVA_SETIFACE_CALL __stdcall
#else
#define TOLVA_SETIFACE_CALL
#endif

namespace tolva::winsys::setiface {

inline constexpr char kLibraryName[] = "setiface.dll";
// The installer program of the engine, beside the library in the engine's setup package.
inline constexpr char kSetupProgramName[] = "avastoem.exe";
// How the suite names itself to the engine.
inline constexpr char kPartnerName[] = "Corvane";
// The mode every call of the suite passes.
inline constexpr int32_t kPartnerMode = 2;
inline constexpr uint32_t kStatusDone = 0x20000000;

inline constexpr char kInstallProgram[] = "setifaceInstallProgram";
inline constexpr char kUpdatePackages[] = "setifaceUpdatePackages";
inline constexpr char kUpdateFiles[] = "setifaceUpdateFiles";
inline constexpr char kUninstallProgram[] = "setifaceUninstallProgram";
inline constexpr char kGimmePathToSetifaceVpu[] = "setifaceGimmePathToSetifaceVpu";
inline constexpr char kGetPartVersions[] = "setifaceGetPartVersions";
inline constexpr char kCheckUpdate[] = "setifaceCheckUpdate";

extern "C" {
// Installs the engine into targetFolder (no trailing backslash) by running setupProgram.
using InstallProgramFn = int32_t(TOLVA_SETIFACE_CALL*)(const char* partner,
                                                       const char* setupProgram,
                                                       const char* targetFolder,
                                                       const char* options, int32_t mode,
                                                       uint32_t* status);
// UpdatePackages, UpdateFiles, UninstallProgram and CheckUpdate work on the engine installed
// around the library's own folder.
using EngineCallFn = int32_t(TOLVA_SETIFACE_CALL*)(const char* partner, const char* options,
                                                   int32_t mode, uint32_t* status);
// Copy a zero-terminated text of at most size bytes into buffer: the path of the engine's update
// package, the versions of the engine's parts.
using TextCallFn = int32_t(TOLVA_SETIFACE_CALL*)(const char* partner, char* buffer, uint32_t size,
                                                 uint32_t* status);
}

}  // namespace tolva::winsys::setiface
