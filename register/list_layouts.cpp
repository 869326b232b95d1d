#include "layouts.h"
#include "platform/report/layouts.h"

namespace reg {

const std::string& FieldListLayout() {
    static const std::string text =
        "farmreport 1\n"
        "# Parcellak.rav: the fields of the field list (year, serial, crop, area in square\n"
        "# metres and in hectares, house name), titled by the year and crop chosen.\n"
        "page size=A4 orientation=portrait margin=15 font=9\n"
        "\n" +
        PrintoutFrame("{RvCustomConnection1.Cim}", "{RvCustomConnection1.Cim1}") +
        "\n"
        "band Tablak connection=RvQueryConnection1\n"
        "column EvjWord caption=\"Gazd. év\" width=22\n"
        "column Parcsor caption=\"S. sz.\" width=12 align=center\n"
        "column Agazat caption=\"Ágazat\" width=40\n"
        "column Hazmeg caption=\"Házi megnevezés\" width=45\n"
        "column osszter caption=\"Terület (m²)\" width=25 align=right format=\"#,##0\"\n"
        "column Masod caption=\"Másodv.\" width=18 align=center\n"
        "column Aktiv caption=\"Aktív\" width=12 align=center\n"
        "foot \"Összesen:\" bold\n"
        "total Parcsor count\n"
        "total osszter sum\n";
    return text;
}

const std::string& OperationsByParcelLayout() {
    static const std::string text =
        "farmreport 1\n"
        "# HejrajzMuv4.rav: the chosen land parcels with the fields lying on them, each\n"
        "# field's operations with machines and hours, and each operation's material uses.\n"
        "page size=A4 orientation=landscape margin=12 font=8\n"
        "\n" +
        PrintoutFrame("Műveletek területek (hrsz) szerint") +
        "\n"
        "band Teruletek connection=RvTableEnyConnection1 size=9\n"
        "column Helysz caption=\"Helyrajzi szám\" width=35 bold\n"
        "column Hazmeg caption=\"Házi megnevezés\" width=60 bold\n"
        "column Ter caption=\"Terület (m²)\" width=30 align=right format=\"#,##0\"\n"
        "\n"
        "band Kapcsolatok connection=RvTableEnyConnection2 master=Teruletek "
        "link=\"Helysz=Tableid\" headings=no\n"
        "\n"
        "band Tablak connection=RvTableEnyConnection3 master=Kapcsolatok "
        "link=\"Parckod=Parcellakod\" indent=5\n"
        "column Evj caption=\"Gazd. év\" width=18\n"
        "column Parcsor caption=\"Tábla s. sz.\" width=20 align=center\n"
        "column Agazat caption=\"Ágazat\" width=50\n"
        "column Ter caption=\"Terület (m²)\" width=28 align=right format=\"#,##0\"\n"
        "\n"
        "band Muveletek connection=RvQueryEnyConnection1 master=Tablak "
        "link=\"Parckod=Parckod\" indent=10\n"
        "column Datum caption=\"Dátum\" width=22\n"
        "column Muvnev caption=\"Művelet\" width=50\n"
        "column Gep caption=\"Erőgép\" width=40\n"
        "column Munkagep caption=\"Munkagép\" width=40\n"
        "column Ter_1 caption=\"Ter. (m²)\" width=20 align=right format=\"#,##0\"\n"
        "column Gepora caption=\"Gépóra\" width=16 align=right format=\"0.0#\"\n"
        "column Keziora caption=\"Kézi óra\" width=16 align=right format=\"0.0#\"\n"
        "column Hozam caption=\"Hozam\" width=18 align=right format=\"0.0#\"\n"
        "\n"
        "band Anyagok connection=RvTableEny2Connection1 master=Muveletek "
        "link=\"Muvkod=Muvkod\" indent=20 size=7\n"
        "column Anyagkod caption=\"Anyagkód\" width=20\n"
        "column Menny caption=\"Mennyiség\" width=22 align=right format=\"0.0##\"\n"
        "column Mert caption=\"Egység\" width=15\n"
        "column Hato caption=\"Hatóanyag\" width=50\n";
    return text;
}

const std::string& SoilTestsLayout() {
    static const std::string text =
        "farmreport 1\n"
        "# Talajmintak.rav: the soil laboratory results as the list shows them, by lot number,\n"
        "# date and serial (0: the land parcel's average), each with its totals and supply\n"
        "# classes below it. Values as stored; no units.\n"
        "page size=A4 orientation=landscape margin=10 font=7\n"
        "\n" +
        PrintoutFrame("Talajvizsgálati eredmények") +
        "\n"
        "band Eredmenyek connection=RvQueryConnection1\n"
        "column Helysz caption=\"Hrsz.\" width=15\n"
        "column Datum caption=\"Dátum\" width=21\n"
        "column Mintas caption=\"Ssz.\" width=7 align=center\n"
        "column Mintajel caption=\"Jel\" width=9\n"
        "column Melyseg caption=\"Mélység\" width=13\n"
        "column PH caption=\"pH\" width=8 align=right\n"
        "column KA caption=\"KA\" width=8 align=right\n"
        "column So caption=\"Só\" width=8 align=right\n"
        "column Mesz caption=\"Mész\" width=9 align=right\n"
        "column Hsz caption=\"H%\" width=8 align=right\n"
        "column NO3NO2N caption=\"NO3+NO2\" width=17 align=right\n"
        "column P2O2 caption=\"P2O5\" width=9 align=right\n"
        "column K2O caption=\"K2O\" width=8 align=right\n"
        "column Mg width=8 align=right\n"
        "column Mn width=8 align=right\n"
        "column Na width=8 align=right\n"
        "column Zn width=8 align=right\n"
        "column Cu width=8 align=right\n"
        "column Fe width=8 align=right\n"
        "column Mo width=8 align=right\n"
        "column B width=8 align=right\n"
        "column SO4 width=8 align=right\n"
        "column Al width=8 align=right\n"
        "column Ass caption=\"As\" width=8 align=right\n"
        "column Cd width=8 align=right\n"
        "column Co width=8 align=right\n"
        "column Cr width=8 align=right\n"
        "column Hg width=8 align=right\n"
        "column Ni width=8 align=right\n"
        "column Pb width=8 align=right\n"
        "\n"
        "band Reszletek connection=RvTableConnection1 master=Eredmenyek "
        "link=\"Mintakod=Mintakod\" indent=40 size=6\n"
        "column Labor width=40\n"
        "column Humuszk caption=\"N\" width=20\n"
        "column Foszfork caption=\"P\" width=20\n"
        "column Kaliumk caption=\"K\" width=20\n"
        "column Ocd caption=\"Össz. Cd\" width=12 align=right\n"
        "column Ocu caption=\"Össz. Cu\" width=12 align=right\n"
        "column Oni caption=\"Össz. Ni\" width=12 align=right\n"
        "column Opb caption=\"Össz. Pb\" width=12 align=right\n"
        "column Ozn caption=\"Össz. Zn\" width=12 align=right\n"
        "column Ohg caption=\"Össz. Hg\" width=12 align=right\n"
        "column Ocr caption=\"Össz. Cr\" width=12 align=right\n"
        "column Oas caption=\"Össz. As\" width=12 align=right\n";
    return text;
}

const std::string& LandUsePlanLayout() {
    static const std::string text =
        "farmreport 1\n"
        "# foldhaszntervr.rav: the land-use plan lines of one year for every KET, and the\n"
        "# crop-group shares of the current KET's programme over all plan years.\n"
        "page size=A4 orientation=portrait margin=15 font=9\n"
        "\n" +
        PrintoutFrame("Földhasználati terv", "{RvFarmConnection1.Nev}",
                      "space 2\n"
                      "text \"Célprogram: {RvCFTerv.cepl}\" bold\n"
                      "text \"Gazdasági év: {RvCFTerv.ev}    A célprogram KET területe: "
                      "{RvCFTerv.osszter} ha\"\n") +
        "\n"
        "band Tervsorok connection=RvQueryConnection1\n"
        "caption \"Terv táblák\" bold\n"
        "column Sorsz caption=\"KET s.sz.\" width=18 align=center\n"
        "column Faj caption=\"Ágazat\" width=42\n"
        "column Nev caption=\"Növénykultúra csoport\" width=50\n"
        "column Elovet caption=\"Elővetemény\" width=45\n"
        "column Ter caption=\"Terület (ha)\" width=25 align=right format=\"0.00##\"\n"
        "foot \"Összesen:\" bold\n"
        "total Ter sum\n"
        "\n"
        "band Megoszlas connection=RvQueryConnection2\n"
        "caption \"Növénykultúra csoportok százalékos megoszlása\" bold\n"
        "column Nev caption=\"Növénykultúra csoport\" width=70\n"
        "column SumTer caption=\"Terület (ha)\" width=30 align=right format=\"0.00##\"\n"
        "column Agazperc caption=\"Éves %\" width=25 align=right format=\"0.00\"\n"
        "column Otagazparc caption=\"Ötévi %\" width=25 align=right format=\"0.00\"\n";
    return text;
}

void RegisterListLayouts() {
    report::RegisterLayout("Parcellak.rav", FieldListLayout());
    report::RegisterLayout("HejrajzMuv4.rav", OperationsByParcelLayout());
    report::RegisterLayout("Talajmintak.rav", SoilTestsLayout());
    report::RegisterLayout("foldhaszntervr.rav", LandUsePlanLayout());
}

} // namespace reg
