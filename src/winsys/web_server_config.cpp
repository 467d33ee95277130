#include "winsys/web_server_config.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "util/string_file.h"
#include "util/text.h"
#include "winsys/legacy_web_server_config.h"

namespace tolva::winsys {

namespace {

using util::TXMLObject;
using util::xcFull;

constexpr char kRoot[] = "WEB";
constexpr char kHost[] = "HOST";
constexpr char kHandlerList[] = "EXTENSIONS";
constexpr char kSpecialList[] = "SPECIAL";
constexpr char kItem[] = "ITEM";
constexpr size_t kMaxFieldLength = 255;

struct TypeMarker {
    std::string_view text;
    HandlerType type;
};

constexpr std::array<TypeMarker, 4> kTypeMarkers = {{
    {"(isapi)", HandlerType::kIsapi},
    {"(cgi)", HandlerType::kCgi},
    {"(fastcgi)", HandlerType::kFastCgi},
    {"(ssi)", HandlerType::kSsi},
}};

std::string Field(std::string_view text) {
    return util::LowerCase(text.substr(0, kMaxFieldLength));
}

bool NamesLibrary(std::string_view module) {
    return util::LowerCase(module).find(".dll") != std::string::npos;
}

// A type marker counts only at the start: module paths such as "C:\Program Files (x86)\..." hold
// a ")" of their own.
void ReadModule(std::string_view text, HandlerEntry& entry) {
    if (!text.empty() && text.front() == '(') {
        const std::string lower = util::LowerCase(text.substr(0, text.find(')') + 1));
        for (const TypeMarker& marker : kTypeMarkers) {
            if (lower == marker.text) {
                entry.type = marker.type;
                entry.module = Field(text.substr(marker.text.size()));
                return;
            }
        }
    }
    entry.type = NamesLibrary(text) ? HandlerType::kIsapi : HandlerType::kCgi;
    entry.module = Field(text);
}

std::string ModuleText(const HandlerEntry& entry) {
    if (entry.type == HandlerType::kIsapi && NamesLibrary(entry.module)) {
        return entry.module;
    }
    for (const TypeMarker& marker : kTypeMarkers) {
        if (marker.type == entry.type) {
            return std::string(marker.text) + entry.module;
        }
    }
    return entry.module;
}

HandlerEntry ReadHandler(const TXMLObject& item) {
    HandlerEntry entry =
        MakeHandlerEntry(item.GetChildText("EXT", xcFull), item.GetChildText("MODULE", xcFull),
                         item.GetChildText("TITLE", xcFull));
    entry.element = &item;
    return entry;
}

bool SameHandler(const HandlerEntry& a, const HandlerEntry& b) {
    return a.extension == b.extension && a.module == b.module && a.type == b.type &&
           a.title == b.title && a.extraTitle == b.extraTitle;
}

void WriteHandler(TXMLObject& item, const HandlerEntry& entry) {
    item.SetChildText("EXT", entry.extension, xcFull);
    item.SetChildText("MODULE", ModuleText(entry), xcFull);
    item.SetChildText("TITLE",
                      entry.extraTitle.empty() ? entry.title : entry.title + "," + entry.extraTitle,
                      xcFull);
}

SpecialPath ReadSpecialPath(const TXMLObject& item) {
    SpecialPath special =
        MakeSpecialPath(item.GetChildText("TITLE", xcFull), item.GetChildText("MODULE", xcFull),
                        item.GetChildText("SCRIPT", xcFull));
    special.element = &item;
    return special;
}

bool SameSpecialPath(const SpecialPath& a, const SpecialPath& b) {
    return a.path == b.path && a.module == b.module && a.script == b.script;
}

void WriteSpecialPath(TXMLObject& item, const SpecialPath& special) {
    std::string title = "/" + special.path;
    std::replace(title.begin(), title.end(), '\\', '/');
    item.SetChildText("TITLE", title, xcFull);
    item.SetChildText("MODULE", special.module, xcFull);
    item.SetChildText("SCRIPT", special.script, xcFull);
}

template <typename Entry>
std::vector<Entry> ReadList(const TXMLObject& host, std::string_view listName,
                            Entry (*read)(const TXMLObject&)) {
    std::vector<Entry> entries;
    if (const TXMLObject* list = host.FindChild(listName); list != nullptr) {
        for (const auto& child : list->Children) {
            if (child->Name == kItem) {
                entries.push_back(read(*child));
            }
        }
    }
    return entries;
}

std::unique_ptr<TXMLObject> NewElement(const platform::System& system, std::string_view name) {
    auto element = std::make_unique<TXMLObject>(system);
    element->Name = std::string(name);
    return element;
}

// Takes the child out of parent and leaves an empty place for Arrange; null when it is not there
// (any more).
std::unique_ptr<TXMLObject> TakeOut(TXMLObject& parent, const TXMLObject* child) {
    if (child != nullptr) {
        for (std::unique_ptr<TXMLObject>& place : parent.Children) {
            if (place.get() == child) {
                return std::move(place);
            }
        }
    }
    return nullptr;
}

// Puts the elements, in order, in the places of parent's children called name and of those taken
// out. Places left over disappear with what they hold; elements beyond the places follow the last
// of them, or end the children when there was none.
void Arrange(TXMLObject& parent, std::string_view name,
             std::vector<std::unique_ptr<TXMLObject>> elements) {
    util::TXMLChildren old = std::move(parent.Children);
    parent.Children.clear();
    size_t next = 0;
    size_t insertAt = std::string::npos;
    for (std::unique_ptr<TXMLObject>& child : old) {
        if (child != nullptr && child->Name != name) {
            parent.Children.push_back(std::move(child));
            continue;
        }
        if (next < elements.size()) {
            parent.Children.push_back(std::move(elements[next++]));
        }
        insertAt = parent.Children.size();
    }
    if (insertAt == std::string::npos) {
        insertAt = parent.Children.size();
    }
    parent.Children.insert(
        parent.Children.begin() + static_cast<std::ptrdiff_t>(insertAt),
        std::make_move_iterator(elements.begin() + static_cast<std::ptrdiff_t>(next)),
        std::make_move_iterator(elements.end()));
}

template <typename Entry>
void WriteList(TXMLObject& host, std::string_view listName, std::vector<Entry>& entries,
               const platform::System& system, Entry (*read)(const TXMLObject&),
               bool (*same)(const Entry&, const Entry&), void (*write)(TXMLObject&, const Entry&)) {
    TXMLObject* list = host.FindChild(listName);
    if (list == nullptr && entries.empty()) {
        return;
    }
    if (list == nullptr) {
        list = &host.AddChild(listName, {}, xcFull);
    }
    std::vector<std::unique_ptr<TXMLObject>> items;
    for (Entry& entry : entries) {
        std::unique_ptr<TXMLObject> item = TakeOut(*list, entry.element);
        if (item == nullptr) {
            item = NewElement(system, kItem);
            write(*item, entry);
        } else if (!same(read(*item), entry)) {
            write(*item, entry);
        }
        entry.element = item.get();
        items.push_back(std::move(item));
    }
    Arrange(*list, kItem, std::move(items));
    if (list->Children.empty()) {
        std::erase_if(host.Children, [list](const auto& child) { return child.get() == list; });
    }
}

WebHost ReadHost(TXMLObject& element) {
    WebHost host;
    host.handlers = ReadList<HandlerEntry>(element, kHandlerList, ReadHandler);
    host.specialPaths = ReadList<SpecialPath>(element, kSpecialList, ReadSpecialPath);
    host.element = &element;
    return host;
}

void WriteHost(TXMLObject& element, WebHost& host, const platform::System& system) {
    WriteList<HandlerEntry>(element, kHandlerList, host.handlers, system, ReadHandler, SameHandler,
                            WriteHandler);
    WriteList<SpecialPath>(element, kSpecialList, host.specialPaths, system, ReadSpecialPath,
                           SameSpecialPath, WriteSpecialPath);
}

std::string ConfigPath(std::string_view configFolder, std::string_view name) {
    return std::string(configFolder).append(name);
}

void ConvertLegacyConfig(platform::FileSystem& files, const platform::System& system,
                         std::string_view configFolder) {
    const std::string legacyPath = ConfigPath(configFolder, kLegacyWebServerConfigFile);
    std::string text;
    if (!files.ReadWholeFile(legacyPath, text)) {
        return;
    }
    WebServerConfig converted;
    converted.hosts.push_back(ConvertLegacyHandlers(text));
    if (SaveWebServerConfig(files, system, configFolder, converted)) {
        (void)files.MoveTo(legacyPath, legacyPath + ".old", true);
    }
}

}  // namespace

HandlerEntry MakeHandlerEntry(std::string_view extension, std::string_view moduleText,
                              std::string_view titleText) {
    HandlerEntry entry;
    entry.extension = Field(extension);
    ReadModule(moduleText, entry);
    const size_t comma = titleText.find(',');
    entry.title = Field(titleText.substr(0, comma));
    if (comma != std::string_view::npos) {
        entry.extraTitle = Field(titleText.substr(comma + 1));
    }
    return entry;
}

SpecialPath MakeSpecialPath(std::string_view pathText, std::string_view module,
                            std::string_view script) {
    std::string path(pathText);
    std::replace(path.begin(), path.end(), '/', '\\');
    if (!path.empty() && path.front() == '\\') {
        path.erase(0, 1);
    }
    return {path.substr(0, kMaxFieldLength), std::string(module.substr(0, kMaxFieldLength)),
            std::string(script.substr(0, kMaxFieldLength))};
}

bool LoadWebServerConfig(platform::FileSystem& files, const platform::System& system,
                         std::string_view configFolder, WebServerConfig& config) {
    const std::string path = ConfigPath(configFolder, kWebServerConfigFile);
    if (!files.FileExists(path) &&
        files.FileExists(ConfigPath(configFolder, kLegacyWebServerConfigFile))) {
        ConvertLegacyConfig(files, system, configFolder);
    }
    config.hosts.clear();
    config.document = std::make_unique<TXMLObject>(system);
    std::string text;
    if (files.ReadWholeFile(path, text)) {
        config.document->ParseXML(text);
    }
    if (TXMLObject* root = config.document->FindChild(kRoot); root != nullptr) {
        for (const auto& child : root->Children) {
            if (child->Name == kHost) {
                config.hosts.push_back(ReadHost(*child));
            }
        }
    }
    if (config.hosts.empty()) {
        config.hosts.emplace_back();
        return false;
    }
    return true;
}

bool SaveWebServerConfig(platform::FileSystem& files, const platform::System& system,
                         std::string_view configFolder, WebServerConfig& config) {
    if (config.document == nullptr) {
        config.document = std::make_unique<TXMLObject>(system);
    }
    TXMLObject* root = config.document->FindChild(kRoot);
    if (root == nullptr) {
        root = &config.document->AddChild(kRoot, {}, xcFull);
    }
    std::vector<std::unique_ptr<TXMLObject>> elements;
    for (WebHost& host : config.hosts) {
        std::unique_ptr<TXMLObject> element = TakeOut(*root, host.element);
        if (element == nullptr) {
            element = NewElement(system, kHost);
        }
        WriteHost(*element, host, system);
        host.element = element.get();
        elements.push_back(std::move(element));
    }
    Arrange(*root, kHost, std::move(elements));
    return util::ReplaceFileWhole(files, ConfigPath(configFolder, kWebServerConfigFile),
                                  config.document->ToXML(true, true), false);
}

}  // namespace tolva::winsys
