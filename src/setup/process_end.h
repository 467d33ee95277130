#pragma once
// How a step of the installer ends the process.

namespace tolva::setup {

class ProcessEnd {
public:
    virtual ~ProcessEnd() = default;
    // Ends the process at once with the exit code (exit_codes.h). Never returns in the program; a
    // test's implementation records the code and returns, and the caller then gives up its work.
    virtual void EndProcess(int exitCode) = 0;
};

}  // namespace tolva::setup
