// Downloads a 256 MiB file from a loopback server, plain and over TLS, with HTTPDownload and with
// curl in turn, and prints the median times and their ratio. Both write the file and flush it to
// the disk (the download closes its file that way; curl's file is synced after it ends).

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "net/http_download.h"
#include "net/loopback_server.h"
#include "platform/fake/fake_system.h"
#include "platform/host/host_file_system.h"
#include "platform/host/network_host.h"

namespace {

using Clock = std::chrono::steady_clock;
using tolva::testing::LoopbackOptions;
using tolva::testing::LoopbackReply;
using tolva::testing::LoopbackRequest;
using tolva::testing::LoopbackServer;

constexpr size_t kFileSize = 256u << 20;

std::shared_ptr<const std::string> MakeContent() {
    auto content = std::make_shared<std::string>(kFileSize, '\0');
    uint64_t x = 0x9E3779B97F4A7C15u;
    for (size_t i = 0; i < kFileSize; i += 8) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        for (size_t b = 0; b < 8; ++b) {
            (*content)[i + b] = static_cast<char>(x >> (8 * b));
        }
    }
    return content;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s WORK_FOLDER [RUNS]\n", argv[0]);
        return 64;
    }
    const std::string work = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    if (std::system(("mkdir -p '" + work + "/c/temp'").c_str()) != 0) {
        return 1;
    }

    auto content = MakeContent();
    const std::string head =
        "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kFileSize) + "\r\n\r\n";
    auto handler = [&](const LoopbackRequest&) {
        LoopbackReply reply = LoopbackReply::Of(head);
        reply.bulk = content;
        return reply;
    };
    LoopbackServer plain({}, handler);
    LoopbackOptions tlsOptions;
    tlsOptions.tls = true;
    tlsOptions.certFile = tolva::testing::TestServerCertFile();
    tlsOptions.keyFile = tolva::testing::TestServerKeyFile();
    LoopbackServer secure(tlsOptions, handler);
    if (!plain.ok() || !secure.ok()) {
        std::fprintf(stderr, "the loopback servers did not start\n");
        return 1;
    }

    tolva::platform::HostFileSystem files{tolva::platform::HostPathMap(work)};
    tolva::platform::FakeSystem system;
    system.SetTempFolder("C:\\temp\\");
    tolva::platform::host::HostNetwork network;
    tolva::net::HttpClientOptions options;
    options.extraTrustedRootFile = tolva::testing::TestCaFile();
    tolva::net::HttpClient client(network, files, system, options);

    struct Mode {
        const char* name;
        std::string url;
        std::string curlExtra;
    } modes[] = {
        {"plain", "http://127.0.0.1:" + std::to_string(plain.port()) + "/big", ""},
        {"tls", "https://localhost:" + std::to_string(secure.port()) + "/big",
         "--cacert '" + tolva::testing::TestCaFile() + "' "},
    };
    const std::string curlFile = work + "/curl.out";
    int status = 0;
    for (const Mode& mode : modes) {
        std::vector<double> ours, curl, oursCpu, curlCpu;
        for (int run = 0; run < runs; ++run) {
            Clock::time_point start = Clock::now();
            double cpu = CpuSeconds(RUSAGE_THREAD);
            std::string file = client.HTTPDownload(mode.url, false);
            oursCpu.push_back(CpuSeconds(RUSAGE_THREAD) - cpu);
            ours.push_back(Seconds(start));
            uint64_t size = 0;
            if (file.empty() || !files.GetFileSize(file, size).ok() || size != kFileSize) {
                std::fprintf(stderr, "%s: HTTPDownload failed\n", mode.name);
                return 1;
            }
            if (run == 0) {
                std::string saved;
                if (!files.ReadWholeFile(file, saved).ok() || saved != *content) {
                    std::fprintf(stderr, "%s: the downloaded file differs\n", mode.name);
                    return 1;
                }
            }
            (void)files.RemoveFile(file);

            std::string command = "curl -sS " + mode.curlExtra + "-o '" + curlFile + "' '" +
                                  mode.url + "' && sync '" + curlFile + "'";
            start = Clock::now();
            cpu = CpuSeconds(RUSAGE_CHILDREN);
            int rc = std::system(command.c_str());
            curlCpu.push_back(CpuSeconds(RUSAGE_CHILDREN) - cpu);
            curl.push_back(Seconds(start));
            if (rc != 0) {
                std::fprintf(stderr, "%s: curl failed\n", mode.name);
                status = 1;
            }
            std::remove(curlFile.c_str());
        }
        double a = Median(ours), b = Median(curl);
        double mib = static_cast<double>(kFileSize) / (1 << 20);
        std::printf(
            "%-5s HTTPDownload median %.3f s (%.0f MiB/s), curl median %.3f s (%.0f MiB/s), "
            "ratio %.2fx over %d runs\n",
            mode.name, a, mib / a, b, mib / b, a / b, runs);
        // On a busy machine the wall times mostly measure waiting for a core; the client's own
        // processor time does not.
        double c = Median(oursCpu), d = Median(curlCpu);
        std::printf("%-5s client CPU time median: HTTPDownload %.3f s, curl %.3f s, ratio %.2fx\n",
                    mode.name, c, d, c / d);
        std::fflush(stdout);
    }
    return status;
}
