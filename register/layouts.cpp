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

// The owners with their land parcels: a ruled table, each owner's name, address and
// telephone over the owner's parcels (wrapped when long, never left alone at a page's
// foot), the owner's totals and the grand total; the headings on every page.
const std::string& OwnersLayout() {
    static const std::string text =
        "farmreport 1 version=2\n"
        "# Tulajdonosok.rav: the active land parcels by owner (name and address), with their\n"
        "# areas in square metres and in hectares (square metres times 0.0001, to the\n"
        "# square metre: four decimals).\n"
        "page size=A4 orientation=portrait margin=15 font=9\n"
        "\n" +
        PrintoutFrame("Tulajdonosok és földrészleteik") +
        "\n"
        "band Tulajdonosok connection=RvDataSetConnection1 rules=grid frame=0.4\n"
        "column Helysz caption=\"Helyrajzi szám\" width=45\n"
        "column Blok caption=\"Blokkazonosító\" width=55\n"
        "column Ter caption=\"Terület (m²)\" width=40 align=right format=\"#,##0\"\n"
        "column Hektar caption=\"Terület (ha)\" width=40 align=right format=\"0.0000\"\n"
        "group Tulajdonos\n"
        "grouphead \"{Tulajdonos}\" bold wrap continued=\"{Tulajdonos} (folytatás)\"\n"
        "groupfoot \"Összesen:\"\n"
        "grouptotal Ter sum\n"
        "grouptotal Hektar sum\n"
        "foot \"Mindösszesen:\" bold\n"
        "total Ter sum\n"
        "total Hektar sum\n";
    return text;
}

// The land parcel list: each parcel (its house name wrapped when long) with its owner on
// the line below it, the two kept on one page; a rule after each owner; the headings on
// every page and the area totals at the end.
const std::string& LandParcelsLayout() {
    static const std::string text =
        "farmreport 1 version=2\n"
        "# Tablak.rav: the active land parcels by lot number, each with its owner below it,\n"
        "# areas in square metres and in hectares (square metres times 0.0001, to the\n"
        "# square metre: four decimals).\n"
        "page size=A4 orientation=portrait margin=15 font=9\n"
        "\n" +
        PrintoutFrame("Nyilvántartott területek (hrsz)") +
        "\n"
        "band Tablak connection=RvTablalistTableConnection1\n"
        "column Helysz caption=\"Helyrajzi szám\" width=28\n"
        "column Hazmeg caption=\"Házi megnevezés\" width=52 wrap\n"
        "column Ter caption=\"Terület (m²)\" width=26 align=right format=\"#,##0\"\n"
        "column Hektar caption=\"Terület (ha)\" width=26 align=right format=\"0.0000\"\n"
        "column Arany caption=\"AK\" width=24 align=right format=\"#,##0.00\"\n"
        "column Ontozheto caption=\"Öntözhető\" width=24 align=center\n"
        "foot \"Összesen:\" bold\n"
        "total Ter sum\n"
        "total Hektar sum\n"
        "\n"
        "band Tulajdonos connection=RvTablalistTableConnection2 master=Tablak indent=6 "
        "headings=no size=8 rules=rows rule=0.1\n"
        "column Tulnev width=70 wrap\n"
        "column Cim width=104 wrap\n";
    return text;
}

// The checksums of the versions of each layout shipped before the current one: a file
// that is one of them is replaced at start-up; any other file is the user's and is kept.
const std::vector<std::string>& EarlierOwnersLayouts() {
    static const std::vector<std::string> checksums{
        "ba8e295b5d809524f111506da48e964fc32300d7cfa8876a32fb284b552e2609", // version 1
    };
    return checksums;
}
const std::vector<std::string>& EarlierLandParcelsLayouts() {
    static const std::vector<std::string> checksums{
        "cac0b13d9e3be3d4d07868821169b183aa8b04a69fb5b934161af6a12f6848f0", // version 1
    };
    return checksums;
}

void RegisterLayouts() {
    report::RegisterLayout("Tulajdonosok.rav", OwnersLayout(), EarlierOwnersLayouts());
    report::RegisterLayout("Tablak.rav", LandParcelsLayout(), EarlierLandParcelsLayouts());
    RegisterListLayouts();
}

} // namespace reg
