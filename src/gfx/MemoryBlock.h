#pragma once
// Movable blocks of memory: the address is only fixed between lock and unlock, and any change
// of capacity may move the block. Film stores and clipboard data live in these.

#include <cstddef>
#include <cstdint>
#include <string>

namespace celvane {

class MemoryBlock {
public:
    // slack: bytes allocated beyond each requested size, so that growing by small steps does
    // not move the block every time.
    explicit MemoryBlock(size_t slack = 0);
    virtual ~MemoryBlock();
    MemoryBlock(const MemoryBlock&) = delete;
    MemoryBlock& operator=(const MemoryBlock&) = delete;

    // The first lock fixes the address; MemoryError when the block has no memory.
    uint8_t* lock();
    // Returns the platform's error code (0 = fine); unlocking an unlocked block does nothing.
    int unlock();
    size_t size() const { return size_; }
    size_t capacity() const { return capacity_; }
    size_t slack() const { return slack_; }
    int lockCount() const { return lockCount_; }
    // The address while locked, else null. Capacity changes under a lock move it.
    uint8_t* lockedAddress() const { return locked_; }

    // Capacity size + slack, used size `size`; the previous contents are dropped.
    virtual void allocate(size_t size);
    virtual void free();
    // Keeps the contents up to the new capacity; the used size shrinks with it if need be.
    virtual void reallocate(size_t capacity);

    // delta > 0 opens delta zero bytes at position; delta < 0 deletes -delta bytes there.
    // ArchiveError when position or the deleted range lies outside the used size.
    void insertBytes(ptrdiff_t delta, size_t position);
    // The block becomes the whole file (FileError when it cannot be read).
    void loadFile(const std::string& path);
    // Moves the other block's memory, used size and capacity here and leaves it empty. Both
    // must be of the same kind and unlocked (NotSupportedError otherwise).
    void takeOver(MemoryBlock& other);

protected:
    virtual uint8_t* lockMemory();
    virtual void unlockMemory();

private:
    uint8_t* memory_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
    size_t slack_;
    int lockCount_ = 0;
    uint8_t* locked_ = nullptr;
};

// Process-local memory.
class LocalMemoryBlock : public MemoryBlock {
public:
    using MemoryBlock::MemoryBlock;
};

// Memory meant to be handed on (clipboard data). On this platform it lives in the process like
// local memory; the kind is kept so that blocks are only taken over from their own kind.
class GlobalMemoryBlock : public MemoryBlock {
public:
    using MemoryBlock::MemoryBlock;
};

// Holds a lock for a scope, so that every exit path unlocks.
class MemoryLock {
public:
    explicit MemoryLock(MemoryBlock& block) : block_(block) { block_.lock(); }
    ~MemoryLock() { block_.unlock(); }
    MemoryLock(const MemoryLock&) = delete;
    MemoryLock& operator=(const MemoryLock&) = delete;

    // Follows the block if it moves while locked.
    uint8_t* data() const { return block_.lockedAddress(); }

private:
    MemoryBlock& block_;
};

} // namespace celvane
