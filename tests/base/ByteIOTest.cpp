#include <gtest/gtest.h>

#include <functional>

#include "TestSupport.h"
#include "base/ByteIO.h"
#include "base/Chunks.h"
#include "base/StringTable.h"

using namespace celvane;

TEST(ByteIO, ReadsLittleEndianAndRefusesReadsPastTheEnd)
{
    const Bytes data = {0x01, 0x02, 0x03, 0x04, 0x05};
    ByteReader r(data, IDS_FORMAT_NOT_UNDERSTOOD);
    EXPECT_EQ(r.u32(), 0x04030201u);
    EXPECT_THROW(r.u16(), ArchiveError);
    EXPECT_EQ(r.position(), 4u); // a refused read moves nothing
    EXPECT_EQ(r.u8(), 5);
    EXPECT_THROW(r.bytesAt(3, 3), ArchiveError);
    EXPECT_THROW(r.bytesAt(SIZE_MAX, 2), ArchiveError);
    try {
        r.u8();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.userMessage(), loadString(IDS_FORMAT_NOT_UNDERSTOOD));
    }
}

TEST(ByteIO, WriterCountsWithoutAVectorAndPatches)
{
    Bytes out = {9};
    ByteWriter w(&out);
    w.u32(0);
    w.u16(0xBEEF);
    w.padTo(4);
    w.patchU32(0, 0x11223344);
    EXPECT_EQ(w.written(), 8u);
    EXPECT_EQ(out, (Bytes{9, 0x44, 0x33, 0x22, 0x11, 0xEF, 0xBE, 0, 0}));

    ByteWriter counter;
    counter.u32(1);
    counter.zeros(3);
    counter.padTo(4);
    EXPECT_EQ(counter.written(), 8u);
}

TEST(ByteIO, AtomicWriteReplacesTheFileAndLeavesNoTemporary)
{
    test::TempDir dir;
    const std::string path = dir.file("a.bin");
    writeFileAtomically(path, Bytes{1, 2, 3});
    writeFileAtomically(path, Bytes{4});
    EXPECT_EQ(readFile(path), Bytes{4});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_THROW(readFile(dir.file("missing")), FileError);
    EXPECT_THROW(writeFileAtomically(dir.file("no/such/dir/x"), Bytes{1}), FileError);
}

namespace {
// The failure a file operation throws.
FileError fileFailure(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const FileError& e) {
        return e;
    }
    ADD_FAILURE() << "no failure";
    return FileError();
}
} // namespace

TEST(ByteIO, FileFailuresNameTheFileAndTheSystemsReason)
{
    test::TempDir dir;
    const std::string path = dir.file("walk.qfm");
    FileError e = fileFailure([&] { readFile(path); });
    EXPECT_EQ(e.file(), path);
    EXPECT_EQ(e.reason(), "No such file or directory");
    EXPECT_EQ(fileFailure([&] { readFile(dir.path().string()); }).reason(), "Is a directory");
    // A save under a name whose folder is a file names the file asked for, not the temporary.
    writeFileAtomically(path, Bytes{1});
    e = fileFailure([&] { writeFileAtomically(path + "/x.qfm", Bytes{1}); });
    EXPECT_EQ(e.file(), path + "/x.qfm");
    EXPECT_EQ(e.reason(), "Not a directory");

    // A write the system refuses part way (here the file size limit, as a full disk would) leaves
    // the old file and no temporary behind.
    e = fileFailure([&] {
        test::FileSizeLimit full(4096);
        writeFileAtomically(path, Bytes(100000, 7));
    });
    EXPECT_EQ(e.file(), path);
    EXPECT_EQ(e.reason(), "File too large");
    EXPECT_EQ(readFile(path), Bytes{1});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(Chunks, FileTypeTagsAndWalking)
{
    EXPECT_EQ(tagForFileType(3114), makeTag("C2A\0"));
    EXPECT_EQ(fileTypeOfTag(makeTag("C2A\0")), 3114);
    EXPECT_EQ(fileTypeOfTag(makeTag("69C\0")), 1692);
    EXPECT_FALSE(fileTypeOfTag(makeTag("ACEF")));
    EXPECT_FALSE(fileTypeOfTag(makeTag("XY\0\0")));
    EXPECT_EQ(tagText(makeTag("C2A\0")), "C2A");

    Bytes data;
    ByteWriter w(&data);
    writeChunkHeader(w, makeTag("RATE"), 12);
    w.u32(7);
    writeChunkHeader(w, makeTag("PALE"), 8);
    writeChunkHeader(w, makeTag("FADE"), 4); // below 8: the walk must stop here
    w.u32(0);
    ChunkSequence seq(data);
    ASSERT_EQ(seq.chunks().size(), 2u);
    EXPECT_TRUE(seq.damaged());
    EXPECT_EQ(seq.find(makeTag("RATE"))->payload.size(), 4u);
    EXPECT_EQ(seq.find(makeTag("PALE"))->offset, 12u);
    EXPECT_EQ(seq.find(makeTag("FADE")), nullptr);

    Bytes runsPast = {'A', 'C', 'E', 'F', 0xFF, 0xFF, 0xFF, 0x7F, 0};
    EXPECT_TRUE(ChunkSequence(runsPast).chunks().empty());
}

TEST(StringTable, FormatsNumberedArguments)
{
    EXPECT_EQ(formatMessage(IDS_PALETTE_INCOMPATIBLE, {"16", "256"}),
              "This palette file is incompatible with the film (it has 16 entries, while the film "
              "has 256 entries)");
    EXPECT_EQ(loadString(999999), "");
}
