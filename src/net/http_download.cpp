#include "net/http_download.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>

#include "net/http_response.h"
#include "net/http_url.h"
#include "util/base64.h"
#include "util/folder_path.h"

namespace tolva::net {
namespace {

using Clock = std::chrono::steady_clock;

// How much is asked of the connection at a time.
constexpr size_t kPieceSize = 2048;
// Body bytes are collected up to this size before each write to the file.
constexpr size_t kWriteBatch = 256 * 1024;

constexpr std::string_view kCrLf = "\r\n";

// One count for every request of the process, redirects included, whichever client sends it: two
// clients in the same second never name their files alike.
uint32_t NextRequestNumber() {
    static std::atomic<uint32_t> counter{0};
    return ++counter;
}

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

class Deadline {
public:
    explicit Deadline(uint32_t ms) : end_(Clock::now() + std::chrono::milliseconds(ms)) {}

    // What is left of the time, but no more than limitMs; 0 once the deadline has passed.
    uint32_t Left(uint32_t limitMs) const {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end_ - Clock::now());
        if (left.count() <= 0) {
            return 0;
        }
        return left.count() < limitMs ? static_cast<uint32_t>(left.count()) : limitMs;
    }

private:
    Clock::time_point end_;
};

// Reads the response piece by piece, each wait bounded by the wait and the deadline.
class PieceSource {
public:
    enum class Result { kPiece, kEnd, kFailed };

    PieceSource(platform::Connection& connection, uint32_t waitMs, const Deadline& deadline)
        : connection_(connection), waitMs_(waitMs), deadline_(deadline) {}

    // kEnd: the peer ended the stream properly. A wait that runs out, a failed receive and a TLS
    // stream cut off without its close notification are kFailed.
    Result Next(std::string_view& piece) {
        uint32_t wait = deadline_.Left(waitMs_);
        if (wait == 0 || !connection_.WaitReadable(wait)) {
            return Result::kFailed;
        }
        size_t got = 0;
        if (!connection_.Receive(buffer_, sizeof buffer_, got).ok()) {
            return Result::kFailed;
        }
        if (got == 0) {
            return Result::kEnd;
        }
        piece = std::string_view(buffer_, got);
        return Result::kPiece;
    }

private:
    platform::Connection& connection_;
    uint32_t waitMs_;
    const Deadline& deadline_;
    char buffer_[kPieceSize];
};

// A temporary file being written; removed again unless the download kept it.
class PartialFile {
public:
    PartialFile(platform::FileSystem& files, std::string name)
        : files_(files), name_(std::move(name)) {}
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;
    ~PartialFile() {
        file.reset();
        if (!kept_) {
            (void)files_.RemoveFile(name_);
        }
    }

    std::unique_ptr<platform::OutputFile> file;
    void Keep() { kept_ = true; }

private:
    platform::FileSystem& files_;
    std::string name_;
    bool kept_ = false;
};

}  // namespace

struct HttpClient::Outcome {
    std::string file;        // a finished download
    std::string redirectTo;  // a redirect to follow
    HttpUrl redirectFrom;    // the URL that answered with it
};

// One request and its response: send, read the head, then save the body or take the redirect.
class HttpClient::Exchange {
public:
    Exchange(HttpClient& client, const Deadline& deadline, std::string& extraHeaders)
        : client_(client), deadline_(deadline), extraHeaders_(extraHeaders) {}

    Outcome Run(std::string_view url, bool includeHeaders, uint64_t maxBodySize) {
        std::string fileName = client_.NextTempFileName();
        HttpUrl parts;
        if (!SplitHttpUrl(url, parts)) {
            return {};
        }
        if (!parts.user.empty()) {
            extraHeaders_ += "Authorization: Basic " +
                             util::Base64Encode(parts.user + ":" + parts.password) +
                             std::string(kCrLf);
        }
        std::unique_ptr<platform::Connection> connection = SendRequest(parts);
        if (!connection) {
            return {};
        }
        PieceSource source(*connection, client_.options_.waitMs, deadline_);
        HttpHeadReader head;
        if (!ReadHead(source, head)) {
            return {};
        }
        int status = StatusCode(head.head());
        if (status == 200) {
            Outcome done;
            if (SaveBody(source, head, fileName, includeHeaders, maxBodySize)) {
                done.file = fileName;
            }
            return done;
        }
        if (status == 301 || status == 302) {
            return Redirect(parts, head.head());
        }
        return {};
    }

private:
    // Connects, starts TLS when the URL asks for it and sends the request; null on failure.
    std::unique_ptr<platform::Connection> SendRequest(const HttpUrl& parts) {
        const HttpClientOptions& options = client_.options_;
        std::unique_ptr<platform::Connection> connection;
        uint32_t wait = deadline_.Left(options.waitMs);
        if (wait == 0 || !client_.network_.Connect(parts.host, parts.port, wait, connection).ok()) {
            return nullptr;
        }
        if (parts.tls) {
            platform::TlsOptions tls{parts.host, options.extraTrustedRootFile,
                                     deadline_.Left(options.waitMs)};
            std::unique_ptr<platform::Connection> secure;
            if (tls.timeoutMs == 0 ||
                !client_.network_.StartTls(std::move(connection), tls, secure).ok()) {
                return nullptr;
            }
            connection = std::move(secure);
        }
        std::string request = "GET " + parts.path + " HTTP/1.1\r\nHost: " + parts.hostAsWritten +
                              "\r\n" + extraHeaders_ + "\r\n";
        if (!connection->SendAll(request.data(), request.size()).ok()) {
            return nullptr;
        }
        return connection;
    }

    // The header block; a cookie it sets travels with the following requests.
    bool ReadHead(PieceSource& source, HttpHeadReader& head) {
        std::string_view piece;
        HttpHeadReader::Result state = HttpHeadReader::Result::kNeedMore;
        while (state == HttpHeadReader::Result::kNeedMore &&
               source.Next(piece) == PieceSource::Result::kPiece) {
            state = head.Feed(piece);
        }
        if (state != HttpHeadReader::Result::kComplete) {
            return false;
        }
        std::string cookie = HeaderValue(head.head(), "Set-Cookie");
        if (!cookie.empty()) {
            extraHeaders_ += "Cookie: " + cookie + std::string(kCrLf);
        }
        return true;
    }

    // Writes the body, in its framing, into the file. The file is kept only when the body arrived
    // whole: a short sized body, a chunked body without its last chunk, a stream that ends in
    // failure or stalls, and a body beyond the limit all fail and leave nothing.
    bool SaveBody(PieceSource& source, const HttpHeadReader& head, const std::string& fileName,
                  bool includeHeaders, uint64_t maxBodySize) {
        HttpBodyDecoder body;
        if (!body.Start(head.head())) {
            return false;
        }
        if (body.framing() == HttpBodyDecoder::Framing::kLength && body.remaining() > maxBodySize) {
            return false;
        }
        PartialFile partial(client_.files_, fileName);
        if (!client_.files_.OpenForWrite(fileName, partial.file).ok()) {
            return false;
        }
        uint64_t written = 0;
        uint64_t bodySize = 0;
        std::string batch = includeHeaders ? head.head() : std::string();
        auto feed = [&](std::string_view data) {
            size_t before = batch.size();
            HttpBodyDecoder::Result state = body.Feed(data, batch);
            bodySize += batch.size() - before;
            return state;
        };
        auto flush = [&] {
            bool ok = batch.empty() || partial.file->Write(batch.data(), batch.size()).ok();
            written += batch.size();
            batch.clear();
            return ok;
        };
        HttpBodyDecoder::Result state = feed(head.rest());
        std::string_view piece;
        while (state == HttpBodyDecoder::Result::kNeedMore && bodySize <= maxBodySize) {
            PieceSource::Result next = source.Next(piece);
            if (next == PieceSource::Result::kFailed) {
                return false;
            }
            if (next == PieceSource::Result::kEnd) {
                if (body.framing() == HttpBodyDecoder::Framing::kUntilClose) {
                    state = HttpBodyDecoder::Result::kComplete;
                }
                break;
            }
            state = feed(piece);
            if (batch.size() >= kWriteBatch && !flush()) {
                return false;
            }
        }
        if (state != HttpBodyDecoder::Result::kComplete || bodySize > maxBodySize || !flush() ||
            written == 0 || !partial.file->Close().ok()) {
            return false;
        }
        partial.Keep();
        return true;
    }

    static Outcome Redirect(const HttpUrl& from, std::string_view head) {
        std::string location = HeaderValue(head, "Location");
        if (location.empty()) {
            return {};
        }
        Outcome redirect;
        redirect.redirectTo = ResolveRedirect(from, location);
        redirect.redirectFrom = from;
        return redirect;
    }

    HttpClient& client_;
    const Deadline& deadline_;
    std::string& extraHeaders_;
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

HttpClient::HttpClient(const platform::Platform& platform, HttpClientOptions options)
    : HttpClient(*platform.network, *platform.files, *platform.system, std::move(options)) {}

std::string HttpClient::NextTempFileName() {
    uint32_t number = NextRequestNumber();
    std::string folder = system_.TempFolder();
    if (folder.empty()) {
        folder = options_.fallbackFolder;
    }
    folder = util::WithTrailingBackslash(folder);
    // A missing folder only makes the file's creation fail later.
    (void)files_.CreateFolders(folder);
    return folder + TempFileBaseName(system_.Now(), number);
}

std::string HttpClient::HTTPDownload(std::string_view url, bool includeHeaders,
                                     uint64_t maxBodySize) {
    const Deadline deadline(options_.deadlineMs);
    try {
        std::string extraHeaders;
        std::string current(url);
        for (int depth = 1;; ++depth) {
            Outcome outcome =
                Exchange(*this, deadline, extraHeaders).Run(current, includeHeaders, maxBodySize);
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
        // Out of memory: a failed download like any other; the partial file is already gone.
        return {};
    }
}

}  // namespace tolva::net
