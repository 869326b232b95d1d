// The .mb blob file: blobs of Paradox's own files (single and suballocated blocks), and
// blobs we write and free.

#include "platform/db/blob_file.h"
#include "platform/db/error.h"
#include "platform/db/table_file.h"
#include "support/test_env.h"

#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t seed) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<std::uint8_t>(seed + i * 7);
    return v;
}

TEST(BlobFile, ReadsParadoxBlobsOfBothBlockKinds) {
    // CUSTOMER.MB holds short memos in a suballocated block and a long one in a block of
    // its own.
    const auto customer =
        db::TableFile::open(testenv::fixture("real/db/CUSTOMER.DB"), {.writable = false});
    const auto rows = customer->readAll();
    const int comments = customer->fieldIndex("Comments");
    std::size_t longest = 0;
    for (const auto& r : rows)
        if (const auto* s = std::get_if<std::string>(&r[static_cast<std::size_t>(comments)]))
            longest = std::max(longest, s->size());
    EXPECT_GT(longest, 4096u);
    EXPECT_EQ(std::get<std::string>(rows[0][static_cast<std::size_t>(comments)]),
              "Small comment (less 100 symbols)");

    // A graphic blob comes back whole: 8 bytes of its own header, then the bitmap.
    const auto graphic =
        db::TableFile::open(testenv::fixture("real/fields/graphic.db"), {.writable = false});
    const auto g = std::get<db::Bytes>(graphic->readAll().at(0).at(1));
    ASSERT_EQ(g.size(), 20086u);
    EXPECT_EQ(g[0], 0x01);
    EXPECT_EQ(g[3], 0x01);
    EXPECT_EQ(g[8], 'B');
    EXPECT_EQ(g[9], 'M');
}

class NewBlobFile : public ::testing::Test {
protected:
    fs::path mb = fs::current_path() / "UJ.MB";
    db::Pager pager{fs::current_path() / "UJ.jnl", db::Durability::OsBuffers};
    int file = pager.attach(mb, true);
    db::BlobFile blobs{pager, file};

    std::uint8_t blockType(std::uint64_t offset) { return pager.read(file, offset, 1)[0]; }
};

TEST_F(NewBlobFile, WritesReadsAndFrees) {
    const auto small = pattern(10, 1);
    const auto exact = pattern(4096 - 9, 2); // fills one 4 KiB block with its head
    const auto large = pattern(5000, 3);
    db::Transaction t(pager);
    const db::BlobRef a = blobs.write(small);
    const db::BlobRef b = blobs.write(exact);
    const db::BlobRef c = blobs.write(large);
    t.commit();

    EXPECT_EQ(fs::file_size(mb), 4096u * (1 + 1 + 1 + 2));
    EXPECT_EQ(blockType(0), 0);
    EXPECT_EQ(a.offsetAndIndex, 4096u | 0xFF);
    EXPECT_EQ(b.offsetAndIndex, 8192u | 0xFF);
    EXPECT_EQ(c.offsetAndIndex, 12288u | 0xFF);
    EXPECT_LT(a.modNumber, c.modNumber);
    EXPECT_EQ(blobs.read(a), small);
    EXPECT_EQ(blobs.read(b), exact);
    EXPECT_EQ(blobs.read(c), large);

    db::Transaction t2(pager);
    blobs.free(b); // in the middle: becomes a free block
    t2.commit();
    EXPECT_EQ(fs::file_size(mb), 4096u * 5);
    EXPECT_EQ(blockType(8192), 4);
    EXPECT_THROW(blobs.read(b), db::CorruptFileError);

    db::Transaction t3(pager);
    blobs.free(c); // at the end: the file shrinks, and the free block before goes too
    t3.commit();
    EXPECT_EQ(fs::file_size(mb), 4096u * 2);
    EXPECT_EQ(blobs.read(a), small);
}

// A blob that fills exactly `chunks` 4 KiB chunks with its 9-byte head.
std::vector<std::uint8_t> ofChunks(std::size_t chunks, std::uint8_t seed) {
    return pattern(chunks * 4096 - 9, seed);
}

std::uint32_t offsetOf(const db::BlobRef& ref) {
    return ref.offsetAndIndex & ~0xFFu;
}

// Blobs of 1, 3, 1, 2, 1 chunks at 4096, 8192, 20480, 24576, 32768 (committed); then
// those listed in `freed` are freed (committed).
std::vector<db::BlobRef> layOut(db::Pager& pager, db::BlobFile& blobs,
                                std::initializer_list<std::size_t> freed) {
    std::vector<db::BlobRef> refs;
    db::Transaction t(pager);
    for (const std::size_t chunks : {1, 3, 1, 2, 1})
        refs.push_back(blobs.write(ofChunks(chunks, static_cast<std::uint8_t>(refs.size()))));
    t.commit();
    db::Transaction t2(pager);
    for (const std::size_t i : freed)
        blobs.free(refs[i]);
    t2.commit();
    return refs;
}

TEST_F(NewBlobFile, FirstFreeBlockLargeEnoughIsSplitAndReused) {
    const auto refs = layOut(pager, blobs, {1, 3}); // free: 3 chunks at 8192, 2 at 24576
    const auto size = fs::file_size(mb);
    db::Transaction t(pager);
    const db::BlobRef two = blobs.write(ofChunks(2, 10));
    const db::BlobRef one = blobs.write(ofChunks(1, 11));
    const db::BlobRef alsoTwo = blobs.write(ofChunks(2, 12));
    t.commit();
    EXPECT_EQ(offsetOf(two), 8192u);
    EXPECT_EQ(offsetOf(one), 16384u); // the rest of the first free block
    EXPECT_EQ(offsetOf(alsoTwo), 24576u);
    EXPECT_EQ(fs::file_size(mb), size);
    EXPECT_EQ(blobs.read(two), ofChunks(2, 10));
    EXPECT_EQ(blobs.read(one), ofChunks(1, 11));
    EXPECT_EQ(blobs.read(alsoTwo), ofChunks(2, 12));
    for (const std::size_t i : {0, 2, 4})
        EXPECT_EQ(blobs.read(refs[i]), ofChunks(1, static_cast<std::uint8_t>(i)));
}

TEST_F(NewBlobFile, NeighbouringFreeBlocksMergeAndTheirHeadsGo) {
    const auto refs = layOut(pager, blobs, {1, 3, 2}); // 8192..32767 free: 6 chunks
    EXPECT_EQ(blockType(8192), 4);
    EXPECT_EQ(pager.read(file, 8193, 2), (std::vector<std::uint8_t>{6, 0}));
    for (const std::size_t i : {1, 2, 3})
        EXPECT_THROW(blobs.read(refs[i]), db::CorruptFileError) << i;
    db::Transaction t(pager);
    const db::BlobRef six = blobs.write(ofChunks(6, 20));
    t.commit();
    EXPECT_EQ(offsetOf(six), 8192u);
    EXPECT_EQ(fs::file_size(mb), 4096u * 9);
    EXPECT_EQ(blobs.read(six), ofChunks(6, 20));

    // The last blob goes: the free space before it goes with it.
    db::Transaction t2(pager);
    blobs.free(six);
    blobs.free(refs[4]);
    t2.commit();
    EXPECT_EQ(fs::file_size(mb), 4096u * 2);
    EXPECT_EQ(blobs.read(refs[0]), ofChunks(1, 0));
}

TEST_F(NewBlobFile, FreeBlocksOfAnEarlierSessionAreFoundAndReused) {
    layOut(pager, blobs, {1});
    db::BlobFile again(pager, file);
    db::Transaction t(pager);
    const db::BlobRef ref = again.write(ofChunks(3, 30));
    t.commit();
    EXPECT_EQ(offsetOf(ref), 8192u);
    EXPECT_EQ(fs::file_size(mb), 4096u * 9);
}

TEST_F(NewBlobFile, AfterARollbackNoLiveBlobIsTakenForFreeSpace) {
    const auto refs = layOut(pager, blobs, {1, 2}); // 4 free chunks at 8192
    {
        db::Transaction t(pager); // a live blob freed (merged), a free block split: rolled back
        blobs.free(refs[3]);
        blobs.write(ofChunks(1, 40));
    }
    // Even without forget() the stale list is found out before it is trusted: the blob
    // at 24576 lives again and must not be written over.
    db::Transaction t(pager);
    const db::BlobRef one = blobs.write(ofChunks(1, 41));
    const db::BlobRef four = blobs.write(ofChunks(4, 42));
    t.commit();
    EXPECT_EQ(offsetOf(one), 8192u);
    EXPECT_EQ(offsetOf(four), 36864u);
    EXPECT_EQ(blobs.read(refs[3]), ofChunks(2, 3));
    EXPECT_EQ(blobs.read(refs[4]), ofChunks(1, 4));
    EXPECT_EQ(blobs.read(one), ofChunks(1, 41));
    EXPECT_EQ(blobs.read(four), ofChunks(4, 42));
}

TEST_F(NewBlobFile, AfterARollbackAndForgetTheFreeBlocksAreReusedAgain) {
    layOut(pager, blobs, {1});
    {
        db::Transaction t(pager);
        blobs.write(ofChunks(3, 50)); // takes the free block, rolled back
    }
    blobs.forget();
    db::Transaction t(pager);
    const db::BlobRef ref = blobs.write(ofChunks(3, 51));
    t.commit();
    EXPECT_EQ(offsetOf(ref), 8192u);
}

TEST_F(NewBlobFile, RollbackLeavesNoFile) {
    {
        db::Transaction t(pager);
        blobs.write(pattern(100, 4));
    }
    EXPECT_FALSE(fs::exists(mb));
}

TEST(BlobFile, BadReferencesNameTheBlobFile) {
    const fs::path db = testenv::copyFixture("generated/TESZT.DB");
    db::Pager pager(fs::current_path() / "TESZT.jnl", db::Durability::OsBuffers);
    db::BlobFile blobs(pager, pager.attach(fs::current_path() / "TESZT.mb"));
    // The memo of the second record: entry 0x3F of the suballocated block at 4096, 84 bytes.
    const db::BlobRef good{4096 | 0x3F, 84, 1};
    EXPECT_EQ(blobs.read(good).size(), 84u);
    for (const db::BlobRef bad : {db::BlobRef{4096 | 0x3F, 85, 1}, db::BlobRef{4096 | 0x3E, 84, 1},
                                  db::BlobRef{4096 | 0x40, 84, 1}, db::BlobRef{4096 | 0xFF, 84, 1},
                                  db::BlobRef{0 | 0xFF, 84, 1}, db::BlobRef{4000 | 0x3F, 84, 1},
                                  db::BlobRef{81920 | 0x3F, 84, 1}}) {
        try {
            blobs.read(bad);
            ADD_FAILURE() << "read " << bad.offsetAndIndex << " " << bad.length;
        } catch (const db::CorruptFileError& e) {
            EXPECT_EQ(e.file().filename(), "TESZT.mb");
        }
    }
    // Freeing the only blob of a suballocated block at the end of the file drops the block.
    db::Transaction t(pager);
    blobs.free(good);
    t.commit();
    EXPECT_EQ(fs::file_size(fs::current_path() / "TESZT.mb"), 4096u);
}

} // namespace
