#pragma once
// The SHA-256 digests a module catalogue may give for its archives, and the check of a downloaded
// file against one. A catalogue lists them as
// <ARCHIVE name="setupim.dat" sha256="64 hexadecimal digits"/> under its root.

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "util/xml_object.h"

namespace tolva::net {

// The sha256 attribute of the first ARCHIVE child of root whose name attribute is the archive's
// name (without regard to case); nothing when the catalogue (or root, which may be null) lists no
// such archive.
std::optional<std::string> CatalogueDigest(const util::TXMLObject* root,
                                           std::string_view archiveName);

// True when the file's SHA-256 is the digest, written as 64 hexadecimal digits (either case,
// blanks around them allowed). False for a digest written any other way and for a file that cannot
// be read whole.
bool FileMatchesDigest(const platform::FileSystem& files, std::string_view path,
                       std::string_view digest);

}  // namespace tolva::net
