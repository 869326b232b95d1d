#include "stock_layouts.h"

#include "platform/report/layouts.h"

namespace res {

namespace {

// The page frame of the stock printouts: the title, the farm's name and a subtitle on the
// first page, the farm and the title on every page, the date printed and the page
// numbers at the foot.
std::string Frame(const std::string& title, const std::string& subtitle) {
    return "page size=A4 orientation=portrait margin=15 font=9\n"
           "\n"
           "title\n"
           "text \"" +
           title +
           "\" size=14 bold align=center\n"
           "text \"{RvFarmConnection1.Nev}\" size=11 align=center\n" +
           (subtitle.empty() ? "" : "text \"" + subtitle + "\" size=11 align=center\n") +
           "space 4\n"
           "\n"
           "pageheader\n"
           "text \"{RvFarmConnection1.Nev}\" size=8 width=90\n"
           "text \"" +
           title +
           "\" size=8 align=right sameline x=90 width=90\n"
           "line\n"
           "space 1\n"
           "\n"
           "pagefooter\n"
           "line\n"
           "text \"Nyomtatva: {#date}\" size=8 width=90\n"
           "text \"{#page}. oldal / {#pages}\" size=8 align=right sameline x=90 width=90\n";
}

// Stocks as the forms show them: cut to three decimals.
const char* const kStockFormat = "#,##0.000";

} // namespace

const std::string& StockListLayout() {
    static const std::string text =
        std::string("farmreport 1\n"
                    "# Keszlet.rav: the stock of every material on a day, fertilisers,\n"
                    "# pesticides and seeds, each line a name and unit (and for pesticides\n"
                    "# type and active ingredient, for seeds the species) with the summed\n"
                    "# stock cut to three decimals.\n") +
        Frame("Anyagkészlet", "Készlet {RvCustomKeszletConnection1.Datum} napon") +
        "\n"
        "band Termesnovelok connection=RvQueryKeszletConnection1\n"
        "caption \"Termésnövelők\" size=11 bold\n"
        "column Nev caption=\"Megnevezés\" width=110\n"
        "column Kossz caption=\"Mennyiség\" width=40 align=right format=\"" +
        kStockFormat +
        "\"\n"
        "column Mert caption=\"M.E.\" width=20 align=center\n"
        "\n"
        "band Novenyvedoszerek connection=RvQueryKeszletConnection2\n"
        "caption \"Növényvédőszerek\" size=11 bold\n"
        "column Nev caption=\"Megnevezés\" width=55\n"
        "column Kossz caption=\"Menny.\" width=25 align=right format=\"" +
        kStockFormat +
        "\"\n"
        "column Mert caption=\"M.E.\" width=12 align=center\n"
        "column Szertip caption=\"Szer tipusa\" width=44\n"
        "column Hata caption=\"Hatóanyag\" width=44\n"
        "\n"
        "band Vetomagok connection=RvQueryKeszletConnection3\n"
        "caption \"Vetőmagok\" size=11 bold\n"
        "column Nev caption=\"Megnevezés\" width=80\n"
        "column Kossz caption=\"Mennyiség\" width=35 align=right format=\"" +
        kStockFormat +
        "\"\n"
        "column Mert caption=\"M.E.\" width=15 align=center\n"
        "column Faj caption=\"Növényfaj\" width=50\n";
    return text;
}

std::string TurnoverLayout(const std::string& fileName, const std::string& title,
                           const std::string& connection) {
    return "farmreport 1\n"
           "# " +
           fileName +
           ": the stock movements of one material kind between two dates, by month,\n"
           "# each with its day, material, signed quantity (in +, out -) and unit.\n" +
           Frame(title, "{RvRangeConnection1.Tol} - {RvRangeConnection1.Ig}") +
           "\n"
           "band Mozgasok connection=" +
           connection +
           "\n"
           "column Datum caption=\"Dátum\" width=30\n"
           "column Nev caption=\"Megnevezés\" width=95\n"
           "column Menny caption=\"Mennyiség\" width=35 align=right format=\"#,##0.000\"\n"
           "column Mert caption=\"M.E.\" width=20 align=center\n"
           "group Month\n"
           "grouphead \"{Month}\" bold\n";
}

void RegisterStockLayouts() {
    report::RegisterLayout("Keszlet.rav", StockListLayout());
    report::RegisterLayout("RaktarFTerm.rav", TurnoverLayout("RaktarFTerm.rav", "Tápanyag mozgás",
                                                             "RvQueryRaktarMConnection1"));
    report::RegisterLayout(
        "RaktarFNövv.rav",
        TurnoverLayout("RaktarFNövv.rav", "Növényvédőszer mozgás", "RvQueryRaktarMConnection2"));
    report::RegisterLayout("RaktarFVeto.rav", TurnoverLayout("RaktarFVeto.rav", "Vetőmag mozgás",
                                                             "RvQueryRaktarMConnection3"));
}

} // namespace res
