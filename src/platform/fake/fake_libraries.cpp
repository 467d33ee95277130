#include "platform/fake/fake_libraries.h"

namespace tolva::platform {
namespace {

constexpr uint32_t kModuleNotFound = 126;  // ERROR_MOD_NOT_FOUND

}  // namespace

class FakeLibraries::Loaded final : public Library {
public:
    explicit Loaded(std::shared_ptr<Added> library) : library_(std::move(library)) {
        ++library_->loaded;
    }
    ~Loaded() override { --library_->loaded; }
    void* Lookup(std::string_view entryPoint) const override {
        const auto found = library_->entryPoints.find(std::string(entryPoint));
        return found == library_->entryPoints.end() ? nullptr : found->second;
    }

private:
    std::shared_ptr<Added> library_;
};

std::string FakeLibraries::Key(std::string_view pathOrName) const {
    const bool path = pathOrName.find_first_of("\\/:") != std::string_view::npos;
    return path ? files_.FullPath(pathOrName) : std::string(pathOrName);
}

void FakeLibraries::Add(std::string pathOrName, std::map<std::string, void*> entryPoints) {
    auto added = std::make_shared<Added>();
    added->entryPoints = std::move(entryPoints);
    added_[Key(pathOrName)] = std::move(added);
}

Status FakeLibraries::Load(std::string_view pathOrName, std::unique_ptr<Library>& library) {
    loads_.emplace_back(pathOrName);
    const auto found = added_.find(Key(pathOrName));
    if (found == added_.end()) {
        return Status::Failure(kModuleNotFound, "Load " + std::string(pathOrName));
    }
    library = std::make_unique<Loaded>(found->second);
    return Status::Ok();
}

int FakeLibraries::LoadedCount(std::string_view pathOrName) const {
    const auto found = added_.find(Key(pathOrName));
    return found == added_.end() ? 0 : found->second->loaded;
}

}  // namespace tolva::platform
