#include "summary_layouts.h"

#include "diary_layouts.h"
#include "platform/report/layouts.h"

namespace {

// The farming year of the sheet under its title on every page.
const char* const kYearLine = "text \"{RvEvjConnection1.evj1}/{RvEvjConnection1.evj2} "
                              "gazdasági év\" bold align=center x=30 width=213\n";

// 14 rows of 9 mm on every page (the first page's heading and the farm's frame included):
// the remark rows name a row by its page and line.
std::string FieldRows(const std::string& connection, const std::string& columns) {
    return "band Tablak connection=" + connection +
           " rules=grid frame=0.5 marks=numbers rowheight=9 pagerows=14\n" + columns + "\n";
}

const char* const kRemarkRows =
    "band Megjegyzesek connection=RvCustomGN03MegjConnection1 rules=grid frame=0.4\n"
    "caption \"Megjegyzések: a több földrészleten fekvő táblák helyrajzi számai\" bold\n"
    "column Gnszam caption=\"Napló-\\nlap\" width=16 align=center\n"
    "column Gnlapsz caption=\"Oldal\" width=14 align=center\n"
    "column Gnoszl caption=\"Oszlop\" width=14 align=center\n"
    "column Gnsor caption=\"Sor\" width=12 align=center\n"
    "column Megj caption=\"Helyrajzi számok\" width=160 wrap\n"
    "column Date caption=\"Dátum\" width=25 align=center\n";

std::string Gn03() {
    return DiarySheetFrame("GN 03", "Parcellaösszesítő",
                           "GN03Parcellak.rav: the agri-environment fields of a farming year "
                           "(or every active one) with their land parcels and programmes; a "
                           "field on several land parcels is marked and listed under the "
                           "remarks.",
                           kYearLine) +
           FieldRows("RvQueryGN03ParcOssConnection1",
                     "column Parcsor caption=\"Tábla\\nsor-\\nszáma\" width=13 align=center\n"
                     "column Evj caption=\"Gazd.\\név\" width=13 align=center\n"
                     "column TerKer caption=\"Terület\\n(ha)\" width=17 align=right\n"
                     "column BlokAz caption=\"MePAR\\nblokk-\\nazonosító\" width=24 wrap\n"
                     "column Beftablahsz caption=\"Helyrajzi\\nszám(ok)\" width=36 wrap\n"
                     "column Hasznkod caption=\"Haszn.\\nirány\" width=14 align=center\n"
                     "column Tulajd caption=\"Föld-\\nhaszn.\\njogcíme\\n(H/E/T)\" width=17 "
                     "align=center\n"
                     "column Eloparcs caption=\"Előzmény\\ntábla\\nsorszáma\" width=22 wrap\n"
                     "column Celp caption=\"Célprogram\" width=40 wrap\n"
                     "column Tamprog caption=\"Támogatás\" width=26 wrap\n"
                     "column TVizsg caption=\"Talaj-\\nvizsgálat\" width=22 wrap\n"
                     "column KotJog caption=\"Kötelezettség\\njogcíme\" width=29 wrap\n"
                     "heading \"Földterület\" from=BlokAz to=Beftablahsz\n") +
           kRemarkRows;
}

std::string Gn06() {
    return DiarySheetFrame("GN-06",
                           "Táblaösszesítő nem AKG-s területekről az adott gazdálkodási évben",
                           "09GN06Parcellak.rav: the fields of a farming year outside the "
                           "agri-environment scheme; a field on several land parcels is marked "
                           "and listed under the remarks.",
                           kYearLine) +
           FieldRows("RvQueryCon09GN06Parcoszz",
                     "column Parcsor caption=\"Tábla\\nsor-\\nszáma\" width=13 align=center\n"
                     "column TerKer caption=\"Terület\\n(ha)\" width=17 align=right\n"
                     "column NewHasznIr caption=\"Hasznosítási\\nirány\" width=30 wrap\n"
                     "column BlokAz caption=\"MePAR\\nblokk-\\nazonosító\" width=24 wrap\n"
                     "column Beftablahsz caption=\"Helyrajzi\\nszám(ok)\" width=40 wrap\n"
                     "column Agazat caption=\"Növény\" width=45 wrap\n"
                     "column Eloparcs caption=\"Előzmény\\ntábla\\nsorszáma\" width=22 wrap\n"
                     "column MasodHasznIr caption=\"Másod-\\nvetés\\nhaszn.\" width=18 "
                     "align=center\n"
                     "column Na2000 caption=\"Natura\\n2000\" width=16 align=center\n"
                     "column Niterz caption=\"Nitrát-\\nérzékeny\" width=18 align=center\n"
                     "column Tizket caption=\"12%-os\\nlejtő\" width=16 align=center\n"
                     "column Katt caption=\"KAT\" width=14 align=center\n"
                     "heading \"Földterület\" from=BlokAz to=Beftablahsz\n"
                     "heading \"Érintettség\" from=Na2000 to=Katt\n") +
           kRemarkRows;
}

std::string Observations(const std::string& code) {
    return DiarySheetFrame(code, "Növényvédelmi megfigyelések",
                           "GN07Novvedmegf.rav / 09GN09Novvedmegf.rav: the plant-protection "
                           "observations of the chosen fields in date order, with the pest "
                           "and the operations linked to each.") +
           "band Megfigyelesek connection=RvQueryGN07NovVedmegfConnection1 rules=grid "
           "frame=0.5 marks=letters\n"
           "column Sorsz caption=\"Sor-\\nszám\" width=12 align=center\n"
           "column Datum caption=\"Dátum\" width=22 align=center\n"
           "column Parcsor caption=\"Tábla\\nsor-\\nszám\" width=12 align=center\n"
           "column Agazat caption=\"Növény\" width=22 wrap\n"
           "column Novfejl caption=\"Növény\\nfejlettségi\\nállapota\" width=22 wrap\n"
           "column Karfejl caption=\"Neve\" width=30 wrap\n"
           "column Karfejl_1 caption=\"Fejlettségi\\nállapota\" width=22 wrap\n"
           "column Karjel caption=\"Megjelenésre\\nutaló jelek\" width=28 wrap\n"
           "column Fertmert caption=\"Fertőzés\\nmértéke\" width=22 wrap\n"
           "column Mod caption=\"Megfigyelés\\nmódja,\\neszköze\" width=30 wrap\n"
           "column Datum_1 caption=\"Dátum\" width=22 align=center\n"
           "column Muvnev caption=\"Művelet\" width=29 wrap\n"
           "heading \"Károsító\" from=Karfejl to=Karjel\n"
           "heading \"Kapcsolt védekezés\" from=Datum_1 to=Muvnev\n";
}

struct Sheet {
    const char* file;
    std::string (*layout)();
};

std::string Gn07() {
    return Observations("GN 07");
}
std::string Gn09() {
    return Observations("GN-09");
}

const Sheet kSheets[] = {
    {"GN03Parcellak.rav", Gn03},
    {"09GN06Parcellak.rav", Gn06},
    {"GN07Novvedmegf.rav", Gn07},
    {"09GN09Novvedmegf.rav", Gn09},
};

} // namespace

std::string SummarySheetLayout(const std::string& fileName) {
    for (const Sheet& sheet : kSheets)
        if (fileName == sheet.file)
            return sheet.layout();
    return "";
}

void RegisterSummarySheetLayouts() {
    for (const Sheet& sheet : kSheets)
        report::RegisterLayout(sheet.file, sheet.layout(), {});
}
