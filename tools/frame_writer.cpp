#include "tools/frame_writer.h"

#include <sys/resource.h>
#include <unistd.h>

#include <utility>

namespace {

// Frames that may wait for the writer besides the one it writes.
constexpr std::size_t kMostWaiting = 2;

}  // namespace

FrameWriter::FrameWriter(quorvel::host::Compression compression,
                         std::function<void(const RenderJob&)> written)
    : compression_(compression), written_(std::move(written)), thread_([this] { Run(); }) {}

FrameWriter::~FrameWriter() {
    Stop();
}

bool FrameWriter::Add(const RenderJob& job, std::unique_ptr<quorvel::host::World> image) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return waiting_.size() < kMostWaiting || failure_; });
    if (failure_) {
        return false;
    }
    waiting_.push_back({job, std::move(image)});
    changed_.notify_all();
    return true;
}

void FrameWriter::Drain() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return (waiting_.empty() && !writing_) || failure_; });
}

void FrameWriter::Finish() {
    Stop();
    if (failure_) {
        std::rethrow_exception(failure_);
    }
}

void FrameWriter::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void FrameWriter::Run() {
    // Rendering comes first: llvmpipe's threads wait for the slowest of them at the end of
    // every pass, so the writer (and the threads it packs with, which inherit this) takes
    // what they leave; a full queue holds the renderers back when it falls behind.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
    for (;;) {
        Pending pending;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return !waiting_.empty() || stopping_; });
            if (waiting_.empty()) {
                return;
            }
            pending = std::move(waiting_.front());
            waiting_.pop_front();
            writing_ = true;
        }
        changed_.notify_all();
        std::exception_ptr failure;
        try {
            WriteImageFile(pending.job.outputPath, *pending.image, compression_);
            pending.image.reset();
            written_(pending.job);
        } catch (...) {
            failure = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            writing_ = false;
            if (failure) {
                failure_ = failure;
                waiting_.clear();
            }
        }
        changed_.notify_all();
        if (failure) {
            return;
        }
    }
}
