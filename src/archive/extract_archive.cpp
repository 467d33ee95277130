#include "archive/extract_archive.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "archive/archive_reader.h"
#include "archive/entry_check.h"
#include "util/folder_path.h"
#include "util/text.h"

namespace tolva::archive {

namespace {

std::string_view ParentFolder(std::string_view path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

class Extraction {
public:
    Extraction(platform::FileSystem& files, int& resultCode, bool overwrite,
               std::string_view keepList, std::string_view includeList, std::string_view password,
               ExtractReport& report)
        : files_(files),
          resultCode_(resultCode),
          overwrite_(overwrite),
          keepList_(util::LowerCase(keepList)),
          include_(util::TrimmedListItems(util::LowerCase(includeList))),
          password_(password),
          report_(report) {}

    bool Run(std::string_view archiveFile, std::string_view destinationFolder) {
        destination_ = util::WithTrailingBackslash(destinationFolder);
        if (!files_.FolderExists(destination_)) {
            const platform::Status created = files_.CreateFolders(destination_);
            if (!created) {
                return Fail(ExtractFailure::kDestinationNotCreated, created.code());
            }
        }

        reader_.SetProgress(report_.progress);
        const ReadOutcome opened = reader_.Open(files_, archiveFile);
        report_.formatVersion = reader_.formatVersion();
        if (opened != ReadOutcome::kOk) {
            return FailRead(opened);
        }

        EntryHeader entry;
        while (true) {
            report_.entry.clear();
            const ReadOutcome next = reader_.NextEntry(entry);
            if (next == ReadOutcome::kEnd) {
                return resultCode_ == kExtractOk;
            }
            if (next != ReadOutcome::kOk) {
                return FailRead(next);
            }
            if (!ExtractEntry(entry)) {
                return false;
            }
        }
    }

private:
    bool Fail(ExtractFailure failure, uint32_t systemError = 0) {
        report_.failure = failure;
        report_.systemError = systemError;
        return false;
    }

    static ExtractFailure DataFailure(ReadOutcome outcome) {
        return outcome == ReadOutcome::kReadFailed ? ExtractFailure::kArchiveUnreadable
                                                   : ExtractFailure::kTruncatedData;
    }

    bool FailRead(ReadOutcome outcome) {
        if (outcome == ReadOutcome::kReadFailed) {
            return Fail(ExtractFailure::kArchiveUnreadable);
        }
        return Fail(ExtractFailure::kTruncatedHeader);
    }

    bool IsSelected(const std::string& name, const std::string& target) const {
        if (!overwrite_ && files_.FileExists(target)) {
            if (keepList_.empty()) {
                return false;
            }
            if (keepList_.find(";" + util::LowerCase(name) + ";") != std::string::npos) {
                return false;
            }
        }
        if (include_.empty()) {
            return true;
        }
        return std::find(include_.begin(), include_.end(), util::LowerCase(name)) != include_.end();
    }

    // Where an entry goes, and the file its content is written to first.
    struct Target {
        std::string path;
        std::string written;
    };

    static bool IsLink(uint32_t attributes) {
        return (attributes & platform::file_attribute::kReparsePoint) != 0;
    }

    // Creates the folders of the target's path. False, with the extraction stopped, when one of
    // them below the destination is a link: what is written there would land elsewhere.
    bool PrepareFolders(const std::string& target) {
        const std::string_view folder = ParentFolder(target);
        // Entries of one folder usually follow one another: check and create each folder once,
        // not once per entry.
        if (folder.size() <= destination_.size() || folder == preparedFolder_) {
            return true;
        }
        for (size_t slash = folder.find('\\', destination_.size()); slash != std::string::npos;
             slash = folder.find('\\', slash + 1)) {
            uint32_t attributes = 0;
            const std::string level(folder.substr(0, slash));
            if (!files_.GetAttributes(level, attributes)) {
                break;  // missing from here on: created below, fresh
            }
            if (IsLink(attributes)) {
                return StopAtLink();
            }
        }
        if (files_.CreateFolders(folder)) {
            preparedFolder_ = folder;
        }
        return true;
    }

    bool StopAtLink() {
        resultCode_ = kExtractUnsafeName;
        return Fail(ExtractFailure::kLinkOnPath);
    }

    // Extracts or passes over one entry; false when the extraction must stop.
    bool ExtractEntry(const EntryHeader& entry) {
        report_.entry = entry.name;
        switch (CheckEntryHeader(entry, !password_.empty())) {
            case EntryFault::kNeedsPassword:
                resultCode_ = kExtractNeedsPassword;
                return Fail(ExtractFailure::kNeedsPassword);
            case EntryFault::kUnsafeName:
                resultCode_ = kExtractUnsafeName;
                return Fail(ExtractFailure::kUnsafeName);
            case EntryFault::kNone:
            case EntryFault::kDamaged:
                break;
        }

        Target target{destination_ + entry.name, {}};
        std::unique_ptr<platform::OutputFile> output;
        if (IsSelected(entry.name, target.path)) {
            if (!PrepareFolders(target.path)) {
                return false;
            }
            uint32_t attributes = 0;
            const bool exists = files_.GetAttributes(target.path, attributes).ok();
            if (exists && IsLink(attributes)) {
                return StopAtLink();
            }
            // An existing file is replaced only once the new content is whole.
            const bool replacing =
                exists && (attributes & platform::file_attribute::kDirectory) == 0;
            target.written = replacing ? target.path + ".new" : target.path;
            if (replacing && files_.GetAttributes(target.written, attributes) &&
                IsLink(attributes)) {
                return StopAtLink();
            }
            if (!files_.OpenForWrite(target.written, output)) {
                output.reset();  // passed over
            }
        }
        if (!output) {
            const ReadOutcome skipped = reader_.SkipData();
            return skipped == ReadOutcome::kOk || Fail(DataFailure(skipped));
        }
        return entry.storedSize == 0 ? Finish(target, *output) : Decode(entry, target, *output);
    }

    bool Decode(const EntryHeader& entry, const Target& target, platform::OutputFile& output) {
        if (entry.encrypted && !cipher_) {
            cipher_.emplace(MakeArchiveCipher(password_));
        }
        platform::Status written;
        const DecodeResult decoded = reader_.DecodeData(cipher_ ? &*cipher_ : nullptr,
                                                        [&](const uint8_t* data, size_t size) {
                                                            written = output.Write(data, size);
                                                            return written.ok();
                                                        });
        if (decoded.sinkFailed) {
            return Discard(target, &output, ExtractFailure::kTargetNotWritten, written.code());
        }
        if (decoded.read != ReadOutcome::kOk) {
            return Discard(target, &output, DataFailure(decoded.read));
        }
        if (CheckDecodedEntry(entry, decoded) == EntryFault::kDamaged) {
            resultCode_ = kExtractDamaged;
            return Discard(target, &output, ExtractFailure::kDamaged);
        }
        return Finish(target, output);
    }

    bool Finish(const Target& target, platform::OutputFile& output) {
        const platform::Status closed = output.Close();
        if (!closed) {
            return Discard(target, nullptr, ExtractFailure::kTargetNotWritten, closed.code());
        }
        if (target.written != target.path &&
            !files_.MoveTo(target.written, target.path, /*replace=*/true)) {
            // The existing file cannot be replaced (read-only, or in use): passed over as one
            // that cannot be created.
            (void)files_.RemoveFile(target.written);
            return true;
        }
        ++report_.entriesWritten;
        return true;
    }

    // Removes what was written of an entry that must not stay behind half written or damaged; a
    // file it was to replace stays as it was. output is null when it is closed already.
    bool Discard(const Target& target, platform::OutputFile* output, ExtractFailure failure,
                 uint32_t systemError = 0) {
        if (output) {
            (void)output->Close();
        }
        (void)files_.RemoveFile(target.written);
        return Fail(failure, systemError);
    }

    platform::FileSystem& files_;
    int& resultCode_;
    const bool overwrite_;
    const std::string keepList_;
    const std::vector<std::string> include_;
    const std::string_view password_;
    ExtractReport& report_;
    std::string destination_;
    std::string preparedFolder_;
    ArchiveReader reader_;
    std::optional<ArchiveCipher> cipher_;  // set up on the first encrypted entry
};

}  // namespace

bool ExtractArchive(platform::FileSystem& files, std::string_view archiveFile,
                    std::string_view destinationFolder, int& resultCode, bool overwrite,
                    std::string_view keepList, std::string_view includeList,
                    std::string_view password, ExtractReport* report) {
    resultCode = kExtractOk;
    ExtractReport localReport;
    ExtractReport& used = report ? *report : localReport;
    used.failure = ExtractFailure::kNone;
    used.entry.clear();
    if (archiveFile.empty() || destinationFolder.empty()) {
        used.failure = ExtractFailure::kMissingArgument;
        return false;
    }
    Extraction extraction(files, resultCode, overwrite, keepList, includeList, password, used);
    return extraction.Run(archiveFile, destinationFolder);
}

}  // namespace tolva::archive
