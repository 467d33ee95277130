#include "archive/content_pipe.h"

#include <zlib.h>

namespace tolva::archive {

ContentPipe::ContentPipe(size_t pieceSize) : buffers_(kSlots, std::vector<uint8_t>(pieceSize)) {
    worker_ = std::thread([this] { Work(); });
}

ContentPipe::~ContentPipe() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void ContentPipe::Start(const Sink& sink) {
    std::lock_guard lock(mutex_);
    sink_ = &sink;
    crc_ = uint32_t(crc32(0, nullptr, 0));
    failed_ = false;
}

uint8_t* ContentPipe::Acquire() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queued_ < kSlots; });
    return buffers_[tail_].data();
}

void ContentPipe::Submit(size_t size) {
    {
        std::lock_guard lock(mutex_);
        sizes_[tail_] = size;
        tail_ = (tail_ + 1) % kSlots;
        ++queued_;
    }
    changed_.notify_all();
}

void ContentPipe::Finish(uint32_t& crc, bool& sinkFailed) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queued_ == 0; });
    crc = crc_;
    sinkFailed = failed_;
    sink_ = nullptr;
}

void ContentPipe::Work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return queued_ > 0 || stop_; });
        if (queued_ == 0) {
            return;  // stopping with nothing left
        }
        const size_t slot = head_;
        const Sink* sink = sink_;
        lock.unlock();
        // The slot is the worker's until it is released below; the producer never touches a queued
        // slot.
        const uint8_t* data = buffers_[slot].data();
        const size_t size = sizes_[slot];
        if (!failed_) {
            crc_ = uint32_t(crc32(crc_, data, uInt(size)));
            if (!(*sink)(data, size)) {
                failed_ = true;
            }
        }
        lock.lock();
        head_ = (head_ + 1) % kSlots;
        --queued_;
        changed_.notify_all();
    }
}

}  // namespace tolva::archive
