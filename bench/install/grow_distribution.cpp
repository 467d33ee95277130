#include "grow_distribution.h"

#include <cmath>
#include <fstream>
#include <string>

#include "bench_content.h"

namespace tolva::bench {

namespace {

namespace fs = std::filesystem;

constexpr const char* kLanguages[] = {"en", "de", "fr", "es", "it", "nl",
                                      "pl", "cs", "ru", "ja", "pt", "sv"};

class Grower {
public:
    explicit Grower(const fs::path& stage) : stage_(stage), text_(7) {}

    GrownStats stats() const { return stats_; }

    // Most files of a real web tree lie between 1 and 40 KB, the small ones more often.
    size_t SmallSize() {
        const double fraction = double(random().Below(1'000'000)) / 1'000'000.0;
        return size_t(1024.0 * std::exp(fraction * std::log(40.0)));
    }

    void Page(const fs::path& file, size_t page) { Write(file, text_.Html(SmallSize(), page)); }
    void Code(const fs::path& file) { Write(file, text_.Code(SmallSize())); }
    void Prose(const fs::path& file) { Write(file, text_.Text(SmallSize())); }
    void Image(const fs::path& file) { Write(file, MediaFile(random(), 300 + SmallSize() / 4)); }
    void Program(const fs::path& file, size_t size) {
        Write(file, ProgramFile(random(), text_, size));
    }
    void Media(const fs::path& file, size_t size) { Write(file, MediaFile(random(), size)); }
    void Manual(const fs::path& file, size_t size) { Write(file, text_.Text(size)); }

    // A web application: modules of scripts and pages, images and per-language string files.
    void WebTree(const fs::path& root, size_t modules, size_t filesPerModule, size_t images,
                 size_t stringsPerLanguage) {
        for (size_t module = 0; module < modules; ++module) {
            const fs::path folder = root / ("module" + Number(module));
            for (size_t file = 0; file < filesPerModule; ++file) {
                switch (file % 4) {
                    case 0:
                        Page(folder / ("view" + Number(file) + ".html"), file);
                        break;
                    case 1:
                        Write(folder / ("script" + Number(file) + ".js"), text_.Code(SmallSize()));
                        break;
                    default:
                        Code(folder / ("class" + Number(file) + ".php"));
                }
            }
        }
        for (size_t image = 0; image < images; ++image) {
            Image(root / "images" / ("skin" + Number(image % 6)) /
                  ("icon" + Number(image) + (image % 3 == 0 ? ".png" : ".gif")));
        }
        for (const char* language : kLanguages) {
            for (size_t file = 0; file < stringsPerLanguage; ++file) {
                Prose(root / "lang" / language / ("strings" + Number(file) + ".txt"));
            }
        }
    }

    void Write(const fs::path& relative, const std::string& content) {
        const fs::path file = stage_ / relative;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary)
            .write(content.data(), std::streamsize(content.size()));
        ++stats_.files;
        stats_.bytes += content.size();
    }

private:
    static std::string Number(size_t n) { return std::to_string(n); }
    Random& random() { return text_.random(); }

    fs::path stage_;
    TextMaker text_;
    GrownStats stats_;
};

}  // namespace

GrownStats GrowDistribution(const fs::path& stage) {
    Grower grow(stage);
    constexpr size_t kMB = 1'000'000;

    // The main archive: administration pages, documentation, groupware, examples, one large data
    // file.
    grow.WebTree("setup.dat/html/admin", 60, 40, 400, 40);
    for (const char* language : kLanguages) {
        for (size_t page = 0; page < 60; ++page) {
            grow.Page(
                fs::path("setup.dat/doc") / language / ("topic" + std::to_string(page) + ".html"),
                page);
        }
        for (size_t page = 0; page < 15; ++page) {
            grow.Page(fs::path("setup.dat/calendar/doc") / language /
                          ("help" + std::to_string(page) + ".html"),
                      page);
        }
        grow.Prose(fs::path("setup.dat/calendar/holidays") /
                   (std::string(language) + "_extra.txt"));
    }
    for (int manual = 0; manual < 3; ++manual) {
        grow.Media("setup.dat/doc/manual" + std::to_string(manual) + ".pdf",
                   3 * kMB + manual * kMB);
    }
    for (size_t file = 0; file < 80; ++file) {
        grow.Code("setup.dat/examples/sample" + std::to_string(file) + ".php");
        grow.Prose("setup.dat/api/reference" + std::to_string(file) + ".txt");
        grow.Prose("setup.dat/xml/template" + std::to_string(file) + ".xml");
    }
    grow.Program("setup.dat/modules/geodata.dat", 200 * kMB);

    // Webmail: the largest web tree, with its script bundles.
    grow.WebTree("setupwebmail2.dat/webmail", 120, 44, 1500, 70);
    grow.Program("setupwebmail2.dat/webmail/client/bundle.js", 3 * kMB);
    grow.Program("setupwebmail2.dat/webmail/client/vendor.js", 4 * kMB);

    // Anti-spam rules, dictionaries, wizards, LDAP schemas.
    for (size_t rule = 0; rule < 150; ++rule) {
        grow.Prose("setupas.dat/rules/" + std::to_string(30 + rule) + "_rules.cf");
    }
    for (const char* language : {"de", "fr", "es", "it", "nl", "pl"}) {
        grow.Program(std::string("setupaspell.dat/dict/") + language + ".rws", 3 * kMB);
    }
    for (size_t page = 0; page < 100; ++page) {
        grow.Page("setupwizard.dat/pages/step" + std::to_string(page) + ".html", page);
    }
    for (size_t schema = 0; schema < 20; ++schema) {
        grow.Prose("setupldap.dat/schema/extra" + std::to_string(schema) + ".schema");
    }
    return grow.stats();
}

}  // namespace tolva::bench
