#include "Munkautalvh.h"

#include "Munyomth.h"
#include "platform/sys/numbers.h"
#include "platform/ui/form_helpers.h"

#include <QApplication>
#include <algorithm>
#include <cmath>

TMunkautalvany* Munkautalvany = nullptr;

namespace ops {

namespace {

const char* const kNoPerson =
    "Nincs felvett személy: a munkautalvány kitöltéséhez előbb vegye fel a dolgozókat "
    "(Személyek/Készlet/Eszköz › Alkalmazottak)!";

struct SheetColumn {
    const char* header;
    int width;
};
const SheetColumn kColumns[kSheetColumns] = {
    {"Munkaművelet", 120}, {"Műv.ter.", 50}, {"Helyszín", 80}, {"Parc.ter.", 50},
    {"Erőgép", 80},        {"Munkagép", 80}, {"óra", 30},      {"perc", 50},
    {"irány", 30},         {"mélység", 30},  {"Dátum", 60},
};

// The date of a result column as the sheet shows it; empty for an empty date.
std::string DateText(db::TField& field) {
    return field.IsNull() ? std::string() : sys::dateToText(field.AsDateTime());
}

} // namespace

// The sheet's column widths were set for a smaller screen font than ours: scaled so that
// the headers are not cut.
int ScaledWidth(int col) {
    return std::max(kColumns[col].width * 3 / 2, 64);
}

int CeilMinutes(double hours) {
    return static_cast<int>(std::ceil(hours * 60.0 - 1e-9));
}
int WholeHours(double hours) {
    return CeilMinutes(hours) / 60;
}
int RemainderMinutes(double hours) {
    return CeilMinutes(hours) % 60;
}

std::string WorkOrderCondition(int personCode, sys::DateTime firstDay, sys::DateTime lastDay) {
    return " AND (Szemkod = " + std::to_string(personCode) + ")" + " AND (Datum >= '" +
           sys::monthDayYearText(firstDay) + "')" + " AND (Datum <= '" +
           sys::monthDayYearText(lastDay) + "')";
}

std::vector<std::string> WorkOrderStatement(bool planned, const std::string& condition) {
    const std::string op = planned ? "Tervelvmuv" : "ElvMuv";
    const std::string workers = planned ? "Tervmunkas" : "Munkavegz";
    const std::string uses = planned ? "Tervfanyag" : "felhanyag";
    return {
        "SELECT " + workers + ".Szemkod, " + op + ".Muvkod, " + op + ".Datum, " + op + ".Muvnev, " +
            op + ".Irany, " + op + ".Gepora, " + op + ".Keziora, " + op + ".Szantm, " + op +
            ".Ter, Munkagepek.Gepnev, Erogepek.Geptip, parcellak.Parcsor, parcellak.Ter, "
            "parcellak.Agazat, " +
            uses + ".Anyagkod, " + uses + ".Menny, " + uses + ".Permetle, " + uses + ".Mert, " +
            uses + ".Permetle",
        "FROM " + op,
        "FULL OUTER JOIN Erogepek",
        "ON  (" + op + ".Erogepkod = Erogepek.Gepkod)",
        "FULL OUTER JOIN Munkagepek",
        "ON  (" + op + ".Munkagepkod = Munkagepek.Gepkod)",
        "INNER JOIN parcellak",
        "ON  (parcellak.Parckod = " + op + ".Tablakod)",
        "INNER JOIN " + workers,
        "ON  (" + workers + ".Muvkod = " + op + ".Muvkod)",
        "FULL OUTER JOIN " + uses,
        "ON  (" + op + ".Muvkod = " + uses + ".Muvkod)",
        "WHERE (1=1)" + condition,
        "ORDER BY Datum,Muvkod",
    };
}

} // namespace ops

using ops::kDateColumn;
using ops::kSheetColumns;

TMunkautalvany::TMunkautalvany(db::Session& session) : session_(session) {
    SetCaption("Munka kiutalás");
    SetClientSize(1140, 600);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("Szemely.db");
    Table2.SetTableName("Szemely.db");
    Table4.SetTableName("Altmuv.db");

    ui::Make<ui::TLabel>(this, {8, 8, 200, 20}, "Munka kiadás");
    Button5 = ui::Make<ui::TButton>(this, {8, 32, 230, 25}, "Feltöltés tervezett műveletekből");
    Button6 = ui::Make<ui::TButton>(this, {246, 32, 230, 25}, "Feltöltés elvégzett műveletből");
    Edit1 = ui::Make<ui::TEdit>(this, {8, 66, 300, 22});
    Edit1->SetText("Munkalap");
    Edit2 = ui::Make<ui::TEdit>(this, {316, 66, 250, 22});
    Edit3 = ui::Make<ui::TEdit>(this, {574, 66, 160, 22});
    Edit4 = ui::Make<ui::TEdit>(this, {742, 66, 160, 22});

    StringGrid1 = ui::Make<ui::TStringGrid>(this, {8, 96, 960, 420});
    StringGrid1->SetColCount(kSheetColumns);
    StringGrid1->SetRowCount(2);
    StringGrid1->SetFixedCols(0);
    StringGrid1->SetFixedRows(1);
    StringGrid1->SetDefaultRowHeight(30);
    StringGrid1->SetEditing(true);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    SetDateColumnShown(false);

    Panel1 = ui::Make<ui::TPanel>(this, {976, 123, 156, 100});
    Button1 = ui::Make<ui::TButton>(Panel1, {4, 4, 40, 22}, ">>>");
    DBLookupComboBox3 = ui::Make<ui::TDBLookupComboBox>(Panel1, {48, 4, 104, 22});
    DBLookupComboBox3->SetListSource(&DataSource4);
    DBLookupComboBox3->SetKeyField("Megnev");
    DBLookupComboBox3->SetListField("Megnev");
    Button9 = ui::Make<ui::TButton>(Panel1, {4, 32, 148, 25}, "Lista bővítése");
    Button4 = ui::Make<ui::TButton>(Panel1, {4, 64, 148, 25}, "Sor törlése");

    Edit5 = ui::Make<ui::TEdit>(this, {8, 524, 250, 22});
    Edit6 = ui::Make<ui::TEdit>(this, {266, 524, 300, 22});
    Button3 = ui::Make<ui::TButton>(this, {920, 564, 100, 27}, "Nyomtatás");
    Button2 = ui::Make<ui::TButton>(this, {1028, 564, 100, 27}, "Bezárás");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 48, 480, 160}, "Űrlap feltöltése");
    ui::Make<ui::TLabel>(GroupBox1, {8, 24, 90, 16}, "Munkavégző:");
    DBLookupComboBox1 = ui::Make<ui::TDBLookupComboBox>(GroupBox1, {100, 20, 300, 22});
    DBLookupComboBox1->SetListSource(&DataSource1);
    DBLookupComboBox1->SetKeyField("Sznev");
    DBLookupComboBox1->SetListField("Sznev");
    ui::Make<ui::TLabel>(GroupBox1, {8, 52, 90, 16}, "Munka kiadó:");
    DBLookupComboBox2 = ui::Make<ui::TDBLookupComboBox>(GroupBox1, {100, 48, 300, 22});
    DBLookupComboBox2->SetListSource(&DataSource2);
    DBLookupComboBox2->SetKeyField("Sznev");
    DBLookupComboBox2->SetListField("Sznev");
    ui::Make<ui::TLabel>(GroupBox1, {8, 84, 90, 16}, "Időpont:");
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(GroupBox1, {100, 80, 130, 22});
    ui::Make<ui::TLabel>(GroupBox1, {234, 84, 30, 16}, "-tól");
    DateTimePicker2 = ui::Make<ui::TDateTimePicker>(GroupBox1, {270, 80, 130, 22});
    ui::Make<ui::TLabel>(GroupBox1, {404, 84, 30, 16}, "-ig");
    Button7 = ui::Make<ui::TButton>(GroupBox1, {100, 120, 100, 27}, "Feltöltés");
    Button8 = ui::Make<ui::TButton>(GroupBox1, {210, 120, 100, 27}, "Mégsem");
    GroupBox1->Hide();

    GroupBox2 = ui::Make<ui::TGroupBox>(this, {300, 140, 440, 260}, "Általános tevékenységek");
    DBGrid1 = ui::Make<ui::TDBGrid>(GroupBox2, {8, 20, 424, 196});
    DBGrid1->SetDataSource(&DataSource4);
    DBGrid1->Columns().Add("Megnev", "Megnev", 119);
    DBGrid1->Columns().Add("Ora", "Ora", 50);
    DBGrid1->Columns().Add("Perc", "Perc", 50);
    DBGrid1->Columns().Add("Megjegyzés", "Megjegyzés", 180);
    Button10 = ui::Make<ui::TButton>(GroupBox2, {8, 224, 80, 27}, "Új");
    Button11 = ui::Make<ui::TButton>(GroupBox2, {96, 224, 80, 27}, "Töröl");
    Button12 = ui::Make<ui::TButton>(GroupBox2, {352, 224, 80, 27}, "Bezárás");
    GroupBox2->Hide();

    OnShow = Handler(&TMunkautalvany::FormShow);
    OnActivate = Handler(&TMunkautalvany::FormActivate);
    // Leaving the group of the general activities hides it.
    QObject::connect(qApp, &QApplication::focusChanged, GroupBox2, [this](QWidget*, QWidget* now) {
        if (GroupBox2->Visible() && now && !GroupBox2->isAncestorOf(now) && now != GroupBox2)
            GroupBox2->Hide();
    });
    StringGrid1->OnClick = Handler(&TMunkautalvany::StringGrid1Click);
    Button1->OnClick = Handler(&TMunkautalvany::Button1Click);
    Button2->OnClick = Handler(&TMunkautalvany::Button2Click);
    Button3->OnClick = Handler(&TMunkautalvany::Button3Click);
    Button4->OnClick = Handler(&TMunkautalvany::Button4Click);
    Button5->OnClick = Handler(&TMunkautalvany::Button5Click);
    Button6->OnClick = Handler(&TMunkautalvany::Button6Click);
    Button7->OnClick = Handler(&TMunkautalvany::Button7Click);
    Button8->OnClick = Handler(&TMunkautalvany::Button8Click);
    Button9->OnClick = Handler(&TMunkautalvany::Button9Click);
    Button10->OnClick = Handler(&TMunkautalvany::Button10Click);
    Button11->OnClick = Handler(&TMunkautalvany::Button11Click);
    Button12->OnClick = Handler(&TMunkautalvany::Button12Click);
}

void TMunkautalvany::FormShow(TObject*) {
    DateTimePicker1->SetDate(sys::today() + 1);
    DateTimePicker2->SetDate(sys::today() + 1);
    RememberedRow = 1;
    for (int col = 0; col < kDateColumn; ++col) {
        StringGrid1->SetCells(col, 0, ops::kColumns[col].header);
        StringGrid1->SetColWidths(col, ops::ScaledWidth(col));
    }
}

void TMunkautalvany::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Table2, &Table4});
}

bool TMunkautalvany::DateColumnShown() const {
    return StringGrid1->ColWidths(kDateColumn) > 0;
}

// The grid keeps all eleven columns: a one-day sheet only hides the date, which stays in
// the cells for the print.
void TMunkautalvany::SetDateColumnShown(bool shown) {
    StringGrid1->SetColWidths(kDateColumn, shown ? ops::ScaledWidth(kDateColumn) : 0);
    if (shown)
        StringGrid1->SetCells(kDateColumn, 0, ops::kColumns[kDateColumn].header);
}

void TMunkautalvany::StringGrid1Click(TObject*) {
    const int row = StringGrid1->Row();
    const int col = std::max(0, StringGrid1->Col());
    if (row < 0)
        return;
    const QRect cell = StringGrid1->visualRect(StringGrid1->model()->index(row, col));
    Panel1->SetTop(cell.top() + 123);
    const QList<QTableWidgetSelectionRange> ranges = StringGrid1->selectedRanges();
    RememberedRow = std::max(1, ranges.isEmpty() ? row : ranges.first().topRow());
}

void TMunkautalvany::InsertGridRow(int row) {
    StringGrid1->InsertRow(std::min(row, StringGrid1->RowCount()));
}

void TMunkautalvany::DeleteGridRow(int row) {
    const int count = StringGrid1->RowCount();
    if (count <= 1)
        return; // the header row stays
    StringGrid1->DeleteRow(row < count ? row : count - 1);
}

void TMunkautalvany::ClearGrid() {
    StringGrid1->SetRowCount(2);
    for (int col = 0; col < kSheetColumns; ++col)
        StringGrid1->SetCells(col, 1, "");
}

void TMunkautalvany::Button1Click(TObject*) {
    const int row = std::min(RememberedRow, StringGrid1->RowCount());
    InsertGridRow(row);
    if (!Table4.Active() || Table4.IsEmpty())
        return;
    StringGrid1->SetCells(0, row, Table4.FieldByName("Megnev").AsString());
    StringGrid1->SetCells(6, row, Table4.FieldByName("Ora").AsString());
    StringGrid1->SetCells(7, row, Table4.FieldByName("Perc").AsString());
}

void TMunkautalvany::Button2Click(TObject*) {
    Close();
}

void TMunkautalvany::Button3Click(TObject*) {
    ui::OwnedForm<TMUnyomt> print(MUnyomt);
    print->RvProject1.ExecuteActiveReport();
}

void TMunkautalvany::Button4Click(TObject*) {
    DeleteGridRow(RememberedRow);
}

void TMunkautalvany::ShowFillGroup(bool planned) {
    GroupBox1->SetBounds(8, 48, GroupBox1->Width(), GroupBox1->Height());
    GroupBox1->Show();
    GroupBox1->raise();
    FromPlanned = planned;
}

void TMunkautalvany::Button5Click(TObject*) {
    ShowFillGroup(true);
}
void TMunkautalvany::Button6Click(TObject*) {
    ShowFillGroup(false);
}

void TMunkautalvany::Button7Click(TObject*) {
    // With no person the statement would have no person code: refused before anything
    // of the sheet changes.
    if (!Table1.Active() || Table1.IsEmpty() || !Table2.Active() || Table2.IsEmpty()) {
        ui::MessageDlg(ops::kNoPerson, ui::mtWarning, {ui::mbOK});
        return;
    }
    const sys::DateTime first = DateTimePicker1->Date();
    const sys::DateTime last = DateTimePicker2->Date();
    Edit2->SetText(Table1.FieldByName("Sznev").AsString() + " részére");
    Edit6->SetText("Munkakiadó: " + Table2.FieldByName("Sznev").AsString());
    Edit5->SetText("Kelt: " + sys::dateToText(sys::today()));

    const std::string condition =
        ops::WorkOrderCondition(Table1.FieldByName("Szid").AsInteger(), first, last);
    Query1.Close();
    Query1.SQL().Clear();
    for (const std::string& line : ops::WorkOrderStatement(FromPlanned, condition))
        Query1.SQL().Add(line);
    Query1.Open();
    lastOperation_ = "xxxxxx";
    gridRow_ = 1;
    Query1.First();
    ClearGrid();

    if (sys::dateToText(first) == sys::dateToText(last)) {
        SetDateColumnShown(false);
        Edit3->SetText(sys::dateToText(first) + " napra");
        Edit4->SetText("");
    } else {
        SetDateColumnShown(true);
        Edit3->SetText(sys::dateToText(first) + "-tól");
        Edit4->SetText(sys::dateToText(last) + "-ig");
    }
    for (; !Query1.Eof(); Query1.Next())
        AddResultRow();
    Query1.Close();
    GroupBox1->Hide();
}

void TMunkautalvany::AddResultRow() {
    db::TQuery& q = Query1;
    const std::string code = q.FieldByName("Muvkod").AsString();
    if (code != lastOperation_) {
        const double hours = q.FieldByName("Gepora").AsFloat() + q.FieldByName("Keziora").AsFloat();
        const std::vector<std::string> line = {
            q.FieldByName("Muvnev").AsString(),
            sys::floatToText(q.FieldByName("Ter").AsFloat() * 0.0001),
            q.FieldByName("Agazat").AsString() + "(" + q.FieldByName("Parcsor").AsString() + ")",
            sys::floatToText(q.FieldByName("Ter_1").AsFloat() * 0.0001),
            q.FieldByName("Geptip").AsString(),
            q.FieldByName("Gepnev").AsString(),
            std::to_string(ops::WholeHours(hours)) + ":",
            std::to_string(ops::RemainderMinutes(hours)),
            q.FieldByName("Irany").AsString(),
            q.FieldByName("Szantm").AsString(),
            ops::DateText(q.FieldByName("Datum")),
        };
        StringGrid1->SetRows(gridRow_, line);
        materialCount_ = 0;
    } else {
        // Another material of the same operation: take back the empty row left last time.
        --gridRow_;
        StringGrid1->SetRowCount(StringGrid1->RowCount() - 1);
    }
    lastOperation_ = code;

    const std::string material = q.FieldByName("Anyagkod").AsString();
    if (!material.empty()) {
        ++gridRow_;
        StringGrid1->SetRowCount(StringGrid1->RowCount() + 1);
        StringGrid1->SetCells(4, gridRow_, "Anyag:");
        if (materialCount_ == 0 && !code.empty()) {
            StringGrid1->SetCells(5, gridRow_, "Víz");
            StringGrid1->SetCells(6, gridRow_, q.FieldByName("Permetle").AsString());
            StringGrid1->SetCells(7, gridRow_, "l/ha");
            ++gridRow_;
            StringGrid1->SetRowCount(StringGrid1->RowCount() + 1);
        } else {
            StringGrid1->SetCells(4, gridRow_, "");
        }
        ++materialCount_;
        StringGrid1->SetCells(5, gridRow_, LookupMaterialName(material));
        StringGrid1->SetCells(6, gridRow_, sys::floatToText(q.FieldByName("Menny").AsFloat()));
        StringGrid1->SetCells(7, gridRow_, q.FieldByName("Mert").AsString() + "/ha");
    }
    ++gridRow_;
    StringGrid1->SetRowCount(StringGrid1->RowCount() + 1);
}

std::string TMunkautalvany::LookupMaterialName(const std::string& code) {
    std::string table;
    std::string key;
    switch (code.empty() ? ' ' : code[0]) {
    case '1':
        table = "Tapanyagok.db", key = "Kod";
        break;
    case '2':
        table = "Novenyvedok.db", key = "Kod";
        break;
    case '3':
        table = "Vetomagok.db", key = "Magkod";
        break;
    default:
        return ""; // none of the three kinds
    }
    Table3.SetTableName(table);
    Table3.SetFilter(key + " = '" + code + "'");
    Table3.SetFiltered(true);
    Table3.Open();
    const std::string name = Table3.IsEmpty() ? "" : Table3.FieldByName("Nev").AsString();
    Table3.Close();
    return name;
}

void TMunkautalvany::Button8Click(TObject*) {
    GroupBox1->Hide();
}

void TMunkautalvany::Button9Click(TObject*) {
    GroupBox2->Show();
    GroupBox2->raise();
}

void TMunkautalvany::Button10Click(TObject*) {
    Table4.Append();
}

void TMunkautalvany::Button11Click(TObject*) {
    if (!Table4.IsEmpty())
        Table4.Delete();
}

void TMunkautalvany::Button12Click(TObject*) {
    GroupBox2->Hide();
}
