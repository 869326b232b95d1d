#include "Funch.h"

#include "platform/db/filter.h"
#include "platform/sys/datetime.h"
#include "platform/sys/numbers.h"

TFunc* Func = nullptr;

std::string LandUseBranchName(int muvagid) {
    static const char* const names[] = {"szántó",         "gyep",   "szőlő",
                                        "gyümölcs",       "nádas",  "halastó",
                                        "zsombékos, láp", "erdő",   "pihentett terület",
                                        "kaszáló",        "legelő", "fásított terület",
                                        "konyhakert"};
    if (muvagid < 1 || muvagid > 13)
        return "pihentett terület";
    return names[muvagid - 1];
}

namespace {

void WholeValues(db::TDataSet& rows) {
    db::FilterOptions options;
    options.noPartialCompare = true;
    rows.SetFilterOptions(options);
}

void OpenFiltered(db::TDataSet& rows, const std::string& filter) {
    rows.Close();
    rows.SetFilter(filter);
    rows.SetFiltered(true);
    rows.Open();
}

// A field code or a Felhid as the filters take it unquoted: only its digits, so that a
// stray text cannot change the filter.
bool IsDigits(const std::string& text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

TFunc::TFunc(db::Session& session) : session_(session) {
    SetCaption("Func");
    Query4.SQL().Add("SELECT Szhelyrajzi.Parcellakod, Tablak.Parcella, Tablak.Ter, Tablak.Blok, "
                     "Tablak.Muvagid, Tablak.Berveg");
    Query4.SQL().Add("FROM Tablak");
    Query4.SQL().Add("   INNER JOIN Szhelyrajzi");
    Query4.SQL().Add("   ON  (Tablak.Tableid = Szhelyrajzi.Helysz)  ");
    Query1.SQL().Add("SELECT ElvMuv.Muvkod, ElvMuv.Tablakod, felhanyag.Felhid, "
                     "felhanyag.Anyagtip, felhanyag.Betido, ElvMuv.Datum");
    Query1.SQL().Add("FROM ElvMuv");
    Query1.SQL().Add("   INNER JOIN felhanyag");
    Query1.SQL().Add("   ON  (felhanyag.Muvkod = ElvMuv.Muvkod)  ");
    Query1.SQL().Add("WHERE Anyagtip = '000000'");
    Query2.SQL().Add("SELECT ElvMuv.Muvkod, ElvMuv.Datum, ElvMuv.Muvnev, ElvMuv.Tablakod, "
                     "Normalhektar.Tip, Normalhektar.Muvid, Normalhektar.Extra, "
                     "Normalhektar.Muv");
    Query2.SQL().Add("FROM ElvMuv");
    Query2.SQL().Add("   INNER JOIN Normalhektar");
    Query2.SQL().Add("   ON  (ElvMuv.Muvid = Normalhektar.Kod)  ");
    Query2.SQL().Add("ORDER BY ElvMuv.Datum");
    for (db::TDataSet* rows : std::initializer_list<db::TDataSet*>{&Query4, &Query1, &Query2})
        WholeValues(*rows);
}

void TFunc::OpenLandParcels(const std::string& parckod) {
    OpenFiltered(Query4, "Parcellakod = " + db::quoteFilterText(parckod));
}

std::string TFunc::UseRightLetter(const std::string& parckod) {
    OpenLandParcels(parckod);
    Query4.First();
    const std::string first = Query4.IsEmpty() ? "" : Query4.FieldByName("Parcella").AsString();
    bool same = true;
    for (; !Query4.Eof(); Query4.Next())
        if (Query4.FieldByName("Parcella").AsString() != first)
            same = false;
    Query4.Close();
    const std::string code = same ? first : "V";
    if (code == "SZ" || code == "Sz" || code == "sz")
        return "H";
    if (code == "V" || code == "v")
        return "E";
    return "T";
}

std::string TFunc::LandUseName(const std::string& parckod) {
    OpenLandParcels(parckod);
    Query4.First();
    const int muvagid = Query4.IsEmpty() ? 0 : Query4.FieldByName("Muvagid").AsInteger();
    Query4.Close();
    return LandUseBranchName(muvagid);
}

std::string TFunc::BlockOf(const std::string& parckod) {
    OpenLandParcels(parckod);
    std::string block;
    double largest = 0;
    for (Query4.First(); !Query4.Eof(); Query4.Next()) {
        const double area = Query4.FieldByName("Ter").AsFloat();
        if (area > largest) {
            largest = area;
            block = Query4.FieldByName("Blok").AsString();
        }
    }
    Query4.Close();
    return block;
}

std::string TFunc::IncorporationDate(const std::string& key, int mode) {
    const bool byUse = mode == 2 || mode == 4;
    if (byUse && !IsDigits(key))
        return "";
    OpenFiltered(Query1, byUse ? "Felhid = " + key : "Muvkod = " + db::quoteFilterText(key));
    Query1.First();
    if (Query1.IsEmpty()) {
        Query1.Close();
        return "";
    }
    std::string result;
    for (; !Query1.Eof(); Query1.Next())
        if (!Query1.FieldByName("Betido").IsNull())
            result = sys::dateToText(Query1.FieldByName("Betido").AsDateTime());
    if (!result.empty() || mode == 3 || mode == 4) {
        Query1.Close();
        return result;
    }
    Query1.First();
    const sys::DateTime useDate = Query1.FieldByName("Datum").AsDateTime();
    const std::string field = Query1.FieldByName("Tablakod").AsString();
    OpenFiltered(Query2, "Tablakod = " + db::quoteFilterText(field));
    bool stop = false;
    for (Query2.First(); !Query2.Eof() && !stop; Query2.Next()) {
        const std::string category = Query2.FieldByName("Muvid").AsString();
        if (category == "4")
            stop = true;
        if (Query2.FieldByName("Datum").AsDateTime() >= useDate && category == "0") {
            result = sys::dateToText(Query2.FieldByName("Datum").AsDateTime());
            stop = true;
        }
    }
    Query2.Close();
    Query1.Close();
    return result;
}
