// The catalogue of the land and field register's tables: land parcels, owners, fields
// and their side tables, KET areas, soil tests, the land-use plan, their planned twins,
// and the two read-only lists of support programmes and AKG land-use branches.

#include "core/catalogue_build.h"

namespace core::cat {

namespace {

// clang-format off

TableDef Tablak() {
    return {"Tablak", {
        Text("Helysz", 40),
        AutoInc("Tableid"),
        Text("Tulkod", 6),
        Text("Hazmeg", 40),
        Number("Arany", Numbers("Aranykorona érték", Sign::NotNegative)),
        Long("Ter", Whole("Terület", Sign::NotNegative)),
        Number("Szel"),
        Number("Hossz"),
        Short("Ont"),
        Number("Berl", Numbers("Bérleti díj", Sign::NotNegative)),
        Date("Berkezd", Day("Bérlet kezdete")),
        Date("Berveg", Day("Bérlet vége", "Berkezd", "Bérlet kezdete")),
        Text("Memo", 200),
        Text("Parcella", 6),
        Text("Blok", 10),
        Long("Aktiv"),
        Text("Muvag", 20),
        Long("Muvagid"),
        Text("Bmert", 20),
        Long("Tkat"),
        Text("Telepules", 100),
        Logical("Deleted"),
    }, 2, {
        Index("TablakHelyszind", {"Helysz"}),
        Index("Tablakhazmind", {"Hazmeg"}),
        Index("TableidInd", {"Tableid"}),
    }, true,
    "Key: lot number and Tableid; lot numbers may repeat, the counter makes the key unique "
    "and keeps the lot number the first field."};
}

TableDef Tablak2() {
    return {"Tablak2", {
        Text("Tablakod", 10),
        Text("Talajtip", 40),
    }, 1, {}, true,
    "Key: Tablakod (a Tableid as text, at most one row per land parcel); widths chosen: "
    "Tablakod 10 (the digits of a long integer), Talajtip 40."};
}

TableDef Tulaj() {
    return {"tulaj", {
        Text("Tulkod", 6),
        Text("Tulnev", 50),
        Text("Cim", 60),
        Text("Tel", 20),
    }, 1, {
        Index("Tulajnevind", {"Tulnev"}),
    }, true,
    "Widths chosen: Tulnev 50, Cim 60, Tel 20."};
}

TableDef Muvelesiag() {
    return {"Muvelesiag", {
        Long("Id"),
        Text("Muvag", 20),
    }, 1, {}, true,
    "Key: Id, a long integer numbered from 1 in list order."};
}

TableDef Parcellak() {
    return {"parcellak", {
        AutoInc("Parc_id"),
        Text("Parckod", 6),
        Long("Parcsor", Whole("Tábla sorszám", Sign::NotNegative)),
        Number("Ter", BoundBy(Numbers("Terület", Sign::Positive), "a parcellák területe")),
        Text("Agazat", 30),
        Long("Evj", Year("Gazdasági év")),
        Text("Aktiv", 1),
        Text("Hazmeg", 30),
        Text("Masod", 4),
        Number("N", Numbers("N", Sign::NotNegative)),
        Number("P", Numbers("P", Sign::NotNegative)),
        Number("K", Numbers("K", Sign::NotNegative)),
        Logical("Agrkor"),
        Logical("Tertam"),
        Logical("Kiegtam"),
        Logical("Kat19"),
        Logical("Kat20"),
        Text("Celp", 50),
        Text("Hasznkod", 5),
        Text("Saps", 4),
        Text("Kat", 4),
        Text("Akg", 4),
        Text("Szaporitotip", 40),
        Logical("Tapanytelj"),
        Numeric4("Tervhozam", Numbers("Hozamterv", Sign::NotNegative, {}, 4)),
        Logical("Talajbaszantas"),
        Logical("Vismajor"),
        Text("Megjegyzes", 100),
        Logical("Nkat"),
        Logical("Nat2000"),
        Logical("Nitr"),
        Logical("Tizszaz"),
        Text("Kattam", 40),
        Text("Nattam", 40),
        Long("Ketid"),
        Logical("Deleted"),
    }, 2, {
        Index("Parcsorszind", {"Evj", "Parcsor"}),
        Index("parckodind", {"Parckod"}),
        Index("parcevjind", {"Evj"}),
    }, true,
    "Key: Parc_id;Parckod (Parc_id stays the first column, the default order is the order "
    "of creation, so the last row holds the highest Parckod); a search by Parckod goes "
    "through parckodind. Parcsorszind orders by Evj;Parcsor; the third index (parcevjind, "
    "on Evj) is named here."};
}

TableDef Szhelyrajzi() {
    return {"Szhelyrajzi", {
        AutoInc("Id"),
        Text("Sorsz", 6),
        Text("Parcellakod", 6),
        Long("Helysz"),
    }, 1, {
        Index("SzhelyrParcInd", {"Parcellakod"}),
        Index("SzhelyrHelyszInd", {"Helysz"}),
    }, true,
    "Key: an added AutoInc Id, since Sorsz repeats; Sorsz and Parcellakod text 6; Helysz a "
    "long integer to join Tablak.Tableid."};
}

TableDef Szparcellak() {
    return {"Szparcellak", {
        AutoInc("Id"),
        Text("Szulkod", 6),
        Text("Parckod", 6),
        Text("Szparckod", 6),
    }, 1, {
        Index("ParckodInd", {"Parckod"}),
    }, true,
    "Key: an added AutoInc Id, since Szulkod repeats; the codes text 6."};
}

TableDef Parckiegadat() {
    return {"Parckiegadat", {
        AutoInc("Kiegid"),
        Text("Parckod", 6),
        Text("Fajta", 60),
        Long("Tokedb"),
        Number("Sort", Numbers("Sortáv", Sign::NotNegative)),
        Number("Tot", Numbers("Tőtáv", Sign::NotNegative)),
        Long("Teve", Year("Telepítés éve")),
        Long("Tereve"),
        Text("Muvmod", 40),
        Long("odukszama", Whole("Odúk száma", Sign::NotNegative)),
        Long("rovarcsszama", Whole("Rovarcsapdák száma", Sign::NotNegative)),
    }, 1, {}, true,
    "Widths chosen: Fajta 60, Muvmod 40."};
}

TableDef Ultkieg02() {
    return {"Ultkieg02", {
        AutoInc("Ult02_id"),
        Text("Parckod", 6),
        Number("Ultkod"),
        Text("Alanynev", 60),
        Number("Reszarany", Between("Részarány", 0, 100)),
        Text("Faj", 60),
        Number("Hozam", Numbers("Hozam", Sign::NotNegative)),
    }, 1, {}, true,
    "Key: Ult02_id."};
}

TableDef Gyumalap() {
    return {"gyumalap", {
        AutoInc("Id"),
        Text("Parcid", 6),
    }, 1, {}, true,
    "Only Parcid is known (no form writes orchard data); key: an added AutoInc Id, as several "
    "rows may wait with an empty Parcid."};
}

TableDef Gyepalap() {
    return {"gyepalap", {
        AutoInc("Id"),
        Text("Parcid", 6),
        Long("Hasznmod"),
        Long("Gyeptip"),
        Text("Egyebtip", 60),
    }, 1, {
        Index("GyepParcidInd", {"Parcid"}),
    }, true,
    "Key: an added AutoInc Id; the secondary index (named here) is on Parcid; Parcid text 6, "
    "Egyebtip text 60."};
}

TableDef Legnaplo() {
    return {"legnaplo", {
        AutoInc("Legnapid"),
        Text("Parcid", 6),
        Date("Legkezd", Day("Kezdete")),
        Date("Legveg", Day("Vége", "Legkezd", "Kezdete")),
        Long("Ter", BoundBy(Whole("Terület", Sign::Positive), "a tábla területe")),
        Text("Faj", 30),
        Text("Fajta", 30),
        Text("Korcsop", 30),
        Text("Darab", 10, Whole("Darabszám", Sign::Positive)),
        Text("Legmod", 100),
        Text("Megjegy", 200),
        Long("Db", Whole("Darab", Sign::Positive)),
        Long("Celp_id"),
        Long("Napok", Whole("Napok száma", Sign::Positive)),
        Long("Allid"),
        Long("Kor_id"),
        Logical("Deleted"),
        Text("Megjegyzes", 200),
        Numeric4("Ae", Numbers("Állategység", Sign::NotNegative)),
    }, 1, {
        Index("LegnaploParcidInd", {"Parcid"}),
    }, true,
    "Megjegy (text 200) is the remark the grazing form binds, beside the upgrade's Megjegyzes; "
    "Legmod has the upgrade's 100 characters; the secondary index (named here) is on Parcid."};
}

TableDef Parclellak02() {
    return {"Parclellak02", {
        Text("Parckod", 6),
        Text("Kotjog", 20),
        Text("Tvizsgtip", 20),
    }, 1, {}, true,
    "Key: Parckod (one row per field); widths chosen: Kotjog 20, Tvizsgtip 20 (holds "
    "\"szűkített\", \"bővített\", \"teljes\")."};
}

TableDef Tapterv() {
    return {"Tapterv", {
        AutoInc("Tap_id"),
        Text("Parckod", 6),
        Text("Anyagkod", 6),
        Number("Menny", Numbers("Mennyiség", Sign::NotNegative)),
        Text("Me", 10),
        Number("N", Numbers("Nitrogén", Sign::NotNegative)),
        Number("P", Numbers("Foszfor", Sign::NotNegative)),
        Number("K", Numbers("Kálium", Sign::NotNegative)),
        Text("Egyeb1", 40),
        Number("E1", Numbers("Egyéb1", Sign::NotNegative)),
        Text("Egyeb2", 40),
        Number("E2", Numbers("Egyéb2", Sign::NotNegative)),
        Date("Datum"),
    }, 1, {}, true, ""};
}

TableDef Parcteny() {
    return {"Parcteny", {
        AutoInc("Id"),
        Text("Parckod", 6),
        Text("Megnev", 60),
        Text("Beavat", 60),
        Long("Beavido", Year("Beavatkozás ideje (év)")),
    }, 1, {}, true,
    "Key: an added AutoInc Id (the rows have no key of their own); widths chosen: Megnev 60, "
    "Beavat 60; Beavido a long integer (a year)."};
}

TableDef Kotegyter() {
    return {"kotegyter", {
        AutoInc("Id"),
        Long("Sorsz", Whole("KET sorsz.", Sign::Positive)),
        Text("Meresij", 50),
        Number("Ter", Numbers("Terület", Sign::Positive)),
        Logical("Nat2000"),
        Logical("Nit"),
        Logical("12szaz"),
        Logical("Kat"),
        Long("Akgkod"),
        Number("Ter2", Numbers("terület (változás1)", Sign::NotNegative)),
        Number("Ter3", Numbers("terület (változás2)", Sign::NotNegative)),
        Logical("Deleted"),
        Text("Hazimen", 100),
        Text("Akg", 10),
        Long("Akgmuvag"),
        Text("Blokk1", 10),
        Text("Blokk2", 10),
        Text("Blokk", 10),
    }, 1, {}, true,
    "Id an AutoInc (unique, never reused); columns in the order the diary sheets read them; "
    "Akg (read by the diary, written by nobody) text 10; Blokk text 10 like Blokk1 and "
    "Blokk2."};
}

TableDef Talajmintak() {
    return {"Talajmintak", {
        Text("Mintakod", 6),
        Text("TablakodHsz", 40),
        Date("Datum"),
        Long("Ev", Year("Év")),
        Long("Mintas", Whole("mintasorszám", Sign::NotNegative)),
        Number("PH", Between("pH", 0, 14)),
        Number("KA", Numbers("KA", Sign::NotNegative)),
        Number("So", Numbers("So", Sign::NotNegative)),
        Number("Mesz", Between("Mész", 0, 100)),
        Number("Hsz", Between("H% (humusz)", 0, 100)),
        Number("NO3NO2N", Numbers("NO3NO2N", Sign::NotNegative)),
        Number("P2O2", Numbers("P2O2", Sign::NotNegative)),
        Number("K2O", Numbers("K2O", Sign::NotNegative)),
        Number("Mg", Numbers("Mg", Sign::NotNegative)),
        Number("Mn", Numbers("Mn", Sign::NotNegative)),
        Number("Na", Numbers("Na", Sign::NotNegative)),
        Number("Zn", Numbers("Zn", Sign::NotNegative)),
        Number("Cu", Numbers("Cu", Sign::NotNegative)),
        Number("Fe", Numbers("Fe", Sign::NotNegative)),
        Number("Mo", Numbers("Mo", Sign::NotNegative)),
        Number("B", Numbers("B", Sign::NotNegative)),
        Number("SO4", Numbers("SO4", Sign::NotNegative)),
        Number("Al", Numbers("Al", Sign::NotNegative)),
        Number("Ass", Numbers("Ass", Sign::NotNegative)),
        Number("Cd", Numbers("Cd", Sign::NotNegative)),
        Number("Co", Numbers("Co", Sign::NotNegative)),
        Number("Cr", Numbers("Cr", Sign::NotNegative)),
        Number("Hg", Numbers("Hg", Sign::NotNegative)),
        Number("Ni", Numbers("Ni", Sign::NotNegative)),
        Number("Pb", Numbers("Pb", Sign::NotNegative)),
        Number("Humusz", Numbers("Humusz", Sign::NotNegative)),
        Text("Humuszk", 20),
        Text("Foszfork", 20),
        Text("Kaliumk", 20),
        Number("ThKat", Numbers("ThKat", Sign::NotNegative)),
        Text("Labor", 50),
        Long("Tablakod"),
        Text("Mintajel", 20),
        Text("Melyseg", 20),
        Number("Ocd", Numbers("Ocd", Sign::NotNegative)),
        Number("Ocu", Numbers("Ocu", Sign::NotNegative)),
        Number("Oni", Numbers("Oni", Sign::NotNegative)),
        Number("Opb", Numbers("Opb", Sign::NotNegative)),
        Number("Ozn", Numbers("Ozn", Sign::NotNegative)),
        Number("Ohg", Numbers("Ohg", Sign::NotNegative)),
        Number("Ocr", Numbers("Ocr", Sign::NotNegative)),
        Number("Oas", Numbers("Oas", Sign::NotNegative)),
    }, 1, {}, true, ""};
}

TableDef TalajvizsgAdat() {
    return {"talajvizsgadat", {
        AutoInc("Id"),
    }, 1, {}, true,
    "No form reads or writes it: only a counter key."};
}

TableDef MitakHelyek() {
    return {"mitak_helyek", {
        Long("Miid"),
        Long("Mhid"),
    }, 1, {}, true,
    "Key: Miid (at most one link per soil result)."};
}

TableDef TalajmintaKet() {
    return {"TalajmintaKet", {
        AutoInc("Id"),
        Long("Ketid"),
        Text("Jele", 30),
        Number("Ter", Numbers("Mintavételi terület nagysága", Sign::Positive)),
        Date("Elsominatido", Day("Első mintavétel időpontja")),
        Date("Utolmintaido", Day("Utolsó mintavétel időpontja", "Elsominatido",
                                 "Első mintavétel időpontja")),
        Text("Elsojegyzsz", 50),
        Text("Utoljegyzsz", 50),
        Text("Megjegyzés", 200),
        Logical("025"),
        Logical("020"),
        Logical("2040"),
        Logical("030"),
        Logical("3060"),
        Logical("Deleted"),
    }, 1, {}, true,
    "Columns in the order listed for the sampling places (the physical order is free)."};
}

TableDef Foldhasznterv() {
    return {"Foldhasznterv", {
        AutoInc("Id"),
        Text("Agazatid", 6),
        Long("Agazcsopid"),
        Long("Ev", Year("Gazdasági év")),
        Number("Ter", Numbers("Terület", Sign::Positive)),
        Text("Elovet", 200),
        Long("Elotabid"),
        Long("Elotervtabid"),
        Long("Ketid"),
        Logical("Deleted"),
        Text("Megj", 200),
    }, 1, {}, true, ""};
}

TableDef Agazaticsoport() {
    return {"Agazaticsoport", {
        AutoInc("Id"),
        Text("Nev", 150),
        Logical("Deleted"),
        Long("Celpid"),
    }, 1, {}, true, ""};
}

TableDef Talajkategoria() {
    return {"Talajkategoria", {
        Long("Id"),
        Text("Megnev", 50),
    }, 1, {}, true,
    "No form uses it: a code and a name, as the other reference lists."};
}

TableDef Celprogramok() {
    return {"celprogramok", {
        Long("Id"),
        Text("Kod", 10),
        Text("Megnev", 120),
        Text("Megjegy", 200),
        Logical("Deleted"),
    }, 1, {}, false,
    "Megjegy width chosen: 200."};
}

TableDef Akgmuvag() {
    return {"Akgmuvag", {
        Long("Id"),
        Text("Megnev", 50),
    }, 1, {}, false,
    "Megnev width chosen: 50."};
}

// clang-format on

} // namespace

std::vector<TableDef> RegisterTables() {
    const TableDef parcellak = Parcellak();
    const TableDef szhelyrajzi = Szhelyrajzi();
    const TableDef szparcellak = Szparcellak();
    const TableDef parckiegadat = Parckiegadat();
    const TableDef parclellak02 = Parclellak02();
    const TableDef ultkieg02 = Ultkieg02();
    TableDef tervparc = Twin(parcellak, "Tervparc",
                             "Planned twin of parcellak: the same layout and key, no "
                             "secondary index.");
    tervparc.indexes.clear();
    return {
        Tablak(),
        Tablak2(),
        Tulaj(),
        Muvelesiag(),
        parcellak,
        szhelyrajzi,
        szparcellak,
        parckiegadat,
        ultkieg02,
        Twin(ultkieg02, "Gyumkieg02",
             "No form uses it: the layout of Ultkieg02, the orchard's counterpart of the "
             "plantation's variety rows."),
        Gyumalap(),
        Gyepalap(),
        Legnaplo(),
        parclellak02,
        Tapterv(),
        Parcteny(),
        Kotegyter(),
        Talajmintak(),
        TalajvizsgAdat(),
        MitakHelyek(),
        TalajmintaKet(),
        Foldhasznterv(),
        Agazaticsoport(),
        Talajkategoria(),
        tervparc,
        Twin(parclellak02, "Tervparc02", "Planned twin of Parclellak02: the same layout."),
        Twin(parckiegadat, "Tervpkieg", "Planned twin of Parckiegadat: the same layout."),
        Twin(szhelyrajzi, "Tervszhrsz",
             "Planned twin of Szhelyrajzi: the same layout, key and index names."),
        Twin(szparcellak, "Tervszparc",
             "Planned twin of Szparcellak: the same layout, key and index name."),
        Celprogramok(),
        Akgmuvag(),
    };
}

} // namespace core::cat
