#include "gfx/MemoryBlock.h"

#include <cstdlib>
#include <cstring>
#include <typeinfo>
#include <utility>

#include "base/ByteIO.h"
#include "base/Errors.h"

namespace celvane {

MemoryBlock::MemoryBlock(size_t slack) : slack_(slack) {}

MemoryBlock::~MemoryBlock()
{
    std::free(memory_);
}

uint8_t* MemoryBlock::lock()
{
    uint8_t* address = lockCount_ == 0 ? lockMemory() : locked_;
    if (!address)
        throw MemoryError("cannot lock a memory block without memory");
    locked_ = address;
    ++lockCount_;
    return address;
}

int MemoryBlock::unlock()
{
    if (lockCount_ > 0 && --lockCount_ == 0) {
        unlockMemory();
        locked_ = nullptr;
    }
    return 0;
}

uint8_t* MemoryBlock::lockMemory()
{
    return memory_;
}

void MemoryBlock::unlockMemory() {}

void MemoryBlock::allocate(size_t size)
{
    if (size > SIZE_MAX - slack_)
        throw MemoryError("memory block too large");
    free();
    reallocate(size + slack_);
    size_ = size;
}

void MemoryBlock::free()
{
    std::free(std::exchange(memory_, nullptr));
    size_ = capacity_ = 0;
    if (lockCount_ > 0)
        locked_ = nullptr;
}

void MemoryBlock::reallocate(size_t capacity)
{
    // Even an empty block has memory, so that it can be locked.
    void* moved = std::realloc(memory_, capacity ? capacity : 1);
    if (!moved)
        throw MemoryError("no memory for a block of " + std::to_string(capacity) + " bytes");
    memory_ = static_cast<uint8_t*>(moved);
    capacity_ = capacity;
    if (size_ > capacity)
        size_ = capacity;
    if (lockCount_ > 0)
        locked_ = lockMemory();
}

void MemoryBlock::insertBytes(ptrdiff_t delta, size_t position)
{
    if (position > size_)
        throw ArchiveError("position outside the memory block");
    if (delta > 0) {
        const size_t grow = size_t(delta);
        if (grow > SIZE_MAX - slack_ - size_)
            throw MemoryError("memory block too large");
        if (capacity_ < size_ + grow)
            reallocate(size_ + grow + slack_);
        std::memmove(memory_ + position + grow, memory_ + position, size_ - position);
        std::memset(memory_ + position, 0, grow);
        size_ += grow;
    } else if (delta < 0) {
        const size_t cut = size_t(-(delta + 1)) + 1; // without overflow at PTRDIFF_MIN
        if (cut > size_ - position)
            throw ArchiveError("deleted range outside the memory block");
        std::memmove(memory_ + position, memory_ + position + cut, size_ - position - cut);
        size_ -= cut;
        if (size_ + slack_ < capacity_)
            reallocate(size_ + slack_);
    }
}

void MemoryBlock::loadFile(const std::string& path)
{
    const Bytes data = readFile(path);
    allocate(data.size());
    if (!data.empty())
        std::memcpy(memory_, data.data(), data.size());
}

void MemoryBlock::takeOver(MemoryBlock& other)
{
    if (&other == this)
        return;
    if (typeid(other) != typeid(*this))
        throw NotSupportedError("memory blocks of different kinds");
    if (lockCount_ > 0 || other.lockCount_ > 0)
        throw NotSupportedError("memory block is locked");
    free();
    memory_ = std::exchange(other.memory_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
}

} // namespace celvane
