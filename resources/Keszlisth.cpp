#include "Keszlisth.h"

#include "platform/db/table.h"
#include "platform/ui/form_helpers.h"
#include "resources/stock.h"

#include <cmath>
#include <string_view>
#include <vector>

TKeszlist* Keszlist = nullptr;

namespace {

// What the original's window frame took from the form's height (caption and borders):
// the resize rule measures from the outer height.
constexpr int kFrame = 34;

const std::vector<std::string> kFertiliserGroup = {"Nev", "Mert"};
const std::vector<std::string> kPesticideGroup = {"Nev", "Mert", "Szertip", "Hata"};
const std::vector<std::string> kSeedGroup = {"Nev", "Mert", "Faj"};

// A group's key: the texts of its columns, kept apart by a character no text holds.
std::string GroupKey(const std::vector<std::string>& texts) {
    std::string key;
    for (const std::string& text : texts)
        key += text + '\x1f';
    return key;
}

std::string GroupKeyOf(db::TDataSet& row, const std::vector<std::string>& columns) {
    std::vector<std::string> texts;
    for (const std::string& column : columns)
        texts.push_back(row.FieldByName(column).AsString());
    return GroupKey(texts);
}

void AddLines(db::TQuery& query, std::initializer_list<const char*> lines) {
    for (const char* line : lines)
        query.SQL().Add(line);
    query.AddCalcField("Ossz", db::FieldType::Number);
    query.AddCalcField("Kossz", db::FieldType::Number);
}

ui::TDBGrid* ListGrid(ui::TTabSheet* page, db::TDataSource* source,
                      std::initializer_list<std::pair<const char*, const char*>> columns) {
    auto* grid = new ui::TDBGrid(page);
    grid->SetBounds(4, 4, 576, 300);
    grid->SetDataSource(source);
    grid->SetReadOnly(true);
    grid->SetRowSelect(true);
    for (const auto& [field, title] : columns)
        grid->Columns().Add(field, title, std::string_view(field) == "Nev" ? 220 : 90);
    return grid;
}

} // namespace

TKeszlist::TKeszlist(db::Session& session) : session_(session) {
    SetCaption("Készleten lévő anyagok listája");
    SetHelpContext(28);
    SetClientSize(600, 440);
    SetPosition(ui::poScreenCenter);

    AddLines(Query2, {"SELECT DISTINCT Tapanyagok.Nev, Tapanyagok.Mert", "FROM Tapanyagok",
                      "ORDER BY Tapanyagok.Nev"});
    AddLines(Query3, {"SELECT DISTINCT Novenyvedok.Nev, Novenyvedok.Mert, Novenyvedok.Szertip, "
                      "Novenyvedok.Hata",
                      "FROM Novenyvedok", "ORDER BY Novenyvedok.Nev"});
    AddLines(Query4, {"SELECT DISTINCT Vetomagok.Nev, Vetomagok.Mert, Faj", "FROM Vetomagok",
                      "   INNER JOIN Magfajtak", "   ON  (Magfajtak.Fajkod = Vetomagok.Magfaj)",
                      "ORDER BY Vetomagok.Nev"});
    Query2.OnCalcFields = [this](db::TDataSet& d) { Query2CalcFields(d); };
    Query3.OnCalcFields = [this](db::TDataSet& d) { Query3CalcFields(d); };
    Query4.OnCalcFields = [this](db::TDataSet& d) { Query4CalcFields(d); };
    Query2.OnFilterRecord = [this](db::TDataSet& d, bool& accept) {
        accept = fertilisers_.contains(GroupKeyOf(d, kFertiliserGroup));
    };
    Query3.OnFilterRecord = [this](db::TDataSet& d, bool& accept) {
        accept = pesticides_.contains(GroupKeyOf(d, kPesticideGroup));
    };
    Query4.OnFilterRecord = [this](db::TDataSet& d, bool& accept) {
        accept = seeds_.contains(GroupKeyOf(d, kSeedGroup));
    };
    for (db::TQuery* query : {&Query2, &Query3, &Query4})
        query->SetFiltered(true);

    RvCustomKeszletConnection1.OnOpen =
        report::Bind(this, &TKeszlist::RvCustomKeszletConnection1Open);
    RvCustomKeszletConnection1.OnFirst =
        report::Bind(this, &TKeszlist::RvCustomKeszletConnection1First);
    RvCustomKeszletConnection1.OnNext =
        report::Bind(this, &TKeszlist::RvCustomKeszletConnection1Next);
    RvCustomKeszletConnection1.OnEOF =
        report::Bind(this, &TKeszlist::RvCustomKeszletConnection1EOF);
    RvCustomKeszletConnection1.OnGetCols =
        report::Bind(this, &TKeszlist::RvCustomKeszletConnection1GetCols);
    RvCustomKeszletConnection1.OnGetRow =
        report::Bind(this, &TKeszlist::RvCustomKeszletConnection1GetRow);

    Label1 = new ui::TLabel(this, "Anyagkészlet");
    Label1->SetBounds(12, 10, 200, 22);
    Label1->SetBold(true);
    DateTimePicker1 = new ui::TDateTimePicker(this);
    DateTimePicker1->SetBounds(330, 8, 130, 22);
    Button4 = new ui::TButton(this, "|||||");
    Button4->SetBounds(466, 7, 40, 24);
    Button4->SetHint("Dátum aktiválása");
    PageControl1 = new ui::TPageControl(this);
    PageControl1->SetBounds(8, 40, 584, 340);
    TabSheet1 = new ui::TTabSheet(PageControl1, "Termésnövelők");
    DBGrid1 = ListGrid(TabSheet1, &DataSource2,
                       {{"Nev", "Megnevezés"}, {"Kossz", "Mennyiség"}, {"Mert", "M.E."}});
    TabSheet2 = new ui::TTabSheet(PageControl1, "Növényvédőszerek");
    DBGrid2 = ListGrid(TabSheet2, &DataSource3,
                       {{"Nev", "Megnevezés"},
                        {"Kossz", "Menny."},
                        {"Mert", "M.E."},
                        {"Szertip", "Szer tipusa"},
                        {"Hata", "Hatóanyag"}});
    TabSheet3 = new ui::TTabSheet(PageControl1, "Vetőmagok");
    DBGrid3 = ListGrid(
        TabSheet3, &DataSource4,
        {{"Nev", "Megnevezés"}, {"Kossz", "Menniség"}, {"Mert", "M.E."}, {"Faj", "Növényfaj"}});
    Bevel1 = new ui::TBevel(this);
    Bevel1->SetBounds(4, 36, 592, 400);
    Bevel1->lower();
    Button2 = new ui::TButton(this, "Nyomtatás");
    Button2->SetBounds(392, 405, 94, 27);
    Button1 = new ui::TButton(this, "Vissza");
    Button1->SetBounds(496, 405, 94, 27);
    SetTabOrder(
        {PageControl1, DBGrid1, DBGrid2, DBGrid3, DateTimePicker1, Button4, Button2, Button1});

    PopupMenu1 = new ui::TPopupMenu(this);
    Nyomtats1 = PopupMenu1->Add("Nyomtatás         CTRL+I");
    Vissza1 = PopupMenu1->Add("Vissza                 CTRL+X");
    SetPopupMenu(PopupMenu1);
    PopupMenu2 = new ui::TPopupMenu(this);
    Aktivls1 = PopupMenu2->Add("Aktiválás");
    DateTimePicker1->SetPopupMenu(PopupMenu2);

    OnShow = Handler(&TKeszlist::FormShow);
    OnActivate = Handler(&TKeszlist::FormActivate);
    OnClose = Handler(&TKeszlist::FormClose);
    OnKeyPress = Handler(&TKeszlist::FormKeyPress);
    OnResize = Handler(&TKeszlist::FormResize);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TKeszlist::Button1Click);
    Button2->OnClick = Handler(&TKeszlist::Button2Click);
    Button4->OnClick = Handler(&TKeszlist::Button4Click);
    Nyomtats1->OnClick = Handler(&TKeszlist::Button2Click);
    Vissza1->OnClick = Handler(&TKeszlist::Button1Click);
    Aktivls1->OnClick = Handler(&TKeszlist::Button4Click);
}

void TKeszlist::FormShow(TObject*) {
    DateTimePicker1->SetDate(sys::today());
}

// Every activation shows the stock of the current day.
void TKeszlist::FormActivate(TObject*) {
    DateTimePicker1->SetDate(sys::today());
    RefreshStockQueries();
}

void TKeszlist::FormClose(TObject*, TCloseAction&) {
    for (db::TQuery* query : {&Query2, &Query3, &Query4})
        query->Close();
}

// Ctrl+I prints and Ctrl+X closes, from the grids and the buttons too; the Tab key only
// moves on.
void TKeszlist::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'I', Button2}, {'X', Button1}});
}

void TKeszlist::FormResize(TObject*) {
    const int height = ClientHeight() + kFrame;
    PageControl1->SetHeight(height - 128);
    Bevel1->SetHeight(height - 68);
    for (ui::TDBGrid* grid : {DBGrid1, DBGrid2, DBGrid3})
        grid->SetHeight(PageControl1->Height() - 34);
    Button1->SetTop(height - 69);
    Button2->SetTop(height - 69);
}

void TKeszlist::RefreshStockQueries() {
    stockDay_ = sys::datePart(DateTimePicker1->Date());
    SumGroups(res::StocksOnDate(session_, stockDay_));
    for (db::TQuery* query : {&Query2, &Query3, &Query4}) {
        query->Close();
        query->Open();
    }
}

// The stocks of each list's groups: every material with a movement up to the day, in the
// group of its shown columns; a seed whose species is missing is in none.
void TKeszlist::SumGroups(const std::map<std::string, double>& stocks) {
    std::map<std::string, std::string> species;
    db::TTable rows(session_, "Groups");
    rows.SetTableName("Magfajtak");
    rows.Open();
    for (rows.First(); !rows.Eof(); rows.Next())
        species[rows.FieldByName("Fajkod").AsString()] = rows.FieldByName("Faj").AsString();
    rows.Close();
    const auto sum = [&](res::MaterialKind kind, const std::vector<std::string>& columns,
                         Groups& groups) {
        groups.clear();
        const res::MaterialKindInfo& info = res::KindInfo(kind);
        rows.SetTableName(info.masterTable);
        rows.Open();
        for (rows.First(); !rows.Eof(); rows.Next()) {
            auto stock = stocks.find(rows.FieldByName(info.codeField).AsString());
            if (stock == stocks.end())
                continue;
            std::vector<std::string> texts;
            for (const std::string& column : columns) {
                if (column != "Faj") {
                    texts.push_back(rows.FieldByName(column).AsString());
                    continue;
                }
                auto name = species.find(rows.FieldByName("Magfaj").AsString());
                if (name == species.end())
                    break;
                texts.push_back(name->second);
            }
            if (texts.size() == columns.size())
                groups[GroupKey(texts)] += stock->second;
        }
        rows.Close();
    };
    sum(res::MaterialKind::Fertiliser, kFertiliserGroup, fertilisers_);
    sum(res::MaterialKind::Pesticide, kPesticideGroup, pesticides_);
    sum(res::MaterialKind::Seed, kSeedGroup, seeds_);
}

void TKeszlist::ShowGroup(db::TDataSet& DataSet, const Groups& groups,
                          const std::vector<std::string>& columns) {
    auto group = groups.find(GroupKeyOf(DataSet, columns));
    const double stock = group == groups.end() ? 0.0 : group->second;
    DataSet.FieldByName("Ossz").SetAsFloat(stock);
    DataSet.FieldByName("Kossz").SetAsFloat(res::ShownStock(stock));
}

void TKeszlist::Query2CalcFields(db::TDataSet& DataSet) {
    ShowGroup(DataSet, fertilisers_, kFertiliserGroup);
}

void TKeszlist::Query3CalcFields(db::TDataSet& DataSet) {
    ShowGroup(DataSet, pesticides_, kPesticideGroup);
}

void TKeszlist::Query4CalcFields(db::TDataSet& DataSet) {
    ShowGroup(DataSet, seeds_, kSeedGroup);
}

void TKeszlist::Button4Click(TObject*) {
    RefreshStockQueries();
}

// The list printed is the one shown; a text in the day's box that is no date is refused by
// the box before anything prints, never printed as the day shown.
void TKeszlist::Button2Click(TObject*) {
    static_cast<void>(DateTimePicker1->Date());
    RvProject1.ExecuteActiveReport();
}

void TKeszlist::Button1Click(TObject*) {
    Close();
}

void TKeszlist::RvCustomKeszletConnection1Open(report::TRvCustomConnection* Connection) {
    Connection->DataRows = 1;
    endOfRows_ = false;
}

void TKeszlist::RvCustomKeszletConnection1First(report::TRvCustomConnection* Connection) {
    Connection->DataIndex = 0;
}

void TKeszlist::RvCustomKeszletConnection1Next(report::TRvCustomConnection* Connection) {
    Connection->DataIndex += 1;
}

void TKeszlist::RvCustomKeszletConnection1EOF(report::TRvCustomConnection*, bool& Eof) {
    Eof = endOfRows_;
}

void TKeszlist::RvCustomKeszletConnection1GetCols(report::TRvCustomConnection* Connection) {
    Connection->DefineColumn("Datum", report::dtString, 50, "Cím", "Description 1");
}

// The day printed is the day the lists were computed for, also when the picker has been
// changed since without applying it: the heading never dates a stock it does not show.
void TKeszlist::RvCustomKeszletConnection1GetRow(report::TRvCustomConnection* Connection) {
    Connection->PutStringColumn(sys::dateToText(stockDay_), "");
    endOfRows_ = true;
}
