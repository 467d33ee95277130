#include <stdlib.h>

#include <filesystem>

#include "platform/host/host_platform.h"
#include "store_machine.h"

namespace tolva::stores::testing {
namespace {

std::string MakeScratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tolva-stores-XXXXXX").string();
    return mkdtemp(pattern.data()) == nullptr ? std::string() : pattern;
}

class HostMachine : public NativeMachine {
public:
    HostMachine() : root_(MakeScratch()), host_(root_) {}
    ~HostMachine() override {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    platform::Platform& Services() override { return host_.Services(); }
    std::string ScratchFolder() const override { return root_ + "/"; }
    std::string NativePath(const std::string& windowsPath) const override {
        std::string relative = windowsPath.substr(3);
        for (char& c : relative) {
            if (c == '\\') {
                c = '/';
            }
        }
        return root_ + "/c/" + relative;
    }
    std::string StandinLibrary() const override { return TOLVA_DB_STANDIN; }

private:
    std::string root_;
    platform::HostPlatform host_;
};

}  // namespace

std::unique_ptr<NativeMachine> MakeNativeMachine() {
    return std::make_unique<HostMachine>();
}

}  // namespace tolva::stores::testing
