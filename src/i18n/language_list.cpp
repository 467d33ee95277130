#include "i18n/language_list.h"

#include <algorithm>
#include <memory>

#include "util/folder_path.h"
#include "util/utf8.h"
#include "util/xml_tag.h"

namespace tolva::i18n {

namespace {

constexpr std::string_view kMarker = "<?lang ";
constexpr size_t kMarkerLines = 2;

// Case folding for comparisons: ASCII, Latin-1 and Cyrillic capitals.
char16_t Fold(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x410 && c <= 0x42F)) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= 0x400 && c <= 0x40F) {
        return static_cast<char16_t>(c + 0x50);
    }
    return c;
}

bool LessWithoutCase(std::u16string_view a, std::u16string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return Fold(x) < Fold(y); });
}

bool SameWithoutCase(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return Fold(x) == Fold(y); });
}

// The entry as one text; the path's bytes only order entries of the same caption.
std::u16string EntryText(const LanguageEntry& entry) {
    std::u16string text = entry.caption;
    if (!entry.path.empty()) {
        text += u';';
        for (const char byte : entry.path) {
            text += static_cast<char16_t>(static_cast<unsigned char>(byte));
        }
    }
    return text;
}

// Up to the first kMarkerLines lines within the file's first kMarkerWindow bytes, without their
// line ends (CR LF, LF or CR). False when the file cannot be opened or read.
bool ReadFirstLines(const platform::FileSystem& files, const std::string& path,
                    std::vector<std::string>& lines) {
    std::unique_ptr<platform::InputFile> file;
    if (!files.OpenForRead(path, file)) {
        return false;
    }
    std::string start(kMarkerWindow, '\0');
    size_t filled = 0;
    while (filled < start.size()) {
        size_t got = 0;
        if (!file->Read(start.data() + filled, start.size() - filled, got)) {
            return false;
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    start.resize(filled);
    std::string_view rest = start;
    while (lines.size() < kMarkerLines && !rest.empty()) {
        const size_t end = rest.find_first_of("\r\n");
        lines.emplace_back(rest.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        const size_t next = rest.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        rest.remove_prefix(next);
    }
    return true;
}

void AddMarkedFile(const platform::FileSystem& files, const platform::System& system,
                   const std::string& path, LanguageList& list) {
    std::vector<std::string> lines;
    if (!ReadFirstLines(files, path, lines)) {
        return;
    }
    for (const std::string& line : lines) {
        if (std::optional<std::u16string> caption = LanguageMarkerCaption(line, system)) {
            list.push_back({std::move(*caption), path});
        }
    }
}

}  // namespace

std::optional<std::u16string> LanguageMarkerCaption(std::string_view line,
                                                    const platform::System& system) {
    const size_t marker = line.find(kMarker);
    if (marker == std::string_view::npos) {
        return std::nullopt;
    }
    return util::UTF8ToWide(
        util::XMLTagAttribute(line.substr(marker), "caption", util::xcEntities, system));
}

void ScanLanguageFiles(const platform::FileSystem& files, const platform::System& system,
                       std::string_view folder, LanguageList& list) {
    list.clear();
    const std::string root = util::WithTrailingBackslash(folder);
    // Depth first without recursion, so that a deep tree cannot exhaust the stack.
    std::vector<std::string> pending{root};
    while (!pending.empty()) {
        const std::string current = std::move(pending.back());
        pending.pop_back();
        std::vector<platform::FolderEntry> entries;
        if (!files.ListFolder(current, entries)) {
            continue;
        }
        std::vector<std::string> subfolders;
        for (const platform::FolderEntry& entry : entries) {
            if (entry.name.empty() || entry.name.front() == '.') {
                continue;
            }
            if (!entry.isFolder) {
                AddMarkedFile(files, system, current + entry.name, list);
            } else if ((entry.attributes & platform::file_attribute::kReparsePoint) == 0) {
                subfolders.push_back(current + entry.name + '\\');
            }
        }
        pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
    }
}

void SortLanguageList(LanguageList& list) {
    std::stable_sort(list.begin(), list.end(), [](const LanguageEntry& a, const LanguageEntry& b) {
        return LessWithoutCase(EntryText(a), EntryText(b));
    });
}

int FindLanguage(const LanguageList& list, std::u16string_view caption) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (SameWithoutCase(list[i].caption, caption)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace tolva::i18n
