#include "bench_tree.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace tolva::bench {

namespace {

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next() {  // splitmix64
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    size_t Below(size_t n) { return size_t(Next() % n); }

private:
    uint64_t state_;
};

std::vector<std::string> MakeVocabulary(Random& random) {
    static const char* kSyllables[] = {
        "ser",  "ver",  "mail",  "con",  "fig", "ur",   "a",   "tion", "in",   "stall", "do",
        "main", "ac",   "count", "pro",  "to",  "col",  "mes", "sage", "fil",  "ter",   "spam",
        "de",   "liv",  "er",    "que",  "ue",  "re",   "lay", "host", "name", "port",  "se",
        "cure", "list", "user",  "path", "log", "time", "out", "set",  "ting", "op"};
    std::vector<std::string> words;
    for (int i = 0; i < 3000; ++i) {
        std::string word;
        const size_t parts = 1 + random.Below(3);
        for (size_t p = 0; p < parts; ++p) {
            word += kSyllables[random.Below(std::size(kSyllables))];
        }
        words.push_back(word);
    }
    return words;
}

class TextMaker {
public:
    explicit TextMaker(uint64_t seed) : random_(seed), words_(MakeVocabulary(random_)) {}

    // Zipf-like choice: common words far more often than rare ones.
    const std::string& Word() {
        const size_t a = random_.Below(words_.size()), b = random_.Below(words_.size());
        return words_[std::min(a, b) * std::min(a, b) / words_.size()];
    }

    std::string Sentence() {
        std::string sentence;
        const size_t count = 5 + random_.Below(16);
        for (size_t i = 0; i < count; ++i) {
            std::string word = Word();
            if (i == 0) {
                word[0] = char(word[0] - 'a' + 'A');
            }
            sentence += word;
            sentence += i + 1 == count ? ". " : (random_.Below(9) == 0 ? ", " : " ");
        }
        return sentence;
    }

    std::string Paragraph() {
        std::string paragraph;
        const size_t count = 2 + random_.Below(7);
        for (size_t i = 0; i < count; ++i) {
            paragraph += Sentence();
        }
        return paragraph;
    }

    std::string Html(size_t target, size_t page) {
        std::string html =
            "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
            Word() + " " + Word() +
            "</title>\n<link rel=\"stylesheet\" href=\"../style.css\">\n</head>\n<body>\n"
            "<div class=\"nav\"><a href=\"index.html\">Contents</a> | <a href=\"page_" +
            std::to_string(page + 1) + ".html\">Next</a></div>\n<h1>" + Sentence() + "</h1>\n";
        while (html.size() < target) {
            switch (random_.Below(5)) {
                case 0:
                    html += "<h2>" + Word() + " " + Word() + "</h2>\n";
                    break;
                case 1: {
                    html += "<table class=\"settings\">\n";
                    for (size_t row = 0; row < 3 + random_.Below(6); ++row) {
                        html += "<tr><td class=\"key\">" + Word() + "</td><td>" + Sentence() +
                                "</td></tr>\n";
                    }
                    html += "</table>\n";
                    break;
                }
                default:
                    html += "<p>" + Paragraph() + "<a href=\"" + Word() + ".html\">" + Word() +
                            "</a></p>\n";
            }
        }
        return html + "</body>\n</html>\n";
    }

    std::string Text(size_t target) {
        std::string text;
        while (text.size() < target) {
            if (random_.Below(12) == 0) {
                text += "\r\n" + Word() + " " + Word() + "\r\n";
            }
            text += Paragraph() + "\r\n\r\n";
        }
        return text;
    }

    Random& random() { return random_; }

private:
    Random random_;
    std::vector<std::string> words_;
};

void WriteFile(const std::filesystem::path& file, const std::string& content, TreeStats& stats) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(content.data(), std::streamsize(content.size()));
    ++stats.files;
    stats.bytes += content.size();
}

// Machine code stand-in: repeated instruction-like patterns with varying operands, tables of
// pointers and strings, and stretches of packed (incompressible) data.
std::string ProgramFile(Random& random, TextMaker& text, size_t size) {
    std::string data = "MZ";
    data.resize(1024, '\0');
    while (data.size() < size) {
        switch (random.Below(4)) {
            case 0:
            case 1:
                for (int i = 0; i < 2000; ++i) {
                    static const char kOpcodes[] = {'\x55', '\x8b', '\x89', '\xe8',
                                                    '\x83', '\xc3', '\x50', '\x0f'};
                    data += kOpcodes[random.Below(8)];
                    data += char(random.Below(4) == 0 ? random.Next() : 0xEC + random.Below(4));
                    if (random.Below(3) == 0) {
                        data += char(random.Next());
                    }
                }
                break;
            case 2:
                for (int i = 0; i < 200; ++i) {
                    data += text.Word() + '\0';
                }
                break;
            default:
                for (int i = 0; i < 4096; ++i) {
                    data += char(random.Next());
                }
        }
    }
    data.resize(size);
    return data;
}

std::string MediaFile(Random& random, size_t size) {
    std::string data = "\xFF\xD8\xFF\xE0";
    data.reserve(size);
    while (data.size() + 8 <= size) {
        const uint64_t v = random.Next();
        data.append(reinterpret_cast<const char*>(&v), 8);
    }
    data.resize(size, '\0');
    return data;
}

}  // namespace

TreeStats WriteBenchTree(const std::filesystem::path& folder, uint64_t seed) {
    TreeStats stats;
    TextMaker text(seed);
    Random& random = text.random();
    char name[64];
    for (size_t page = 0; page < 5000; ++page) {
        std::snprintf(name, sizeof name, "docs/html/section%02zu/page_%04zu.html", page / 100,
                      page);
        WriteFile(folder / name, text.Html(2000 + random.Below(18000), page), stats);
    }
    for (size_t i = 0; i < 1000; ++i) {
        std::snprintf(name, sizeof name, "docs/text/note_%04zu.txt", i);
        WriteFile(folder / name, text.Text(500 + random.Below(8000)), stats);
    }
    static const char* kPrograms[] = {"tolvasmtp.exe",  "tolvapop.exe", "tolvactl.exe",
                                      "tolvaim.exe",    "tolvagw.exe",  "api.dll",
                                      "corvanecom.dll", "db.dll",       "ldap.dll",
                                      "sip.dll",        "filter.dll",   "webhost.dll"};
    for (const char* program : kPrograms) {
        WriteFile(folder / "bin" / program,
                  ProgramFile(random, text, 2'000'000 + random.Below(2'000'000)), stats);
    }
    for (const char* media :
         {"media/splash.jpg", "media/intro.mp4", "media/logo.png", "media/sounds.zip"}) {
        WriteFile(folder / media, MediaFile(random, 8'000'000 + random.Below(4'000'000)), stats);
    }
    for (int i = 0; i < 4; ++i) {
        WriteFile(folder / ("manuals/manual_" + std::to_string(i) + ".txt"), text.Text(22'000'000),
                  stats);
    }
    return stats;
}

void WriteLargeText(const std::filesystem::path& file, uint64_t size, uint64_t seed) {
    TextMaker text(seed);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    std::string chunk;
    uint64_t written = 0;
    while (written < size) {
        chunk = text.Text(1 << 20);
        if (chunk.size() > size - written) {
            chunk.resize(size_t(size - written));
        }
        out.write(chunk.data(), std::streamsize(chunk.size()));
        written += chunk.size();
    }
}

}  // namespace tolva::bench
