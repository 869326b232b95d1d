// The catalogue of the field operations' tables (performed operations with their material
// uses, irrigation, workers and observation links, the planned twins, operation types,
// general activities) and of the farming diary's remarks.

#include "core/catalogue_build.h"

namespace core::cat {

namespace {

// clang-format off

TableDef ElvMuv() {
    return {"ElvMuv", {
        Text("Muvkod", 6),
        Text("Tablakod", 40),
        Date("Datum", Day("Kezdete")),
        Text("Muvnev", 30),
        Text("Irany", 20),
        Long("Evj"),
        Text("Agazat", 50),
        Text("Munkagepkod", 6),
        Text("Erogepkod", 6),
        Number("Gepora", Numbers("Gépóra", Sign::NotNegative)),
        Number("Keziora", Numbers("Kézi óra", Sign::NotNegative)),
        Text("Szantm", 3, Whole("Mélység", Sign::NotNegative, 999)),
        Number("Hozam", Numbers("Hozam", Sign::NotNegative)),
        Text("Mellek", 25),
        Long("Masod"),
        Long("Ter", BoundBy(Whole("Terület", Sign::Positive), "a tábla területe")),
        Number("Nha", Numbers("Normálhektár", Sign::NotNegative)),
        Text("Muvid", 6),
        Text("Szolg", 4),
        Long("Sorsz", Whole("Sorszám", Sign::Any)),
        Long("Vizkivid"),
        Date("Muvveg", Day("Vége", "Datum", "Kezdete")),
        Text("Tajkotmegnev", 50),
        Date("Bejelido", Day("bejel. időp.")),
        Logical("Bejelkot"),
        Logical("Deleted"),
        Text("Megjegyzes", 200),
    }, 1, {
        Index("ElvMuvMuvkodind", {"Muvkod"}),
        Index("ElvMuvDatumInd", {"Datum"}),
        Index("ElvMuvtablaind", {"Tablakod"}),
    }, true,
    "Megjegyzes has the upgrade's 200 characters."};
}

TableDef Felhanyag() {
    return {"felhanyag", {
        AutoInc("Felhid"),
        Text("Felhkod", 6),
        Text("Anyagkod", 6),
        Text("Muvkod", 6),
        Text("Tablakod", 40),
        Text("Anyagtip", 6),
        Number("Menny", Numbers("Mennyiség", Sign::NotNegative)),
        Text("Permetle", 10, Numbers("Permetlé mennyisége", Sign::NotNegative)),
        Date("Betido", Day("Időpont")),
        Text("Felelos", 30),
        Text("Mert", 4),
        Text("Csira", 10, Numbers("Csíraszám", Sign::NotNegative)),
        Number("Fogya"),
        Text("Vido", 3),
        Text("Egyhatoany", 40),
        Text("Tragyakod", 40),
        Logical("Szervestr"),
        Logical("Higtr"),
        Logical("Egyebtr"),
        Logical("Deleted"),
        Long("Sorsz", Whole("Sorszám", Sign::Positive)),
        Logical("Mutr"),
        Number("Nitr"),
    }, 2, {
        Index("felhamuvkind", {"Muvkod"}),
        Index("felhafelhkodind", {"Felhkod"}),
    }, true,
    "Key: Felhid;Felhkod (the row number first, as stored); the second secondary index "
    "(named here) serves the order by Felhkod; Nitr, a number after Mutr, is the column the "
    "spray-log diary sheet reads as Nitr_1."};
}

TableDef Ontozes() {
    return {"Ontozes", {
        AutoInc("Ont_id"),
        Text("Muvkod", 6),
        Text("Parckod", 6),
        Text("Ko", 10, Clock("Kezdete (óra)", 23)),
        Text("Kp", 10, Clock("Kezdete (perc)", 59)),
        Text("Vo", 10, Clock("Vége (óra)", 23)),
        Text("Vp", 10, Clock("Vége (perc)", 59)),
        Number("Uora", Numbers("Üzemóra", Sign::NotNegative)),
        Number("Menny", Numbers("Mennyiség", Sign::NotNegative)),
        Text("Megj", 60),
        Long("Vizkivid"),
    }, 1, {}, true,
    "Ont_id an AutoInc; Vizkivid, a long integer, is the column the operation copier leaves "
    "empty."};
}

TableDef Munkavegz() {
    return {"Munkavegz", {
        AutoInc("Munk_id"),
        Text("Muvkod", 6),
        Long("Szemkod"),
        Text("Mora", 20),
        Text("Ber", 20),
        Text("Megj", 100),
        Text("P1", 20),
        Text("P2", 20),
        Text("P3", 20),
    }, 1, {}, true,
    "Mora, Ber, Megj, P1, P2, P3 (only copied, as text) chosen as text: 20, 20, 100, 20, 20, "
    "20."};
}

TableDef MuvNovmegf() {
    return {"muv_novmegf", {
        AutoInc("Id"),
        Text("Muvid", 6),
        Long("Megfid"),
    }, 1, {}, true,
    "Key: an added AutoInc Id, since a planned and a performed operation may share a code "
    "and link the same observation."};
}

TableDef Vizkivet() {
    return {"vizkivet", {
        AutoInc("Id"),
        Text("Nev", 100),
        Text("Hely", 100),
        Text("Engsz", 30),
        Text("Ontmod", 100),
        Text("Szelv", 100),
        Logical("Deleted"),
    }, 1, {}, true, ""};
}

TableDef Normalhektar() {
    return {"Normalhektar", {
        Text("Kod", 6),
        Text("Muv", 50, BoundBy(Letters("Művelet", 30), "a művelet nevének hossza")),
        Text("Tip", 10),
        Number("Nha", Numbers("Normálhektár szorzó", Sign::NotNegative)),
        Long("Muvid"),
        Long("Extra"),
        Long("Mtip"),
        Logical("Deleted"),
    }, 1, {
        Index("NormalhektarMuvInd", {"Muv"}),
    }, true,
    "The secondary index on Muv is named here; Tip text 10."};
}

TableDef Altmuv() {
    return {"Altmuv", {
        AutoInc("Id"),
        Text("Megnev", 40),
        Text("Ora", 10),
        Text("Perc", 10),
        Text("Megjegyzés", 100),
    }, 1, {}, true,
    "Key: an added AutoInc Id, since two activities may share a name (the list grid shows "
    "Megnev, Ora, Perc, Megjegyzés); Megnev text 40; Ora and Perc text 10 (copied as text); "
    "Megjegyzés text 100."};
}

TableDef GNMegjegy() {
    return {"GNMegjegy", {
        AutoInc("Id"),
        Date("Mdate"),
        Text("Gnszam", 10),
        Text("Gnlapsz", 10),
        Text("Oszl", 20),
        Text("Sorsz", 10),
        Text("Megj", 200),
        Long("Msorsz", Whole("Sorszám", Sign::NotNegative)),
    }, 1, {
        Index("GNMegjegyDateInd", {"Mdate"}),
    }, true,
    "Key: an added AutoInc Id, since a duplicated remark repeats every other column; the "
    "secondary index (named here) is on Mdate; widths chosen: Gnszam 10, Gnlapsz 10, Oszl 20, "
    "Sorsz 10, Megj 200."};
}

TableDef Kapcsdoc() {
    return {"Kapcsdoc", {
        AutoInc("Id"),
        Date("Mdate"),
        Text("Gnszam", 10),
        Text("Gnlapsz", 10),
        Text("Oszl", 20),
        Text("Sorsz", 10),
        Text("Megj", 200),
    }, 1, {
        Index("KapcsdocDateInd", {"Mdate"}),
    }, true,
    "No form uses it: the remark layout of GNMegjegy (the remarks form is called "
    "\"Kapcsolódó dokumentumok\") without Msorsz, and a date index (named here)."};
}

// clang-format on

} // namespace

std::vector<TableDef> OperationTables() {
    const TableDef elvmuv = ElvMuv();
    const TableDef felhanyag = Felhanyag();
    const TableDef ontozes = Ontozes();
    const TableDef munkavegz = Munkavegz();
    return {
        elvmuv,
        felhanyag,
        ontozes,
        munkavegz,
        MuvNovmegf(),
        Vizkivet(),
        Normalhektar(),
        Altmuv(),
        GNMegjegy(),
        Kapcsdoc(),
        Twin(elvmuv, "Tervelvmuv", "Planned twin of ElvMuv: the same layout."),
        Twin(felhanyag, "Tervfanyag", "Planned twin of felhanyag: the same layout."),
        Twin(ontozes, "Tervontozes", "Planned twin of Ontozes: the same layout."),
        Twin(munkavegz, "Tervmunkas", "Planned twin of Munkavegz: the same layout."),
    };
}

} // namespace core::cat
