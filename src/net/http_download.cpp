#include "net/http_download.h"

#include <cstdio>
#include <memory>

#include "net/http_response.h"
#include "net/http_url.h"
#include "util/base64.h"

namespace tolva::net {
namespace {

// How much is asked of the connection at a time.
constexpr size_t kPieceSize = 2048;
// Body bytes are collected up to this size before each write to the file.
constexpr size_t kWriteBatch = 256 * 1024;

constexpr std::string_view kCrLf = "\r\n";

// Removes the Authorization and Cookie lines, which must not reach another origin.
std::string WithoutCredentials(std::string_view headers) {
    std::string kept;
    size_t start = 0;
    while (start < headers.size()) {
        size_t end = headers.find(kCrLf, start);
        end = end == std::string_view::npos ? headers.size() : end + kCrLf.size();
        std::string_view line = headers.substr(start, end - start);
        if (line.rfind("Authorization: ", 0) != 0 && line.rfind("Cookie: ", 0) != 0) {
            kept += line;
        }
        start = end;
    }
    return kept;
}

// Reads pieces until the reader is satisfied, the wait runs out or the peer closes.
class PieceSource {
public:
    PieceSource(platform::Connection& connection, uint32_t waitMs)
        : connection_(connection), waitMs_(waitMs) {}

    // False when no more bytes will come.
    bool Next(std::string_view& piece) {
        if (!connection_.WaitReadable(waitMs_)) {
            return false;
        }
        size_t got = 0;
        if (!connection_.Receive(buffer_, sizeof buffer_, got).ok() || got == 0) {
            connection_.Close();
            return false;
        }
        piece = std::string_view(buffer_, got);
        return true;
    }

private:
    platform::Connection& connection_;
    uint32_t waitMs_;
    char buffer_[kPieceSize];
};

}  // namespace

struct HttpClient::Outcome {
    std::string file;        // a finished download
    std::string redirectTo;  // a redirect to follow
    HttpUrl redirectFrom;    // the URL that answered with it
};

std::string TempFileBaseName(const platform::LocalTime& now, uint32_t counter) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u%02u%02u%02u%02u%02u", unsigned{now.year} % 10000,
                  unsigned{now.month} % 100, unsigned{now.day} % 100, unsigned{now.hour} % 100,
                  unsigned{now.minute} % 100, unsigned{now.second} % 100);
    char hex[16];
    std::snprintf(hex, sizeof hex, "%04X", counter);
    return std::string(stamp) + std::string(hex, 4) + ".tmp";
}

HttpClient::HttpClient(platform::Network& network, platform::FileSystem& files,
                       const platform::System& system, HttpClientOptions options)
    : network_(network), files_(files), system_(system), options_(std::move(options)) {}

std::string HttpClient::NextTempFileName() {
    ++requestCounter_;
    std::string folder = system_.TempFolder();
    if (folder.empty()) {
        folder = options_.fallbackFolder;
    }
    if (!folder.empty() && folder.back() != '\\') {
        folder += '\\';
    }
    // A missing folder only makes the file's creation fail later.
    (void)files_.CreateFolders(folder);
    return folder + TempFileBaseName(system_.Now(), requestCounter_);
}

std::string HttpClient::HTTPDownload(std::string_view url, bool includeHeaders) {
    try {
        std::string extraHeaders;
        std::string current(url);
        for (int depth = 1;; ++depth) {
            Outcome outcome = Fetch(current, includeHeaders, extraHeaders);
            if (outcome.redirectTo.empty()) {
                return outcome.file;
            }
            if (depth > kMaxRedirects) {
                return {};
            }
            HttpUrl next;
            if (!SplitHttpUrl(outcome.redirectTo, next)) {
                return {};
            }
            // Never step down from TLS to plain text.
            if (outcome.redirectFrom.tls && !next.tls) {
                return {};
            }
            if (!SameOrigin(outcome.redirectFrom, next)) {
                extraHeaders = WithoutCredentials(extraHeaders);
            }
            current = std::move(outcome.redirectTo);
        }
    } catch (...) {
        // Out of memory: a failed download like any other.
        if (!openFile_.empty()) {
            (void)files_.RemoveFile(openFile_);
            openFile_.clear();
        }
        return {};
    }
}

HttpClient::Outcome HttpClient::Fetch(std::string_view url, bool includeHeaders,
                                      std::string& extraHeaders) {
    Outcome failed;
    std::string fileName = NextTempFileName();
    HttpUrl parts;
    if (!SplitHttpUrl(url, parts)) {
        return failed;
    }
    if (!parts.user.empty()) {
        extraHeaders += "Authorization: Basic " +
                        util::Base64Encode(parts.user + ":" + parts.password) + std::string(kCrLf);
    }

    std::unique_ptr<platform::Connection> connection;
    if (!network_.Connect(parts.host, parts.port, options_.waitMs, connection).ok()) {
        return failed;
    }
    if (parts.tls) {
        platform::TlsOptions tls{parts.host, options_.extraTrustedRootFile};
        std::unique_ptr<platform::Connection> secure;
        if (!network_.StartTls(std::move(connection), tls, secure).ok()) {
            return failed;
        }
        connection = std::move(secure);
    }

    std::string request = "GET " + parts.path + " HTTP/1.1\r\nHost: " + parts.hostAsWritten +
                          "\r\n" + extraHeaders + "\r\n";
    if (!connection->SendAll(request.data(), request.size()).ok()) {
        return failed;
    }

    PieceSource source(*connection, options_.waitMs);
    HttpHeadReader headReader;
    std::string_view piece;
    HttpHeadReader::Result headState = HttpHeadReader::Result::kNeedMore;
    while (headState == HttpHeadReader::Result::kNeedMore && source.Next(piece)) {
        headState = headReader.Feed(piece);
    }
    if (headState != HttpHeadReader::Result::kComplete) {
        return failed;
    }
    const std::string& head = headReader.head();
    std::string status = StatusLine(head);
    std::string cookie = HeaderValue(head, "Set-Cookie");
    if (!cookie.empty()) {
        extraHeaders += "Cookie: " + cookie + std::string(kCrLf);
    }

    if (status.find(" 200") != std::string::npos) {
        HttpBodyDecoder body;
        if (!body.Start(head)) {
            return failed;
        }
        std::unique_ptr<platform::OutputFile> file;
        if (!files_.OpenForWrite(fileName, file).ok()) {
            return failed;
        }
        openFile_ = fileName;
        bool writeFailed = false;
        uint64_t written = 0;
        std::string batch;
        auto flush = [&] {
            if (!batch.empty() && !writeFailed) {
                writeFailed = !file->Write(batch.data(), batch.size()).ok();
                written += batch.size();
            }
            batch.clear();
        };
        if (includeHeaders) {
            batch = head;
        }
        HttpBodyDecoder::Result state = body.Feed(headReader.rest(), batch);
        while (state == HttpBodyDecoder::Result::kNeedMore && !writeFailed && source.Next(piece)) {
            state = body.Feed(piece, batch);
            if (batch.size() >= kWriteBatch) {
                flush();
            }
        }
        flush();
        bool closeFailed = !file->Close().ok();
        openFile_.clear();
        bool shortBody =
            body.framing() == HttpBodyDecoder::Framing::kLength && body.remaining() > 0;
        if (writeFailed || closeFailed || shortBody ||
            state == HttpBodyDecoder::Result::kMalformed || written == 0) {
            file.reset();
            (void)files_.RemoveFile(fileName);
            return failed;
        }
        Outcome done;
        done.file = fileName;
        return done;
    }

    if (status.find(" 302") != std::string::npos || status.find(" 301") != std::string::npos) {
        std::string location = HeaderValue(head, "Location");
        if (location.empty()) {
            return failed;
        }
        Outcome redirect;
        redirect.redirectTo = ResolveRedirect(parts, location);
        redirect.redirectFrom = parts;
        return redirect;
    }
    return failed;
}

}  // namespace tolva::net
