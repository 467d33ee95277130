#pragma once
// The real files the store tests run on: on Linux a fresh host folder standing for the drives,
// under Windows the folder C:\Tolva itself. Whatever the tests write is removed with the machine.

#include <memory>
#include <string>

#include "platform/platform.h"

namespace tolva::stores::testing {

class NativeMachine {
public:
    virtual ~NativeMachine() = default;
    virtual platform::Platform& Services() = 0;
    // A folder of this process's own file system, for the database stand-in's store.
    virtual std::string ScratchFolder() const = 0;
    // The path this process's own file functions take for a Windows path.
    virtual std::string NativePath(const std::string& windowsPath) const = 0;
    // Where the build put the database stand-in.
    virtual std::string StandinLibrary() const = 0;
};

std::unique_ptr<NativeMachine> MakeNativeMachine();

}  // namespace tolva::stores::testing
