#include "platform/fake/fake_registry.h"

#include "platform/fake/windows_1252.h"

namespace tolva::platform {

struct FakeRegistry::Key {
    struct Value {
        std::string name;
        RegistryValueType type = RegistryValueType::kNone;
        std::string data;
    };

    std::string name;
    std::vector<Value> values;
    std::map<std::string, std::unique_ptr<Key>> subkeys;  // by upper-case name

    Value* FindValue(std::string_view valueName);
};

namespace {

constexpr char kSoftware[] = "SOFTWARE";

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = UpperCase1252(c);
    }
    return upper;
}

// Path parts between backslashes; leading, trailing and doubled backslashes add nothing.
std::vector<std::string_view> SplitKey(std::string_view key) {
    std::vector<std::string_view> parts;
    while (!key.empty()) {
        size_t slash = key.find('\\');
        std::string_view part = key.substr(0, slash);
        if (!part.empty()) {
            parts.push_back(part);
        }
        key.remove_prefix(slash == std::string_view::npos ? key.size() : slash + 1);
    }
    return parts;
}

Status NotFound(const char* operation, std::string_view key, std::string_view name) {
    std::string what = std::string(operation) + " " + std::string(key);
    if (!name.empty()) {
        what += " [" + std::string(name) + "]";
    }
    return Status::Failure(error::kFileNotFound, what);
}

}  // namespace

FakeRegistry::Key::Value* FakeRegistry::Key::FindValue(std::string_view valueName) {
    std::string upper = Upper(valueName);
    for (Value& value : values) {
        if (Upper(value.name) == upper) {
            return &value;
        }
    }
    return nullptr;
}

FakeRegistry::FakeRegistry() : software64_(std::make_unique<Key>()) {
    for (RegistryRoot root :
         {RegistryRoot::kClassesRoot, RegistryRoot::kCurrentUser, RegistryRoot::kLocalMachine,
          RegistryRoot::kUsers, RegistryRoot::kCurrentConfig}) {
        roots_[root] = std::make_unique<Key>();
    }
    software64_->name = kSoftware;
    MakeKey(RegistryRoot::kLocalMachine, kSoftware);
}

FakeRegistry::~FakeRegistry() = default;

void FakeRegistry::FailNext(std::string_view operation, uint32_t code) {
    failures_[std::string(operation)] = code;
}

bool FakeRegistry::Begin(const char* operation, RegistryHive hive, std::string_view key,
                         std::string_view name, Status& failure) const {
    calls_.push_back({operation, hive.root, std::string(key), std::string(name), hive.view});
    auto planned = failures_.find(operation);
    if (planned == failures_.end()) {
        return true;
    }
    failure = Status::Failure(planned->second, std::string(operation) + " " + std::string(key));
    failures_.erase(planned);
    return false;
}

FakeRegistry::Key* FakeRegistry::Start(RegistryHive hive,
                                       std::vector<std::string_view>& parts) const {
    if (hive.root == RegistryRoot::kLocalMachine && hive.view == RegistryView::k64Bit &&
        !parts.empty() && Upper(parts.front()) == kSoftware) {
        parts.erase(parts.begin());
        return software64_.get();
    }
    return roots_.at(hive.root).get();
}

FakeRegistry::Key* FakeRegistry::Find(RegistryHive hive, std::string_view key) const {
    std::vector<std::string_view> parts = SplitKey(key);
    Key* current = Start(hive, parts);
    for (std::string_view part : parts) {
        auto child = current->subkeys.find(Upper(part));
        if (child == current->subkeys.end()) {
            return nullptr;
        }
        current = child->second.get();
    }
    return current;
}

bool FakeRegistry::KeyExists(RegistryHive hive, std::string_view key) const {
    Status ignored;
    return Begin("KeyExists", hive, key, "", ignored) && Find(hive, key) != nullptr;
}

Status FakeRegistry::CreateKey(RegistryHive hive, std::string_view key) {
    Status failure;
    if (!Begin("CreateKey", hive, key, "", failure)) {
        return failure;
    }
    MakeKey(hive, key);
    return Status::Ok();
}

FakeRegistry::Key* FakeRegistry::MakeKey(RegistryHive hive, std::string_view key) {
    std::vector<std::string_view> parts = SplitKey(key);
    Key* current = Start(hive, parts);
    for (std::string_view part : parts) {
        std::unique_ptr<Key>& child = current->subkeys[Upper(part)];
        if (!child) {
            child = std::make_unique<Key>();
            child->name = std::string(part);
        }
        current = child.get();
    }
    return current;
}

Status FakeRegistry::Read(const char* operation, RegistryHive hive, std::string_view key,
                          std::string_view name, RegistryValueType wanted,
                          RegistryValueType alsoAccepted, std::string& data) const {
    Status failure;
    if (!Begin(operation, hive, key, name, failure)) {
        return failure;
    }
    Key* found = Find(hive, key);
    Key::Value* value = found != nullptr ? found->FindValue(name) : nullptr;
    if (value == nullptr) {
        return NotFound(operation, key, name);
    }
    if (value->type != wanted && value->type != alsoAccepted) {
        return Status::Failure(error::kUnsupportedType, std::string(operation) + " " +
                                                            std::string(key) + " [" +
                                                            std::string(name) + "]: other type");
    }
    data = value->data;
    return Status::Ok();
}

Status FakeRegistry::ReadString(RegistryHive hive, std::string_view key, std::string_view name,
                                std::string& value) const {
    return Read("ReadString", hive, key, name, RegistryValueType::kString,
                RegistryValueType::kExpandString, value);
}

Status FakeRegistry::ReadDword(RegistryHive hive, std::string_view key, std::string_view name,
                               uint32_t& value) const {
    std::string data;
    if (Status status = Read("ReadDword", hive, key, name, RegistryValueType::kDword,
                             RegistryValueType::kDword, data);
        !status) {
        return status;
    }
    value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value |= static_cast<uint32_t>(static_cast<uint8_t>(data[i])) << (8 * i);
    }
    return Status::Ok();
}

Status FakeRegistry::ReadBinary(RegistryHive hive, std::string_view key, std::string_view name,
                                std::string& value) const {
    return Read("ReadBinary", hive, key, name, RegistryValueType::kBinary,
                RegistryValueType::kBinary, value);
}

Status FakeRegistry::GetValueType(RegistryHive hive, std::string_view key, std::string_view name,
                                  RegistryValueType& type) const {
    Status failure;
    if (!Begin("GetValueType", hive, key, name, failure)) {
        return failure;
    }
    Key* found = Find(hive, key);
    Key::Value* value = found != nullptr ? found->FindValue(name) : nullptr;
    if (value == nullptr) {
        return NotFound("GetValueType", key, name);
    }
    type = value->type;
    return Status::Ok();
}

Status FakeRegistry::Write(const char* operation, RegistryHive hive, std::string_view key,
                           std::string_view name, RegistryValueType type, std::string data) {
    Status failure;
    if (!Begin(operation, hive, key, name, failure)) {
        return failure;
    }
    Key* target = MakeKey(hive, key);
    if (Key::Value* value = target->FindValue(name)) {
        value->type = type;
        value->data = std::move(data);
    } else {
        target->values.push_back({std::string(name), type, std::move(data)});
    }
    return Status::Ok();
}

Status FakeRegistry::WriteString(RegistryHive hive, std::string_view key, std::string_view name,
                                 std::string_view value) {
    return Write("WriteString", hive, key, name, RegistryValueType::kString, std::string(value));
}

Status FakeRegistry::WriteExpandString(RegistryHive hive, std::string_view key,
                                       std::string_view name, std::string_view value) {
    return Write("WriteExpandString", hive, key, name, RegistryValueType::kExpandString,
                 std::string(value));
}

Status FakeRegistry::WriteDword(RegistryHive hive, std::string_view key, std::string_view name,
                                uint32_t value) {
    std::string data(4, '\0');
    for (size_t i = 0; i < 4; ++i) {
        data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return Write("WriteDword", hive, key, name, RegistryValueType::kDword, std::move(data));
}

Status FakeRegistry::WriteBinary(RegistryHive hive, std::string_view key, std::string_view name,
                                 std::string_view value) {
    return Write("WriteBinary", hive, key, name, RegistryValueType::kBinary, std::string(value));
}

Status FakeRegistry::ListValueNames(RegistryHive hive, std::string_view key,
                                    std::vector<std::string>& names) const {
    Status failure;
    if (!Begin("ListValueNames", hive, key, "", failure)) {
        return failure;
    }
    Key* found = Find(hive, key);
    if (found == nullptr) {
        return NotFound("ListValueNames", key, "");
    }
    names.clear();
    for (const Key::Value& value : found->values) {
        names.push_back(value.name);
    }
    return Status::Ok();
}

Status FakeRegistry::ListSubkeys(RegistryHive hive, std::string_view key,
                                 std::vector<std::string>& names) const {
    Status failure;
    if (!Begin("ListSubkeys", hive, key, "", failure)) {
        return failure;
    }
    Key* found = Find(hive, key);
    if (found == nullptr) {
        return NotFound("ListSubkeys", key, "");
    }
    names.clear();
    for (const auto& [upper, child] : found->subkeys) {
        names.push_back(child->name);
    }
    return Status::Ok();
}

Status FakeRegistry::RemoveValue(RegistryHive hive, std::string_view key, std::string_view name) {
    Status failure;
    if (!Begin("RemoveValue", hive, key, name, failure)) {
        return failure;
    }
    Key* found = Find(hive, key);
    Key::Value* value = found != nullptr ? found->FindValue(name) : nullptr;
    if (value == nullptr) {
        return NotFound("RemoveValue", key, name);
    }
    found->values.erase(found->values.begin() + (value - found->values.data()));
    return Status::Ok();
}

Status FakeRegistry::RemoveKeyTree(RegistryHive hive, std::string_view key) {
    Status failure;
    if (!Begin("RemoveKeyTree", hive, key, "", failure)) {
        return failure;
    }
    std::vector<std::string_view> parts = SplitKey(key);
    if (parts.empty()) {
        return Status::Failure(error::kInvalidParameter, "RemoveKeyTree of a whole root");
    }
    if (hive.root == RegistryRoot::kLocalMachine && parts.size() == 1 &&
        Upper(parts.front()) == kSoftware) {
        return Status::Failure(error::kAccessDenied, "RemoveKeyTree " + std::string(key));
    }
    std::string_view last = parts.back();
    std::string parentPath;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        parentPath += std::string(parts[i]) + "\\";
    }
    Key* parent = Find(hive, parentPath);
    if (parent == nullptr || parent->subkeys.erase(Upper(last)) == 0) {
        return NotFound("RemoveKeyTree", key, "");
    }
    return Status::Ok();
}

}  // namespace tolva::platform
