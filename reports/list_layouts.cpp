#include "list_layouts.h"

#include "platform/report/layouts.h"
#include "register/layouts.h"

namespace lists {

namespace {

const char* kPage = "farmreport 1 version=1\n";
const char* kPortrait = "page size=A4 orientation=portrait margin=15 font=8\n\n";

// The three columns of a material page: name, quantity and unit.
std::string MaterialBand(const std::string& name, const std::string& connection,
                         const std::string& caption, const std::string& quantity) {
    return "band " + name + " connection=" + connection + " rules=grid\n" + "caption \"" + caption +
           "\" size=10 bold\n" +
           "column Nev caption=\"Megnevezés\" width=110 wrap\n"
           "column " +
           quantity +
           " caption=\"Mennyiség\" width=35 align=right format=\"#,##0.000\"\n"
           "column Mert caption=\"M.E.\" width=20 align=center\n"
           "\n";
}

} // namespace

const std::string& OperationsListLayout() {
    static const std::string text =
        std::string(kPage) +
        "# Muvlist.rav: the performed operations of the chosen fields and dates, field by\n"
        "# field (farming year, serial, sector, house name), with hours and normal hectares\n"
        "# totalled per field and over the list.\n" +
        kPortrait + reg::PrintoutFrame("Elvégzett műveletek listája") +
        "\n"
        "band Muveletek connection=RvMuvLQueryConnection1 rules=rows rule=0.1\n"
        "column Datum caption=\"Dátum\" width=22\n"
        "column Muvnev caption=\"Művelet\" width=40 wrap\n"
        "column Ter_1 caption=\"Terület\\n(m²)\" width=18 align=right format=\"#,##0\"\n"
        "column Irany caption=\"Irány\" width=18 wrap\n"
        "column Gepora caption=\"Gépóra\" width=14 align=right format=\"0.0#\"\n"
        "column Keziora caption=\"Kézi óra\" width=14 align=right format=\"0.0#\"\n"
        "column Nha caption=\"Normál-\\nhektár\" width=16 align=right format=\"0.00\"\n"
        "column Pluss caption=\"Mélység, hozam\" width=38 wrap\n"
        "group Parckod\n"
        "grouphead \"{EwjW}   {Parcsor}. tábla   {Agazat}   {Hazmeg}\" bold "
        "continued=\"{EwjW}   {Parcsor}. tábla   {Agazat} (folytatás)\"\n"
        "groupfoot \"A tábla összesen:\"\n"
        "grouptotal Gepora sum\n"
        "grouptotal Keziora sum\n"
        "grouptotal Nha sum\n"
        "foot \"Összesen:\" bold\n"
        "total Muvnev count\n"
        "total Gepora sum\n"
        "total Keziora sum\n"
        "total Nha sum\n";
    return text;
}

const std::string& FieldInventoryLayout() {
    static const std::string quantity = "\"SUM OF   Menny * Ter / 10\"";
    auto band = [](const std::string& name, const std::string& connection,
                   const std::string& caption) {
        return "band " + name + " connection=" + connection + " rules=grid\n" + "caption \"" +
               caption + "\" size=10 bold\n" +
               "column Agazat caption=\"Ágazat\" width=40 wrap\n"
               "column Muvnev caption=\"Művelet\" width=40 wrap\n"
               "column Nev caption=\"Megnevezés\" width=55 wrap\n"
               "column " +
               quantity +
               " caption=\"Mennyiség\" width=30 align=right format=\"#,##0.000\"\n"
               "column Mert caption=\"Mért.\" width=15 align=center\n"
               "\n";
    };
    static const std::string text =
        std::string(kPage) +
        "# Mezeileltar.rav: the field inventory of 31 December: per sector the fertilisers,\n"
        "# pesticides and seeds used in the calendar year on the fields of the next farming\n"
        "# year, and the hours and normal hectares worked.\n" +
        kPortrait +
        reg::PrintoutFrame("Mezei leltár {RvMezeiCustomConnection1.Gazdev} gazdasági évre",
                           "{RvFarmConnection1.Nev}",
                           "text \"Felhasználások {RvMezeiCustomConnection1.Ev}. 01. 01. – "
                           "{RvMezeiCustomConnection1.Ev}. 12. 31.\" align=center\n") +
        "\n" + band("Termesnovelok", "RvMezeiQueryConnection1", "Termésnövelők") +
        band("Novenyvedoszerek", "RvMezeiQueryConnection3", "Növényvédőszerek") +
        band("Vetomagok", "RvMezeiQueryConnection2", "Vetőmagok") +
        "band Munka connection=RvMezeiQueryConnection4 rules=grid\n"
        "caption \"Gépi-kézióra, normálhektár\" size=10 bold\n"
        "column Agazat caption=\"Ágazat\" width=60 wrap\n"
        "column \"SUM OF Gepora\" caption=\"Gépóra\" width=30 align=right format=\"#,##0.0#\"\n"
        "column \"SUM OF Keziora\" caption=\"Kézióra\" width=30 align=right "
        "format=\"#,##0.0#\"\n"
        "column \"SUM OF Nha\" caption=\"Normál ha\" width=30 align=right format=\"#,##0.00\"\n"
        "foot \"Összesen:\" bold\n"
        "total \"SUM OF Gepora\" sum\n"
        "total \"SUM OF Keziora\" sum\n"
        "total \"SUM OF Nha\" sum\n";
    return text;
}

const std::string& YieldSummaryLayout() {
    static const std::string text =
        std::string(kPage) +
        "# Hozamosz.rav: the yield of a farming year per sector, in tonnes rounded up to\n"
        "# whole kilograms.\n" +
        kPortrait +
        reg::PrintoutFrame("Hozam összesítő", "{RvFarmConnection1.Nev}",
                           "text \"Gazdasági év: {RvHozamCustomConnection1.ev}\" size=10 "
                           "align=center\n") +
        "\n"
        "band Hozam connection=RvHozamQueryConnection1 rules=grid size=9\n"
        "column Agazat caption=\"Ágazat\" width=90 wrap\n"
        "column ossz caption=\"Mennyiség (t)\" width=40 align=right format=\"#,##0.000\"\n"
        "foot \"Összesen:\" bold\n"
        "total ossz sum\n";
    return text;
}

const std::string& InputSummaryLayout() {
    static const std::string text =
        std::string(kPage) +
        "# Inputkimut.rav: the fertilisers, pesticides and seeds used on one field, with\n"
        "# the hours and normal hectares worked on it.\n" +
        kPortrait +
        reg::PrintoutFrame(
            "Input kimutatás", "{RvFarmConnection1.Nev}",
            "text \"{RvCustomInputConnection1.Evj} gazdasági év, "
            "{RvCustomInputConnection1.Parcs}. tábla: {RvCustomInputConnection1.Agaz}\" "
            "size=10 bold align=center\n"
            "text \"{RvCustomInputConnection1.Hazim}, {RvCustomInputConnection1.Ter} m²\" "
            "align=center\n") +
        "\n" + MaterialBand("Termesnovelok", "RvQueryInputConnection1", "Termésnövelők", "Tmenny") +
        MaterialBand("Novenyvedoszerek", "RvQueryInputConnection2", "Növényvédőszerek", "Tmenny") +
        MaterialBand("Vetomagok", "RvQueryInputConnection3", "Vetőmagok", "Tmenny") +
        "band Munka connection=RvQueryInputConnection4 rules=grid\n"
        "caption \"Munka\" size=10 bold\n"
        "column OszKeziora caption=\"Kézióra\" width=35 align=right format=\"#,##0.0#\"\n"
        "column OszGepora caption=\"Gépóra\" width=35 align=right format=\"#,##0.0#\"\n"
        "column OszNha caption=\"Normál ha\" width=35 align=right format=\"#,##0.00\"\n";
    return text;
}

const std::string& MachineWorkLayout() {
    static const std::string text =
        std::string(kPage) +
        "# Gepileker.rav: the operations of a tractor and/or implement in a date range, field\n"
        "# by field, with the hours times the area worked.\n" +
        kPortrait +
        reg::PrintoutFrame("Gépenkénti művelet lekérdezés", "{RvFarmConnection1.Nev}",
                           "text \"{RvGepiCustomConnection1.Erogep}\" size=10 align=center\n"
                           "text \"{RvGepiCustomConnection1.Munkagep}\" size=10 "
                           "align=center\n") +
        "\n"
        "band Muveletek connection=RvGepiQueryConnection1 rules=rows rule=0.1\n"
        "column Datum caption=\"Dátum\" width=22\n"
        "column Muvnev caption=\"Művelet\" width=48 wrap\n"
        "column Ter_1 caption=\"Terület\\n(m²)\" width=20 align=right format=\"#,##0\"\n"
        "column Gepora caption=\"Gépóra\" width=18 align=right format=\"0.0#\"\n"
        "column Keziora caption=\"Kézi óra\" width=18 align=right format=\"0.0#\"\n"
        "column GoxTer caption=\"Gépóra\\n× ha\" width=18 align=right format=\"#,##0.00\"\n"
        "column KexTer caption=\"Kézi óra\\n× ha\" width=18 align=right format=\"#,##0.00\"\n"
        "column Nha caption=\"Normál-\\nhektár\" width=18 align=right format=\"0.00\"\n"
        "group Parckod\n"
        "grouphead \"{EwjW}   {Parcsor}. tábla   {Agazat}   {Hazmeg}\" bold "
        "continued=\"{EwjW}   {Parcsor}. tábla   {Agazat} (folytatás)\"\n"
        "groupfoot \"A tábla összesen:\"\n"
        "grouptotal Gepora sum\n"
        "grouptotal Keziora sum\n"
        "grouptotal GoxTer sum\n"
        "grouptotal KexTer sum\n"
        "foot \"Összesen:\" bold\n"
        "total Muvnev count\n"
        "total Gepora sum\n"
        "total Keziora sum\n"
        "total GoxTer sum\n"
        "total KexTer sum\n"
        "total Nha sum\n";
    return text;
}

void RegisterListLayouts() {
    report::RegisterLayout("Muvlist.rav", OperationsListLayout());
    report::RegisterLayout("Mezeileltar.rav", FieldInventoryLayout());
    report::RegisterLayout("Hozamosz.rav", YieldSummaryLayout());
    report::RegisterLayout("Inputkimut.rav", InputSummaryLayout());
    report::RegisterLayout("Gepileker.rav", MachineWorkLayout());
}

} // namespace lists
