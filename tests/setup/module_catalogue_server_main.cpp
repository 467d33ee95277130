// module_catalogue_server FOLDER PORT_FILE: the vendor's module catalogue on 127.0.0.1, for the
// installations of the tests. "/modules/server.xml" is a catalogue of this setup version whose
// base address is this server's "/modules/" and which gives the SHA-256 of every file in FOLDER;
// "/modules/NAME" serves the file NAME of FOLDER. Every request's path is printed on its own line.
// Once it listens, it writes the port to PORT_FILE and serves until it is terminated.

#include <openssl/evp.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "net/loopback_server.h"
#include "net/peer_program.h"
#include "util/product.h"

namespace {

using tolva::testing::LoopbackReply;
using tolva::testing::LoopbackRequest;

constexpr char kPrefix[] = "/modules/";

std::string Sha256Hex(const std::string& content) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(content.data(), content.size(), digest, &size, EVP_sha256(), nullptr);
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < size; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 0xF];
    }
    return hex;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

LoopbackReply Ok(const char* type, std::shared_ptr<const std::string> body) {
    LoopbackReply reply =
        LoopbackReply::Of("HTTP/1.1 200 OK\r\nContent-Type: " + std::string(type) +
                          "\r\nContent-Length: " + std::to_string(body->size()) + "\r\n\r\n");
    reply.bulk = std::move(body);
    return reply;
}

class Catalogue {
public:
    explicit Catalogue(std::filesystem::path folder) : folder_(std::move(folder)) {}
    void SetPort(uint16_t port) { port_ = port; }

    LoopbackReply Serve(const LoopbackRequest& request) const {
        std::printf("%s\n", request.path.c_str());
        std::fflush(stdout);
        const std::string& path = request.path;
        if (path == std::string(kPrefix) + "server.xml") {
            return Ok("text/xml", std::make_shared<const std::string>(Document()));
        }
        const std::string name = path.rfind(kPrefix, 0) == 0 ? path.substr(sizeof kPrefix - 1) : "";
        if (!name.empty() && name.find_first_of("/\\") == std::string::npos && name != "." &&
            name != ".." && std::filesystem::is_regular_file(folder_ / name)) {
            return Ok("application/octet-stream",
                      std::make_shared<const std::string>(ReadFile(folder_ / name)));
        }
        return LoopbackReply::Of("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    }

private:
    std::string Document() const {
        std::ostringstream xml;
        xml << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<modules>\r\n  <URL>http://127.0.0.1:"
            << port_ << kPrefix << "</URL>\r\n  <VERSION>" << tolva::kSetupVersion
            << "</VERSION>\r\n";
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            if (entry.is_regular_file()) {
                xml << "  <ARCHIVE name=\"" << entry.path().filename().string() << "\" sha256=\""
                    << Sha256Hex(ReadFile(entry.path())) << "\"/>\r\n";
            }
        }
        xml << "</modules>\r\n";
        return xml.str();
    }

    std::filesystem::path folder_;
    uint16_t port_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER PORT_FILE\n", argv[0]);
        return 64;
    }
    Catalogue catalogue{std::filesystem::path(argv[1])};
    tolva::testing::LoopbackServer server(
        {}, [&catalogue](const LoopbackRequest& request) { return catalogue.Serve(request); });
    if (!server.ok()) {
        std::fprintf(stderr, "module_catalogue_server: cannot listen\n");
        return 1;
    }
    catalogue.SetPort(server.port());
    tolva::testing::PublishPortsAndServe(argv[2], std::to_string(server.port()));
    return 0;
}
