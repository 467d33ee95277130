#include "ildspack/commands.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_reader.h"
#include "archive/archive_writer.h"
#include "archive/entry_check.h"
#include "archive/extract_archive.h"
#include "ildspack/progress_bar.h"
#include "util/folder_path.h"
#include "util/text.h"

namespace tolva::ildspack {

namespace {

using archive::ReadOutcome;

void Report(const Invocation& invocation, const std::string& entry, const std::string& what) {
    if (entry.empty()) {
        std::fprintf(stderr, "ildspack: %s: %s\n", invocation.archive.c_str(), what.c_str());
    } else {
        std::fprintf(stderr, "ildspack: %s: entry \"%s\": %s\n", invocation.archive.c_str(),
                     entry.c_str(), what.c_str());
    }
}

std::string ReadFailure(ReadOutcome outcome, bool inData) {
    if (outcome == ReadOutcome::kReadFailed) {
        return "read error";
    }
    return inData ? "archive ends inside the entry's data" : "archive ends inside an entry header";
}

std::string Damage(const archive::DecodeResult& decoded) {
    return decoded.streamComplete ? "damaged: CRC-32 does not match"
                                  : "damaged: compressed data does not inflate to its end";
}

struct PackItem {
    std::string name;  // relative, with backslashes
    std::string path;
    uint64_t size = 0;
};

// Every file below folder, folders' entries in name order so that archives come out the same every
// time.
bool CollectFiles(const platform::FileSystem& files, const std::string& folder,
                  const std::string& prefix, std::vector<PackItem>& items, std::string& error) {
    std::vector<platform::FolderEntry> entries;
    if (const platform::Status listed = files.ListFolder(folder, entries); !listed) {
        error = listed.what();
        return false;
    }
    std::sort(entries.begin(), entries.end(),
              [](const platform::FolderEntry& a, const platform::FolderEntry& b) {
                  return a.name < b.name;
              });
    for (const platform::FolderEntry& entry : entries) {
        const std::string path = folder + entry.name;
        if (entry.isFolder) {
            if (!CollectFiles(files, path + "\\", prefix + entry.name + "\\", items, error)) {
                return false;
            }
            continue;
        }
        PackItem item{prefix + entry.name, path, 0};
        (void)files.GetFileSize(path, item.size);
        items.push_back(std::move(item));
    }
    return true;
}

int Pack(NativeFiles& native, const Invocation& invocation) {
    platform::FileSystem& files = native.Files();
    const std::string archivePath = native.ToWindowsPath(invocation.archive);
    const std::string folder = util::WithTrailingBackslash(native.ToWindowsPath(invocation.folder));
    if (!files.FolderExists(folder)) {
        Report(invocation, "", "folder " + invocation.folder + " not found");
        return kExitUnreadable;
    }
    std::vector<PackItem> items;
    std::string error;
    if (!CollectFiles(files, folder, "", items, error)) {
        Report(invocation, "", "cannot list " + invocation.folder + ": " + error);
        return kExitUnreadable;
    }
    std::erase_if(items,
                  [&](const PackItem& item) { return util::SameText(item.path, archivePath); });
    uint64_t total = 0;
    for (const PackItem& item : items) {
        total += item.size;
    }

    archive::ArchiveWriter writer;
    if (const platform::Status created = writer.Create(files, archivePath, invocation.password);
        !created) {
        Report(invocation, "", "cannot create the archive: " + created.what());
        return kExitUnreadable;
    }
    ProgressBar bar(!invocation.quiet && StandardErrorIsTerminal());
    uint64_t done = 0;
    for (const PackItem& item : items) {
        if (const platform::Status added = writer.AddFile(item.name, item.path); !added) {
            bar.Clear();
            Report(invocation, item.name, added.what());
            return kExitUnreadable;
        }
        done += item.size;
        bar.Update(done, total);
    }
    bar.Clear();
    if (const platform::Status finished = writer.Finish(); !finished) {
        Report(invocation, "", "cannot write the archive: " + finished.what());
        return kExitUnreadable;
    }
    std::printf("%s: packed %zu files, %" PRIu64 " bytes%s\n", invocation.archive.c_str(),
                items.size(), total, invocation.password.empty() ? "" : ", encrypted");
    return kExitOk;
}

int OpenReader(NativeFiles& native, const Invocation& invocation, archive::ArchiveReader& reader) {
    const ReadOutcome opened =
        reader.Open(native.Files(), native.ToWindowsPath(invocation.archive));
    if (opened == ReadOutcome::kOk) {
        return kExitOk;
    }
    Report(invocation, "",
           opened == ReadOutcome::kReadFailed ? "cannot be opened or read"
                                              : "archive ends inside its header");
    return kExitUnreadable;
}

int List(NativeFiles& native, const Invocation& invocation) {
    archive::ArchiveReader reader;
    if (const int opened = OpenReader(native, invocation, reader); opened != kExitOk) {
        return opened;
    }
    std::printf("format version %u\n", unsigned(reader.formatVersion()));
    archive::EntryHeader entry;
    while (true) {
        const ReadOutcome next = reader.NextEntry(entry);
        if (next == ReadOutcome::kEnd) {
            return kExitOk;
        }
        if (next != ReadOutcome::kOk) {
            Report(invocation, "", ReadFailure(next, false));
            return kExitUnreadable;
        }
        const std::string crc = entry.hasCrc ? [&] {
            char text[9];
            std::snprintf(text, sizeof text, "%08x", unsigned(entry.crc));
            return std::string(text);
        }()
                                             : std::string("--------");
        std::printf("%10u  %s  %-9s  %s\n", unsigned(entry.storedSize), crc.c_str(),
                    entry.encrypted ? "encrypted" : "", entry.name.c_str());
        if (const ReadOutcome skipped = reader.SkipData(); skipped != ReadOutcome::kOk) {
            Report(invocation, entry.name, ReadFailure(skipped, true));
            return kExitUnreadable;
        }
    }
}

int Verify(NativeFiles& native, const Invocation& invocation) {
    archive::ArchiveReader reader;
    if (const int opened = OpenReader(native, invocation, reader); opened != kExitOk) {
        return opened;
    }
    ProgressBar bar(!invocation.quiet && StandardErrorIsTerminal());
    reader.SetProgress([&](uint64_t done, uint64_t total) { bar.Update(done, total); });
    auto fail = [&](const std::string& entry, const std::string& what, int status) {
        bar.Clear();
        Report(invocation, entry, what);
        return status;
    };

    std::optional<archive::ArchiveCipher> cipher;
    archive::EntryHeader entry;
    uint64_t entries = 0, content = 0;
    while (true) {
        const ReadOutcome next = reader.NextEntry(entry);
        if (next == ReadOutcome::kEnd) {
            break;
        }
        if (next != ReadOutcome::kOk) {
            return fail("", ReadFailure(next, false), kExitUnreadable);
        }
        switch (archive::CheckEntryHeader(entry, !invocation.password.empty())) {
            case archive::EntryFault::kNeedsPassword:
                return fail(entry.name, "encrypted, and no password was given", kExitNeedsPassword);
            case archive::EntryFault::kUnsafeName:
                return fail(entry.name, "unsafe name: it would be written outside the destination",
                            kExitUnsafeName);
            case archive::EntryFault::kNone:
            case archive::EntryFault::kDamaged:
                break;
        }
        if (entry.encrypted && !cipher) {
            cipher.emplace(archive::MakeArchiveCipher(invocation.password));
        }
        const archive::DecodeResult decoded = reader.DecodeData(
            cipher ? &*cipher : nullptr, [](const uint8_t*, size_t) { return true; });
        if (decoded.read != ReadOutcome::kOk) {
            return fail(entry.name, ReadFailure(decoded.read, true), kExitUnreadable);
        }
        if (archive::CheckDecodedEntry(entry, decoded) == archive::EntryFault::kDamaged) {
            return fail(entry.name, Damage(decoded), kExitDamaged);
        }
        ++entries;
        content += decoded.contentSize;
    }
    bar.Clear();
    std::printf("%s: format version %u, %" PRIu64 " entries, %" PRIu64
                " bytes of content, all intact\n",
                invocation.archive.c_str(), unsigned(reader.formatVersion()), entries, content);
    return kExitOk;
}

int Extract(NativeFiles& native, const Invocation& invocation) {
    const std::string folder = native.ToWindowsPath(invocation.folder);
    ProgressBar bar(!invocation.quiet && StandardErrorIsTerminal());
    archive::ExtractReport report;
    report.progress = [&](uint64_t done, uint64_t total) { bar.Update(done, total); };
    int code = archive::kExtractOk;
    const bool ok =
        archive::ExtractArchive(native.Files(), native.ToWindowsPath(invocation.archive), folder,
                                code, invocation.overwrite, invocation.keepList,
                                invocation.includeList, invocation.password, &report);
    bar.Clear();
    if (ok) {
        std::printf("%s: extracted %d files into %s\n", invocation.archive.c_str(),
                    report.entriesWritten, invocation.folder.c_str());
        return kExitOk;
    }
    const std::string error =
        report.systemError ? " (system error " + std::to_string(report.systemError) + ")" : "";
    using archive::ExtractFailure;
    switch (report.failure) {
        case ExtractFailure::kNeedsPassword:
            Report(invocation, report.entry, "encrypted, and no password was given");
            return kExitNeedsPassword;
        case ExtractFailure::kDamaged:
            Report(invocation, report.entry, "damaged; nothing kept of it");
            return kExitDamaged;
        case ExtractFailure::kUnsafeName:
            Report(invocation, report.entry,
                   "unsafe name: it would be written outside the destination");
            return kExitUnsafeName;
        case ExtractFailure::kLinkOnPath:
            Report(invocation, report.entry,
                   "a folder on its path, or the file itself, is a link: nothing is written "
                   "through it");
            return kExitUnsafeName;
        case ExtractFailure::kDestinationNotCreated:
            Report(invocation, "", "cannot create folder " + invocation.folder + error);
            return kExitUnreadable;
        case ExtractFailure::kTruncatedHeader:
            Report(invocation, "", "archive ends inside an entry header");
            return kExitUnreadable;
        case ExtractFailure::kTruncatedData:
            Report(invocation, report.entry, "archive ends inside the entry's data");
            return kExitUnreadable;
        case ExtractFailure::kTargetNotWritten:
            Report(invocation, report.entry, "cannot write the file" + error);
            return kExitUnreadable;
        case ExtractFailure::kArchiveUnreadable:
        case ExtractFailure::kMissingArgument:
        case ExtractFailure::kNone:
            break;
    }
    Report(invocation, report.entry, "cannot be opened or read" + error);
    return kExitUnreadable;
}

}  // namespace

int RunCommand(NativeFiles& native, const Invocation& invocation) {
    switch (invocation.command) {
        case Command::kPack:
            return Pack(native, invocation);
        case Command::kList:
            return List(native, invocation);
        case Command::kVerify:
            return Verify(native, invocation);
        case Command::kExtract:
            return Extract(native, invocation);
    }
    return kExitUsage;
}

}  // namespace tolva::ildspack
