#include "platform/db/group_commit.h"

#include "platform/db/error.h"
#include "platform/db/file_io.h"
#include "platform/db/journal.h"
#include "platform/db/table_file.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <random>

namespace fs = std::filesystem;

namespace db {

namespace {

bool hasExtension(const fs::path& path, const char* lower) {
    return sameFileName(path.extension().string(), lower);
}

std::vector<fs::path> filesWithExtension(const fs::path& dir, const char* lower) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error))
        if (hasExtension(it->path(), lower))
            found.push_back(it->path());
    std::sort(found.begin(), found.end());
    return found;
}

// The exclusive side of the lock of the table a journal belongs to (none when its data
// file is gone).
std::unique_ptr<TableLock> lockFor(const fs::path& journalPath) {
    const fs::path db = companionPath(journalPath, ".db");
    std::error_code error;
    if (!fs::is_regular_file(db, error))
        return nullptr;
    return std::make_unique<TableLock>(db);
}

bool restoreOne(const fs::path& journalPath, io::Vfs& vfs) {
    const auto lock = lockFor(journalPath);
    TableLock::Hold exclusive(lock.get(), TableLock::Side::Exclusive);
    return Pager::recover(journalPath, &vfs);
}

void addName(std::vector<std::string>& names, const fs::path& journalPath) {
    const std::string name = journalPath.stem().string();
    if (std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

std::vector<std::string> recoverGroup(const fs::path& superPath, io::Vfs& vfs) {
    const fs::path dir = io::directoryOf(superPath);
    std::vector<fs::path> journals;
    if (auto file = io::File::openIfExists(superPath, O_RDONLY, vfs)) {
        const auto bytes = file->readAll();
        if (const auto names = decodeSuperJournal(superPath, bytes))
            for (const std::string& name : *names)
                journals.push_back(dir / name);
    }
    // Also any journal that names it (the super-journal may have been cut short).
    const std::string superName = superPath.filename().string();
    for (const fs::path& journal : filesWithExtension(dir, ".jnl"))
        if (std::find(journals.begin(), journals.end(), journal) == journals.end() &&
            Pager::superJournalOf(journal, &vfs) == superName)
            journals.push_back(journal);
    // Only a journal of this group: one the super-journal names may still hold an earlier
    // change of its table (its cut not on the disk), whose group was made.
    std::vector<std::string> restored;
    for (const fs::path& journal : journals) {
        std::error_code error;
        if (fs::exists(journal, error) && Pager::superJournalOf(journal, &vfs) == superName &&
            restoreOne(journal, vfs))
            addName(restored, journal);
    }
    io::removeFile(superPath, vfs);
    io::syncDirectory(dir, vfs);
    return restored;
}

std::string newSuperJournalName() {
    std::random_device random;
    const std::uint64_t value = (static_cast<std::uint64_t>(random()) << 32) ^ random();
    char name[40];
    std::snprintf(name, sizeof name, "save-%016llx.sjnl", static_cast<unsigned long long>(value));
    return name;
}

std::string nameInFolder(const fs::path& path, const fs::path& dir) {
    const fs::path relative = fs::absolute(path).lexically_normal().lexically_relative(
        fs::absolute(dir).lexically_normal());
    if (!isContainedName(relative.string()))
        throw DbError(path, "is not in the folder of the save's other tables");
    return relative.string();
}

void writeSuperJournal(const fs::path& path, std::span<const std::uint8_t> bytes, bool fsync,
                       io::Vfs& vfs) {
    const io::File file = io::File::open(path, O_WRONLY | O_CREAT | O_EXCL, vfs);
    file.writeAll(0, bytes);
    if (fsync) {
        file.sync();
        io::syncDirectory(io::directoryOf(path), vfs);
    }
}

// Restores every member from its journal and ends their transactions with the changes
// dropped.
void undoGroup(const std::vector<GroupMember>& members, const fs::path& superPath,
               bool superCreated, io::Vfs& vfs) {
    std::string broken;
    try {
        if (superCreated)
            recoverGroup(superPath, vfs);
    } catch (const std::exception& e) {
        broken =
            std::string("a failed save could not be undone, reopen to recover (") + e.what() + ")";
    }
    for (const GroupMember& m : members)
        m.pager->abandonGroupCommit(broken);
}

} // namespace

void commitGroup(const std::vector<GroupMember>& members, const fs::path& dir,
                 Durability durability, io::Vfs& vfs) {
    std::vector<GroupMember> changed;
    for (const GroupMember& m : members) {
        if (m.pager->hasChanges())
            changed.push_back(m);
        else if (m.pager->inTransaction())
            m.pager->rollback();
    }
    if (changed.empty())
        return;
    if (changed.size() == 1) {
        changed.front().pager->commit();
        return;
    }
    std::sort(changed.begin(), changed.end(), [](const GroupMember& a, const GroupMember& b) {
        return a.lock->path() < b.lock->path();
    });
    const bool fsync = durability == Durability::Fsync;
    const std::string superName = newSuperJournalName();
    const fs::path superPath = dir / superName;
    std::vector<std::unique_ptr<TableLock::Hold>> exclusive;
    bool superCreated = false;
    try {
        std::vector<std::string> journals;
        for (const GroupMember& m : changed) {
            exclusive.push_back(
                std::make_unique<TableLock::Hold>(*m.lock, TableLock::Side::Exclusive));
            journals.push_back(nameInFolder(m.pager->journalPath(), dir));
        }
        superCreated = true; // from here on it may be on the disk, whole or in part
        writeSuperJournal(superPath, encodeSuperJournal(journals), fsync, vfs);
        for (const GroupMember& m : changed)
            m.pager->prepareGroupCommit(superName);
        for (const GroupMember& m : changed)
            m.pager->applyGroupCommit();
        io::removeFile(superPath, vfs); // the change is made
        // The removal reaches the disk before any member's journal is cut: a disk that
        // kept a cut journal but not the removal would restore the group's other tables
        // alone. Should the flush fail, the journals (each naming the super-journal) put
        // the files back as before.
        if (fsync)
            io::syncDirectory(dir, vfs);
    } catch (...) {
        undoGroup(changed, superPath, superCreated, vfs);
        throw;
    }
    for (const GroupMember& m : changed)
        m.pager->finishGroupCommit();
}

std::vector<std::string> recoverTableJournal(const fs::path& journalPath, io::Vfs& vfs) {
    const auto superName = Pager::superJournalOf(journalPath, &vfs);
    if (superName && !superName->empty()) {
        const fs::path superPath = io::directoryOf(journalPath) / *superName;
        std::error_code error;
        if (fs::exists(superPath, error))
            return recoverGroup(superPath, vfs);
        // Its group's change was made: the journal is left over.
        io::removeFile(journalPath, vfs);
        io::syncDirectory(io::directoryOf(journalPath), vfs);
        return {};
    }
    std::vector<std::string> restored;
    if (restoreOne(journalPath, vfs))
        addName(restored, journalPath);
    return restored;
}

std::vector<std::string> recoverFolder(const fs::path& dir, io::Vfs& vfs) {
    std::vector<std::string> restored;
    const auto merge = [&](const std::vector<std::string>& names) {
        for (const std::string& name : names)
            if (std::find(restored.begin(), restored.end(), name) == restored.end())
                restored.push_back(name);
    };
    for (const fs::path& superPath : filesWithExtension(dir, ".sjnl"))
        merge(recoverGroup(superPath, vfs));
    for (const fs::path& journal : filesWithExtension(dir, ".jnl"))
        merge(recoverTableJournal(journal, vfs));
    return restored;
}

} // namespace db
