#include <gtest/gtest.h>

#include <cstring>

#include "TestSupport.h"
#include "base/Errors.h"
#include "gfx/MemoryBlock.h"

using namespace celvane;

namespace {

std::string contents(MemoryBlock& block)
{
    MemoryLock lock(block);
    return std::string(reinterpret_cast<const char*>(lock.data()), block.size());
}

void fill(MemoryBlock& block, const std::string& text)
{
    block.allocate(text.size());
    MemoryLock lock(block);
    std::memcpy(lock.data(), text.data(), text.size());
}

} // namespace

TEST(MemoryBlock, LocksNestAndEmptyBlocksCannotBeLocked)
{
    LocalMemoryBlock block;
    EXPECT_THROW(block.lock(), MemoryError);
    EXPECT_EQ(block.lockCount(), 0);
    block.allocate(0);
    {
        MemoryLock outer(block);
        MemoryLock inner(block);
        EXPECT_EQ(block.lockCount(), 2);
        EXPECT_EQ(outer.data(), inner.data());
    }
    EXPECT_EQ(block.lockCount(), 0);
    EXPECT_EQ(block.unlock(), 0); // an extra unlock does not go negative
    EXPECT_EQ(block.lockCount(), 0);
}

TEST(MemoryBlock, InsertAndDeleteBytesKeepSlack)
{
    GlobalMemoryBlock block(16);
    fill(block, "abcdef");
    EXPECT_EQ(block.capacity(), 22u);
    block.insertBytes(3, 2);
    EXPECT_EQ(contents(block), std::string("ab\0\0\0cdef", 9));
    block.insertBytes(20, 9); // past the capacity: grows to size + slack
    EXPECT_EQ(block.size(), 29u);
    EXPECT_EQ(block.capacity(), 45u);
    block.insertBytes(-23, 1);
    EXPECT_EQ(contents(block), std::string("a\0\0\0\0\0", 6));
    EXPECT_EQ(block.capacity(), 22u);
    block.insertBytes(0, 6);
    EXPECT_EQ(block.size(), 6u);
    EXPECT_THROW(block.insertBytes(1, 7), ArchiveError);
    EXPECT_THROW(block.insertBytes(-3, 4), ArchiveError);
    EXPECT_THROW(block.insertBytes(PTRDIFF_MIN, 0), ArchiveError);
    EXPECT_EQ(block.size(), 6u);

    MemoryLock lock(block);
    block.insertBytes(1 << 20, 1); // moves the block: the lock follows
    EXPECT_EQ(lock.data(), block.lockedAddress());
    EXPECT_EQ(lock.data()[0], 'a');
}

TEST(MemoryBlock, TakeOverAndLoadFile)
{
    test::TempDir dir;
    test::writeText(dir.file("f"), "file contents");
    LocalMemoryBlock a, b;
    a.loadFile(dir.file("f"));
    EXPECT_EQ(contents(a), "file contents");
    EXPECT_THROW(a.loadFile(dir.file("missing")), FileError);

    b.takeOver(a);
    EXPECT_EQ(contents(b), "file contents");
    EXPECT_EQ(a.size(), 0u);
    EXPECT_EQ(a.capacity(), 0u);
    EXPECT_THROW(a.lock(), MemoryError);

    GlobalMemoryBlock other;
    EXPECT_THROW(other.takeOver(b), NotSupportedError);
    MemoryLock lock(b);
    EXPECT_THROW(a.takeOver(b), NotSupportedError);
    EXPECT_EQ(contents(b), "file contents");
}
