#include "machine_record_layouts.h"

#include "platform/report/layouts.h"

namespace res {

namespace {

// The title of a list with the farm's name, and the page footer with the date and the
// page numbers.
std::string Heading(const std::string& title, const std::string& farmConnection) {
    return "title\n"
           "text \"" +
           title +
           "\" size=13 bold align=center\n"
           "text \"{" +
           farmConnection +
           ".Nev}\" size=10 align=center\n"
           "space 4\n"
           "\n"
           "pagefooter\n"
           "line\n"
           "text \"Nyomtatva: {#date}\" size=8 width=90\n"
           "text \"{#page}. oldal / {#pages}\" size=8 align=right sameline x=90 width=90\n";
}

} // namespace

const std::string& TractorsLayout() {
    static const std::string text =
        "farmreport 1\n"
        "# Erogepek.rav: the farm's own tractors (Tul 0) in the order of the list.\n"
        "page size=A4 orientation=portrait margin=15 font=9\n"
        "\n" +
        Heading("Erőgépek listája", "RvFarmConnection1") +
        "\n"
        "band Erogepek connection=RvTableGeplistConnection1\n"
        "column Geptip caption=\"Típus\" width=60\n"
        "column Haziszam caption=\"Háziszám\" width=45\n"
        "column Kategoria caption=\"Kategória\" width=35\n"
        "column Beszev caption=\"Beszerzés éve\" width=30 align=right\n"
        "foot \"Erőgépek száma:\" bold\n"
        "total Haziszam count\n";
    return text;
}

const std::string& ImplementsLayout() {
    static const std::string text =
        "farmreport 1\n"
        "# Munkagepek.rav: the farm's own implements (Tul 0) in name order.\n"
        "page size=A4 orientation=portrait margin=15 font=9\n"
        "\n" +
        Heading("Munkagépek listája", "RvFarmConnection1") +
        "\n"
        "band Munkagepek connection=RvTableGeplistConnection2\n"
        "column Gepnev caption=\"Megnevezés\" width=55\n"
        "column Tipus caption=\"Típus\" width=50\n"
        "column Hazisz caption=\"Háziszám\" width=40\n"
        "column Beszev caption=\"Beszerzés éve\" width=30 align=right\n"
        "foot \"Munkagépek száma:\" bold\n"
        "total Tipus count\n";
    return text;
}

const std::string& AdvisoryLayout() {
    static const std::string text =
        "farmreport 1\n"
        "# GN17Szakt.rav: sheet GN 17 of the farming diary, the advisory consultations by\n"
        "# date; the address and the contacts are joined into one column each.\n"
        "page size=A4 orientation=landscape margin=15 font=8\n"
        "\n"
        "pageheader\n"
        "text \"GN 17\" size=8 bold width=40\n"
        "text \"{RvFarmConnection1.Nev}\" size=8 align=right sameline x=140 width=127\n"
        "line\n"
        "space 1\n"
        "\n"
        "title\n"
        "text \"Szaktanácsadási adatlap\" size=13 bold align=center\n"
        "space 4\n"
        "\n"
        "band Szaktanacs connection=RvTableGN17SzaktConnection1\n"
        "column Szdate caption=\"Dátum\" width=22\n"
        "column Sznev caption=\"Szaktanácsadó neve\" width=37\n"
        "column Szszerv caption=\"Szervezet neve\" width=31\n"
        "column Szazon caption=\"Azonosító\" width=20\n"
        "column Cim caption=\"Cím\" width=42\n"
        "column Elerhetoseg caption=\"Telefon, fax, e-mail\" width=38\n"
        "column Sztargy caption=\"Szaktanácsadás tárgya\" width=48\n"
        "column Szmegj caption=\"Megjegyzés\" width=29\n"
        "\n"
        "pagefooter\n"
        "line\n"
        "text \"Nyomtatva: {#date}\" size=8 width=130\n"
        "text \"{#page}. oldal / {#pages}\" size=8 align=right sameline x=137 width=130\n";
    return text;
}

void RegisterMachineAndRecordLayouts() {
    report::RegisterLayout("Erogepek.rav", TractorsLayout());
    report::RegisterLayout("Munkagepek.rav", ImplementsLayout());
    report::RegisterLayout("GN17Szakt.rav", AdvisoryLayout());
}

} // namespace res
