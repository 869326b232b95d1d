#pragma once
// A change over several tables made all together or not at all, also when the process
// dies or the power goes at any instant (as SQLite commits several database files).
//
// Commit of a group (each step forced to the disk first under Durability::Fsync):
//   1. the exclusive side of every member table's lock, in path order;
//   2. the super-journal "save-<random>.sjnl" in the tables' folder, naming the
//      members' journals;
//   3. each member's journal (original bytes and sizes, as a lone commit writes it),
//      naming the super-journal;
//   4. the new bytes into every member's files;
//   5. the super-journal deleted (and the folder flushed, before any journal is cut):
//      this is the moment the change is made;
//   6. the members' journals cut (left over ones are harmless, see below).
// Recovery, at the next open of any member table or at the start of the program:
//   - a journal naming a super-journal that is still there: the whole group is rolled
//     back (every journal named by the super-journal, or naming it, restores its files
//     and is deleted; one named that holds another change, left over, is not used), then
//     the super-journal is deleted;
//   - a journal naming a super-journal that is gone: the change was made; the journal
//     is deleted without touching the files;
//   - a journal of a lone change, or one cut short: as the pager recovers it.
// A crash during recovery leaves the super-journal, so the next recovery goes on.

#include "pager.h"
#include "table_lock.h"

#include <filesystem>
#include <string>
#include <vector>

namespace db {

struct GroupMember {
    Pager* pager = nullptr; // in a transaction
    TableLock* lock = nullptr;
};

// Commits the members' transactions all together (a lone changed member commits as the
// pager does, without a super-journal). Every member's transaction has ended when it
// returns or throws; on a throw the files are as before, unless they could not be
// restored (the members' pagers then refuse further use).
void commitGroup(const std::vector<GroupMember>& members, const std::filesystem::path& dir,
                 Durability durability, io::Vfs& vfs);

// Recovers the journal of one table, alone or with its group, under the exclusive side
// of each table's lock. Returns the names (file stems) of the tables whose files were
// restored.
std::vector<std::string> recoverTableJournal(const std::filesystem::path& journalPath,
                                             io::Vfs& vfs);

// Every interrupted change in the folder: the groups first, then lone journals.
std::vector<std::string> recoverFolder(const std::filesystem::path& dir, io::Vfs& vfs);

} // namespace db
