#include <filesystem>

#include "platform/win32/win32_platform.h"
#include "store_machine.h"

namespace tolva::stores::testing {
namespace {

constexpr char kFolder[] = "C:\\Tolva";

// Each test run has a fresh Wine prefix of its own, so the folder is free to take.
class Win32Machine : public NativeMachine {
public:
    ~Win32Machine() override {
        std::error_code ignored;
        std::filesystem::remove_all(kFolder, ignored);
    }

    platform::Platform& Services() override { return windows_.Services(); }
    std::string ScratchFolder() const override { return std::string(kFolder) + "\\scratch\\"; }
    std::string NativePath(const std::string& windowsPath) const override { return windowsPath; }
    // The build tree is a host folder, which Wine shows on drive Z:.
    std::string StandinLibrary() const override {
        std::string path = std::string("Z:") + TOLVA_DB_STANDIN;
        for (char& c : path) {
            if (c == '/') {
                c = '\\';
            }
        }
        return path;
    }

private:
    platform::Win32Platform windows_;
};

}  // namespace

std::unique_ptr<NativeMachine> MakeNativeMachine() {
    return std::make_unique<Win32Machine>();
}

}  // namespace tolva::stores::testing
