#include "winsys/legacy_web_server_config.h"

#include <string>
#include <vector>

#include "util/string_file.h"
#include "util/text.h"

namespace tolva::winsys {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The text trimmed, then an empty line and the section header.
std::string AppendSection(std::string_view text, std::string_view header) {
    return util::Trim(text) + "\r\n\r\n" + std::string(header) + "\r\n";
}

// Inserts the handler line after the last line of "[Filter]", before the empty line that ends it.
void AddFilterLine(std::string& text) {
    const size_t header = util::LowerCase(text).find("[filter]");
    size_t at = std::string::npos;
    if (header == std::string::npos) {
        text = AppendSection(text, "[Filter]");
    } else if (const size_t empty = text.find("\r\n\r\n", header); empty != std::string::npos) {
        at = empty + kLineEnd.size();
    } else if (!text.ends_with(kLineEnd)) {
        // The section is the last one and its last line has no line end.
        text += kLineEnd;
    }
    text.insert(at == std::string::npos ? text.size() : at, "=modules\\wcs.dll|[wcs]\r\n");
}

// Inserts the path line right after the "[Virtual-Host]" header line.
void AddVirtualHostLine(std::string& text) {
    const size_t header = util::LowerCase(text).find("[virtual-host]");
    size_t at = std::string::npos;
    if (header == std::string::npos) {
        text = AppendSection(text, "[Virtual-Host]");
    } else if (const size_t lineEnd = text.find(kLineEnd, header); lineEnd != std::string::npos) {
        at = lineEnd + kLineEnd.size();
    } else {
        // The header is the text's last line, without a line end.
        text += kLineEnd;
    }
    text.insert(at == std::string::npos ? text.size() : at, "/wcs/=[wcs]\r\n");
}

// The lines of the section with that header (lower case), up to the first empty line.
std::vector<std::string> SectionLines(std::string_view text, std::string_view header) {
    std::vector<std::string> lines;
    const size_t found = util::LowerCase(text).find(header);
    if (found == std::string::npos) {
        return lines;
    }
    size_t start = text.find('\n', found);
    while (start != std::string::npos && ++start < text.size()) {
        const size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            break;
        }
        lines.emplace_back(line);
        start = end;
    }
    return lines;
}

}  // namespace

void PatchLegacyWebServerConfig(platform::FileSystem& files, std::string_view configFolder) {
    const std::string path = std::string(configFolder) + kLegacyWebServerConfigFile;
    std::string text;
    // A file that exists but cannot be read is left alone rather than replaced by the new lines.
    if (!files.FileExists(path) || !files.ReadWholeFile(path, text)) {
        return;
    }
    if (text.find("wcs.dll") == std::string::npos) {
        AddFilterLine(text);
        AddVirtualHostLine(text);
    }
    text = util::ReplaceAll(text, "webmail\\web.dll", "php\\php.dll");
    (void)util::ReplaceFileWhole(files, path, text, false);
}

WebHost ConvertLegacyHandlers(std::string_view text) {
    WebHost host;
    for (const std::string& line : SectionLines(text, "[filter]")) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string_view value = std::string_view(line).substr(equals + 1);
        const size_t bar = value.find('|');
        const std::string_view title =
            bar == std::string_view::npos ? std::string_view() : value.substr(bar + 1);
        host.handlers.push_back(MakeHandlerEntry(util::Trim(line.substr(0, equals)),
                                                 util::Trim(value.substr(0, bar)),
                                                 util::Trim(title)));
    }
    for (const std::string& line : SectionLines(text, "[virtual-host]")) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        host.specialPaths.push_back(MakeSpecialPath(util::Trim(line.substr(0, equals)),
                                                    util::Trim(line.substr(equals + 1)), ""));
    }
    return host;
}

}  // namespace tolva::winsys
