#include "archive/extract_archive.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "archive/archive_reader.h"
#include "archive/entry_name.h"
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

    // Extracts or passes over one entry; false when the extraction must stop.
    bool ExtractEntry(const EntryHeader& entry) {
        report_.entry = entry.name;
        if (entry.encrypted && password_.empty()) {
            resultCode_ = kExtractNeedsPassword;
            return Fail(ExtractFailure::kNeedsPassword);
        }
        if (!IsSafeEntryName(entry.name)) {
            resultCode_ = kExtractUnsafeName;
            return Fail(ExtractFailure::kUnsafeName);
        }

        const std::string target = destination_ + entry.name;
        std::unique_ptr<platform::OutputFile> output;
        if (IsSelected(entry.name, target)) {
            const std::string_view folder = ParentFolder(target);
            // Entries of one folder usually follow one another: create each folder once, not once
            // per entry.
            if (folder.size() > destination_.size() && folder != createdFolder_) {
                if (files_.CreateFolders(folder)) {
                    createdFolder_ = folder;
                }
            }
            if (!files_.OpenForWrite(target, output)) {
                output.reset();  // passed over
            }
        }
        if (!output) {
            const ReadOutcome skipped = reader_.SkipData();
            return skipped == ReadOutcome::kOk || Fail(DataFailure(skipped));
        }
        return entry.storedSize == 0 ? Finish(target, *output) : Decode(entry, target, *output);
    }

    bool Decode(const EntryHeader& entry, const std::string& target, platform::OutputFile& output) {
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
        if (entry.hasCrc && decoded.crc != entry.crc) {
            resultCode_ = kExtractDamaged;
            return Discard(target, &output, ExtractFailure::kDamaged);
        }
        return Finish(target, output);
    }

    bool Finish(const std::string& target, platform::OutputFile& output) {
        const platform::Status closed = output.Close();
        if (!closed) {
            return Discard(target, nullptr, ExtractFailure::kTargetNotWritten, closed.code());
        }
        ++report_.entriesWritten;
        return true;
    }

    // Removes a target that must not stay behind half written or damaged.
    // output is null when it is closed already.
    bool Discard(const std::string& target, platform::OutputFile* output, ExtractFailure failure,
                 uint32_t systemError = 0) {
        if (output) {
            (void)output->Close();
        }
        (void)files_.RemoveFile(target);
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
    std::string createdFolder_;
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
