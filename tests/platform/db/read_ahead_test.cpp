// A scan's next window read on a second thread: what it hands out is what the pager
// reads, whatever the scan changes on the way, whatever transaction is open, and when the
// second handle fails.

#include "platform/db/error.h"
#include "platform/db/file_io.h"
#include "platform/db/pager.h"
#include "platform/db/read_ahead.h"
#include "platform/db/table_file.h"
#include "support/forwarding_vfs.h"
#include "support/test_env.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <numeric>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kWindow = 64 * 1024;

// A file whose byte i is i % 251, so that a window from the wrong place shows.
void writePattern(const fs::path& path, std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 251);
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::uint8_t> direct(const db::Pager& pager, int file, std::uint64_t offset,
                                 std::size_t length) {
    return pager.read(file, offset, length, db::CachePages::Pass);
}

// A keyed table of `rows` records of about a kilobyte, larger than a pass that reads
// ahead (kReadAheadFrom) from 8,200 rows on: Db holds the record's number in key order.
void writeBigTable(const fs::path& path, int rows) {
    std::vector<db::FieldDef> fields{{"Kod", db::FieldType::Alpha, 8, 0},
                                     {"Db", db::FieldType::Long, 4, 0}};
    for (int i = 0; i < 4; ++i)
        fields.push_back({"Szoveg" + std::to_string(i), db::FieldType::Alpha, 255, 0});
    const auto t = db::TableFile::create(path, {fields, 1});
    for (int k = 0; k < rows; ++k) {
        db::Record r{std::string("K") + std::to_string(100000 + k), k};
        for (int i = 0; i < 4; ++i)
            r.push_back(std::string(static_cast<std::size_t>(k % 250), 'a' + i));
        t->insert(r);
    }
}

// Reads window after window, each asking for the next, as a scan does; between windows
// `between(i)` may change things. Each window must be what the pager reads then.
template <class Between>
void readWindows(db::Pager& pager, int file, std::size_t windows, Between between) {
    db::ReadAhead ahead(pager, file, true);
    std::vector<std::uint8_t> window;
    for (std::size_t i = 0; i < windows; ++i) {
        ahead.read(i * kWindow, kWindow, window, (i + 1) * kWindow, i + 1 < windows ? kWindow : 0);
        ASSERT_EQ(window, direct(pager, file, i * kWindow, kWindow)) << "window " << i;
        between(i);
    }
}

TEST(ReadAhead, WindowsReadAheadAreThePagersBytesAlsoWhenTheFilesChangeOnTheWay) {
    const std::vector<std::uint8_t> mark(100, 0xAB);
    {
        writePattern("T.DB", 8 * kWindow);
        db::Pager pager("T.jnl", db::Durability::OsBuffers);
        const int file = pager.attach("T.DB");

        // Nothing changes: every window comes from the second thread.
        readWindows(pager, file, 8, [](std::size_t) {});

        // A commit into the window read ahead, and one that cuts the file inside it.
        readWindows(pager, file, 8, [&](std::size_t i) {
            if (i == 2 || i == 5) {
                db::Transaction t(pager);
                pager.write(file, (i + 1) * kWindow + 10, mark);
                t.commit();
            }
        });
        // A transaction begun between windows, with a write ahead of the scan: the pager
        // shows it, the file does not.
        {
            std::optional<db::Transaction> open;
            readWindows(pager, file, 8, [&](std::size_t i) {
                if (i == 2) {
                    open.emplace(pager);
                    pager.write(file, 4 * kWindow + 3, mark);
                }
            });
        }
        {
            db::ReadAhead ahead(pager, file, true);
            std::vector<std::uint8_t> window;
            ahead.read(0, kWindow, window, kWindow, kWindow);
            db::Transaction t(pager);
            pager.truncate(file, kWindow + 100);
            t.commit();
            EXPECT_THROW(ahead.read(kWindow, kWindow, window, 0, 0), db::DbError);
            ahead.read(kWindow, 100, window, 0, 0);
            EXPECT_EQ(window, direct(pager, file, kWindow, 100));
        }
    }

    // Inside a transaction the pager shows its pending writes, which the file lacks: a
    // write made before the window is asked for, and one made after.
    writePattern("T.DB", 8 * kWindow);
    db::Pager again("T.jnl", db::Durability::OsBuffers);
    const int id = again.attach("T.DB");
    db::Transaction t(again);
    again.write(id, 3 * kWindow + 7, mark);
    readWindows(again, id, 8, [&](std::size_t i) {
        if (i == 4)
            again.write(id, 5 * kWindow + 9, mark);
    });
}

// A window asked for and not the next one read (the chain went elsewhere), or a scan
// that stops early with a read under way.
TEST(ReadAhead, AWindowNotTakenIsLeftAndAStoppedScanWaitsForItsRead) {
    writePattern("T.DB", 6 * kWindow);
    db::Pager pager("T.jnl", db::Durability::OsBuffers);
    const int file = pager.attach("T.DB");
    std::vector<std::uint8_t> window;
    {
        db::ReadAhead ahead(pager, file, true);
        ahead.read(0, kWindow, window, kWindow, kWindow);
        ahead.read(4 * kWindow, kWindow, window, 5 * kWindow, kWindow);
        EXPECT_EQ(window, direct(pager, file, 4 * kWindow, kWindow));
        ahead.read(5 * kWindow, 10, window, 0, 0); // a shorter range than read ahead
        EXPECT_EQ(window, direct(pager, file, 5 * kWindow, 10));
        ahead.read(0, kWindow, window, kWindow, kWindow); // left under way
    }
    db::ReadAhead off(pager, file, false);
    off.read(kWindow, kWindow, window, 2 * kWindow, kWindow);
    EXPECT_EQ(window, direct(pager, file, kWindow, kWindow));
}

// A file layer whose second handles fail (or read short): the windows come from the
// pager instead.
class FailingReaderVfs final : public testenv::ForwardingVfs {
public:
    explicit FailingReaderVfs(bool throws) : throws_(throws) {}

private:
    std::unique_ptr<db::io::FileHandle> wrap(std::unique_ptr<db::io::FileHandle> real,
                                             const fs::path& path) override {
        return std::make_unique<Handle>(std::move(real), path, throws_);
    }

    class Handle final : public testenv::ForwardingHandle {
    public:
        Handle(std::unique_ptr<db::io::FileHandle> real, fs::path path, bool throws)
            : ForwardingHandle(std::move(real), std::move(path)), throws_(throws) {}
        std::unique_ptr<db::io::FileHandle> reader() const override {
            return std::make_unique<Broken>(real().reader(), path(), throws_);
        }

    private:
        bool throws_;
    };
    class Broken final : public testenv::ForwardingHandle {
    public:
        Broken(std::unique_ptr<db::io::FileHandle> real, fs::path path, bool throws)
            : ForwardingHandle(std::move(real), std::move(path)), throws_(throws) {}
        std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
            if (throws_)
                throw db::DbError(path(), "read failed");
            return real().readAt(offset, out.first(out.size() / 2));
        }

    private:
        bool throws_;
    };

    bool throws_;
};

TEST(ReadAhead, ATableScansWholeWhenTheSecondHandleFails) {
    writeBigTable("NAGY.DB", 8400);
    ASSERT_GE(fs::file_size("NAGY.DB"), db::kReadAheadFrom);
    const auto rows = [](const db::TableFile& table) {
        std::vector<db::Record> out;
        table.scan([&](db::RecordPos, std::span<const std::uint8_t> raw) {
            out.push_back(table.decode(raw));
            return true;
        });
        return out;
    };
    const auto expected = rows(*db::TableFile::open("NAGY.DB", {.writable = false}));
    ASSERT_EQ(expected.size(), 8400u);
    for (const bool throws : {true, false}) {
        FailingReaderVfs vfs(throws);
        const auto t = db::TableFile::open("NAGY.DB", {.writable = false, .vfs = &vfs});
        EXPECT_EQ(rows(*t), expected); // walked and read together
        EXPECT_EQ(rows(*t), expected); // read along the chain walked
    }
}

// The visitor of a scan changes records ahead of it, in the window the second thread may
// already have read and further on: the scan hands out the changed records, on the first
// scan (the chain walked as it is read) and on a later one.
TEST(ReadAhead, AScanSeesTheChangesItsVisitorMakesAhead) {
    constexpr int kRows = 8400;
    writeBigTable("VALTOZO.DB", kRows);
    ASSERT_GE(fs::file_size("VALTOZO.DB"), db::kReadAheadFrom);
    // Every 500th record changes two records on: one in the window read ahead (a window
    // holds a few hundred of these records) and one some windows further.
    constexpr std::size_t kAhead[] = {200, 1300};
    const auto isMarked = [&](std::size_t k) {
        return std::ranges::any_of(kAhead,
                                   [&](std::size_t a) { return k >= a && (k - a) % 500 == 0; });
    };
    for (const bool fresh : {true, false}) {
        SCOPED_TRACE(fresh ? "first scan" : "later scan");
        const auto t = db::TableFile::open("VALTOZO.DB");
        std::vector<db::RecordPos> positions;
        if (!fresh)
            t->scan([&](db::RecordPos pos, std::span<const std::uint8_t>) {
                positions.push_back(pos);
                return true;
            });
        else {
            const auto walked = db::TableFile::open("VALTOZO.DB", {.writable = false});
            for (const auto& b : walked->blocks())
                for (std::uint16_t slot = 0; slot < b.records; ++slot)
                    positions.push_back({b.number, slot});
        }
        ASSERT_EQ(positions.size(), static_cast<std::size_t>(kRows));
        const int marked = fresh ? -1 : -2;
        std::size_t i = 0;
        std::vector<int> seen;
        t->scan([&](db::RecordPos pos, std::span<const std::uint8_t> raw) {
            EXPECT_EQ(pos, positions[i]);
            const db::Record r = t->decode(raw);
            seen.push_back(std::get<std::int32_t>(r[1]));
            for (const std::size_t ahead : kAhead)
                if (i % 500 == 0 && i + ahead < positions.size()) {
                    db::Record later = t->read(positions[i + ahead]);
                    later[1] = marked;
                    t->update(positions[i + ahead], later);
                }
            ++i;
            return true;
        });
        ASSERT_EQ(seen.size(), static_cast<std::size_t>(kRows));
        for (std::size_t k = 0; k < seen.size(); ++k)
            ASSERT_EQ(seen[k], isMarked(k) ? marked : static_cast<int>(k)) << "record " << k;
        // Put back for the next round.
        for (std::size_t k = 0; k < seen.size(); ++k)
            if (isMarked(k)) {
                db::Record r = t->read(positions[k]);
                r[1] = static_cast<int>(k);
                t->update(positions[k], r);
            }
    }
}

} // namespace
