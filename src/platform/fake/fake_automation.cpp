#include "platform/fake/fake_automation.h"

#include <algorithm>
#include <utility>

namespace tolva::platform {
namespace {

constexpr uint32_t kModuleNotFound = 126;  // ERROR_MOD_NOT_FOUND

bool SameName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::string Signature(const std::vector<AutomationArg>& arguments) {
    std::string letters;
    for (const AutomationArg& argument : arguments) {
        letters += AutomationWireLetter(argument.kind);
    }
    return letters;
}

}  // namespace

char AutomationWireLetter(AutomationArgKind kind) {
    switch (kind) {
        case AutomationArgKind::kText:
        case AutomationArgKind::kWideText:
            return 's';
        case AutomationArgKind::kTextByRef:
            return 'r';
        case AutomationArgKind::kInteger:
            return 'i';
        case AutomationArgKind::kBoolean:
            return 'b';
    }
    return '?';
}

class FakeAutomation::Object : public AutomationObject {
public:
    Object(FakeAutomation& owner, std::string progId, int instance)
        : owner_(owner), progId_(std::move(progId)), instance_(instance) {
        ++owner_.live_;
    }
    ~Object() override { --owner_.live_; }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    Status Call(std::string_view method, const std::vector<AutomationArg>& arguments) override {
        uint32_t result = hresult::kClassNotRegistered;
        if (const Class* definition = owner_.FindClass(progId_)) {
            result = owner_.Check(*definition, method, arguments);
        }
        owner_.records_.push_back(
            {Record::Kind::kCall, progId_, instance_, std::string(method), arguments, result});
        if (result != 0) {
            std::string what = progId_ + "." + std::string(method);
            for (const Failure& failure : owner_.failures_) {
                if (SameName(failure.progId, progId_) && SameName(failure.method, method) &&
                    !failure.description.empty()) {
                    what += ": " + failure.description;
                }
            }
            return Status::Failure(result, what);
        }
        return Status::Ok();
    }

private:
    FakeAutomation& owner_;
    std::string progId_;
    int instance_;
};

void FakeAutomation::DefineClass(Class definition) {
    classes_.push_back(std::move(definition));
}

void FakeAutomation::DefineLibrary(std::string path, std::vector<Class> classes) {
    libraries_.push_back({std::move(path), std::move(classes)});
}

void FakeAutomation::FailCall(std::string_view progId, std::string_view method,
                              std::string description) {
    failures_.push_back({std::string(progId), std::string(method), std::move(description)});
}

const FakeAutomation::Class* FakeAutomation::FindClass(std::string_view progId) const {
    for (const Class& definition : classes_) {
        if (SameName(definition.progId, progId)) {
            return &definition;
        }
    }
    return nullptr;
}

uint32_t FakeAutomation::Check(const Class& definition, std::string_view method,
                               const std::vector<AutomationArg>& arguments) const {
    auto found = std::find_if(definition.methods.begin(), definition.methods.end(),
                              [&](const Method& m) { return SameName(m.name, method); });
    if (found == definition.methods.end()) {
        return hresult::kUnknownName;
    }
    const std::string given = Signature(arguments);
    bool countFits = false;
    bool typesFit = false;
    for (const std::string& signature : found->signatures) {
        countFits = countFits || signature.size() == given.size();
        typesFit = typesFit || signature == given;
    }
    if (!countFits) {
        return hresult::kBadParamCount;
    }
    if (!typesFit) {
        return hresult::kTypeMismatch;
    }
    for (const Failure& failure : failures_) {
        if (SameName(failure.progId, definition.progId) && SameName(failure.method, method)) {
            return hresult::kFail;
        }
    }
    return 0;
}

Status FakeAutomation::Create(std::string_view progId, std::unique_ptr<AutomationObject>& object) {
    const Class* definition = FindClass(progId);
    if (definition == nullptr) {
        records_.push_back(
            {Record::Kind::kCreate, std::string(progId), 0, {}, {}, hresult::kInvalidProgId});
        return Status::Failure(hresult::kInvalidProgId, "Create " + std::string(progId));
    }
    auto counter = std::find_if(instances_.begin(), instances_.end(),
                                [&](const auto& entry) { return SameName(entry.first, progId); });
    if (counter == instances_.end()) {
        instances_.emplace_back(definition->progId, 0);
        counter = std::prev(instances_.end());
    }
    int instance = ++counter->second;
    records_.push_back({Record::Kind::kCreate, definition->progId, instance, {}, {}, 0});
    object = std::make_unique<Object>(*this, definition->progId, instance);
    return Status::Ok();
}

Status FakeAutomation::RegisterServer(std::string_view libraryPath, bool unregister) {
    auto library = std::find_if(libraries_.begin(), libraries_.end(),
                                [&](const Library& l) { return SameName(l.path, libraryPath); });
    if (library == libraries_.end()) {
        return Status::Failure(kModuleNotFound, "Register " + std::string(libraryPath));
    }
    for (const Class& definition : library->classes) {
        std::erase_if(classes_,
                      [&](const Class& c) { return SameName(c.progId, definition.progId); });
        if (!unregister) {
            classes_.push_back(definition);
        }
    }
    return Status::Ok();
}

}  // namespace tolva::platform
