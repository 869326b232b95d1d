#include "diary_layouts.h"

#include "platform/report/layouts.h"

// The page, the heading on every page (code, title, page numbers, then headerLines), the
// farm's name under it on the first page, and the signature line at the foot of every page.
std::string DiarySheetFrame(const std::string& code, const std::string& title,
                            const std::string& note, const std::string& headerLines) {
    return "farmreport 1 version=1\n"
           "# " +
           note +
           "\n"
           "page size=A4 orientation=landscape margin=12 font=8\n"
           "\n"
           "pageheader\n"
           "text \"" +
           code +
           "\" size=11 bold width=30\n"
           "text \"" +
           title +
           "\" size=11 bold align=center sameline x=30 width=213\n"
           "text \"{#page}. oldal / {#pages}\" align=right sameline x=243 width=30\n" +
           headerLines +
           "space 2\n"
           "\n"
           "title\n"
           "frame padding=1.5\n"
           "text \"Gazdálkodó neve: {RvFarmConnection1.Nev}\" bold width=150\n"
           "text \"Címe: {RvFarmConnection1.Cim}\" sameline x=152 width=118\n"
           "endframe\n"
           "space 2\n"
           "\n"
           "pagefooter\n"
           "space 2\n"
           "text \"Kelt: ..............................\" width=120\n"
           "text \"Aláírás: ..............................\" align=right sameline x=153 "
           "width=120\n"
           "\n";
}

namespace {

// The field rows of the parcel sheets, each field from a new page with its diary page.
std::string FieldBand(const std::string& columns) {
    return "band Tablak connection=RvQueryGN04PFejConnection1 rules=grid frame=0.5 "
           "marks=letters\n"
           "group Parckod newpage\n"
           "grouphead \"{Evj}. gazdasági év, {Parcsor}. tábla: {Hazmeg} (napló {Oldal}. "
           "oldal)\" bold wrap\n" +
           columns;
}

const char* const kArableColumns =
    "column Parcsor caption=\"Tábla\\nsor-\\nszám\" width=12 align=center\n"
    "column Hazmeg caption=\"Házi megnevezés\" width=30 wrap\n"
    "column Ter caption=\"Terület\\n(m²)\" width=20 align=right format=\"#,##0\"\n"
    "column Agazat caption=\"Növény\" width=26 wrap\n"
    "column Fajta caption=\"Fajta\" width=30 wrap\n"
    "column Hozam caption=\"Termés\\n(t/ha)\" width=16 align=right\n"
    "column elag caption=\"Növény\" width=26 wrap\n"
    "column elve caption=\"Fajta\" width=28 wrap\n"
    "column elho caption=\"Termés\\n(t/ha)\" width=15 align=right\n"
    "column utag caption=\"Növény\" width=26 wrap\n"
    "column utve caption=\"Fajta\" width=28 wrap\n"
    "column utho caption=\"Termés\\n(t/ha)\" width=15 align=right\n"
    "heading \"Fő növény\" from=Agazat to=Hozam\n"
    "heading \"Elővetemény\" from=elag to=elho\n"
    "heading \"Másodvetés\" from=utag to=utho\n"
    "\n";

std::string Gn04(const std::string& code) {
    return DiarySheetFrame(
               code, "Szántóföldi tábla alapadatai",
               "GN04ParcAdatok.rav: each arable field with its crop, the crop before it "
               "and the second crops after it, its nutrient plan and the factors "
               "influencing its production.") +
           FieldBand(kArableColumns) +
           "band Terv connection=RvTableGN04ParcTapConnection1 master=Tablak "
           "link=\"Parckod=Parckod\" "
           "rules=grid indent=12\n"
           "caption \"Tápanyag-gazdálkodási terv\" bold\n"
           "column Tapnev caption=\"Tápanyag megnevezése\" width=60 wrap\n"
           "column Menny caption=\"Mennyiség\" width=22 align=right format=\"#,##0.0#\"\n"
           "column Me caption=\"Mérték-\\negység\" width=18\n"
           "column N caption=\"N\" width=16 align=right format=\"0.0#\"\n"
           "column P caption=\"P\" width=16 align=right format=\"0.0#\"\n"
           "column K caption=\"K\" width=16 align=right format=\"0.0#\"\n"
           "column Datum caption=\"Tervezett\\nidőpont\" width=24 align=center\n"
           "heading \"Hatóanyag (kg/ha)\" from=N to=K\n"
           "\n"
           "band Tenyezok connection=RvTableGN04ParcTapConnection2 master=Tablak "
           "link=\"Parckod=Parckod\" rules=grid indent=12\n"
           "caption \"Termelést befolyásoló tényezők\" bold\n"
           "column Megnev caption=\"Tényező\" width=90 wrap\n"
           "column Beavat caption=\"Beavatkozás\" width=90 wrap\n"
           "column Beavido caption=\"Éve\" width=18 align=center\n";
}

std::string Gn05(const std::string& code) {
    return DiarySheetFrame(code, "Ültetvény alapadatai",
                           "GN05ParcAdatok.rav: each plantation field with its varieties, "
                           "rootstocks, planting and yield.") +
           FieldBand("column Parcsor caption=\"Tábla\\nsor-\\nszám\" width=12 align=center\n"
                     "column Hazmeg caption=\"Házi megnevezés\" width=60 wrap\n"
                     "column Ter caption=\"Terület\\n(m²)\" width=24 align=right "
                     "format=\"#,##0\"\n"
                     "column Agazat caption=\"Ültetvény\" width=60 wrap\n"
                     "column Fajta caption=\"Fajta\" width=60 wrap\n"
                     "column Hozam caption=\"Termés\\n(t/ha)\" width=20 align=right\n"
                     "\n") +
           "band Ultetveny connection=RvTableGN05ParcUltadatConnection3 master=Tablak "
           "link=\"Parckod=Parckod\" rules=grid\n"
           "caption \"Ültetvény adatai\" bold\n"
           "column Fajta caption=\"Fajta\" width=36 wrap\n"
           "column Faj caption=\"Faj\" width=28 wrap\n"
           "column Alanynev caption=\"Alany\" width=28 wrap\n"
           "column Reszarany caption=\"Rész-\\narány\\n(%)\" width=16 align=right\n"
           "column Tokedb caption=\"Tőke-,\\nfaszám\\n(db)\" width=18 align=right "
           "format=\"#,##0\"\n"
           "column Sort caption=\"Sor-\\ntáv\\n(m)\" width=15 align=right format=\"0.0#\"\n"
           "column Tot caption=\"Tő-\\ntáv\\n(m)\" width=15 align=right format=\"0.0#\"\n"
           "column Teve caption=\"Telepí-\\ntés\\néve\" width=16 align=center\n"
           "column Tereve caption=\"Termőre\\nfordulás\\néve\" width=18 align=center\n"
           "column Muvmod caption=\"Művelésmód\" width=28 wrap\n"
           "column Hozam caption=\"Termés\\n(t/ha)\" width=18 align=right\n"
           "column odukszama caption=\"Odúk\\n(db)\" width=15 align=right\n"
           "column rovarcsszama caption=\"Rovar-\\ncsapdák\\n(db)\" width=17 align=right\n"
           "heading \"Telepítés\" from=Tokedb to=Tereve\n";
}

std::string Gn06(const std::string& code) {
    return DiarySheetFrame(code, "Folyamatos műveleti napló táblánként",
                           "GN06MuvAdatok.rav / 09GN07MuvAdatok.rav: the operations of each field "
                           "in date order with their depth or yield and the materials used.") +
           FieldBand("column Parcsor caption=\"Tábla\\nsor-\\nszám\" width=12 align=center\n"
                     "column Hazmeg caption=\"Házi megnevezés\" width=70 wrap\n"
                     "column Ter caption=\"Terület\\n(m²)\" width=24 align=right "
                     "format=\"#,##0\"\n"
                     "column Agazat caption=\"Növény\" width=60 wrap\n"
                     "column Fajta caption=\"Fajta\" width=60 wrap\n"
                     "column Hozam caption=\"Termés\\n(t/ha)\" width=20 align=right\n"
                     "\n") +
           "band Muveletek connection=RvTableGN06ParcMuvAdatConnection4 master=Tablak "
           "link=\"Tablakod=Parckod\" rules=grid frame=0.4 marks=letters\n"
           "column Datum caption=\"Dátum\" width=22 align=center\n"
           "column Muvnev caption=\"Megnevezése\" width=52 wrap\n"
           "column TerHa caption=\"Terület\\n(ha)\" width=18 align=right format=\"0.00##\"\n"
           "column Text2 caption=\"Megnevezés\" width=30 wrap\n"
           "column Text3 caption=\"Érték\" width=15 align=right\n"
           "column Text4 caption=\"Egy-\\nség\" width=11\n"
           "column Gepora caption=\"Gép-\\nóra\" width=14 align=right format=\"0.0#\"\n"
           "column Keziora caption=\"Kézi\\nóra\" width=14 align=right format=\"0.0#\"\n"
           "column Irany caption=\"Irány\" width=18 wrap\n"
           "column Bido caption=\"Ideje\" width=22 align=center\n"
           "column Bnev caption=\"Tájékoztatott\" width=37 wrap\n"
           "heading \"Elvégzett művelet\" from=Muvnev to=TerHa\n"
           "heading \"Mélység / termés\" from=Text2 to=Text4\n"
           "heading \"Munkaidő\" from=Gepora to=Keziora\n"
           "heading \"Bejelentés\" from=Bido to=Bnev\n"
           "\n"
           "band Anyagok connection=RvTableGN06ParcMuvConnection1 master=Muveletek "
           "link=\"Muvkod=Muvkod\" rules=grid indent=20\n"
           "column Anyagnev caption=\"Felhasznált anyag\" width=80 wrap\n"
           "column Menny caption=\"Dózis\" width=20 align=right format=\"#,##0.0##\"\n"
           "column Mert caption=\"Mérték-\\negység\\n(/ha)\" width=16\n"
           "column Egyhatoany caption=\"Hatóanyag\" width=60 wrap\n";
}

std::string Gn09(const std::string& code) {
    return DiarySheetFrame(code, "Öntözési nyilvántartás",
                           "GN09Ontozes.rav / 09GN11Ontozes.rav: the irrigations in date order "
                           "with their times, water and the fertilisers given with the water, and "
                           "the water-abstraction points.") +
           "band Ontozesek connection=RvQueryGN09OntNapConnection1 rules=grid frame=0.5 "
           "marks=letters\n"
           "column Datum caption=\"Dátum\" width=22 align=center\n"
           "column Parcsor caption=\"Tábla\\nsor-\\nszám\" width=12 align=center\n"
           "column Hazmeg caption=\"Házi megnevezés\" width=34 wrap\n"
           "column Agazat_1 caption=\"Növény\" width=30 wrap\n"
           "column Terha caption=\"Terület\\n(ha)\" width=17 align=right format=\"0.00##\"\n"
           "column Ko caption=\"óra\" width=10 align=center\n"
           "column Kp caption=\"perc\" width=10 align=center\n"
           "column Vo caption=\"óra\" width=10 align=center\n"
           "column Vp caption=\"perc\" width=10 align=center\n"
           "column Uora caption=\"Üzem-\\nóra\" width=14 align=right format=\"0.0#\"\n"
           "column Menny caption=\"Kijuttatott\\nvíz (m³)\" width=22 align=right "
           "format=\"#,##0.0\"\n"
           "column Megj caption=\"Megjegyzés\" width=82 wrap\n"
           "heading \"Öntözés ideje\" from=Ko to=Vp\n"
           "heading \"Kezdete\" from=Ko to=Kp row=2\n"
           "heading \"Vége\" from=Vo to=Vp row=2\n"
           "carry Menny sum\n"
           "foot \"Összesen:\" bold\n"
           "total Menny sum\n"
           "\n"
           "band Tapoldat connection=RvTableGN09OntNapConnection1 master=Ontozesek "
           "link=\"Muvkod=Muvkod\" rules=grid indent=32\n"
           "column NPKhata caption=\"Vízzel kijuttatott hatóanyag\" width=80 wrap\n"
           "column Menny caption=\"Dózis\" width=20 align=right format=\"#,##0.0##\"\n"
           "column Mert caption=\"Mérték-\\negység\\n(/ha)\" width=16\n"
           "column Nitr_1 caption=\"N\" width=18 align=right format=\"0.0#\"\n"
           "column Fosf caption=\"P\" width=18 align=right format=\"0.0#\"\n"
           "column Kali caption=\"K\" width=18 align=right format=\"0.0#\"\n"
           "heading \"Hatóanyag (kg/ha)\" from=Nitr_1 to=Kali\n"
           "\n"
           "band Vizkivetel connection=RvVizkivetTableConnection1 rules=grid\n"
           "caption \"Vízkivételi helyek\" bold\n"
           "column Nev caption=\"Megnevezés\" width=60 wrap\n"
           "column Hely caption=\"Helye\" width=60 wrap\n"
           "column Engsz caption=\"Engedély száma\" width=40 wrap\n"
           "column Ontmod caption=\"Öntözési mód\" width=50 wrap\n"
           "column Szelv caption=\"Szelvény\" width=40 wrap\n";
}

std::string Gn11(const std::string& code) {
    return DiarySheetFrame(
               code, "Trágyázási napló",
               "GN11TraNapl.rav / 09GN12TraNapl.rav: the fertiliser uses by field and "
               "date: organic manure, slurry, mineral and other fertilisers per hectare, "
               "their N, P and K and the incorporation date.") +
           "band Tragyazas connection=RvQueryGN11TraNapConnection1 rules=grid frame=0.5 "
           "marks=letters size=7\n"
           "column Datum caption=\"Dátum\" width=21 align=center\n"
           "column Parcsor caption=\"Tábla\\nsor-\\nszám\" width=11 align=center\n"
           "column KetSorsz caption=\"KET\\nsor-\\nszám\" width=11 align=center\n"
           "column Parcter caption=\"Tábla\\nterülete\\n(ha)\" width=15 align=right "
           "format=\"0.00##\"\n"
           "column Muvter caption=\"Kezelt\\nterület\\n(ha)\" width=15 align=right "
           "format=\"0.00##\"\n"
           "column Istmenny caption=\"Istálló-\\ntrágya\\n(t/ha)\" width=15 align=right "
           "format=\"0.0##\"\n"
           "column Higmenny caption=\"Híg-\\ntrágya\\n(m³/ha)\" width=15 align=right "
           "format=\"0.0##\"\n"
           "column Mutrmegnev caption=\"Megnevezés\" width=26 wrap\n"
           "column Mutrmenny caption=\"Mennyi-\\nség\\n(t/ha)\" width=15 align=right "
           "format=\"0.000#\"\n"
           "column Egytrnev caption=\"Megnevezés\" width=24 wrap\n"
           "column Egytrmenny caption=\"Mennyi-\\nség\" width=14 align=right "
           "format=\"0.0##\"\n"
           "column Egytrme caption=\"Mérték-\\negység\" width=13\n"
           "column Nkgph caption=\"N\" width=13 align=right format=\"0.0#\"\n"
           "column Pkgph caption=\"P\" width=13 align=right format=\"0.0#\"\n"
           "column Kkgph caption=\"K\" width=13 align=right format=\"0.0#\"\n"
           "column NitTart caption=\"N-tarta-\\nlom\" width=17 align=right\n"
           "column Talajm caption=\"Talajba\\ndolgozás\\nideje\" width=21 align=center\n"
           "heading \"Szerves trágya\" from=Istmenny to=Higmenny row=2\n"
           "heading \"Műtrágya\" from=Mutrmegnev to=Mutrmenny row=2\n"
           "heading \"Egyéb trágya\" from=Egytrnev to=Egytrme row=2\n"
           "heading \"Kijuttatott trágya\" from=Istmenny to=Egytrme\n"
           "heading \"Hatóanyag\\n(kg/ha)\" from=Nkgph to=Kkgph\n";
}

struct Sheet {
    const char* file;
    std::string (*layout)(const std::string&);
    const char* code;
};

const Sheet kSheets[] = {
    {"GN04ParcAdatok.rav", Gn04, "GN 04"}, {"GN05ParcAdatok.rav", Gn05, "GN 05"},
    {"GN06MuvAdatok.rav", Gn06, "GN 06"},  {"GN09Ontozes.rav", Gn09, "GN 09"},
    {"GN11TraNapl.rav", Gn11, "GN 11"},    {"09GN07MuvAdatok.rav", Gn06, "GN-07"},
    {"09GN11Ontozes.rav", Gn09, "GN-11"},  {"09GN12TraNapl.rav", Gn11, "GN-12"},
};

} // namespace

std::string DiaryParcelSheetLayout(const std::string& fileName) {
    for (const Sheet& sheet : kSheets)
        if (fileName == sheet.file)
            return sheet.layout(sheet.code);
    return "";
}

void RegisterDiaryParcelLayouts() {
    for (const Sheet& sheet : kSheets)
        report::RegisterLayout(sheet.file, sheet.layout(sheet.code), {});
}
