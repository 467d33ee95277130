// Runs under Wine: ildspack.exe extracts archives that the Linux ildspack packed, and the result
// must equal the packed folder byte for byte.
//
// usage: wine_extract_check ILDSPACK_EXE WORK_FOLDER
// WORK_FOLDER holds tree\ (what was packed), plain.ild and secret.ild (packed with the password
// "wine test").

#include <process.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Linux paths arrive as given by the build; Wine shows the Linux root as drive Z:.
std::string ToWindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

int RunIldspack(const std::string& exe, const std::vector<std::string>& args) {
    // The C runtime joins the arguments with blanks, so each one is quoted.
    std::vector<std::string> quoted = {"\"" + exe + "\""};
    for (const std::string& arg : args) {
        quoted.push_back("\"" + arg + "\"");
    }
    std::vector<const char*> argv;
    for (const std::string& arg : quoted) {
        argv.push_back(arg.c_str());
    }
    argv.push_back(nullptr);
    return int(_spawnv(_P_WAIT, exe.c_str(), argv.data()));
}

std::map<std::string, std::string> ReadTree(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        if (!item.is_regular_file()) {
            continue;
        }
        std::ifstream in(item.path(), std::ios::binary);
        files[fs::relative(item.path(), folder).generic_string()] =
            std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

bool SameTree(const fs::path& expected, const fs::path& actual) {
    const auto want = ReadTree(expected), got = ReadTree(actual);
    bool same = true;
    for (const auto& [name, content] : want) {
        const auto found = got.find(name);
        if (found == got.end()) {
            std::printf("missing: %s\n", name.c_str());
            same = false;
        } else if (found->second != content) {
            std::printf("different: %s (%zu bytes, expected %zu)\n", name.c_str(),
                        found->second.size(), content.size());
            same = false;
        }
    }
    for (const auto& [name, content] : got) {
        if (!want.count(name)) {
            std::printf("unexpected: %s\n", name.c_str());
            same = false;
        }
    }
    std::printf("%s: %zu files compared\n", actual.string().c_str(), want.size());
    return same && !want.empty();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: wine_extract_check ILDSPACK_EXE WORK_FOLDER\n");
        return 64;
    }
    const std::string exe = ToWindowsPath(argv[1]);
    const fs::path work = ToWindowsPath(argv[2]);
    fs::remove_all(work / "out-plain");
    fs::remove_all(work / "out-secret");
    fs::remove_all(work / "out-refused");
    bool ok = true;
    auto expect = [&](const char* what, int status, int expected) {
        std::printf("%s: exit status %d\n", what, status);
        if (status != expected) {
            std::printf("  expected %d\n", expected);
            ok = false;
        }
    };
    const std::string folder = work.string() + "\\";
    expect("plain archive",
           RunIldspack(exe, {"extract", folder + "plain.ild", folder + "out-plain", "--quiet"}), 0);
    ok = SameTree(work / "tree", work / "out-plain") && ok;
    expect("encrypted archive",
           RunIldspack(exe, {"extract", folder + "secret.ild", folder + "out-secret", "--password",
                             "wine test"}),
           0);
    ok = SameTree(work / "tree", work / "out-secret") && ok;
    expect("encrypted archive without password",
           RunIldspack(exe, {"extract", folder + "secret.ild", folder + "out-refused"}), 1);
    expect("verify", RunIldspack(exe, {"verify", folder + "secret.ild", "--password", "wine test"}),
           0);
    std::printf(ok ? "all good\n" : "FAILED\n");
    return ok ? 0 : 1;
}
