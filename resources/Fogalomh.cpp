#include "Fogalomh.h"

#include "core/Isnuminth.h"
#include "platform/sys/numbers.h"
#include "platform/ui/form_helpers.h"
#include "stock.h"

#include <cmath>

TForgalom* Forgalom = nullptr;

namespace {

// One list query: the movements of the kind's master between d1 and d2, by day, name and
// quantity, largest first.
void MovementQuery(db::TQuery& query, const std::string& master, const std::string& codeField) {
    query.SQL().Add("SELECT Raktarmozgas.Mozgkod, Raktarmozgas.Datum, " + master +
                    ".Nev, Raktarmozgas.Menny, " + master + ".Mert");
    query.SQL().Add("FROM Raktarmozgas");
    query.SQL().Add("   INNER JOIN " + master);
    query.SQL().Add("   ON  (Raktarmozgas.Anyagkod = " + master + "." + codeField + ")  ");
    query.SQL().Add("WHERE (Raktarmozgas.Datum >= :d1) AND (Raktarmozgas.Datum <= :d2)");
    query.SQL().Add("ORDER BY Raktarmozgas.Datum, " + master + ".Nev, Raktarmozgas.Menny DESC");
    query.AddCalcField("Month", db::FieldType::Alpha, 25);
}

ui::TDBGrid* MovementGrid(ui::TTabSheet* page, db::TDataSource* source) {
    auto* grid = new ui::TDBGrid(page);
    grid->SetBounds(4, 4, 592, 326);
    grid->SetDataSource(source);
    grid->SetReadOnly(true);
    grid->SetRowSelect(true);
    grid->Columns().Add("Datum", "Dátum", 90);
    grid->Columns().Add("Nev", "Megnevezés", 280);
    grid->Columns().Add("Menny", "Mennyiség", 100);
    grid->Columns().Add("Mert", "M.E.", 60);
    return grid;
}

ui::TButton* Button(QWidget* parent, const char* caption, int left, int top, int width = 100) {
    auto* button = new ui::TButton(parent, caption);
    button->SetBounds(left, top, width, 27);
    return button;
}

} // namespace

std::string MonthText(sys::DateTime day) {
    static const char* const kMonths[] = {"Január",     "Február", "Március",  "Aprilis",
                                          "Május",      "Június",  "Július",   "Augusztus",
                                          "Szeptember", "Október", "November", "December"};
    const sys::CalendarDate date = sys::decodeDate(day);
    return std::to_string(date.year) + ". " + kMonths[date.month - 1];
}

TForgalom::TForgalom(db::Session& session) : session_(session) {
    SetCaption("Raktárforgalom kimutatás");
    SetClientSize(620, 470);
    SetPosition(ui::poScreenCenter);

    MovementQuery(Query1, "Tapanyagok", "Kod");
    MovementQuery(Query2, "Novenyvedok", "Kod");
    MovementQuery(Query3, "Vetomagok", "Magkod");
    for (db::TQuery* query : {&Query1, &Query2, &Query3})
        query->OnCalcFields = [this](db::TDataSet& d) { QueryCalcFields(d); };
    Query4.SQL().Add("SELECT Datum");
    Query4.SQL().Add("FROM Raktarmozgas");
    Query4.SQL().Add("ORDER BY Datum");
    Table1.SetTableName("Raktarmozgas.db");
    DefineRangeConnection();

    PageControl1 = new ui::TPageControl(this);
    PageControl1->SetBounds(8, 8, 604, 360);
    TabSheet1 = new ui::TTabSheet(PageControl1, "Tápanyag mozgás");
    DBGrid1 = MovementGrid(TabSheet1, &DataSource1);
    TabSheet2 = new ui::TTabSheet(PageControl1, "Növényvédőszer mozgás");
    DBGrid2 = MovementGrid(TabSheet2, &DataSource2);
    TabSheet3 = new ui::TTabSheet(PageControl1, "Vetőmag mozgás");
    DBGrid3 = MovementGrid(TabSheet3, &DataSource3);
    Button2 = Button(this, "Szűkítés", 8, 376);
    Button5 = Button(this, "Nyomtatási kép", 114, 376, 110);
    Button6 = Button(this, "Módosítás", 230, 376);
    Button7 = Button(this, "Forg. törlése", 336, 376);
    Button1 = Button(this, "Bezárás", 512, 436);

    GroupBox1 = new ui::TGroupBox(this, "Szűkítés");
    GroupBox1->SetBounds(8, 424, 460, 40);
    (new ui::TLabel(GroupBox1, "Mozgások"))->SetBounds(8, 18, 60, 16);
    DateTimePicker1 = new ui::TDateTimePicker(GroupBox1);
    DateTimePicker1->SetBounds(70, 14, 110, 22);
    (new ui::TLabel(GroupBox1, "-tól"))->SetBounds(184, 18, 24, 16);
    DateTimePicker2 = new ui::TDateTimePicker(GroupBox1);
    DateTimePicker2->SetBounds(210, 14, 110, 22);
    (new ui::TLabel(GroupBox1, "-ig"))->SetBounds(324, 18, 20, 16);
    Button3 = Button(GroupBox1, "Mégsem", 346, 11, 54);
    Button4 = Button(GroupBox1, "Ok", 404, 11, 50);
    GroupBox1->SetVisible(false);

    Panel1 = new ui::TPanel(this);
    Panel1->SetBounds(88, 368, 330, 44);
    Edit1 = new ui::TEdit(Panel1);
    Edit1->SetBounds(8, 10, 110, 22);
    Edit1->SetDomain(res::MovementQuantity("Mennység"));
    Label4 = new ui::TLabel(Panel1);
    Label4->SetBounds(124, 13, 40, 16);
    Button8 = Button(Panel1, "Ok", 170, 8, 70);
    Button9 = Button(Panel1, "Mégsem", 248, 8, 74);
    Panel1->SetVisible(false);
    ui::EditBoxOverList(GroupBox1);
    ui::EditBoxOverList(Panel1);
    SetTabOrder({PageControl1, DBGrid1, DBGrid2, DBGrid3, Button2, Button5, Button6, Button7,
                 DateTimePicker1, DateTimePicker2, Button3, Button4, Edit1, Button8, Button9,
                 Button1});

    OnShow = Handler(&TForgalom::FormShow);
    OnClose = Handler(&TForgalom::FormClose);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TForgalom::Button1Click);
    Button2->OnClick = Handler(&TForgalom::Button2Click);
    Button3->OnClick = Handler(&TForgalom::Button3Click);
    Button4->OnClick = Handler(&TForgalom::Button4Click);
    Button5->OnClick = Handler(&TForgalom::Button5Click);
    Button6->OnClick = Handler(&TForgalom::Button6Click);
    Button7->OnClick = Handler(&TForgalom::Button7Click);
    Button8->OnClick = Handler(&TForgalom::Button8Click);
    Button9->OnClick = Handler(&TForgalom::Button9Click);
}

// The default range runs from the earliest to the latest dated movement of any kind (a
// pending row has no date and does not count).
void TForgalom::DefineRangeConnection() {
    using Connection = report::TRvCustomConnection;
    RvRangeConnection1.OnOpen = [this](Connection* c) {
        c->DataRows = 1;
        rangeRowDone_ = false;
    };
    RvRangeConnection1.OnFirst = [](Connection* c) { c->DataIndex = 0; };
    RvRangeConnection1.OnNext = [](Connection* c) { c->DataIndex += 1; };
    RvRangeConnection1.OnEOF = [this](Connection*, bool& eof) { eof = rangeRowDone_; };
    RvRangeConnection1.OnGetCols = [](Connection* c) {
        c->DefineColumn("Tol", report::dtString, 20, "Tol", "");
        c->DefineColumn("Ig", report::dtString, 20, "Ig", "");
    };
    RvRangeConnection1.OnGetRow = [this](Connection* c) {
        c->PutStringColumn(sys::dateToText(from_), "");
        c->PutStringColumn(sys::dateToText(to_), "");
        rangeRowDone_ = true;
    };
}

void TForgalom::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Query4});
    for (db::TQuery* query : {&Query1, &Query2, &Query3})
        query->Close();
    for (Query4.First(); !Query4.Eof() && Query4.FieldByName("Datum").IsNull();)
        Query4.Next();
    if (!Query4.Eof()) {
        DateTimePicker1->SetDate(Query4.FieldByName("Datum").AsDateTime());
        Query4.Last();
        DateTimePicker2->SetDate(Query4.FieldByName("Datum").AsDateTime());
    }
    BindDateRange();
}

void TForgalom::FormClose(TObject*, TCloseAction&) {
    for (db::TQuery* query : {&Query1, &Query2, &Query3})
        query->Close();
    Table1.Close();
}

// From the first day's start to the end of the last day: an end with a time of day runs
// up to the next midnight.
void TForgalom::BindDateRange() {
    from_ = std::floor(DateTimePicker1->DateTime());
    to_ = sys::datePart(DateTimePicker2->DateTime());
    for (db::TQuery* query : {&Query1, &Query2, &Query3}) {
        query->Close();
        query->ParamByName("d1").SetAsDateTime(std::floor(DateTimePicker1->DateTime()));
        query->ParamByName("d2").SetAsDateTime(std::ceil(DateTimePicker2->DateTime()));
        query->Open();
    }
}

void TForgalom::QueryCalcFields(db::TDataSet& DataSet) {
    db::TField& day = DataSet.FieldByName("Datum");
    DataSet.FieldByName("Month").SetAsString(day.IsNull() ? "" : MonthText(day.AsDateTime()));
}

db::TQuery& TForgalom::PageQuery() {
    switch (PageControl1->ActivePageIndex()) {
    case 1:
        return Query2;
    case 2:
        return Query3;
    default:
        return Query1;
    }
}

bool TForgalom::FindMovement(int code) {
    Table1.Close();
    Table1.SetFilter("Mozgkod = " + std::to_string(code));
    Table1.SetFiltered(true);
    Table1.Open();
    return !Table1.IsEmpty();
}

void TForgalom::ReopenLists() {
    for (db::TQuery* query : {&Query1, &Query2, &Query3}) {
        query->Close();
        query->Open();
    }
    Table1.Close();
}

void TForgalom::Button1Click(TObject*) {
    Close();
}

void TForgalom::Button2Click(TObject*) {
    GroupBox1->SetBounds(8, 424, GroupBox1->Width(), GroupBox1->Height());
    GroupBox1->Show();
    GroupBox1->BringToFront();
}

void TForgalom::Button3Click(TObject*) {
    GroupBox1->Hide();
}

void TForgalom::Button4Click(TObject*) {
    BindDateRange();
    GroupBox1->Hide();
}

// The report of the page shown, also when its list is empty.
void TForgalom::Button5Click(TObject*) {
    TRvProject* projects[] = {&RvProject1, &RvProject2, &RvProject3};
    projects[std::max(0, PageControl1->ActivePageIndex())]->ExecuteActiveReport();
}

void TForgalom::Button6Click(TObject*) {
    db::TQuery& query = PageQuery();
    Edit1->SetText(query.IsEmpty() ? "" : query.FieldByName("Menny").AsString());
    Label4->SetCaption(query.IsEmpty() ? "" : query.FieldByName("Mert").AsString());
    Panel1->SetBounds(88, 368, Panel1->Width(), Panel1->Height());
    Panel1->Show();
    Panel1->BringToFront();
    Edit1->SetFocus();
}

void TForgalom::Button7Click(TObject*) {
    if (ui::MessageDlg("Biztosan törli a kijelölt raktármozgást ?", ui::mtConfirmation,
                       ui::mbYesNo) != ui::mrYes)
        return;
    db::TQuery& query = PageQuery();
    if (FindMovement(query.IsEmpty() ? 0 : query.FieldByName("Mozgkod").AsInteger())) {
        Table1.Delete();
        Table1.FlushBuffers();
    } else {
        ui::MessageDlg("Nem lehet törölni !", ui::mtWarning, ui::mbOK);
    }
    ReopenLists();
}

// The quantity in the material's unit. A movement keeps its direction: a number typed
// for a withdrawal is what goes out, also without its minus sign, and a purchase turned
// into a withdrawal is refused with how to book one. A movement of nothing is refused, and
// so is a change that leaves less in store on the movement's day than nothing.
void TForgalom::Button8Click(TObject*) {
    const std::string text = Edit1->Text();
    if (!NumericInt->IsValidReal(text, "Mennység", TNumericInt::Bound::NotZero) || text.empty() ||
        !ui::TypedValuesValid(*Edit1))
        return;
    double quantity = *sys::tryParseFloat(text);
    db::TQuery& query = PageQuery();
    if (FindMovement(query.IsEmpty() ? 0 : query.FieldByName("Mozgkod").AsInteger())) {
        const double stored = Table1.FieldByName("Menny").AsFloat();
        if (stored > 0 && quantity < 0) {
            Table1.Close();
            ui::MessageDlg("A vásárlás mennyisége nem lehet negatív: a mozgás iránya nem "
                           "változik. A kiadást új raktármozgásként rögzítse (Készlet kezelés, "
                           "\"Vásárlás, eladás(-)\" mínusz előjellel), a téves vásárlást "
                           "pedig törölje (\"Forg. törlése\").",
                           ui::mtWarning, ui::mbOK);
            return;
        }
        if (stored < 0)
            quantity = -std::fabs(quantity);
        if (!StockAllowsChange(stored, quantity, query.FieldByName("Mert").AsString())) {
            Table1.Close();
            ui::Application->MessageBox("Nincs ekkora mennyiség készleten! Túl sok kiadás!",
                                        "Sok kiadás", ui::MB_OK);
            return;
        }
        Table1.Edit();
        Table1.FieldByName("Menny").SetAsFloat(quantity);
        Table1.Post();
        Table1.FlushBuffers();
    } else {
        ui::MessageDlg("Nem módosítani !", ui::mtWarning, ui::mbOK);
    }
    ReopenLists();
    Panel1->Hide();
}

bool TForgalom::StockAllowsChange(double stored, double changed, const std::string& unit) {
    const std::string code = Table1.FieldByName("Anyagkod").AsString();
    const std::optional<res::MaterialKind> kind = res::KindOfCode(code);
    const std::optional<double> factor =
        kind ? res::MaterialUnitFactor(*kind, unit) : std::optional<double>();
    return res::ChangeAllowed(session_, code, Table1.FieldByName("Datum").AsDateTime(), stored,
                              changed, factor.value_or(1));
}

void TForgalom::Button9Click(TObject*) {
    Panel1->Hide();
}
