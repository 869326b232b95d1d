// The catalogue of the farm resources' tables: materials and the stock ledger, machines
// and their repairs, buildings, persons, the records kept by the farm, animal species.

#include "core/catalogue_build.h"

namespace core::cat {

namespace {

// clang-format off

TableDef Tapanyagok() {
    return {"Tapanyagok", {
        Text("Kod", 6),
        Text("Nev", 40, Letters("Megnevezése", 30)),
        Text("Halmaza", 1),
        Text("Mert", 3),
        Number("Menny"),
        Number("Nit", Between("Nitrogén", 0, 100)),
        // Kal holds the phosphorus and Fos the potassium percentage, as every form pairs
        // them ("P" with Kal, "K" with Fos) and the stored rows keep them.
        Number("Kal", Between("Foszfor", 0, 100)),
        Number("Fos", Between("Kálium", 0, 100)),
        Text("Egyhatoany", 40),
        Logical("Szervestr"),
        Logical("Higtr"),
        Logical("Egyebtr"),
        Logical("Deleted"),
        Logical("Mutr"),
    }, 1, {
        Index("TapanyID", {"Nev"}),
    }, true,
    "TapanyID orders the fertiliser list: by Nev."};
}

TableDef Novenyvedok() {
    return {"Novenyvedok", {
        Text("Kod", 6),
        Text("Nev", 50),
        Text("Szertip", 35),
        Text("Meregjelzes", 30),
        Number("Menny"),
        Text("Mert", 3),
        Text("Hata", 30),
        Text("Forgk", 4),
        Text("Tuz", 35),
        Text("Vido", 3),
        Logical("Deleted"),
    }, 1, {
        Index("NovvedokID", {"Nev"}),
    }, true,
    "NovvedokID orders the pesticide list: by Nev."};
}

TableDef Vetomagok() {
    return {"Vetomagok", {
        Text("Magkod", 6),
        Text("Nev", 60),
        Text("Mert", 3),
        Text("Magfaj", 6),
        Number("Menny"),
        Logical("Deleted"),
    }, 1, {
        Index("VetMagKodInd", {"Magkod"}),
        Index("VetMagNevInd", {"Nev"}),
    }, true, ""};
}

TableDef Magfajtak() {
    return {"Magfajtak", {
        Text("Fajkod", 6),
        // A field's sector (parcellak.Agazat, 30 letters) holds the species name.
        Text("Faj", 50, Letters("Faj megnevezése", 30)),
        Text("Latin", 50, Letters("Latin neve", 30)),
        Text("Hasznkod", 10),
        Logical("Deleted"),
    }, 1, {
        Index("MagFajKodInd", {"Fajkod"}),
        Index("MagfajtakFIdx", {"Faj"}),
    }, true, ""};
}

TableDef Raktarmozgas() {
    return {"Raktarmozgas", {
        AutoInc("Mozgkod"),
        Text("Anyagkod", 6),
        Date("Datum", Day("Készletváltozás dátuma")),
        // Signed and without a domain: a copied operation's rows keep what they hold, and
        // the forms that book a movement refuse one of nothing themselves.
        Number("Menny"),
        Text("Felhanykod", 6),
        Text("Muvkod", 6),
        Text("Mert", 4),
        Text("Raktarkod", 6),
    }, 1, {
        Index("RaktarFelhanykodInd", {"Felhanykod"}),
    }, true,
    "Key: Mozgkod; the secondary index (named here) is on Felhanykod; widths chosen: "
    "Felhanykod, Muvkod and Raktarkod 6 like the codes they hold, Mert 4 like the use's unit."};
}

TableDef Raktarak() {
    return {"Raktarak", {
        Text("Raktarkod", 6),
        Logical("Deleted"),
    }, 1, {}, true,
    "No form uses it: the warehouse code the ledger refers to (Raktarmozgas.Raktarkod) as "
    "key, and Deleted."};
}

TableDef Erogepek() {
    return {"Erogepek", {
        AutoInc("Egepid"),
        Text("Gepkod", 6),
        Text("Gepnev", 26),
        Text("Geptip", 20),
        Text("Haziszam", 20),
        Text("Kategoria", 20),
        Long("Tul"),
        Long("Beszev", Year("Beszerzés éve")),
        Logical("Deleted"),
    }, 2, {
        Index("Erogepnevind", {"Gepnev"}, true),
        Index("Erogepkodind", {"Gepkod"}, true),
    }, true, ""};
}

TableDef Munkagepek() {
    return {"Munkagepek", {
        AutoInc("Mgepid"),
        Text("Gepkod", 6),
        Text("Gepnev", 30, Letters("Megnevezés", 26)),
        Text("Hazisz", 20),
        Text("Tipus", 30),
        Text("Felh", 30),
        Long("Tul"),
        Long("Beszev", Year("Beszerzés éve")),
        Logical("Deleted"),
    }, 2, {
        Index("Munkagepnevind", {"Gepnev"}, true),
        Index("Munkagepkodind", {"Gepkod"}, true),
    }, true, ""};
}

TableDef Gepjavitas() {
    return {"Gepjavitas", {
        AutoInc("Id"),
        Text("Gepid", 6),
        Date("Datum", Day("Dátum")),
        Text("Hiba", 100),
        Text("Szerelo", 40),
        Logical("Erogep"),
    }, 1, {
        Index("GepjavDatumInd", {"Datum"}),
    }, true,
    "The secondary index (named here) is on Datum, the order of the list; widths chosen: "
    "Gepid 6 (a Gepkod), Hiba 100, Szerelo 40."};
}

TableDef Gazdepulet() {
    return {"Gazdepulet", {
        AutoInc("Id"),
        Text("Epkod", 6),
        Text("Epnev", 40),
        Text("Befk", 20, Numbers("Befogadóképesség", Sign::Positive)),
        Text("Befmert", 10),
        Text("Letesit", 10, Year("Létesítés éve")),
        Text("Allat", 4),
        Logical("Deleted"),
    }, 1, {}, true,
    "Key: an added AutoInc Id, since every building has Epkod \"1\"; Befk and Letesit kept as "
    "the typed text; widths chosen: Epkod 6, Epnev 40, Befk 20, Befmert 10, Letesit 10."};
}

TableDef Szemely() {
    return {"Szemely", {
        AutoInc("Szid"),
        Text("Sznev", 40),
        Text("Hely", 30),
        Text("Irany", 10),
        Text("Cim", 60),
        Text("Tel", 20),
        Logical("Deleted"),
    }, 1, {
        Index("AlkNevInd", {"Sznev"}),
    }, true,
    "Widths chosen: Sznev 40, Hely 30, Irany 10, Cim 60, Tel 20."};
}

TableDef Megffej() {
    return {"Megffej", {
        AutoInc("Id"),
        Long("Kar"),
        Text("Karsr", 100),
        Text("Karszr", 100),
        Long("Ido"),
        Text("Idosr", 100),
        Text("Idoszr", 100),
    }, 1, {}, true,
    "Key: an added AutoInc Id (one row); detail texts 100 characters."};
}

TableDef Gazolajszla() {
    return {"Gazolajszla", {
        AutoInc("Id"),
        Date("Dat", Day("Dátum")),
        Text("Szlaszam", 30),
        // Negative on an invoice that corrects another, never nothing; one invoice of a
        // farm stays below a million litres and ten thousand million forints.
        Number("Liter", db::signedQuantity("Mennyiség", 1e6)),
        Number("Osszeg", db::signedQuantity("Összeg", 1e10)),
    }, 1, {
        Index("GayDat", {"Dat"}),
    }, true,
    "Key: an added AutoInc Id (invoices may repeat every field); GayDat on Dat; Szlaszam "
    "text 30; Liter and Osszeg numbers."};
}

TableDef Szlatet() {
    return {"szlatet", {
        AutoInc("Id"),
        Text("Adosz", 8, Whole("Kibocsájtó adószáma", Sign::NotNegative)),
        Text("Szlatip", 10),
        Text("Fajtakod", 10),
        Text("Szlaszam", 30),
        Date("Teljkelt", Day("Teljesítés kelte")),
        Number("Gmenny", Numbers("Gázolaj mennyisége", Sign::NotZero, {}, 2)),
        Long("Vegossz", Whole("Számla végösszege", Sign::NotZero)),
    }, 1, {}, false,
    "Outside the inventory (not emptied with all data, but backed up and restored with "
    "Gazolajszla), written by the diesel invoice items form; widths chosen: Szlatip 10, "
    "Fajtakod 10, Szlaszam 30."};
}

TableDef Novvedmegf() {
    return {"Novvedmegf", {
        AutoInc("Id"),
        Text("Parc_id", 6),
        Date("Datum", Day("Dátum")),
        Text("Novfejl", 30),
        Text("Karfejl", 30),
        Text("Mod", 30),
        Text("Mneve", 30),
        Text("Jav", 30),
        Date("Javdatum"),
        Long("Het"),
        Text("Fertmert", 50),
        Long("Agrotechsorsz"),
        Text("Megjegy", 100),
        Logical("Deleted"),
        Long("Sorsz", Whole("Sorszám", Sign::NotNegative)),
    }, 1, {
        Index("NovvedDatum", {"Datum"}),
        Index("NovvedIdParcInd", {"Id", "Parc_id"}),
    }, true,
    "The second secondary index (named here) serves the order Id;Parc_id."};
}

TableDef Novvedmeg2() {
    return {"Novvedmeg2", {
        Long("Megfid"),
        Text("Karfejl", 30),
        Text("Karjel", 100),
        Text("Egyeb", 50),
        Text("Egyeb1", 50),
    }, 1, {}, true,
    "Key: Megfid (one pest row per observation); Egyeb and Egyeb1 text 50."};
}

TableDef Csapadek() {
    return {"Csapadek", {
        AutoInc("Id"),
        Date("Datum", Day("Dátum")),
        Number("Menny", Numbers("Mennyiség", Sign::NotNegative, 1000)), // one reading, in mm
        Text("Helye", 60),
    }, 1, {
        Index("CsapadDate", {"Datum"}),
    }, true,
    "Key: an added AutoInc Id; Menny a number of millimetres; Helye text 60."};
}

TableDef Szaktanacs() {
    return {"Szaktanacs", {
        AutoInc("Id"),
        Date("Szdate", Day("Dátum")),
        Text("Sznev", 50),
        Text("Szszerv", 60),
        Text("Szazon", 20),
        Text("Sztargy", 100),
        Text("Szhely", 30),
        Text("Szirany", 10),
        Text("Szutca", 60),
        Text("Sztel", 20),
        Text("Szfax", 20),
        Text("Szemail", 50),
        Text("Szmegj", 200),
    }, 1, {
        Index("SzakTDate", {"Szdate"}),
    }, true,
    "Key: an added AutoInc Id, so that duplicated consultations coexist; text widths chosen "
    "20 to 200."};
}

TableDef Vismajor() {
    return {"Vismajor", {
        AutoInc("Id"),
        Text("Parcid", 6),
        // In hectares, to the square metre, within the field's area (square metres).
        Number("Vister", BoundBy(Numbers("érintett terület nagysága", Sign::Positive, {}, 4),
                                 "a tábla területe")),
        Date("Bejido", Day("bejelenté sidőpontja")),
        Text("Visok", 100),
        Text("Megjegy", 200),
        Logical("Deleted"),
    }, 1, {}, true, ""};
}

TableDef Allatfajok() {
    return {"Allatfajok", {
        AutoInc("Id"),
        Text("Megnev", 50),
        Text("Megjegy", 100),
        Logical("Deleted"),
    }, 1, {}, true,
    "Megjegy width chosen: 100."};
}

TableDef Korcsoport() {
    return {"Korcsoport", {
        AutoInc("Id"),
        Long("Allid"),
        Text("Korcs", 60),
        Number("Aepdb", Numbers("Darabonkénti állategység", Sign::Positive, {}, 4)),
        Text("Megjegy", 100),
        Logical("Deleted"),
    }, 1, {}, true,
    "Megjegy width chosen: 100."};
}

TableDef Novenyv() {
    return {"Novenyv", {
        Text("Kod", 6),
        Text("Nev", 50),
    }, 1, {
        Index("NovenyvNevInd", {"Nev"}),
    }, true,
    "No form uses it: a code and a name, and a name index (named here)."};
}

// clang-format on

} // namespace

std::vector<TableDef> ResourceTables() {
    const TableDef raktarmozgas = Raktarmozgas();
    return {
        Tapanyagok(),
        Novenyvedok(),
        Vetomagok(),
        Magfajtak(),
        raktarmozgas,
        Twin(raktarmozgas, "Tervrmozgas", "Planned twin of Raktarmozgas: the same layout."),
        Raktarak(),
        Erogepek(),
        Munkagepek(),
        Gepjavitas(),
        Gazdepulet(),
        Szemely(),
        Megffej(),
        Gazolajszla(),
        Szlatet(),
        Novvedmegf(),
        Novvedmeg2(),
        Csapadek(),
        Szaktanacs(),
        Vismajor(),
        Allatfajok(),
        Korcsoport(),
        Novenyv(),
    };
}

} // namespace core::cat
