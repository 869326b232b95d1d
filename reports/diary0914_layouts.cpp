#include "diary0914_layouts.h"

#include "diary_layouts.h"
#include "platform/report/layouts.h"
#include "platform/sys/numbers.h"

#include <vector>

namespace {

// One printed row of a table drawn with texts: cells at their places (millimetres from
// the left margin), a rule under it.
struct Cell {
    double x, width;
    std::string text;
    const char* options = "";
};

std::string TableRow(const std::vector<Cell>& cells) {
    std::string row;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Cell& c = cells[i];
        row += "text \"" + c.text + "\" x=" + sys::floatToText(c.x, '.') +
               " width=" + sys::floatToText(c.width, '.') + (i > 0 ? " sameline " : " ") +
               c.options + "\n";
    }
    return row + "line\n";
}

// The land-use rows of the summary: row number, programme group, land use, the column of
// all fields (the AKG column is "akg" + it). The rows without number are the branches the
// official sheet has no line for; they are printed so that the total adds up.
struct LandRow {
    const char* number;
    const char* group;
    const char* use;
    const char* column;
};
const LandRow kLandRows[] = {
    {"1", "szántó", "szántó", "szant"},
    {"2", "ültetvény", "szőlő", "szolo"},
    {"3", "", "gyümölcs", "gyumol"},
    {"4", "gyep", "kaszáló", "kasz"},
    {"5", "", "legelő", "legel"},
    {"6", "vizes élőhely", "nádas", "nadas"},
    {"7", "", "zsombékos, láp", "zsomb"},
    {"8", "", "halastó", "halas"},
    {"9", "célprogramon kívüli hasznosítás", "erdő", "erdo"},
    {"10", "", "fásított terület", "fasitott"},
    {"11", "", "konyhakert", "konyhakert"},
    {"", "", "gyep (kaszáló, legelő nélkül)", "gyep"},
    {"", "", "pihentett terület", "pihent"},
};

// The livestock rows of the summary, filled in by hand.
const char* const kLivestockRows[][3] = {
    {"12", "Szarvasmarha", "6 hónapnál fiatalabb"},
    {"13", "", "6-24 hónapig"},
    {"14", "", "24 hónap felett"},
    {"15", "Ló", "6 hónapnál idősebb"},
    {"16", "Sertés", "tenyészkoca"},
    {"17", "", "egyéb sertés"},
    {"18", "Juh", "vegyes (6 hónap felett)"},
    {"19", "Kecske", "vegyes (6 hónap felett)"},
    {"20", "Baromfi", "tojótyúk"},
    {"21", "", "egyéb baromfi"},
    {"22", "Egyéb", ""},
};

std::string Value(const std::string& column) {
    return "{RvCustomGN0209OsszesitoConnection1." + column + "}";
}

std::string Summary() {
    std::string text =
        "farmreport 1 version=1\n"
        "# 09GN02Osszesito.rav: GN-01, the land use of the farming year by branch, all fields\n"
        "# and those in the AKG scheme, and the livestock table to be filled in by hand.\n"
        "page size=A4 orientation=portrait margin=12 font=9\n"
        "\n"
        "title\n"
        "text \"GN-01\" size=12 bold width=24\n"
        "text \"Összesítő adatlap " +
        Value("evj1") + "/" + Value("evj2") +
        " gazdálkodási évben\" size=12 bold align=center sameline x=24 width=138\n"
        "space 3\n"
        "frame padding=1.5\n"
        "text \"Gazdálkodó neve: {RvFarmConnection1.Nev}\" bold\n"
        "text \"Címe: {RvFarmConnection1.Cim}\"\n"
        "endframe\n"
        "space 5\n"
        "text \"Földhasznosítási összesítő\" size=10 bold\n"
        "space 1\n"
        "frame padding=0.5 thickness=0.4\n";
    const char* head = "size=8 bold wrap";
    text +=
        TableRow({{1, 9, "Sor-szám", head},
                  {10, 48, "Célprogram csoport", head},
                  {60, 54, "Terület hasznosítás megnevezése", head},
                  {116, 34, "gazdaság teljes területe hasznosítási irányonként (ha)", head},
                  {151, 34, "Szeptember 1-én AKG támogatásba vont terület nagysága (ha)", head}});
    const char* mark = "size=8 align=center";
    text += TableRow(
        {{10, 48, "A", mark}, {60, 54, "B", mark}, {116, 34, "C", mark}, {151, 34, "D", mark}});
    for (const LandRow& row : kLandRows)
        text += TableRow({{1, 9, row.number, "align=center"},
                          {10, 48, row.group, "wrap"},
                          {60, 54, row.use, "wrap"},
                          {116, 33, Value(row.column), "align=right"},
                          {151, 33, Value(std::string("akg") + row.column), "align=right"}});
    text += TableRow({{60, 54, "Összesen", "bold"}, {116, 33, Value("ossz"), "bold align=right"}});
    text += "endframe\n"
            "space 6\n"
            "text \"Állatállomány összesítő\" size=10 bold\n"
            "space 1\n"
            "frame padding=0.5 thickness=0.4\n";
    text += TableRow({{1, 9, "Sor-szám", head},
                      {10, 48, "Állatfaj megnevezése", head},
                      {60, 54, "Korcsoport", head},
                      {116, 69, "Éves átlaglétszám", "size=8 bold align=center"}});
    text += TableRow({{116, 34, "darabszám (db)", head}, {151, 34, "állategység (ÁE)", head}});
    text += TableRow(
        {{10, 48, "E", mark}, {60, 54, "F", mark}, {116, 34, "G", mark}, {151, 34, "H", mark}});
    for (const auto& row : kLivestockRows)
        text += TableRow({{1, 9, row[0], "align=center"}, {10, 48, row[1]}, {60, 54, row[2]}});
    text += "endframe\n"
            "\n"
            "pagefooter\n"
            "space 2\n"
            "text \"Kelt: ..............................\" width=90\n"
            "text \"Aláírás: ..............................\" align=right sameline x=96 "
            "width=90\n";
    return text;
}

std::string GrazingLog() {
    return DiarySheetFrame("GN-08", "Legeltetési napló",
                           "09GN08Legnaplo.rav: the grazing of the fields that belong to a KET "
                           "area, with the animals, their number and livestock units.") +
           "band Legeltetes connection=RvQueryCGN08Legnaplo rules=grid frame=0.5 marks=letters\n"
           "column Legkezd caption=\"Legeltetés\\nkezdete\" width=22 align=center\n"
           "column Napok caption=\"Napok\\nszáma\" width=14 align=right\n"
           "column Parcsor caption=\"Tábla\\nsor-\\nszám\" width=12 align=center\n"
           "column Agazat caption=\"Növény\" width=34 wrap\n"
           "column akgcelpkod caption=\"AKG\\ncél-\\nprogram\\nkódja\" width=20 align=center\n"
           "column terha caption=\"Legeltetett\\nterület\\n(ha)\" width=20 align=right "
           "format=\"0.00\"\n"
           "column Megnev caption=\"Állatfaj\" width=30 wrap\n"
           "column Korcs caption=\"Korcsoport\" width=36 wrap\n"
           "column Darab caption=\"Lét-\\nszám\\n(db)\" width=14 align=right\n"
           "column Ae caption=\"Állat-\\negység\\n(ÁE)\" width=16 align=right format=\"0.00##\"\n"
           "column Legmod caption=\"Legeltetés módja\" width=55 wrap\n"
           "heading \"Legeltetett állatállomány\" from=Megnev to=Ae\n";
}

std::string SoilSampling() {
    return DiarySheetFrame("GN-16", "Talajvizsgálati adatok",
                           "09GN16Talajvizs.rav: the soil sampling places of each KET area with "
                           "their sampling dates, laboratory report numbers and depths.") +
           "band Mintak connection=RvQueryGN16Talajm rules=grid frame=0.5 marks=letters\n"
           "group Sorsz\n"
           "grouphead \"{Sorsz}. KET: {Hazimen} ({Ter} ha), célprogram: {Kod} {Megnev}\" bold "
           "wrap continued=\"{Sorsz}. KET (folytatás)\"\n"
           "column Sorsz caption=\"KET\\nsor-\\nszám\" width=12 align=center\n"
           "column Jele caption=\"Mintavételi\\nterület jele\" width=28 wrap\n"
           "column Ter_1 caption=\"Nagy-\\nsága\\n(ha)\" width=16 align=right format=\"0.00##\"\n"
           "column Elsominatido caption=\"Időpontja\" width=22 align=center\n"
           "column Elsojegyzsz caption=\"Jegyzőkönyv\\nszáma\" width=32 wrap\n"
           "column Utolmintaido caption=\"Időpontja\" width=22 align=center\n"
           "column Utoljegyzsz caption=\"Jegyzőkönyv\\nszáma\" width=32 wrap\n"
           "column x025 caption=\"0-25\" width=13 align=center\n"
           "column x020 caption=\"0-20\" width=13 align=center\n"
           "column x2040 caption=\"20-40\" width=13 align=center\n"
           "column x030 caption=\"0-30\" width=13 align=center\n"
           "column x3060 caption=\"30-60\" width=13 align=center\n"
           "column Megjegyzés caption=\"Megjegyzés\" width=44 wrap\n"
           "heading \"Első mintavétel\" from=Elsominatido to=Elsojegyzsz\n"
           "heading \"Utolsó mintavétel\" from=Utolmintaido to=Utoljegyzsz\n"
           "heading \"Mintavételi mélység (cm)\" from=x025 to=x3060\n";
}

std::string ForceMajeure() {
    return DiarySheetFrame("GN-19", "Vis maior esetek",
                           "09GN19vismajor.rav: the force-majeure cases of the fields by year, "
                           "field and date of the report.") +
           "band Esetek connection=GN1909RvDataSetConnection1 rules=grid frame=0.5 "
           "marks=letters\n"
           "column Evj caption=\"Gazd.\\név\" width=14 align=center\n"
           "column Parcsor caption=\"Tábla\\nsor-\\nszám\" width=12 align=center\n"
           "column tabter caption=\"Tábla\\nterülete\\n(ha)\" width=18 align=right "
           "format=\"0.00##\"\n"
           "column Vister caption=\"Érintett\\nterület\\n(ha)\" width=18 align=right "
           "format=\"0.00##\"\n"
           "column Bejido caption=\"Bejelentés\\nidőpontja\" width=24 align=center\n"
           "column Visok caption=\"A vis maior oka\" width=80 wrap\n"
           "column Megjegy caption=\"Megjegyzés\" width=107 wrap\n";
}

struct Sheet {
    const char* file;
    std::string (*layout)();
};

const Sheet kSheets[] = {
    {"09GN02Osszesito.rav", Summary},
    {"09GN08Legnaplo.rav", GrazingLog},
    {"09GN16Talajvizs.rav", SoilSampling},
    {"09GN19vismajor.rav", ForceMajeure},
};

} // namespace

std::string Diary0914SheetLayout(const std::string& fileName) {
    for (const Sheet& sheet : kSheets)
        if (fileName == sheet.file)
            return sheet.layout();
    return "";
}

void RegisterDiary0914Layouts() {
    for (const Sheet& sheet : kSheets)
        report::RegisterLayout(sheet.file, sheet.layout(), {});
}
