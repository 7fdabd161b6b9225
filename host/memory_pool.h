#pragma once

#include <cstddef>
#include <memory>

namespace quorvel::host {

// Large blocks of the host's memory that every frame takes and gives back at the same sizes:
// output pixels and the effect's read-back handles. A block given back is kept for the next
// request of its size instead of going back to the system, where a block this large would be
// unmapped (stopping every thread to flush its mappings) and its pages, made anew, would
// fault in one by one, cleared. A block holds whatever it last held: it is for memory that is
// written whole before it is read.
//
// Sanitizer builds keep nothing, so that a block used after it was given back is still found.
class PooledBlock {
  public:
    PooledBlock() = default;
    // size bytes, uninitialised; empty when the memory cannot be had.
    explicit PooledBlock(std::size_t size);
    ~PooledBlock();
    PooledBlock(PooledBlock&& other) noexcept;
    PooledBlock& operator=(PooledBlock&& other) noexcept;
    PooledBlock(const PooledBlock&) = delete;
    PooledBlock& operator=(const PooledBlock&) = delete;

    unsigned char* Get() const { return bytes_.get(); }
    std::size_t Size() const { return size_; }

  private:
    void GiveBack();

    std::unique_ptr<unsigned char[]> bytes_;
    std::size_t size_ = 0;
};

}  // namespace quorvel::host
