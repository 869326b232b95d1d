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
        "column Parcsor caption=\"S. sz.\" width=12 align=right\n"
        "column Agazat caption=\"Ágazat\" width=40\n"
        "column osszter caption=\"Terület (m²)\" width=25 align=right format=\"#,##0\"\n"
        "column Hazmeg caption=\"Házi megnevezés\" width=45\n"
        "column Masod caption=\"Másodvetés\" width=18 align=center\n"
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
        "column Parcsor caption=\"Tábla s. sz.\" width=20 align=right\n"
        "column Agazat caption=\"Ágazat\" width=50\n"
        "column Ter caption=\"Terület (m²)\" width=28 align=right format=\"#,##0\"\n"
        "\n"
        "band Muveletek connection=RvQueryEnyConnection1 master=Tablak "
        "link=\"Parckod=Parckod\" indent=10\n"
        "column Datum caption=\"Dátum\" width=22\n"
        "column Muvnev caption=\"Művelet\" width=50\n"
        "column Ter_1 caption=\"Ter. (m²)\" width=20 align=right format=\"#,##0\"\n"
        "column Gep caption=\"Erőgép\" width=40\n"
        "column Munkagep caption=\"Munkagép\" width=40\n"
        "column Gepora caption=\"Gépóra\" width=16 align=right format=\"0.0#\"\n"
        "column Keziora caption=\"Kézi óra\" width=16 align=right format=\"0.0#\"\n"
        "column Hozam caption=\"Hozam\" width=18 align=right format=\"0.0#\"\n"
        "\n"
        "band Anyagok connection=RvTableEny2Connection1 master=Muveletek "
        "link=\"Muvkod=Muvkod\" indent=20 size=7\n"
        "column Anyagkod caption=\"Anyagkód\" width=20\n"
        "column Menny caption=\"Mennyiség\" width=22 align=right format=\"0.0##\"\n"
        "column Mert caption=\"Egység\" width=15\n"
        "column Hato caption=\"Hatóanyag\" width=50\n"
        "column Felelos caption=\"Felelős\" width=50\n";
    return text;
}

const std::string& SoilTestsLayout() {
    static const std::string text = "farmreport 1\n";
    return text;
}

const std::string& LandUsePlanLayout() {
    static const std::string text = "farmreport 1\n";
    return text;
}

void RegisterListLayouts() {
    report::RegisterLayout("Parcellak.rav", FieldListLayout());
    report::RegisterLayout("HejrajzMuv4.rav", OperationsByParcelLayout());
}

} // namespace reg
