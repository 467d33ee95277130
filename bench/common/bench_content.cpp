#include "bench_content.h"

#include <algorithm>
#include <iterator>

namespace tolva::bench {

namespace {

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

}  // namespace

TextMaker::TextMaker(uint64_t seed) : random_(seed), words_(MakeVocabulary(random_)) {}

const std::string& TextMaker::Word() {
    const size_t a = random_.Below(words_.size()), b = random_.Below(words_.size());
    return words_[std::min(a, b) * std::min(a, b) / words_.size()];
}

std::string TextMaker::Sentence() {
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

std::string TextMaker::Paragraph() {
    std::string paragraph;
    const size_t count = 2 + random_.Below(7);
    for (size_t i = 0; i < count; ++i) {
        paragraph += Sentence();
    }
    return paragraph;
}

std::string TextMaker::Html(size_t target, size_t page) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + Word() +
        " " + Word() +
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

std::string TextMaker::Text(size_t target) {
    std::string text;
    while (text.size() < target) {
        if (random_.Below(12) == 0) {
            text += "\r\n" + Word() + " " + Word() + "\r\n";
        }
        text += Paragraph() + "\r\n\r\n";
    }
    return text;
}

std::string TextMaker::Code(size_t target) {
    std::string code = "<?php\n// " + Sentence() + "\n\nclass " + Word() + "_" + Word() + "\n{\n";
    while (code.size() < target) {
        const std::string name = Word() + "_" + Word();
        code +=
            "    public function " + name + "($" + Word() + ", $" + Word() + " = null)\n    {\n";
        for (size_t line = 0; line < 2 + random_.Below(12); ++line) {
            switch (random_.Below(4)) {
                case 0:
                    code += "        $" + Word() + " = $this->" + Word() + "($" + Word() + ");\n";
                    break;
                case 1:
                    code += "        if (!isset($" + Word() + "['" + Word() +
                            "'])) {\n            return false;\n        }\n";
                    break;
                case 2:
                    code += "        // " + Sentence() + "\n";
                    break;
                default:
                    code += "        $result[] = '" + Word() + " " + Word() + "';\n";
            }
        }
        code += "        return $result;\n    }\n\n";
    }
    return code + "}\n";
}

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

}  // namespace tolva::bench
