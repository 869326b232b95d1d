#include "Mezeih.h"

#include "core/Isnuminth.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "platform/ui/form_helpers.h"
#include "register/single_row.h"

TMezei* Mezei = nullptr;

namespace {

// The text of one material query: `master` is the material's table and `key` its code.
void MaterialQuery(db::TQuery& query, const std::string& firstLine, const std::string& master,
                   const std::string& key) {
    query.SQL().Add(firstLine);
    query.SQL().Add("FROM felhanyag");
    query.SQL().Add("   INNER JOIN parcellak");
    query.SQL().Add("   ON  (parcellak.Parckod = felhanyag.Tablakod)  ");
    query.SQL().Add("   INNER JOIN " + master);
    query.SQL().Add("   ON  (" + master + "." + key + " = felhanyag.Anyagkod)  ");
    query.SQL().Add("   INNER JOIN ElvMuv");
    query.SQL().Add("   ON  (ElvMuv.Muvkod = felhanyag.Muvkod)  ");
    query.SQL().Add("WHERE (parcellak.Evj = :ev) AND (ElvMuv.Datum >= :date1) AND "
                    "(ElvMuv.Datum <= :date2)");
    query.SQL().Add("GROUP BY parcellak.Agazat, felhanyag.Anyagtip, felhanyag.Anyagkod, " + master +
                    ".Nev, felhanyag.Mert, ElvMuv.Muvnev");
    query.SQL().Add("ORDER BY parcellak.Agazat, felhanyag.Anyagtip, " + master + ".Nev");
}

std::string FirstLine(const std::string& comma, const std::string& master) {
    return "SELECT parcellak.Agazat," + comma +
           "Felhanyag.Anyagtip, Felhanyag.Anyagkod, SUM(   (Felhanyag.Menny * Elvmuv.Ter)  / "
           "10000  ), Felhanyag.Mert, " +
           master + ".Nev, Elvmuv.Muvnev";
}

const std::string kSumColumn = "SUM OF   Menny * Ter / 10";

} // namespace

TMezei::TMezei(db::Session& session) : session_(session) {
    SetCaption("Mezei leltár");
    SetHelpContext(21);
    SetClientSize(640, 470);
    SetPosition(ui::poScreenCenter);

    MaterialQuery(Query1, FirstLine("", "Tapanyagok"), "Tapanyagok", "Kod");
    MaterialQuery(Query3, FirstLine(" ", "Novenyvedok"), "Novenyvedok", "Kod");
    MaterialQuery(Query2, FirstLine(" ", "Vetomagok"), "Vetomagok", "Magkod");
    Query4.SQL().Add(
        "SELECT Parcellak.Agazat, SUM( Elvmuv.Gepora ), SUM( Elvmuv.Keziora ), SUM( Elvmuv.Nha )");
    Query4.SQL().Add("FROM ElvMuv");
    Query4.SQL().Add("   INNER JOIN parcellak");
    Query4.SQL().Add("   ON  (parcellak.Parckod = ElvMuv.Tablakod)  ");
    Query4.SQL().Add("WHERE (parcellak.Evj = :ev) AND (ElvMuv.Datum >= :date1) AND "
                     "(ElvMuv.Datum <= :date2)");
    Query4.SQL().Add("GROUP BY parcellak.Agazat");

    Label1 = ui::Make<ui::TLabel>(this, {8, 8, 400, 20}, "Mezei leltár");
    Label1->SetBold(true);
    ComboBox1 = ui::Make<ui::TComboBox>(this, {8, 36, 90, 22});
    ui::YearBox(ComboBox1);
    ui::Make<ui::TLabel>(this, {104, 40, 60, 16}, "12. 31.");
    ui::Make<ui::TLabel>(this, {8, 68, 300, 16}, "Ágazatonkénti felhasználások :");
    PageControl1 = ui::Make<ui::TPageControl>(this, {8, 86, 624, 340});
    const std::initializer_list<ui::GridColumn> materialColumns{
        {"Agazat", "Ágazat", 150},
        {"Nev", "Megnevezés", 200},
        {kSumColumn.c_str(), "Mennyiség", 110},
        {"Mert", "Mért.", 60}};
    auto page = [&](const char* caption, db::TDataSource* source,
                    std::initializer_list<ui::GridColumn> columns) {
        auto* sheet = new ui::TTabSheet(PageControl1, caption);
        return ui::ListGrid(sheet, {4, 4, 608, 300}, source, columns);
    };
    DBGrid1 = page("Termésnövelők", &DataSource1, materialColumns);
    DBGrid3 = page("Növényvédőszerek", &DataSource3, materialColumns);
    DBGrid2 = page("Vetőmagok", &DataSource2, materialColumns);
    DBGrid4 = page("Gépi-kézióra, normálhektár", &DataSource4,
                   {{"Agazat", "Ágazat", 150},
                    {"SUM OF Gepora", "Gépóra", 100},
                    {"SUM OF Keziora", "Kézióra", 100},
                    {"SUM OF Nha", "Normál h", 100}});
    Button1 = ui::Make<ui::TButton>(this, {422, 434, 100, 27}, "Vissza");
    Button3 = ui::Make<ui::TButton>(this, {532, 434, 100, 27}, "Nyomtatás");

    PopupMenu1 = ui::ButtonMenu(this, {{"Nyomtatás         CTRL+P", Button3},
                                       {"Nyomtatási kép  CTRL+I", Button3},
                                       {"Vissza                 CTRL+X", Button1}});
    SetPopupMenu(PopupMenu1);

    // The heading of the printout: the calendar year and the farming year after it.
    reg::MakeSingleRowConnection(RvMezeiCustomConnection1, {"Ev", "Gazdev"}, [this] {
        return std::vector<std::string>{std::to_string(year_), std::to_string(year_ + 1)};
    });

    OnActivate = Handler(&TMezei::FormActivate);
    OnKeyPress = Handler(&TMezei::FormKeyPress);
    SetKeyPreview(true);
    Button1->OnClick = Handler(&TMezei::Button1Click);
    Button3->OnClick = Handler(&TMezei::Button3Click);

    // Creation: the current calendar year and the three before it.
    const int y = sys::decodeDate(sys::today()).year;
    for (int year = y - 3; year <= y; ++year)
        ComboBox1->Items().Add(std::to_string(year));
    ComboBox1->SetText(std::to_string(y));
    ShowYear(y);
    ComboBox1->OnChange = Handler(&TMezei::ComboBox1Change);
}

// The queries follow every valid year typed or chosen; a text that is no year leaves the
// lists of the last valid year.
void TMezei::ComboBox1Change(TObject*) {
    if (const std::optional<int> year = YearOf(ComboBox1->Text()))
        ShowYear(*year);
}

void TMezei::ShowYear(int year) {
    year_ = year;
    Label1->SetCaption("Mezei leltár " + std::to_string(year + 1) + " gazdasági évre");
    for (db::TQuery* query : {&Query1, &Query2, &Query3, &Query4}) {
        query->Close();
        query->ParamByName("ev").SetAsInteger(year + 1);
        query->ParamByName("date1").SetAsDate(sys::encodeDate(year, 1, 1));
        query->ParamByName("date2").SetAsDate(sys::encodeDate(year, 12, 31));
        query->Open();
    }
}

void TMezei::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Query1, &Query2, &Query3, &Query4, &FarmRow1.Table});
}

void TMezei::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'P', Button3}, {'I', Button3}, {'X', Button1}});
}

void TMezei::Button1Click(TObject*) {
    Close();
}

// A box that holds no year prints nothing: the lists would be those of another year.
void TMezei::Button3Click(TObject*) {
    if (!NumericInt->IsValidYear(ComboBox1->Text(), "Év", true))
        return;
    RvProject1.ExecuteActiveReport();
}
