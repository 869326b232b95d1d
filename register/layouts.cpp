#include "layouts.h"

#include "platform/report/layouts.h"

namespace reg {

// The heading and footing the register's printouts share: the farm's name, the title,
// the date and the page numbers.
std::string PrintoutFrame(const std::string& title, const std::string& farm,
                          const std::string& titleLines) {
    return "title\n"
           "text \"" +
           title +
           "\" size=14 bold align=center\n"
           "text \"" +
           farm +
           "\" size=11 align=center\n"
           "text \"Készült: {#date}\" align=center\n" +
           titleLines +
           "space 4\n"
           "\n"
           "pageheader\n"
           "text \"" +
           farm +
           "\" size=8 width=90\n"
           "text \"" +
           title +
           "\" size=8 align=right sameline x=90 width=90\n"
           "line\n"
           "space 1\n"
           "\n"
           "pagefooter\n"
           "line\n"
           "text \"{#date}\" size=8 width=90\n"
           "text \"{#page}. oldal / {#pages}\" size=8 align=right sameline x=90 width=90\n";
}

const std::string& OwnersLayout() {
    static const std::string text =
        "farmreport 1\n"
        "# Tulajdonosok.rav: the active land parcels by owner (name and address), with their\n"
        "# areas in square metres and in hectares (square metres times 0.0001, to the\n"
        "# square metre: four decimals).\n"
        "page size=A4 orientation=portrait margin=15 font=9\n"
        "\n" +
        PrintoutFrame("Tulajdonosok és földrészleteik") +
        "\n"
        "band Tulajdonosok connection=RvDataSetConnection1\n"
        "column Helysz caption=\"Helyrajzi szám\" width=40\n"
        "column Blok caption=\"Blokkazonosító\" width=35\n"
        "column Ter caption=\"Terület (m²)\" width=30 align=right format=\"#,##0\"\n"
        "column Hektar caption=\"Terület (ha)\" width=30 align=right format=\"0.0000\"\n"
        "group Tulajdonos\n"
        "grouphead \"{Tulajdonos}\" bold\n"
        "groupfoot \"Összesen:\"\n"
        "grouptotal Ter sum\n"
        "grouptotal Hektar sum\n"
        "foot \"Mindösszesen:\" bold\n"
        "total Ter sum\n"
        "total Hektar sum\n";
    return text;
}

const std::string& LandParcelsLayout() {
    static const std::string text =
        "farmreport 1\n"
        "# Tablak.rav: the active land parcels by lot number, each with its owner below it,\n"
        "# areas in square metres and in hectares (square metres times 0.0001, to the\n"
        "# square metre: four decimals).\n"
        "page size=A4 orientation=portrait margin=15 font=9\n"
        "\n" +
        PrintoutFrame("Nyilvántartott területek (hrsz)") +
        "\n"
        "band Tablak connection=RvTablalistTableConnection1\n"
        "column Helysz caption=\"Helyrajzi szám\" width=30\n"
        "column Hazmeg caption=\"Házi megnevezés\" width=45\n"
        "column Ter caption=\"Terület (m²)\" width=25 align=right format=\"#,##0\"\n"
        "column Hektar caption=\"Terület (ha)\" width=25 align=right format=\"0.0000\"\n"
        "column Arany caption=\"AK\" width=20 align=right format=\"#,##0.00\"\n"
        "column Ontozheto caption=\"Öntözhető\" width=20 align=center\n"
        "foot \"Összesen:\" bold\n"
        "total Ter sum\n"
        "total Hektar sum\n"
        "\n"
        "band Tulajdonos connection=RvTablalistTableConnection2 master=Tablak indent=5 "
        "headings=no size=8\n"
        "column Tulnev width=60\n"
        "column Cim width=90\n";
    return text;
}

void RegisterLayouts() {
    report::RegisterLayout("Tulajdonosok.rav", OwnersLayout());
    report::RegisterLayout("Tablak.rav", LandParcelsLayout());
    RegisterListLayouts();
}

} // namespace reg
