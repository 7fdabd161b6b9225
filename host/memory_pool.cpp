#include "host/memory_pool.h"

#include <map>
#include <mutex>
#include <new>
#include <utility>

namespace quorvel::host {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kKeepBlocks = false;
#else
constexpr bool kKeepBlocks = true;
#endif

// Blocks below this size are the allocator's business; of larger ones the pool keeps at most
// this much in all (a few frames of 4K float pixels), and gives the rest back to the system.
constexpr std::size_t kSmallestKept = 256 * 1024;
constexpr std::size_t kMostKept = std::size_t{512} << 20;

class Pool {
  public:
    std::unique_ptr<unsigned char[]> Take(std::size_t size) {
        if (kKeepBlocks && size >= kSmallestKept) {
            std::lock_guard<std::mutex> lock(mutex_);
            const auto found = blocks_.find(size);
            if (found != blocks_.end()) {
                std::unique_ptr<unsigned char[]> block = std::move(found->second);
                blocks_.erase(found);
                kept_ -= size;
                return block;
            }
        }
        return std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[size]);
    }

    void GiveBack(std::unique_ptr<unsigned char[]> block, std::size_t size) {
        if (!kKeepBlocks || size < kSmallestKept) {
            return;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        if (kept_ + size <= kMostKept) {
            blocks_.emplace(size, std::move(block));
            kept_ += size;
        }
    }

  private:
    std::mutex mutex_;
    std::multimap<std::size_t, std::unique_ptr<unsigned char[]>> blocks_;
    std::size_t kept_ = 0;
};

Pool& ThePool() {
    // Never destroyed: blocks may come back from threads that outlive static destruction.
    static Pool* pool = new Pool;
    return *pool;
}

}  // namespace

PooledBlock::PooledBlock(std::size_t size) : bytes_(ThePool().Take(size)) {
    size_ = bytes_ != nullptr ? size : 0;
}

PooledBlock::~PooledBlock() {
    GiveBack();
}

PooledBlock::PooledBlock(PooledBlock&& other) noexcept
    : bytes_(std::move(other.bytes_)), size_(std::exchange(other.size_, 0)) {}

PooledBlock& PooledBlock::operator=(PooledBlock&& other) noexcept {
    if (this != &other) {
        GiveBack();
        bytes_ = std::move(other.bytes_);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void PooledBlock::GiveBack() {
    if (bytes_ != nullptr) {
        ThePool().GiveBack(std::move(bytes_), size_);
        size_ = 0;
    }
}

}  // namespace quorvel::host
