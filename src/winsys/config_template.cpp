#include "winsys/config_template.h"

#include <array>
#include <utility>

#include "util/string_file.h"
#include "util/text.h"

namespace tolva::winsys {

namespace {

bool IsAbsolute(std::string_view path) {
    return (!path.empty() && (path.front() == '\\' || path.front() == '/')) ||
           path.find(':') != std::string_view::npos;
}

std::string_view FileNameOf(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

void ReplaceFirst(std::string& line, std::string_view placeholder, std::string_view value) {
    if (const size_t found = line.find(placeholder); found != std::string::npos) {
        line.replace(found, placeholder.size(), value);
    }
}

}  // namespace

TemplateValues MakeTemplateValues(const platform::System& system, std::string_view installFolder,
                                  std::string_view logFolder) {
    return {std::string(installFolder), std::string(logFolder), system.WindowsFolder() + "temp\\"};
}

bool FillTemplate(platform::FileSystem& files, std::string_view templateFile,
                  std::string_view baseFolder, std::string_view targetFolder,
                  const TemplateValues& values) {
    (void)files.CreateFolders(targetFolder);
    const std::string source = IsAbsolute(templateFile)
                                   ? std::string(templateFile)
                                   : std::string(baseFolder).append(templateFile);
    std::string text;
    if (!files.ReadWholeFile(source, text)) {
        return false;
    }
    const std::array<std::pair<std::string_view, std::string_view>, 3> placeholders = {{
        {"%%installpath%%", values.installPath},
        {"%%logpath%%", values.logPath},
        {"%%temppath%%", values.tempPath},
    }};
    std::string filled;
    const std::string trimmed = util::Trim(text);
    for (size_t start = 0; start < trimmed.size();) {
        size_t end = trimmed.find('\n', start);
        if (end == std::string::npos) {
            end = trimmed.size();
        }
        std::string line = util::Trim(std::string_view(trimmed).substr(start, end - start));
        start = end + 1;
        if (line.empty()) {
            continue;
        }
        for (const auto& [placeholder, value] : placeholders) {
            ReplaceFirst(line, placeholder, value);
        }
        filled += line;
        filled += "\r\n";
    }
    if (filled.empty()) {
        return false;
    }
    return util::ReplaceFileWhole(files, std::string(targetFolder).append(FileNameOf(templateFile)),
                                  filled, false);
}

}  // namespace tolva::winsys
