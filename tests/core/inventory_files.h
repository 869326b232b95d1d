#pragma once
// The database's file inventory as the backup handles it: every table with the
// extensions of its files, in order. The tests compare the catalogue and a fresh
// database with it.

#include <array>
#include <sstream>
#include <string>
#include <vector>

namespace testcore {

struct InventoryEntry {
    const char* table;
    const char* files; // extensions, blank-separated
};

// clang-format off
inline constexpr std::array<InventoryEntry, 68> kInventory = {{
    {"Agazaticsoport", ".db .px"},
    {"Alapadat2", ".db .px"},
    {"Alapadatok", ".db .fam .px .tv"},
    {"Altmuv", ".db .px"},
    {"Allatfajok", ".db .px"},
    {"Csapadek", ".db .px .xg0 .yg0"},
    {"ElvMuv", ".db .fam .px .tv .xg0 .xg1 .xg2 .yg0 .yg1 .yg2"},
    {"Erogepek", ".db .xg0 .px .xg1 .yg0 .yg1"},
    {"felhanyag", ".db .xg0 .px .xg1 .yg0 .yg1"},
    {"Foldhasznterv", ".db .px"},
    {"Gazdepulet", ".db .fam .px .tv"},
    {"Gazolajszla", ".db .xg0 .px .yg0"},
    {"Gepjavitas", ".db .xg0 .px .yg0"},
    {"GNMegjegy", ".db .px .xg0 .yg0"},
    {"gyepalap", ".db .px .xg0 .yg0"},
    {"gyumalap", ".db .px"},
    {"Gyumkieg02", ".db .px"},
    {"Kapcsdoc", ".db .xg0 .px .yg0"},
    {"kotegyter", ".db .px"},
    {"Korcsoport", ".db .px"},
    {"legnaplo", ".db .px .xg0 .yg0"},
    {"Magfajtak", ".db .xg0 .px .xg1 .yg0 .yg1"},
    {"Megffej", ".db .px"},
    {"Munkagepek", ".db .xg0 .px .xg1 .yg0 .yg1"},
    {"Munkavegz", ".db .px"},
    {"Muvelesiag", ".db .px"},
    {"muv_novmegf", ".db .px"},
    {"Normalhektar", ".db .xg0 .px .yg0"},
    {"Novenyv", ".db .xg0 .px .yg0"},
    {"Novenyvedok", ".db .fam .px .tv .xg0 .yg0"},
    {"Novvedmeg2", ".db .px"},
    {"Novvedmegf", ".db .xg0 .px .xg1 .yg0 .yg1"},
    {"Ontozes", ".db .px"},
    {"parcellak", ".db .xg0 .px .xg1 .yg0 .yg1 .yg2 .xg2"},
    {"Parckiegadat", ".db .px"},
    {"Parclellak02", ".db .px"},
    {"Parcteny", ".db .px"},
    {"Raktarak", ".db .px"},
    {"Raktarmozgas", ".db .xg0 .px .yg0"},
    {"Set", ".db .px"},
    {"Szemely", ".db .px .yg0 .xg0"},
    {"Szaktanacs", ".db .px .yg0 .xg0"},
    {"Szhelyrajzi", ".db .xg0 .px .xg1 .yg0 .yg1"},
    {"Szparcellak", ".db .xg0 .px .yg0"},
    {"Tablak", ".db .xg0 .px .xg1 .yg0 .yg1 .xg2 .yg2"},
    {"Tablak2", ".db .px"},
    {"Talajkategoria", ".db .px"},
    {"Talajmintak", ".db .px"},
    {"talajvizsgadat", ".db .px"},
    {"mitak_helyek", ".db .px"},
    {"TalajmintaKet", ".db .px"},
    {"Tapanyagok", ".db .xg0 .px .yg0 .fam .tv"},
    {"Tapterv", ".db .px"},
    {"Tervelvmuv", ".db .fam .px .tv .xg0 .xg1 .xg2 .yg0 .yg1 .yg2"},
    {"Tervfanyag", ".db .xg0 .px .xg1 .yg0 .yg1"},
    {"Tervmunkas", ".db .px"},
    {"Tervontozes", ".db .px"},
    {"Tervparc", ".db .px"},
    {"Tervparc02", ".db .px"},
    {"Tervpkieg", ".db .px"},
    {"Tervrmozgas", ".db .xg0 .px .yg0"},
    {"Tervszhrsz", ".db .xg0 .px .xg1 .yg0 .yg1"},
    {"Tervszparc", ".db .xg0 .px .yg0"},
    {"tulaj", ".db .xg0 .px .yg0"},
    {"Ultkieg02", ".db .px"},
    {"Vismajor", ".db .px"},
    {"vizkivet", ".db .px"},
    {"Vetomagok", ".db .xg0 .px .xg1 .yg0 .yg1"},
}};
// clang-format on

inline std::vector<std::string> Extensions(const InventoryEntry& entry) {
    std::vector<std::string> out;
    std::istringstream in(entry.files);
    for (std::string ext; in >> ext;)
        out.push_back(ext);
    return out;
}

// The secondary index files of a table (.xgN and .ygN), in the inventory's spelling.
inline std::vector<std::string> IndexExtensions(const InventoryEntry& entry) {
    std::vector<std::string> out;
    for (const auto& ext : Extensions(entry))
        if (ext.starts_with(".xg") || ext.starts_with(".yg"))
            out.push_back(ext);
    return out;
}

} // namespace testcore
