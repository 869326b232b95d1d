#include "core/inventory.h"

#include "platform/db/table_file.h"

#include <algorithm>
#include <stdexcept>

namespace core {

const std::vector<InventoryTable>& Inventory() {
    static const std::vector<InventoryTable> tables = {
        {"Agazaticsoport", {".db", ".px"}, 1},
        {"Alapadat2", {".db", ".px"}, 10},
        {"Alapadatok", {".db", ".fam", ".px", ".tv"}, 5},
        {"Altmuv", {".db", ".px"}, 11},
        {"Allatfajok", {".db", ".px"}, 0},
        {"Csapadek", {".db", ".px", ".xg0", ".yg0"}, 39},
        {"ElvMuv",
         {".db", ".fam", ".px", ".tv", ".xg0", ".xg1", ".xg2", ".yg0", ".yg1", ".yg2"},
         6},
        {"Erogepek", {".db", ".xg0", ".px", ".xg1", ".yg0", ".yg1"}, 7},
        {"felhanyag", {".db", ".xg0", ".px", ".xg1", ".yg0", ".yg1"}, 8},
        {"Foldhasznterv", {".db", ".px"}, 2},
        {"Gazdepulet", {".db", ".fam", ".px", ".tv"}, 9},
        {"Gazolajszla", {".db", ".xg0", ".px", ".yg0"}, 12},
        {"Gepjavitas", {".db", ".xg0", ".px", ".yg0"}, 13},
        {"GNMegjegy", {".db", ".px", ".xg0", ".yg0"}, 44},
        {"gyepalap", {".db", ".px", ".xg0", ".yg0"}, 40},
        {"gyumalap", {".db", ".px"}, 41},
        {"Gyumkieg02", {".db", ".px"}, 45},
        {"Kapcsdoc", {".db", ".xg0", ".px", ".yg0"}, 38},
        {"kotegyter", {".db", ".px"}, 14},
        {"Korcsoport", {".db", ".px"}, 0},
        {"legnaplo", {".db", ".px", ".xg0", ".yg0"}, 42},
        {"Magfajtak", {".db", ".xg0", ".px", ".xg1", ".yg0", ".yg1"}, 0},
        {"Megffej", {".db", ".px"}, 43},
        {"Munkagepek", {".db", ".xg0", ".px", ".xg1", ".yg0", ".yg1"}, 15},
        {"Munkavegz", {".db", ".px"}, 46},
        {"Muvelesiag", {".db", ".px"}, 0},
        {"muv_novmegf", {".db", ".px"}, 16},
        {"Normalhektar", {".db", ".xg0", ".px", ".yg0"}, 0},
        {"Novenyv", {".db", ".xg0", ".px", ".yg0"}, 0},
        {"Novenyvedok", {".db", ".fam", ".px", ".tv", ".xg0", ".yg0"}, 0},
        {"Novvedmeg2", {".db", ".px"}, 47},
        {"Novvedmegf", {".db", ".xg0", ".px", ".xg1", ".yg0", ".yg1"}, 17},
        {"Ontozes", {".db", ".px"}, 48},
        {"parcellak", {".db", ".xg0", ".px", ".xg1", ".yg0", ".yg1", ".yg2", ".xg2"}, 18},
        {"Parckiegadat", {".db", ".px"}, 19},
        {"Parclellak02", {".db", ".px"}, 49},
        {"Parcteny", {".db", ".px"}, 50},
        {"Raktarak", {".db", ".px"}, 20},
        {"Raktarmozgas", {".db", ".xg0", ".px", ".yg0"}, 21},
        {"Set", {".db", ".px"}, 0},
        {"Szemely", {".db", ".px", ".yg0", ".xg0"}, 55},
        {"Szaktanacs", {".db", ".px", ".yg0", ".xg0"}, 51},
        {"Szhelyrajzi", {".db", ".xg0", ".px", ".xg1", ".yg0", ".yg1"}, 22},
        {"Szparcellak", {".db", ".xg0", ".px", ".yg0"}, 23},
        {"Tablak", {".db", ".xg0", ".px", ".xg1", ".yg0", ".yg1", ".xg2", ".yg2"}, 24},
        {"Tablak2", {".db", ".px"}, 52},
        {"Talajkategoria", {".db", ".px"}, 0},
        {"Talajmintak", {".db", ".px"}, 25},
        {"talajvizsgadat", {".db", ".px"}, 26},
        {"mitak_helyek", {".db", ".px"}, 3},
        {"TalajmintaKet", {".db", ".px"}, 4},
        {"Tapanyagok", {".db", ".xg0", ".px", ".yg0", ".fam", ".tv"}, 0},
        {"Tapterv", {".db", ".px"}, 53},
        {"Tervelvmuv",
         {".db", ".fam", ".px", ".tv", ".xg0", ".xg1", ".xg2", ".yg0", ".yg1", ".yg2"},
         27},
        {"Tervfanyag", {".db", ".xg0", ".px", ".xg1", ".yg0", ".yg1"}, 28},
        {"Tervmunkas", {".db", ".px"}, 29},
        {"Tervontozes", {".db", ".px"}, 30},
        {"Tervparc", {".db", ".px"}, 31},
        {"Tervparc02", {".db", ".px"}, 32},
        {"Tervpkieg", {".db", ".px"}, 33},
        {"Tervrmozgas", {".db", ".xg0", ".px", ".yg0"}, 34},
        {"Tervszhrsz", {".db", ".xg0", ".px", ".xg1", ".yg0", ".yg1"}, 35},
        {"Tervszparc", {".db", ".xg0", ".px", ".yg0"}, 36},
        {"tulaj", {".db", ".xg0", ".px", ".yg0"}, 37},
        {"Ultkieg02", {".db", ".px"}, 54},
        {"Vismajor", {".db", ".px"}, 56},
        {"vizkivet", {".db", ".px"}, 57},
        {"Vetomagok", {".db", ".xg0", ".px", ".xg1", ".yg0", ".yg1"}, 0},
    };
    return tables;
}

namespace {

// The diesel invoice items: without them a restore would give back the invoices alone.
const InventoryTable kInvoiceItems = {"szlatet", {".db", ".px"}, 0, true};

const InventoryTable& Named(std::string_view name) {
    for (const InventoryTable& table : Inventory())
        if (table.name == name)
            return table;
    throw std::logic_error("no table " + std::string(name) + " in the inventory");
}

bool IsOptional(std::string_view extension) {
    return extension == ".fam" || extension == ".tv";
}

} // namespace

std::vector<const InventoryTable*> BackupOrder() {
    std::vector<const InventoryTable*> order;
    for (const InventoryTable& table : Inventory()) {
        order.push_back(&table);
        if (table.name == "Gazolajszla")
            order.push_back(&kInvoiceItems);
    }
    return order;
}

std::vector<const InventoryTable*> RestoreOrder() {
    std::vector<const InventoryTable*> order;
    for (const InventoryTable* table : BackupOrder()) {
        if (table->name == "Szemely" || table->name == "mitak_helyek" ||
            table->name == "TalajmintaKet")
            continue;
        order.push_back(table);
        if (table->name == "Szaktanacs")
            order.push_back(&Named("Szemely"));
        if (table->name == "Tapanyagok") {
            order.push_back(&Named("mitak_helyek"));
            order.push_back(&Named("TalajmintaKet"));
        }
    }
    return order;
}

std::vector<const InventoryTable*> DeleteAllOrder() {
    std::vector<const InventoryTable*> order;
    for (const InventoryTable& table : Inventory())
        if (!table.kept())
            order.push_back(&table);
    std::sort(order.begin(), order.end(), [](const InventoryTable* a, const InventoryTable* b) {
        return a->deleteStep < b->deleteStep;
    });
    return order;
}

std::vector<InventoryFile> FilesOf(const std::vector<const InventoryTable*>& tables) {
    std::vector<InventoryFile> files;
    for (const InventoryTable* table : tables)
        for (std::string_view extension : table->extensions)
            files.push_back({table, std::string(table->name) + std::string(extension),
                             table->outside || IsOptional(extension)});
    return files;
}

std::vector<InventoryFile> BackupFiles() {
    return FilesOf(BackupOrder());
}

std::filesystem::path FindDatabaseFile(const std::filesystem::path& folder,
                                       const std::string& name) {
    return db::resolveCaseInsensitive(folder, name);
}

} // namespace core
