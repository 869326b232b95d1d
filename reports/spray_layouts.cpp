#include "spray_layouts.h"

#include "diary_layouts.h"
#include "platform/report/layouts.h"
#include "register/layouts.h"

namespace spray {

namespace {

// The list's page: A4 landscape, the title with the farm's name from the listing's
// Alapadatok connection.
std::string ListFrame(const std::string& note) {
    return "farmreport 1 version=1\n"
           "# " +
           note +
           "\n"
           "page size=A4 orientation=landscape margin=12 font=8\n\n" +
           reg::PrintoutFrame("Permetezési napló", "{RvPermTableConnection1.Nev}") + "\n";
}

// The columns every list starts with: when, where, what.
const char* const kListStart =
    "band Permetezesek connection=RvPermnQueryConnection1 rules=grid\n"
    "column Datum caption=\"Dátum\" width=23 align=center\n"
    "column Parcsor caption=\"Tábla\\nsor-\\nszám\" width=11 align=center\n";

const char* const kListFoot = "foot \"Kezelések száma:\" bold\n"
                              "total Nev count\n";

} // namespace

const std::string& SprayListLayout() {
    static const std::string text =
        ListFrame("Permetnaplo.rav: every pesticide use of the chosen fields and dates, in "
                  "date order, with the field, the operation, the dose and the waiting days.") +
        kListStart +
        "column Hazmeg caption=\"Házi megnevezés\" width=32 wrap\n"
        "column Agazat caption=\"Ágazat\" width=26 wrap\n"
        "column Ter_1 caption=\"Kezelt\\nterület\\n(m²)\" width=18 align=right format=\"#,##0\"\n"
        "column Muvnev caption=\"Művelet\" width=30 wrap\n"
        "column Nev caption=\"Növényvédő szer\" width=36 wrap\n"
        "column Menny caption=\"Mennyi-\\nség\" width=17 align=right format=\"#,##0.0##\"\n"
        "column Mert caption=\"M.e.\" width=10 align=center\n"
        "column Permetle caption=\"Permet-\\nlé (l)\" width=16 align=right\n"
        "column Vido_1 caption=\"Élelm.-eü.\\nvárakozási\\nidő (nap)\" width=20 "
        "align=center\n"
        "column Irany caption=\"Irány\" width=30 wrap\n" +
        kListFoot;
    return text;
}

const std::string& SprayMachinesListLayout() {
    static const std::string text =
        ListFrame("PermetnaploM.rav: every pesticide use of the chosen fields and dates, in "
                  "date order, with the tractor, the implement and the workers.") +
        kListStart +
        "column Hazmeg caption=\"Házi megnevezés\" width=26 wrap\n"
        "column Agazat caption=\"Ágazat\" width=22 wrap\n"
        "column Ter_1 caption=\"Kezelt\\nterület\\n(m²)\" width=17 align=right format=\"#,##0\"\n"
        "column Muvnev caption=\"Művelet\" width=25 wrap\n"
        "column Nev caption=\"Növényvédő szer\" width=30 wrap\n"
        "column Menny caption=\"Mennyi-\\nség\" width=17 align=right format=\"#,##0.0##\"\n"
        "column Mert caption=\"M.e.\" width=9 align=center\n"
        "column Permetle caption=\"Permet-\\nlé (l)\" width=15 align=right\n"
        "column Erogep caption=\"Erőgép\" width=24 wrap\n"
        "column Munkagep caption=\"Munkagép\" width=24 wrap\n"
        "column Szemely caption=\"Dolgozók\" width=28 wrap\n"
        "heading \"Gépek, dolgozók\" from=Erogep to=Szemely\n" +
        kListFoot;
    return text;
}

std::string SpraySheetLayout(const std::string& code) {
    const bool early = code == "GN 08";
    return DiarySheetFrame(
               code, early ? "Permetezési napló" : "Nyilvántartás a növényvédő szeres kezelésekről",
               std::string(early ? "GN08Permetez.rav" : "09GN10Permetez.rav") +
                   ": every pesticide use of the chosen fields and dates, in date "
                   "order, with the treated field and area, the product and its "
                   "dose, the waiting days and the observation it answers.") +
           "band Kezelesek connection=RvQueryGN08PermNConnection1 rules=grid frame=0.5 "
           "marks=letters\n"
           "column Datum caption=\"Kezelés\\nidőpontja\" width=23 align=center\n"
           "column Muvnev caption=\"Művelet\" width=28 wrap\n"
           "column Parcsor caption=\"Tábla\\nsor-\\nszám\" width=12 align=center\n"
           "column Hazmeg caption=\"Házi megnevezés\" width=28 wrap\n"
           "column Agazat caption=\"Növény\" width=24 wrap\n"
           "column Terha caption=\"Terület\\n(ha)\" width=17 align=right\n"
           "column Nev caption=\"Megnevezése\" width=32 wrap\n"
           "column Hata caption=\"Hatóanyaga\" width=26 wrap\n"
           "column Menny caption=\"Mennyi-\\nség\" width=17 align=right format=\"#,##0.0##\"\n"
           "column Mert caption=\"M.e.\" width=10 align=center\n"
           "column Permetle caption=\"Permet-\\nlé (l)\" width=15 align=right\n"
           "column Vido_1 caption=\"Élelm.-eü.\\nvárakozási\\nidő (nap)\" width=20 "
           "align=center\n"
           "column Agrotechssz caption=\"Megfi-\\ngyelés\\nsorszáma\" width=18 align=center\n"
           "heading \"Kezelt tábla\" from=Parcsor to=Terha\n"
           "heading \"Felhasznált növényvédő szer\" from=Nev to=Permetle\n";
}

const std::string& RemarksSheetLayout() {
    static const std::string text =
        DiarySheetFrame("", "Megjegyzések a Gazdálkodási Napló adatlapjaihoz",
                        "09GN18Megjegyz.rav: the remarks on the printed diary sheets, each with "
                        "the sheet, page and column or row it refers to.") +
        "band Megjegyzesek connection=RvTableGN16MegjegyConnection1 rules=grid frame=0.5 "
        "marks=letters\n"
        "column Msorsz caption=\"Sor-\\nszám\" width=14 align=center\n"
        "column Mdate caption=\"Dátum\" width=24 align=center\n"
        "column Gnszam caption=\"GN adatlap\\nszáma\" width=26 align=center\n"
        "column Gnlapsz caption=\"Lapszám\" width=20 align=center\n"
        "column Oszl caption=\"Oszlop jele\\nv. sor száma\" width=28 align=center\n"
        "column Megj caption=\"Megjegyzés\" width=161 wrap\n"
        "heading \"Hivatkozott adatlap\" from=Gnszam to=Oszl\n";
    return text;
}

void RegisterSprayLogLayouts() {
    report::RegisterLayout("Permetnaplo.rav", SprayListLayout());
    report::RegisterLayout("PermetnaploM.rav", SprayMachinesListLayout());
    report::RegisterLayout("GN08Permetez.rav", SpraySheetLayout("GN 08"));
    report::RegisterLayout("09GN10Permetez.rav", SpraySheetLayout("GN-10"));
    report::RegisterLayout("09GN18Megjegyz.rav", RemarksSheetLayout());
}

} // namespace spray
