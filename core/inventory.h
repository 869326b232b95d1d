#pragma once
// The database's file inventory: the 68 tables whose Paradox files make up the whole
// database (244 files), in the order the backup handles them, with the order of the
// restore and of the deletion of all data. The read-only lists (celprogramok,
// Akgmuvag) are not part of it. The diesel invoice items (szlatet) are not part of it
// either, yet the backup and the restore copy them with the diesel invoices.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace core {

struct InventoryTable {
    std::string_view name;                    // as the inventory spells it: "Tervelvmuv"
    std::vector<std::string_view> extensions; // the files handled, in order: ".db", ".px" ...
    int deleteStep = 0;                       // place in the deletion of all data; 0: kept
    // Copied by the backup and the restore but outside the inventory (szlatet): a backup
    // made before it was copied lacks its files, so they are passed over when missing.
    bool outside = false;
    bool kept() const { return deleteStep == 0; }
};

// One database file: "Tablak.xg0".
struct InventoryFile {
    const InventoryTable* table = nullptr;
    std::string name;
    // A family (.fam) or table-view (.tv) file, which a fresh database has none of, or a
    // file of a table outside the inventory: a missing one is passed over; every other
    // file must exist.
    bool optional = false;
};

// The 68 tables in inventory order.
const std::vector<InventoryTable>& Inventory();

// The tables in the order the backup handles them: the inventory order, with szlatet
// after Gazolajszla.
std::vector<const InventoryTable*> BackupOrder();

// The tables in the order the restore handles them: the backup order, except that
// Szaktanacs comes before Szemely, and mitak_helyek and TalajmintaKet after Tapanyagok.
std::vector<const InventoryTable*> RestoreOrder();

// The 57 tables the deletion of all data empties, in its order.
std::vector<const InventoryTable*> DeleteAllOrder();

// The files of the tables, table after table, each table's files in inventory order.
std::vector<InventoryFile> FilesOf(const std::vector<const InventoryTable*>& tables);
std::vector<InventoryFile> BackupFiles(); // all 246, in backup order

// The file of that inventory name in `folder`, found regardless of letter case (the
// engine may have spelled a companion "Tablak.XG0"); `folder/name` when there is none.
std::filesystem::path FindDatabaseFile(const std::filesystem::path& folder,
                                       const std::string& name);

} // namespace core
