#include "platform/win32/win32_registry.h"

#include <windows.h>

#include "platform/win32/ansi_text.h"
#include "platform/win32/unique_hkey.h"

namespace tolva::platform {
namespace {

HKEY RootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::kClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RegistryRoot::kCurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryRoot::kLocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RegistryRoot::kUsers:
            return HKEY_USERS;
        case RegistryRoot::kCurrentConfig:
            return HKEY_CURRENT_CONFIG;
    }
    return HKEY_LOCAL_MACHINE;
}

// Key paths are relative to their root; a leading or trailing backslash adds nothing.
std::wstring WideKey(std::string_view key) {
    while (!key.empty() && key.front() == '\\') {
        key.remove_prefix(1);
    }
    while (!key.empty() && key.back() == '\\') {
        key.remove_suffix(1);
    }
    return AnsiToWideText(key);
}

std::string Describe(const char* what, std::string_view key, std::string_view name = {}) {
    std::string text = std::string(what) + " " + std::string(key);
    if (!name.empty()) {
        text += " [" + std::string(name) + "]";
    }
    return text;
}

REGSAM ViewFlag(RegistryView view) {
    return view == RegistryView::k64Bit ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

LONG OpenKey(RegistryHive hive, std::string_view key, REGSAM access, UniqueHKey& opened) {
    HKEY handle = nullptr;
    LONG result = ::RegOpenKeyExW(RootKey(hive.root), WideKey(key).c_str(), 0,
                                  access | ViewFlag(hive.view), &handle);
    opened.Reset(result == ERROR_SUCCESS ? handle : nullptr);
    return result;
}

LONG MakeKey(RegistryHive hive, std::string_view key, UniqueHKey& created) {
    HKEY handle = nullptr;
    LONG result = ::RegCreateKeyExW(
        RootKey(hive.root), WideKey(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
        KEY_READ | KEY_WRITE | ViewFlag(hive.view), nullptr, &handle, nullptr);
    created.Reset(result == ERROR_SUCCESS ? handle : nullptr);
    return result;
}

// The value's type and raw data.
LONG QueryValue(HKEY key, std::string_view name, DWORD& type, std::string& data) {
    std::wstring wideName = AnsiToWideText(name);
    for (;;) {
        DWORD size = 0;
        LONG result = ::RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size);
        if (result != ERROR_SUCCESS) {
            return result;
        }
        data.assign(size, '\0');
        result = ::RegQueryValueExW(key, wideName.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(data.data()), &size);
        if (result == ERROR_MORE_DATA) {
            continue;  // grew between the two calls
        }
        data.resize(size);
        return result;
    }
}

Status ReadValue(const char* what, RegistryHive hive, std::string_view key, std::string_view name,
                 DWORD& type, std::string& data) {
    UniqueHKey opened;
    LONG result = OpenKey(hive, key, KEY_QUERY_VALUE, opened);
    if (result == ERROR_SUCCESS) {
        result = QueryValue(opened.Get(), name, type, data);
    }
    if (result != ERROR_SUCCESS) {
        return Status::Failure(static_cast<uint32_t>(result), Describe(what, key, name));
    }
    return Status::Ok();
}

Status OtherType(const char* what, std::string_view key, std::string_view name) {
    return Status::Failure(ERROR_UNSUPPORTED_TYPE, Describe(what, key, name) + ": other type");
}

Status WriteValue(const char* what, RegistryHive hive, std::string_view key, std::string_view name,
                  DWORD type, const void* data, size_t size) {
    UniqueHKey created;
    LONG result = MakeKey(hive, key, created);
    if (result == ERROR_SUCCESS) {
        result = ::RegSetValueExW(created.Get(), AnsiToWideText(name).c_str(), 0, type,
                                  static_cast<const BYTE*>(data), static_cast<DWORD>(size));
    }
    if (result != ERROR_SUCCESS) {
        return Status::Failure(static_cast<uint32_t>(result), Describe(what, key, name));
    }
    return Status::Ok();
}

// Enumerates value names (subkeys false) or subkey names (subkeys true) until ERROR_NO_MORE_ITEMS.
Status ListNames(const char* what, RegistryHive hive, std::string_view key, bool subkeys,
                 std::vector<std::string>& names) {
    UniqueHKey opened;
    LONG result = OpenKey(hive, key, KEY_READ, opened);
    std::vector<std::string> found;
    std::wstring name(256, L'\0');
    for (DWORD index = 0; result == ERROR_SUCCESS;) {
        DWORD length = static_cast<DWORD>(name.size());
        result = subkeys ? ::RegEnumKeyExW(opened.Get(), index, name.data(), &length, nullptr,
                                           nullptr, nullptr, nullptr)
                         : ::RegEnumValueW(opened.Get(), index, name.data(), &length, nullptr,
                                           nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA && name.size() < 32768) {
            name.resize(name.size() * 4);
            result = ERROR_SUCCESS;
            continue;
        }
        if (result == ERROR_SUCCESS) {
            found.push_back(WideToAnsiText(std::wstring_view(name.data(), length)));
            ++index;
        }
    }
    if (result != ERROR_NO_MORE_ITEMS) {
        return Status::Failure(static_cast<uint32_t>(result), Describe(what, key));
    }
    names = std::move(found);
    return Status::Ok();
}

}  // namespace

bool Win32Registry::KeyExists(RegistryHive hive, std::string_view key) const {
    UniqueHKey opened;
    return OpenKey(hive, key, KEY_READ, opened) == ERROR_SUCCESS;
}

Status Win32Registry::CreateKey(RegistryHive hive, std::string_view key) {
    UniqueHKey created;
    if (LONG result = MakeKey(hive, key, created); result != ERROR_SUCCESS) {
        return Status::Failure(static_cast<uint32_t>(result), Describe("CreateKey", key));
    }
    return Status::Ok();
}

Status Win32Registry::ReadString(RegistryHive hive, std::string_view key, std::string_view name,
                                 std::string& value) const {
    DWORD type = REG_NONE;
    std::string data;
    if (Status status = ReadValue("ReadString", hive, key, name, type, data); !status) {
        return status;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        return OtherType("ReadString", key, name);
    }
    std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
    data.copy(reinterpret_cast<char*>(wide.data()), wide.size() * sizeof(wchar_t));
    while (!wide.empty() && wide.back() == L'\0') {
        wide.pop_back();
    }
    value = WideToAnsiText(wide);
    return Status::Ok();
}

Status Win32Registry::ReadDword(RegistryHive hive, std::string_view key, std::string_view name,
                                uint32_t& value) const {
    DWORD type = REG_NONE;
    std::string data;
    if (Status status = ReadValue("ReadDword", hive, key, name, type, data); !status) {
        return status;
    }
    if (type != REG_DWORD || data.size() != 4) {
        return OtherType("ReadDword", key, name);
    }
    value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value |= static_cast<uint32_t>(static_cast<uint8_t>(data[i])) << (8 * i);
    }
    return Status::Ok();
}

Status Win32Registry::ReadBinary(RegistryHive hive, std::string_view key, std::string_view name,
                                 std::string& value) const {
    DWORD type = REG_NONE;
    std::string data;
    if (Status status = ReadValue("ReadBinary", hive, key, name, type, data); !status) {
        return status;
    }
    if (type != REG_BINARY) {
        return OtherType("ReadBinary", key, name);
    }
    value = std::move(data);
    return Status::Ok();
}

Status Win32Registry::GetValueType(RegistryHive hive, std::string_view key, std::string_view name,
                                   RegistryValueType& type) const {
    DWORD raw = REG_NONE;
    std::string data;
    if (Status status = ReadValue("GetValueType", hive, key, name, raw, data); !status) {
        return status;
    }
    type = static_cast<RegistryValueType>(raw);
    return Status::Ok();
}

Status Win32Registry::WriteString(RegistryHive hive, std::string_view key, std::string_view name,
                                  std::string_view value) {
    std::wstring wide = AnsiToWideText(value);
    return WriteValue("WriteString", hive, key, name, REG_SZ, wide.c_str(),
                      (wide.size() + 1) * sizeof(wchar_t));
}

Status Win32Registry::WriteDword(RegistryHive hive, std::string_view key, std::string_view name,
                                 uint32_t value) {
    BYTE data[4];
    for (size_t i = 0; i < 4; ++i) {
        data[i] = static_cast<BYTE>((value >> (8 * i)) & 0xFF);
    }
    return WriteValue("WriteDword", hive, key, name, REG_DWORD, data, sizeof data);
}

Status Win32Registry::WriteBinary(RegistryHive hive, std::string_view key, std::string_view name,
                                  std::string_view value) {
    return WriteValue("WriteBinary", hive, key, name, REG_BINARY, value.data(), value.size());
}

Status Win32Registry::ListValueNames(RegistryHive hive, std::string_view key,
                                     std::vector<std::string>& names) const {
    return ListNames("ListValueNames", hive, key, false, names);
}

Status Win32Registry::ListSubkeys(RegistryHive hive, std::string_view key,
                                  std::vector<std::string>& names) const {
    return ListNames("ListSubkeys", hive, key, true, names);
}

Status Win32Registry::RemoveValue(RegistryHive hive, std::string_view key, std::string_view name) {
    UniqueHKey opened;
    LONG result = OpenKey(hive, key, KEY_SET_VALUE, opened);
    if (result == ERROR_SUCCESS) {
        result = ::RegDeleteValueW(opened.Get(), AnsiToWideText(name).c_str());
    }
    if (result != ERROR_SUCCESS) {
        return Status::Failure(static_cast<uint32_t>(result), Describe("RemoveValue", key, name));
    }
    return Status::Ok();
}

Status Win32Registry::RemoveKeyTree(RegistryHive hive, std::string_view key) {
    std::wstring wide = WideKey(key);
    if (wide.empty()) {
        return Status::Failure(ERROR_INVALID_PARAMETER, "RemoveKeyTree of a whole root");
    }
    // RegDeleteTree takes no view: the key is opened in the view to empty it, then deleted there.
    UniqueHKey opened;
    LONG result = OpenKey(
        hive, key, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE, opened);
    if (result == ERROR_SUCCESS) {
        result = ::RegDeleteTreeW(opened.Get(), nullptr);
    }
    if (result == ERROR_SUCCESS) {
        opened.Reset();
        result = ::RegDeleteKeyExW(RootKey(hive.root), wide.c_str(), ViewFlag(hive.view), 0);
    }
    if (result != ERROR_SUCCESS) {
        return Status::Failure(static_cast<uint32_t>(result), Describe("RemoveKeyTree", key));
    }
    return Status::Ok();
}

}  // namespace tolva::platform
