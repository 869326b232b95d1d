// Commit order: the journal (original bytes of every region about to change, original
// sizes) is written complete, and with Durability::Fsync flushed, before any table file
// is touched; the journal is emptied only after the files hold the new bytes. The
// journal file stays between commits (as SQLite's persistent journal does), holding no
// change: its marks (magic, length, checksum) are zeroed in place, so a commit neither
// creates nor deletes a file, the folder is flushed only when the journal is first made,
// and a journal no longer than the last one changes no file's size (its flush then costs
// the file system no metadata write). A journal larger than kKeptJournal is cut to
// nothing instead. A kill at any instant therefore leaves either an emptied or no
// journal (nothing or everything changed), an incomplete journal (nothing changed:
// recover() deletes it), or a complete one (recover() restores the original bytes and
// sizes, which is harmless when only some or none of the files changed, or finds every
// file holding what the journal says the change leaves and keeps it). A journal is
// complete only when its length fits in the file and its checksum matches; every
// emptied journal's checksum is zeroed, so the bytes of an earlier journal can never
// be taken for a later one whose first bytes alone reached the disk.
//
// An error during commit: before the journal is complete, the journal is removed and
// the files are untouched. After, the pager restores the files from the journal at
// once (an emptying of the journal that failed part-way puts it back whole first); if
// even that fails, the journal stays for the next open and the pager refuses
// every further read and change. Either way the transaction ends and its changes are
// dropped, so the pager never shows a change that did not reach the files.

#include "platform/db/pager.h"

#include "platform/db/error.h"
#include "platform/db/file_io.h"
#include "platform/db/journal.h"
#include "platform/db/page_cache.h"
#include "platform/db/table_lock.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <stdexcept>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace db {

namespace {

// Test hook for crash tests: FARM_PAGER_CRASH_AFTER=n ends the process with status 99
// right after the n-th step that changes the disk (write, flush, truncate, create,
// delete) of this pager's commits, or of one recover() call. Unset, it does nothing.
class CrashPoint {
public:
    static CrashPoint fromEnvironment() {
        CrashPoint point;
        if (const char* value = std::getenv("FARM_PAGER_CRASH_AFTER"))
            point.remaining_ = std::strtol(value, nullptr, 10);
        return point;
    }
    void stepDone() {
        if (remaining_ > 0 && --remaining_ == 0)
            ::_exit(99);
    }

private:
    long remaining_ = 0;
};

// The pending changes of one file: non-overlapping regions keyed by offset, the size
// the transaction sees, and how much of the committed content is kept (a truncation
// cuts it; bytes from there on read as zero unless rewritten).
struct Changes {
    std::map<std::uint64_t, std::vector<std::uint8_t>> regions;
    std::uint64_t size = 0;
    std::uint64_t kept = 0;
};

std::uint64_t endOf(const std::pair<const std::uint64_t, std::vector<std::uint8_t>>& region) {
    return region.first + region.second.size();
}

// Adds a write, merging it with every region it overlaps or touches.
void put(Changes& changes, std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    auto& regions = changes.regions;
    const std::uint64_t end = offset + bytes.size();
    auto base = regions.upper_bound(offset);
    if (base != regions.begin() && endOf(*std::prev(base)) >= offset)
        --base;
    else
        base = regions.emplace_hint(base, offset, std::vector<std::uint8_t>{});
    auto& buffer = base->second;
    const std::uint64_t start = base->first;
    buffer.resize(std::max<std::uint64_t>(buffer.size(), end - start));
    for (auto next = std::next(base); next != regions.end() && next->first <= end;) {
        buffer.resize(std::max<std::uint64_t>(buffer.size(), endOf(*next) - start));
        std::copy(next->second.begin(), next->second.end(), buffer.begin() + (next->first - start));
        next = regions.erase(next);
    }
    std::copy(bytes.begin(), bytes.end(), buffer.begin() + (offset - start));
    changes.size = std::max(changes.size, end);
}

void cut(Changes& changes, std::uint64_t newSize) {
    auto& regions = changes.regions;
    regions.erase(regions.lower_bound(newSize), regions.end());
    if (!regions.empty() && endOf(*regions.rbegin()) > newSize)
        regions.rbegin()->second.resize(newSize - regions.rbegin()->first);
    changes.kept = std::min(changes.kept, newSize);
    changes.size = newSize;
}

struct Range {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
};

// The committed bytes a commit destroys: rewritten regions and the cut-off tail.
std::vector<Range> destroyedRanges(const Changes& changes, std::uint64_t committedSize) {
    std::vector<Range> ranges;
    auto add = [&](std::uint64_t begin, std::uint64_t end) {
        if (!ranges.empty() && ranges.back().end >= begin)
            ranges.back().end = std::max(ranges.back().end, end);
        else
            ranges.push_back({begin, end});
    };
    for (const auto& region : changes.regions) {
        if (region.first >= changes.kept)
            break;
        add(region.first, std::min(endOf(region), changes.kept));
    }
    if (changes.kept < committedSize)
        add(changes.kept, committedSize);
    return ranges;
}

// What a commit leaves in a file (journal.h): the ranges it writes, and from the kept
// length on the ranges it zeroes, with the checksum of their new bytes in order.
JournalAfter afterOf(const Changes& changes) {
    JournalAfter after{changes.size, {}, 0};
    const auto cover = [&](std::uint64_t from, std::uint64_t to) {
        auto& ranges = after.ranges;
        if (!ranges.empty() && ranges.back().offset + ranges.back().length == from)
            ranges.back().length += to - from;
        else
            ranges.push_back({from, to - from});
    };
    const auto zeros = [&](std::uint64_t from, std::uint64_t to) {
        static constexpr std::array<std::uint8_t, 4096> kZeros{};
        cover(from, to);
        for (std::uint64_t at = from; at < to;) {
            const auto n =
                static_cast<std::size_t>(std::min<std::uint64_t>(kZeros.size(), to - at));
            after.checksum = crc32(std::span(kZeros).first(n), after.checksum);
            at += n;
        }
    };
    std::uint64_t at = changes.kept; // bytes from here on that no region covers read as zero
    for (const auto& region : changes.regions) {
        if (region.first > at)
            zeros(at, region.first);
        cover(region.first, endOf(region));
        after.checksum = crc32(region.second, after.checksum);
        at = std::max(at, endOf(region));
    }
    if (changes.size > at)
        zeros(at, changes.size);
    return after;
}

// Whether every file of a complete journal holds what the change leaves in it: then the
// change was made, and only the emptying of its journal did not reach the disk.
bool holdsTheChange(const Journal& journal, const fs::path& dir, io::Vfs& vfs) {
    std::vector<std::uint8_t> buffer(std::size_t{64} << 10);
    for (const JournalFile& entry : journal.files) {
        if (!entry.after)
            return false;
        const auto file = io::File::openIfExists(dir / entry.name, O_RDONLY, vfs);
        if (!file || file->size() != entry.after->size)
            return false;
        std::uint32_t checksum = 0;
        for (const JournalAfter::Range& range : entry.after->ranges)
            for (std::uint64_t at = range.offset, end = at + range.length; at < end;) {
                const auto part = std::span(buffer).first(
                    static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), end - at)));
                file->readExact(at, part);
                checksum = crc32(part, checksum);
                at += part.size();
            }
        if (checksum != entry.after->checksum)
            return false;
    }
    return true;
}

// The files of a change that was made reach the disk before its journal goes: the
// process that made it may have died before its flushes.
void settleFiles(const Journal& journal, const fs::path& dir, CrashPoint& crash, io::Vfs& vfs) {
    for (const JournalFile& entry : journal.files) {
        const fs::path path = dir / entry.name;
        io::File::open(path, O_RDONLY, vfs).sync();
        crash.stepDone();
        if (!entry.originalSize) {
            io::syncDirectory(io::directoryOf(path), vfs);
            crash.stepDone();
        }
    }
}

void restoreFiles(const Journal& journal, const fs::path& dir, CrashPoint& crash, io::Vfs& vfs) {
    for (std::uint32_t i = 0; i < journal.files.size(); ++i) {
        const JournalFile& entry = journal.files[i];
        const fs::path path = dir / entry.name;
        if (!entry.originalSize) {
            io::removeFile(path, vfs);
            crash.stepDone();
            io::syncDirectory(io::directoryOf(path), vfs);
            crash.stepDone();
            continue;
        }
        const io::File file = io::File::open(path, O_RDWR, vfs);
        for (const JournalRegion& region : journal.regions) {
            if (region.file != i)
                continue;
            file.writeAll(region.offset, region.bytes);
            crash.stepDone();
        }
        file.truncate(*entry.originalSize);
        crash.stepDone();
        file.sync();
        crash.stepDone();
    }
}

// An emptied journal kept between commits is at most this long; a longer one (a large
// change's) is cut to nothing, so that it does not keep its room on the disk.
constexpr std::uint64_t kKeptJournal = 256 << 10;

// False for a journal file kept between commits (empty, or its marks zeroed).
bool holdsAJournal(const io::File& file) {
    std::array<std::uint8_t, kJournalMarkSize> head{};
    const auto got = static_cast<std::size_t>(std::min<std::uint64_t>(file.size(), head.size()));
    if (got > 0)
        file.readExact(0, std::span(head).first(got));
    return !holdsNoChange(std::span(head).first(got));
}

// Recovery always flushes: it runs rarely, and the journal must not disappear from
// the disk before the restored bytes are there. With `keepMade`, a journal whose files
// hold the whole change is deleted and the change kept; without, the change is undone.
bool recoverJournal(const fs::path& journalPath, CrashPoint& crash, io::Vfs& vfs,
                    bool keepMade = true) {
    auto journalFile = io::File::openIfExists(journalPath, O_RDONLY, vfs);
    if (!journalFile || !holdsAJournal(*journalFile)) // none, or kept between commits
        return false;
    const std::vector<std::uint8_t> bytes = journalFile->readAll();
    journalFile->close();
    const fs::path dir = io::directoryOf(journalPath);
    bool restored = false;
    if (const auto journal = decodeJournal(journalPath, bytes)) {
        try {
            if (keepMade && holdsTheChange(*journal, dir, vfs)) {
                settleFiles(*journal, dir, crash, vfs);
            } else {
                restoreFiles(*journal, dir, crash, vfs);
                restored = true;
            }
        } catch (const DbError& e) {
            throw DbError(journalPath, std::string("cannot restore the files: ") + e.what());
        }
    }
    io::removeFile(journalPath, vfs);
    crash.stepDone();
    io::syncDirectory(dir, vfs);
    crash.stepDone();
    return restored;
}

} // namespace

// How to undo one write or truncation of a savepoint: the bytes the transaction saw in
// the range it overwrote (up to the size then), and the size and kept length then.
struct UndoStep {
    std::size_t file = 0;
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> bytes;
    std::uint64_t size = 0;
    std::uint64_t kept = 0;
};

struct AttachedFile {
    fs::path path;
    std::string journalName; // relative to the journal's folder
    io::File file;           // closed while the file does not exist
    bool writable = false;
    std::uint64_t committedSize = 0;
    Changes changes;
    mutable PageCache cache; // committed bytes, forgotten whenever a commit touches the file

    bool exists() const { return file.isOpen(); }
    bool dirty() const {
        return !changes.regions.empty() || changes.size != committedSize ||
               changes.kept < committedSize;
    }
    void resetChanges() { changes = Changes{{}, committedSize, committedSize}; }
    void forgetPages() noexcept { cache.clear(); }
    // Reads as the transaction sees the file: the kept disk content overlaid with the
    // pending regions, zeros elsewhere; the range must lie within changes.size.
    void view(std::uint64_t offset, std::span<std::uint8_t> out,
              CachePages pages = CachePages::Keep) const;
};

void AttachedFile::view(std::uint64_t offset, std::span<std::uint8_t> out, CachePages pages) const {
    const Changes& c = changes;
    const std::uint64_t end = offset + out.size();
    const std::uint64_t diskEnd = std::clamp(c.kept, offset, end);
    auto first = c.regions.upper_bound(offset);
    if (first != c.regions.begin())
        --first;
    // Only the bytes below the kept size that no pending write covers come from the
    // disk: a range the transaction has written whole (a header written again at every
    // change of a long save) costs no read.
    const auto fromDisk = [&](std::uint64_t from, std::uint64_t to) {
        const auto part = out.subspan(static_cast<std::size_t>(from - offset),
                                      static_cast<std::size_t>(to - from));
        if (pages == CachePages::Keep)
            cache.read(file, committedSize, from, part);
        else
            file.readExact(from, part); // the kept pages hold the same bytes
    };
    std::uint64_t at = offset;
    for (auto region = first; region != c.regions.end() && at < diskEnd; ++region) {
        if (region->first >= diskEnd)
            break;
        if (region->first > at)
            fromDisk(at, region->first);
        at = std::max(at, endOf(*region));
    }
    if (at < diskEnd)
        fromDisk(at, diskEnd);
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(diskEnd - offset), out.end(), 0);
    for (auto region = first; region != c.regions.end() && region->first < end; ++region) {
        const std::uint64_t from = std::max(region->first, offset);
        const std::uint64_t to = std::min(endOf(*region), end);
        if (from < to)
            std::memcpy(out.data() + (from - offset),
                        region->second.data() + (from - region->first), to - from);
    }
}

struct Pager::Impl {
    fs::path journalPath;
    io::Vfs* vfs = &io::realVfs();
    fs::path journalDir;       // absolute, for naming the files
    fs::path journalDirOnDisk; // as given, for flushing
    io::File journalFolder;    // opened at the first flush, kept for the next ones
    io::File journal;          // open from the journal's writing to the end of the commit
    std::vector<std::uint8_t> journalBytes; // of the commit under way (kept to put back)
    Durability durability;
    TableLock* commitLock = nullptr;
    CrashPoint crash = CrashPoint::fromEnvironment();
    std::vector<AttachedFile> files;
    bool inTransaction = false;
    bool recording = false;     // a savepoint is open
    std::vector<UndoStep> undo; // since the savepoint, oldest first
    std::string broken;         // why the pager refuses to work (a commit that could not be undone)
    // A group commit under way: the files it changes and those it creates.
    std::vector<std::size_t> groupDirty, groupCreated;
    std::uint64_t changeCount = 0;
    bool emptyingUnflushed = false; // the last commit's emptied journal may not be on the disk

    bool fsync() const { return durability == Durability::Fsync; }
    void requireUsable() const {
        if (!broken.empty())
            throw DbError(journalPath, broken);
    }
    void requireTransaction(const char* what) const {
        if (!inTransaction)
            throw std::logic_error(std::string("Pager::") + what + " outside a transaction");
    }
    AttachedFile& at(int id) {
        if (id < 0 || static_cast<std::size_t>(id) >= files.size())
            throw std::out_of_range("Pager: no file " + std::to_string(id));
        return files[static_cast<std::size_t>(id)];
    }
    void endTransaction() {
        ++changeCount;
        journalBytes = {};
        for (AttachedFile& f : files)
            f.resetChanges();
        inTransaction = false;
        recording = false;
        undo.clear();
    }
    // Under a savepoint: what the coming change of [offset, end) of file `id` destroys.
    void record(std::size_t id, std::uint64_t offset, std::uint64_t end) {
        if (!recording)
            return;
        const AttachedFile& f = files[id];
        UndoStep step{id, offset, {}, f.changes.size, f.changes.kept};
        if (offset < f.changes.size) {
            step.bytes.resize(static_cast<std::size_t>(std::min(end, f.changes.size) - offset));
            f.view(offset, step.bytes);
        }
        undo.push_back(std::move(step));
    }

    void syncJournalFolder() {
        if (!journalFolder.isOpen())
            journalFolder = io::File::open(journalDirOnDisk, O_RDONLY | O_DIRECTORY, *vfs);
        journalFolder.sync();
    }
    std::vector<std::size_t> dirtyFiles() const;
    void openForWriting(const std::vector<std::size_t>& dirty);
    std::vector<std::uint8_t> buildJournal(const std::vector<std::size_t>& dirty,
                                           const std::string& superJournal = {}) const;
    void writeJournal(std::vector<std::uint8_t> bytes);
    void emptyJournal();
    void rewriteJournal() noexcept;
    std::vector<std::size_t> absentFiles(const std::vector<std::size_t>& dirty) const;
    void applyChanges(const std::vector<std::size_t>& dirty,
                      const std::vector<std::size_t>& created);
    void applyChanges(AttachedFile& f);
    void flushFiles(const std::vector<std::size_t>& dirty, const std::vector<std::size_t>& created);
    void finishCommit(const std::vector<std::size_t>& dirty);
    void undoFailedCommit(const std::vector<std::size_t>& created);
    void settleJournal() noexcept;
    void forgetCachedPages() noexcept {
        for (AttachedFile& f : files)
            f.forgetPages();
    }
};

std::vector<std::size_t> Pager::Impl::dirtyFiles() const {
    std::vector<std::size_t> dirty;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (files[i].dirty())
            dirty.push_back(i);
    return dirty;
}

// Existing files become writable before the journal is written, so that a read-only
// file fails the commit while nothing has been touched.
void Pager::Impl::openForWriting(const std::vector<std::size_t>& dirty) {
    for (std::size_t i : dirty) {
        AttachedFile& f = files[i];
        if (f.exists() && !f.writable) {
            f.file = io::File::open(f.path, O_RDWR, *vfs);
            f.writable = true;
        }
    }
}

std::vector<std::uint8_t> Pager::Impl::buildJournal(const std::vector<std::size_t>& dirty,
                                                    const std::string& superJournal) const {
    JournalBuilder builder(superJournal);
    for (std::size_t i : dirty) {
        const AttachedFile& f = files[i];
        builder.addFile({f.journalName, f.exists() ? std::optional(f.committedSize) : std::nullopt,
                         superJournal.empty() ? std::optional(afterOf(f.changes)) : std::nullopt});
    }
    for (std::uint32_t j = 0; j < dirty.size(); ++j) {
        const AttachedFile& f = files[dirty[j]];
        for (const Range& range : destroyedRanges(f.changes, f.committedSize))
            f.file.readExact(range.begin,
                             builder.addRegion(j, range.begin, range.end - range.begin));
    }
    return std::move(builder).finish();
}

// The journal file is reused when it is there and empty; one left over from a group
// whose change was made (its emptying failed) is emptied first; any other needs recovery.
void Pager::Impl::writeJournal(std::vector<std::uint8_t> bytes) {
    bool created = false;
    if (auto existing = io::File::openIfExists(journalPath, O_RDWR, *vfs)) {
        if (holdsAJournal(*existing)) {
            if (needsRecovery(journalPath) || !superJournalOf(journalPath, vfs))
                throw DbError(journalPath, "left by an interrupted change; recover it first");
            existing->truncate(0);
            crash.stepDone();
        }
        journal = std::move(*existing);
    } else {
        journal = io::File::open(journalPath, O_RDWR | O_CREAT | O_EXCL, *vfs);
        created = true;
    }
    journalBytes = std::move(bytes);
    try {
        journal.writeAll(0, journalBytes);
        crash.stepDone();
        if (fsync()) {
            journal.sync();
            crash.stepDone();
            emptyingUnflushed = false;
            if (created) { // the new name must be on the disk before any file changes
                syncJournalFolder();
                crash.stepDone();
            }
        }
    } catch (...) {
        journal.close();
        try {
            vfs->remove(journalPath);
        } catch (...) { // the power may be gone: recovery deletes an incomplete journal
        }
        throw;
    }
}

// The journal holds no change again (the files hold the new bytes).
void Pager::Impl::emptyJournal() {
    const std::uint64_t journalLength = journalBytes.size();
    if (journalLength > kKeptJournal || journalLength < kJournalMarkSize + kJournalChecksumSize) {
        journal.truncate(0);
        crash.stepDone();
        return;
    }
    const std::array<std::uint8_t, kJournalMarkSize> zeros{};
    journal.writeAll(0, zeros);
    crash.stepDone();
    journal.writeAll(journalLength - kJournalChecksumSize,
                     std::span(zeros).first(kJournalChecksumSize));
    crash.stepDone();
}

// After a failed emptying, some of whose zeros may have reached the file: the journal is
// put back whole, so that undoing the commit finds it. Should that fail too, the undo
// finds no journal and says the change could not be undone.
void Pager::Impl::rewriteJournal() noexcept {
    try {
        journal.writeAll(0, journalBytes);
        if (fsync())
            journal.sync();
    } catch (...) {
    }
}

void Pager::Impl::applyChanges(AttachedFile& f) {
    f.forgetPages();
    const Changes& c = f.changes;
    if (c.kept < f.committedSize) {
        f.file.truncate(c.kept);
        crash.stepDone();
    }
    std::uint64_t end = c.kept;
    for (const auto& region : c.regions) {
        f.file.writeAll(region.first, region.second);
        crash.stepDone();
        end = std::max(end, endOf(region));
    }
    if (end != c.size) {
        f.file.truncate(c.size);
        crash.stepDone();
    }
}

std::vector<std::size_t> Pager::Impl::absentFiles(const std::vector<std::size_t>& dirty) const {
    std::vector<std::size_t> absent;
    for (std::size_t i : dirty)
        if (!files[i].exists())
            absent.push_back(i);
    return absent;
}

// Writes the new bytes and flushes them.
void Pager::Impl::applyChanges(const std::vector<std::size_t>& dirty,
                               const std::vector<std::size_t>& created) {
    for (std::size_t i : dirty) {
        AttachedFile& f = files[i];
        if (!f.exists()) {
            // O_EXCL: recovery deletes this file, so it must be ours.
            f.file = io::File::open(f.path, O_RDWR | O_CREAT | O_EXCL, *vfs);
            f.writable = true;
            crash.stepDone();
        }
        applyChanges(f);
    }
    if (fsync())
        flushFiles(dirty, created);
}

// One wait for all the files: the writes of every file go out together before the first
// sync waits, so that each later sync finds its writes done or under way.
void Pager::Impl::flushFiles(const std::vector<std::size_t>& dirty,
                             const std::vector<std::size_t>& created) {
    if (dirty.size() > 1)
        for (std::size_t i : dirty)
            files[i].file.startWriteback();
    for (std::size_t i : dirty) {
        files[i].file.sync();
        crash.stepDone();
    }
    for (std::size_t i : created) {
        io::syncDirectory(io::directoryOf(files[i].path), *vfs);
        crash.stepDone();
    }
}

void Pager::Impl::finishCommit(const std::vector<std::size_t>& dirty) {
    for (std::size_t i : dirty)
        files[i].committedSize = files[i].changes.size;
    endTransaction();
}

void Pager::Impl::undoFailedCommit(const std::vector<std::size_t>& created) {
    journal.close();
    forgetCachedPages();
    try {
        if (!recoverJournal(journalPath, crash, *vfs, false))
            broken = "a failed change could not be undone, reopen to recover";
    } catch (const std::exception& e) {
        broken = std::string("a failed change could not be undone, reopen to recover (") +
                 e.what() + ")";
    }
    for (std::size_t i : created) {
        files[i].forgetPages();
        files[i].file.close(); // recovery deleted it
        files[i].writable = false;
    }
    endTransaction();
}

Pager::Pager(fs::path journalPath, Durability durability, io::Vfs* vfs)
    : impl_(std::make_unique<Impl>()) {
    if (vfs)
        impl_->vfs = vfs;
    impl_->journalDir = fs::absolute(journalPath).lexically_normal().parent_path();
    impl_->journalDirOnDisk = io::directoryOf(journalPath);
    impl_->journalPath = std::move(journalPath);
    impl_->durability = durability;
}

Pager::~Pager() {
    impl_->settleJournal();
}

// Flushes the last commit's emptied journal, so that a journal left on the disk after the
// tables are closed is one of a change interrupted.
void Pager::Impl::settleJournal() noexcept {
    if (!emptyingUnflushed)
        return;
    emptyingUnflushed = false;
    try {
        if (const auto file = io::File::openIfExists(journalPath, O_RDONLY, *vfs))
            file->sync();
    } catch (...) { // the power may be gone: recovery then finds the change made
    }
}

void Pager::settle(const fs::path& journalPath, io::Vfs* vfs) {
    if (const auto file = io::File::openIfExists(journalPath, O_RDONLY, vfs ? *vfs : io::realVfs()))
        if (!holdsAJournal(*file))
            file->sync();
}

bool Pager::recover(const fs::path& journalPath, io::Vfs* vfs) {
    CrashPoint crash = CrashPoint::fromEnvironment();
    return recoverJournal(journalPath, crash, vfs ? *vfs : io::realVfs());
}

std::optional<std::string> Pager::superJournalOf(const fs::path& journalPath, io::Vfs* vfs) {
    const auto journalFile =
        io::File::openIfExists(journalPath, O_RDONLY, vfs ? *vfs : io::realVfs());
    if (!journalFile || !holdsAJournal(*journalFile))
        return std::nullopt;
    const std::vector<std::uint8_t> bytes = journalFile->readAll();
    try {
        if (const auto journal = decodeJournal(journalPath, bytes))
            return journal->superJournal;
    } catch (const CorruptFileError&) {
        return std::string(); // complete but unusable: its own recovery reports it
    }
    return std::nullopt;
}

bool Pager::journalPresent(const fs::path& journalPath) {
    const auto journalFile = io::File::openIfExists(journalPath, O_RDONLY);
    return journalFile && holdsAJournal(*journalFile);
}

bool Pager::needsRecovery(const fs::path& journalPath) {
    const auto journalFile = io::File::openIfExists(journalPath, O_RDONLY);
    if (!journalFile || !holdsAJournal(*journalFile))
        return false;
    const std::vector<std::uint8_t> bytes = journalFile->readAll();
    try {
        const auto journal = decodeJournal(journalPath, bytes);
        if (!journal)
            return false;
        // A group's journal is left over once its super-journal is gone: the change was
        // made.
        std::error_code error;
        return journal->superJournal.empty() ||
               fs::exists(io::directoryOf(journalPath) / journal->superJournal, error);
    } catch (const CorruptFileError&) {
        return true; // complete but unusable: recovery reports it
    }
}

void Pager::setCommitLock(TableLock* lock) {
    impl_->commitLock = lock;
}

int Pager::attach(const fs::path& path, bool mayCreate) {
    const fs::path relative =
        fs::absolute(path).lexically_normal().lexically_relative(impl_->journalDir);
    if (!isContainedName(relative.string()))
        throw DbError(path, "is not in the folder of its journal");
    AttachedFile f;
    f.path = path;
    f.journalName = relative.string();
    if (auto file = io::File::openIfExists(path, O_RDONLY, *impl_->vfs))
        f.file = std::move(*file);
    else if (!mayCreate)
        throw DbError(path, "no such file");
    f.committedSize = f.exists() ? f.file.size() : 0;
    f.resetChanges();
    impl_->files.push_back(std::move(f));
    return static_cast<int>(impl_->files.size() - 1);
}

const fs::path& Pager::path(int file) const {
    return impl_->at(file).path;
}

void Pager::read(int file, std::uint64_t offset, std::span<std::uint8_t> out,
                 CachePages pages) const {
    impl_->requireUsable();
    const AttachedFile& f = impl_->at(file);
    const Changes& c = f.changes;
    if (offset > c.size || out.size() > c.size - offset)
        throw DbError(f.path, "reading " + std::to_string(out.size()) + " bytes at offset " +
                                  std::to_string(offset) + " runs past the end (size " +
                                  std::to_string(c.size) + ")");
    f.view(offset, out, pages);
}

std::vector<std::uint8_t> Pager::read(int file, std::uint64_t offset, std::size_t length,
                                      CachePages pages) const {
    std::vector<std::uint8_t> bytes(length);
    read(file, offset, bytes, pages);
    return bytes;
}

std::uint64_t Pager::size(int file) const {
    impl_->requireUsable();
    return impl_->at(file).changes.size;
}

void Pager::begin() {
    impl_->requireUsable();
    if (impl_->inTransaction)
        throw std::logic_error("Pager::begin inside a transaction");
    impl_->inTransaction = true;
}

bool Pager::inTransaction() const {
    return impl_->inTransaction;
}

void Pager::write(int file, std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    impl_->requireTransaction("write");
    AttachedFile& f = impl_->at(file);
    if (bytes.empty())
        return;
    if (offset > UINT64_MAX - bytes.size())
        throw DbError(f.path, "write at offset " + std::to_string(offset) + " out of range");
    impl_->record(static_cast<std::size_t>(file), offset, offset + bytes.size());
    put(f.changes, offset, bytes);
    ++impl_->changeCount;
}

void Pager::truncate(int file, std::uint64_t newSize) {
    impl_->requireTransaction("truncate");
    Changes& c = impl_->at(file).changes;
    impl_->record(static_cast<std::size_t>(file), newSize, c.size);
    if (newSize < c.size)
        cut(c, newSize);
    else
        c.size = newSize;
    ++impl_->changeCount;
}

void Pager::commit() {
    Impl& d = *impl_;
    d.requireTransaction("commit");
    d.requireUsable();
    const std::vector<std::size_t> dirty = d.dirtyFiles();
    if (dirty.empty()) {
        d.endTransaction();
        return;
    }
    std::optional<TableLock::Hold> exclusive;
    try {
        exclusive.emplace(d.commitLock, TableLock::Side::Exclusive);
        d.openForWriting(dirty);
        d.writeJournal(d.buildJournal(dirty));
    } catch (...) {
        d.endTransaction();
        throw;
    }
    const std::vector<std::size_t> created = d.absentFiles(dirty);
    try {
        d.applyChanges(dirty, created);
    } catch (...) {
        d.undoFailedCommit(created);
        throw;
    }
    try {
        d.emptyJournal();
    } catch (...) {
        d.rewriteJournal();
        d.undoFailedCommit(created);
        throw;
    }
    d.finishCommit(dirty);
    // The change is made. The emptied journal is not flushed (see the top): it reaches the
    // disk with the next journal or when the pager goes.
    d.journal.close();
    d.emptyingUnflushed = d.fsync();
}

void Pager::rollback() {
    impl_->requireTransaction("rollback");
    impl_->endTransaction();
}

void Pager::beginSavepoint() {
    impl_->requireTransaction("beginSavepoint");
    if (impl_->recording)
        throw std::logic_error("Pager::beginSavepoint inside a savepoint");
    impl_->recording = true;
}

// Undoes the steps newest first: each puts back the bytes its range held and the size
// and kept length of its file then. A range put back holds what the transaction saw
// there, so reads and the commit see the files as at the savepoint.
void Pager::rollbackToSavepoint() {
    Impl& d = *impl_;
    d.requireTransaction("rollbackToSavepoint");
    for (auto step = d.undo.rbegin(); step != d.undo.rend(); ++step) {
        Changes& c = d.files[step->file].changes;
        if (!step->bytes.empty())
            put(c, step->offset, step->bytes);
        if (c.size > step->size)
            cut(c, step->size);
        c.size = step->size;
        c.kept = step->kept;
    }
    d.undo.clear();
    d.recording = false;
    ++d.changeCount;
}

void Pager::releaseSavepoint() {
    impl_->undo.clear();
    impl_->recording = false;
}

std::uint64_t Pager::changeCount() const {
    return impl_->changeCount;
}

std::unique_ptr<io::FileHandle> Pager::readerForAnotherThread(int file) const {
    const AttachedFile& f = impl_->at(file);
    if (!impl_->broken.empty() || impl_->inTransaction || !f.exists())
        return nullptr;
    return f.file.reader();
}

bool Pager::hasChanges() const {
    return impl_->inTransaction && !impl_->dirtyFiles().empty();
}

void Pager::prepareGroupCommit(const std::string& superJournal) {
    Impl& d = *impl_;
    d.requireTransaction("prepareGroupCommit");
    d.requireUsable();
    d.groupDirty = d.dirtyFiles();
    d.groupCreated = d.absentFiles(d.groupDirty);
    d.openForWriting(d.groupDirty);
    d.writeJournal(d.buildJournal(d.groupDirty, superJournal));
}

void Pager::applyGroupCommit() {
    impl_->applyChanges(impl_->groupDirty, impl_->groupCreated);
}

// The super-journal is gone, so the change is made: this journal is left over, and a
// failure to delete it only leaves it for the next open to delete.
void Pager::finishGroupCommit() noexcept {
    Impl& d = *impl_;
    for (std::size_t i : d.groupDirty)
        d.files[i].committedSize = d.files[i].changes.size;
    d.endTransaction();
    d.groupDirty.clear();
    d.groupCreated.clear();
    // Cut, not emptied in place: the super-journal's removal is not yet on the disk, and
    // zeroed bytes could reach the disk before it and leave the group's other journals
    // to be restored without this one.
    try {
        d.journal.truncate(0);
        d.crash.stepDone();
    } catch (...) {
    }
    d.journal.close();
}

void Pager::abandonGroupCommit(const std::string& brokenReason) noexcept {
    Impl& d = *impl_;
    d.journal.close();
    d.forgetCachedPages(); // the group's recovery put the files' old bytes back
    for (std::size_t i : d.groupCreated) {
        d.files[i].forgetPages();
        d.files[i].file.close(); // the group's recovery deleted it
        d.files[i].writable = false;
    }
    d.groupDirty.clear();
    d.groupCreated.clear();
    if (!brokenReason.empty())
        d.broken = brokenReason;
    if (d.inTransaction)
        d.endTransaction();
}

const fs::path& Pager::journalPath() const {
    return impl_->journalPath;
}

Durability Pager::durability() const {
    return impl_->durability;
}

} // namespace db
