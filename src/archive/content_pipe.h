#pragma once
// Hands decoded pieces of an entry to a worker thread that checksums them and passes them on to the
// sink, so that inflating the next piece overlaps with writing the last one. A fixed ring of
// buffers bounds the memory.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tolva::archive {

class ContentPipe {
public:
    using Sink = std::function<bool(const uint8_t* data, size_t size)>;

    explicit ContentPipe(size_t pieceSize);
    ~ContentPipe();
    ContentPipe(const ContentPipe&) = delete;
    ContentPipe& operator=(const ContentPipe&) = delete;

    // Starts an entry; sink must stay valid until Finish.
    void Start(const Sink& sink);
    // A buffer of pieceSize bytes to fill; waits while every buffer is queued. Until it is
    // submitted, the next call returns the same buffer.
    uint8_t* Acquire();
    void Submit(size_t size);
    // True once the sink refused a piece; later pieces are dropped.
    bool failed() const { return failed_.load(std::memory_order_relaxed); }
    // Waits until every submitted piece is handled; the CRC-32 covers the pieces the sink took.
    void Finish(uint32_t& crc, bool& sinkFailed);

private:
    static constexpr size_t kSlots = 4;

    void Work();

    std::vector<std::vector<uint8_t>> buffers_;
    size_t sizes_[kSlots] = {};
    size_t head_ = 0;    // next slot for the worker
    size_t tail_ = 0;    // next slot to fill
    size_t queued_ = 0;  // submitted and not yet released by the worker
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;

    const Sink* sink_ = nullptr;
    uint32_t crc_ = 0;
    std::atomic<bool> failed_{false};
    std::thread worker_;
};

}  // namespace tolva::archive
