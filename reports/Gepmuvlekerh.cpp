#include "Gepmuvlekerh.h"

#include "platform/db/sql/sql.h"
#include "platform/ui/form_helpers.h"
#include "register/single_row.h"
#include "report_texts.h"

TGepmuvleker* Gepmuvleker = nullptr;

std::vector<std::string> MachineQueryLines(const MachineQueryChoices& c) {
    using db::sql::quoteSqlText;
    std::vector<std::string> lines{"SELECT *", "FROM parcellak", "  INNER JOIN ElvMuv",
                                   "  ON  (parcellak.Parckod = ElvMuv.Tablakod)"};
    lines.push_back("WHERE (Datum >= '" + sys::monthDayYearText(c.from) + "') AND (Datum <= '" +
                    sys::monthDayYearText(c.to) + "')");
    if (c.tractor)
        lines.push_back(" AND (Erogepkod = " + quoteSqlText(*c.tractor) + ")");
    if (c.implement)
        lines.push_back(" AND (Munkagepkod = " + quoteSqlText(*c.implement) + ")");
    if (c.field)
        lines.push_back(" AND (Parckod = " + quoteSqlText(*c.field) + ")");
    if (c.sector)
        lines.push_back(" AND (Agazat = " + quoteSqlText(*c.sector) + ")");
    lines.push_back("ORDER BY Parcsor,Datum,Muvkod");
    return lines;
}

namespace {

// The code of the grid's current row; empty for an empty grid.
std::string CurrentCode(db::TDataSet& rows, const char* field) {
    return rows.IsEmpty() ? "" : rows.FieldByName(field).AsString();
}

} // namespace

TGepmuvleker::TGepmuvleker(db::Session& session) : session_(session) {
    SetCaption("Gépi művelet lekérdezés");
    SetClientSize(760, 560);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("Erogepek.db");
    Table1.SetFilter("Tul = 0");
    Table1.SetFiltered(true);
    Table1.SetIndexFieldNames("Gepnev");
    Table2.SetTableName("Munkagepek.db");
    Table2.SetFilter("Tul = 0");
    Table2.SetFiltered(true);
    Table2.SetIndexFieldNames("Gepnev");
    Table3.SetTableName("parcellak.db");
    Table3.SetFilter("Aktiv = 'A'");
    Table3.SetFiltered(true);
    Query3.AddCalcField("EwjW", db::FieldType::Alpha, 30);
    Query3.AddCalcField("GoxTer", db::FieldType::Number);
    Query3.AddCalcField("KexTer", db::FieldType::Number);
    Query3.OnCalcFields = [this](db::TDataSet& rows) { Query3CalcFields(rows); };

    auto* heading = ui::Make<ui::TLabel>(this, {8, 8, 400, 20}, "Gépenkénti művelet lekérdezés");
    heading->SetBold(true);
    CheckBox1 = ui::Make<ui::TCheckBox>(this, {8, 36, 200, 20}, "Erőgép");
    CheckBox1->SetChecked(true);
    DBGrid1 = ui::ListGrid(
        this, {8, 58, 370, 150}, &DataSource1,
        {{"Geptip", "Géptip", 150}, {"Haziszam", "Háziszám", 90}, {"Kategoria", "Kategoria", 90}});
    CheckBox2 = ui::Make<ui::TCheckBox>(this, {386, 36, 200, 20}, "Munkagép");
    DBGrid2 =
        ui::ListGrid(this, {386, 58, 366, 150}, &DataSource2,
                     {{"Gepnev", "Gépnév", 150}, {"Hazisz", "Hazisz", 90}, {"Tipus", "Tipus", 90}});
    CheckBox3 = ui::Make<ui::TCheckBox>(this, {8, 218, 100, 20}, "Tábla");
    CheckBox4 = ui::Make<ui::TCheckBox>(this, {120, 218, 200, 20}, "Aktív parcellák");
    CheckBox4->SetChecked(true);
    DBGrid3 = ui::ListGrid(this, {8, 240, 744, 170}, &DataSource3,
                           {{"Evj", "G.év.", 60},
                            {"Parcsor", "S.Sz.", 50},
                            {"Agazat", "Ágazat", 200},
                            {"Ter", "Terület", 90},
                            {"Hazmeg", "Házi megnevezés", 200}});
    ui::Make<ui::TLabel>(this, {8, 424, 80, 16}, "Ágazat:");
    ComboBox1 = ui::Make<ui::TComboBox>(this, {90, 420, 200, 22}, ui::csDropDownList);
    ui::Make<ui::TLabel>(this, {8, 454, 200, 16}, "Első munkavégzés dátuma:");
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(this, {210, 450, 130, 22});
    ui::Make<ui::TLabel>(this, {346, 454, 30, 16}, "-tól");
    ui::Make<ui::TLabel>(this, {8, 484, 200, 16}, "Utolsó munkavégzés dátuma:");
    DateTimePicker2 = ui::Make<ui::TDateTimePicker>(this, {210, 480, 130, 22});
    ui::Make<ui::TLabel>(this, {346, 484, 30, 16}, "-ig");
    Button1 = ui::Make<ui::TButton>(this, {542, 524, 100, 27}, "Lekérdezés");
    Button2 = ui::Make<ui::TButton>(this, {652, 524, 100, 27}, "Bezárás");

    // The machines of the query, as captions of the printout.
    reg::MakeSingleRowConnection(RvGepiCustomConnection1, {"Erogep", "Munkagep"}, [this] {
        std::string tractor, implement;
        if (CheckBox1->Checked() && !Table1.IsEmpty())
            tractor = "Erőgép : " + Table1.FieldByName("Geptip").AsString() + " (" +
                      Table1.FieldByName("Haziszam").AsString() + ")";
        if (CheckBox2->Checked() && !Table2.IsEmpty())
            implement = "Munkagép : " + Table2.FieldByName("Gepnev").AsString() + " (" +
                        Table2.FieldByName("Hazisz").AsString() + ")";
        return std::vector<std::string>{tractor, implement};
    });

    OnShow = Handler(&TGepmuvleker::FormShow);
    Button1->OnClick = Handler(&TGepmuvleker::Button1Click);
    Button2->OnClick = Handler(&TGepmuvleker::Button2Click);
    CheckBox4->OnClick = Handler(&TGepmuvleker::CheckBox4Click);
}

void TGepmuvleker::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Table2, &Table3, &FarmRow1.Table});
    Query2.SQL().Add("SELECT Datum FROM ElvMuv");
    Query2.SQL().Add("ORDER BY Datum");
    Query2.Open();
    Query2.First();
    DateTimePicker1->SetDate(Query2.IsEmpty() ? 0 : Query2.FieldByName("Datum").AsDateTime());
    Query2.Last();
    DateTimePicker2->SetDate(Query2.IsEmpty() ? 0 : Query2.FieldByName("Datum").AsDateTime());
    Query2.Close();
    Query1.SQL().Add("SELECT DISTINCT Agazat FROM Parcellak");
    Query1.SQL().Add("ORDER BY Agazat");
    Query1.Open();
    for (Query1.First(); !Query1.Eof(); Query1.Next())
        ComboBox1->Items().Add(Query1.FieldByName("Agazat").AsString());
    Query1.Close();
}

MachineQueryChoices TGepmuvleker::Choices() {
    MachineQueryChoices c;
    c.from = DateTimePicker1->Date();
    c.to = DateTimePicker2->Date();
    if (CheckBox1->Checked())
        c.tractor = CurrentCode(Table1, "Gepkod");
    if (CheckBox2->Checked())
        c.implement = CurrentCode(Table2, "Gepkod");
    if (CheckBox3->Checked())
        c.field = CurrentCode(Table3, "Parckod");
    if (ComboBox1->ItemIndex() >= 0)
        c.sector = ComboBox1->Text();
    return c;
}

void TGepmuvleker::Button1Click(TObject*) {
    Query3.SQL().Clear();
    for (const std::string& line : MachineQueryLines(Choices()))
        Query3.SQL().Add(line);
    Query3.Open();
    RvProject1.ExecuteActiveReport();
    Query3.Close();
}

void TGepmuvleker::Button2Click(TObject*) {
    Close();
}

void TGepmuvleker::CheckBox4Click(TObject*) {
    Table3.SetFiltered(CheckBox4->Checked());
}

void TGepmuvleker::Query3CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("EwjW").SetAsString(
        lists::FarmingYearLabel(DataSet.FieldByName("Evj").AsInteger()));
    const double area = DataSet.FieldByName("Ter_1").AsFloat();
    DataSet.FieldByName("GoxTer").SetAsFloat(DataSet.FieldByName("Gepora").AsFloat() * area *
                                             0.0001);
    DataSet.FieldByName("KexTer").SetAsFloat(DataSet.FieldByName("Keziora").AsFloat() * area *
                                             0.0001);
}
