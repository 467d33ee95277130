#pragma once
// Windows paths on a Linux file system: "X:\a\b" lives at "<root>/x/a/b".

#include <string>
#include <string_view>

namespace tolva::platform {

class HostPathMap {
public:
    // root: the host folder that holds one subfolder per drive letter; made absolute here, so a
    // later change of the current folder does not move it.
    explicit HostPathMap(std::string root);

    const std::string& Root() const { return root_; }

    // Resolves "." and ".." as Windows does, never above the drive's root, so no path leaves the
    // root. A path without a drive is taken relative to the current folder ("\x" to its drive).
    // False for UNC paths and for a relative path while the current folder lies outside the root.
    bool ToHost(std::string_view windowsPath, std::string& hostPath) const;
    // The Windows path of a host path under the root, without a trailing backslash except at a
    // drive's root ("C:\"); false when the path lies outside the root.
    bool ToWindows(std::string_view hostPath, std::string& windowsPath) const;

private:
    std::string root_;
};

}  // namespace tolva::platform
