#include "diesel_layouts.h"

#include "platform/report/layouts.h"

namespace res {

const std::string& DieselInvoicesLayout() {
    static const std::string text =
        "farmreport 1\n"
        "# Gazolajsz.rav: the diesel invoices as the register lists them (its date range\n"
        "# when narrowed), by date, with the totals of litres and amounts.\n"
        "page size=A4 orientation=portrait margin=15 font=9\n"
        "\n"
        "title\n"
        "text \"Gázolaj számla összesítő\" size=14 bold align=center\n"
        "text \"{RvFarmConnection1.Nev}\" size=11 align=center\n"
        "text \"Készült: {#date}\" align=center\n"
        "space 4\n"
        "\n"
        "pageheader\n"
        "text \"{RvFarmConnection1.Nev}\" size=8 width=90\n"
        "text \"Gázolaj számla összesítő\" size=8 align=right sameline x=90 width=90\n"
        "line\n"
        "space 1\n"
        "\n"
        "pagefooter\n"
        "line\n"
        "text \"{#date}\" size=8 width=90\n"
        "text \"{#page}. oldal / {#pages}\" size=8 align=right sameline x=90 width=90\n"
        "\n"
        "band Szamlak connection=RvTableGazolajConnection1\n"
        "column Dat caption=\"Dátum\" width=30\n"
        "column Szlaszam caption=\"Bizonylatszám\" width=60\n"
        "column Liter caption=\"Mennyiség (l)\" width=35 align=right format=\"#,##0.00\"\n"
        "column Osszeg caption=\"Összeg (Ft)\" width=40 align=right format=\"#,##0\"\n"
        "foot \"Összesen:\" bold\n"
        "total Liter sum\n"
        "total Osszeg sum\n";
    return text;
}

void RegisterDieselLayouts() {
    report::RegisterLayout("Gazolajsz.rav", DieselInvoicesLayout());
}

} // namespace res
