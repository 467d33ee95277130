#include "setup/config_template.h"

#include <array>
#include <utility>

#include "util/string_file.h"
#include "util/text.h"

namespace tolva::setup {

namespace {

bool IsAbsolute(std::string_view path) {
    return (!path.empty() && (path.front() == '\\' || path.front() == '/')) ||
           path.find(':') != std::string_view::npos;
}

std::string_view FileNameOf(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string FillLine(std::string line, const TemplateValues& values) {
    const std::array<std::pair<std::string_view, std::string_view>, 3> placeholders = {{
        {"%%installpath%%", values.installPath},
        {"%%logpath%%", values.logPath},
        {"%%temppath%%", values.tempPath},
    }};
    for (const auto& [placeholder, value] : placeholders) {
        if (const size_t found = line.find(placeholder); found != std::string::npos) {
            line.replace(found, placeholder.size(), value);
        }
    }
    return line;
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
    std::string filled;
    for (const std::string& piece : util::SplitText(util::Trim(text), '\n')) {
        std::string line = util::Trim(piece);
        if (!line.empty()) {
            filled += FillLine(std::move(line), values);
            filled += "\r\n";
        }
    }
    if (filled.empty()) {
        return false;
    }
    const std::string target = std::string(targetFolder).append(FileNameOf(templateFile));
    return util::ReplaceFileWhole(files, target, filled, false);
}

}  // namespace tolva::setup
