#include "Gnparszukh.h"

#include "Funch.h"
#include "Gnparcmuvadnyh.h"
#include "core/Isnuminth.h"
#include "diary_conditions.h"
#include "platform/db/exact_filter.h"
#include "platform/db/filter.h"
#include "platform/db/sql/sql.h"
#include "platform/sys/numbers.h"
#include "platform/sys/utf8.h"
#include "platform/ui/application.h"
#include "platform/ui/form_helpers.h"

#include <cmath>

TGNParSzuk* GNParSzuk = nullptr;

namespace {

constexpr const char* kEmptyText = "Nincs megjeleníthető művelet!";
constexpr const char* kEmptyCaption = "A szűkítés eredménye üres!";

std::string Text(double value) {
    return sys::floatToText(value);
}

} // namespace

std::string DiaryConditionTail(const DiaryFieldConditions& c, const std::string& codeColumn) {
    std::string tail;
    if (!c.fields.empty()) {
        tail += " AND (";
        for (std::size_t i = 0; i < c.fields.size(); ++i)
            tail += (i > 0 ? " OR " : "") + codeColumn + " = " + db::sql::quoteSqlText(c.fields[i]);
        tail += ")";
    }
    if (!c.sector.empty())
        tail += " AND parcellak.Agazat = " + db::sql::quoteSqlText(c.sector);
    if (!c.firstYear.empty())
        tail += " AND parcellak.Evj >= " + db::sql::sqlInteger(c.firstYear);
    if (!c.lastYear.empty())
        tail += " AND parcellak.Evj <= " + db::sql::sqlInteger(c.lastYear);
    if (c.serialFrom)
        tail += " AND parcellak.parcsor >= " + std::to_string(*c.serialFrom);
    if (c.serialTo)
        tail += " AND parcellak.parcsor <= " + std::to_string(*c.serialTo);
    if (c.activeOnly)
        tail += " AND Aktiv = 'A'";
    return tail;
}

std::array<double, 3> NutrientPercents(const std::string& felelos) {
    std::array<double, 3> values{0, 0, 0};
    if (felelos.empty() || felelos[0] != 'X')
        return values;
    std::size_t at = 1;
    for (double& value : values) {
        const std::size_t end = felelos.find(';', at);
        if (end == std::string::npos)
            throw sys::ConversionError("'" + felelos + "' nem érvényes tápanyag-összetétel");
        value = sys::parseFloat(felelos.substr(at, end - at));
        at = end + 1;
    }
    return values;
}

double MarkedNitrogenPercent(const std::string& felelos, const std::string& csira) {
    const std::string& text = felelos.empty() ? csira : felelos;
    if (text.empty() || text[0] != 'X')
        return 0;
    const std::size_t end = text.find(';');
    return sys::parseFloat(text.substr(1, end == std::string::npos ? end : end - 1));
}

TGNParSzuk::TGNParSzuk(db::Session& session) : session_(session) {
    SetCaption("Listázandó táblák szűkítése");
    SetClientSize(620, 560);
    SetPosition(ui::poScreenCenter);

    SetUpConditionSets(Table2, Query3, Query1);
    Query6.SQL().Add("SELECT Datum");
    Query6.SQL().Add("FROM ElvMuv");
    Query6.SQL().Add("ORDER BY Datum");
    Table14.SetTableName("kotegyter.db");
    Table14.SetFilter("Deleted = false");
    Table1.SetTableName("Tapterv.db");
    Table3.SetTableName("Parcteny.db");
    Table5.SetTableName("Parckiegadat.db");
    Table7.SetTableName("ElvMuv.db");
    Table7.SetIndexFieldNames("Datum");
    Table7.OnFilterRecord = [](db::TDataSet&, bool& accept) { accept = true; };
    Table8.SetTableName("felhanyag.db");
    Table9.SetTableName("Tapanyagok.db");
    Table10.SetTableName("Novenyvedok.db");
    Table11.SetTableName("Vetomagok.db");
    Table12.SetTableName("felhanyag.db");
    Table13.SetTableName("vizkivet.DB");
    Table13.SetFilter("Deleted = false");
    Table13.SetFiltered(true);
    for (db::TDataSet* rows : std::initializer_list<db::TDataSet*>{&Table14, &Lookup})
        db::CompareWholeValues(*rows);

    for (const char* name : {"elag", "elve", "elho", "utag", "utve", "utho", "Fajta"})
        Query2.AddCalcField(name, db::FieldType::Alpha, 40);
    Query2.AddCalcField("Hozam", db::FieldType::Alpha, 20);
    Query2.AddCalcField("Oldal", db::FieldType::Long);
    Query2.AddCalcField("Sor", db::FieldType::Long);
    Query2.OnCalcFields = [this](db::TDataSet& rows) { Query2CalcFields(rows); };
    Table1.AddCalcField("Tapnev", db::FieldType::Alpha, 24);
    Table1.AddCalcField("MainP", db::FieldType::Alpha, 6);
    Table1.OnCalcFields = [this](db::TDataSet& rows) { Table1CalcFields(rows); };
    Table5.AddCalcField("Faj", db::FieldType::Alpha, 40);
    Table5.AddCalcField("Alanynev", db::FieldType::Alpha, 40);
    Table5.AddCalcField("Reszarany", db::FieldType::Alpha, 20);
    Table5.AddCalcField("Hozam", db::FieldType::Alpha, 20);
    Table5.OnCalcFields = [this](db::TDataSet& rows) { Table5CalcFields(rows); };
    Table7.AddCalcField("TerHa", db::FieldType::Alpha, 20);
    Table7.AddCalcField("Text1", db::FieldType::Alpha, 60);
    for (const char* name : {"Text2", "Text3", "Text4"})
        Table7.AddCalcField(name, db::FieldType::Alpha, 40);
    Table7.AddCalcField("Bido", db::FieldType::Alpha, 30);
    Table7.AddCalcField("Bnev", db::FieldType::Alpha, 50);
    Table7.OnCalcFields = [this](db::TDataSet& rows) { Table7CalcFields(rows); };
    Table8.AddCalcField("Anyagnev", db::FieldType::Alpha, 50);
    Table8.OnCalcFields = [this](db::TDataSet& rows) { Table8CalcFields(rows); };
    Query4.AddCalcField("Terha", db::FieldType::Alpha, 20);
    Query4.OnCalcFields = [this](db::TDataSet& rows) { Query4CalcFields(rows); };
    Table12.AddCalcField("BrMenny", db::FieldType::Alpha, 20);
    Table12.AddCalcField("NPKhata", db::FieldType::Alpha, 50);
    // felhanyag.db keeps a Nitr column of its own: the calculated nitrogen is presented as
    // Nitr_1, as a second column of one name is.
    for (const char* name : {"Nitr_1", "Fosf", "Kali"})
        Table12.AddCalcField(name, db::FieldType::Number);
    Table12.OnCalcFields = [this](db::TDataSet& rows) { Table12CalcFields(rows); };
    Query5.AddCalcField("NitTart", db::FieldType::Alpha, 15);
    Query5.AddCalcField("Talajm", db::FieldType::Alpha, 20);
    for (const char* name : {"Muvter", "Parcter", "Istmenny", "Higmenny", "Mutrmenny", "Egytrmenny",
                             "Nkgph", "Pkgph", "Kkgph"})
        Query5.AddCalcField(name, db::FieldType::Number);
    Query5.AddCalcField("Mutrmegnev", db::FieldType::Alpha, 40);
    Query5.AddCalcField("Egytrnev", db::FieldType::Alpha, 50);
    Query5.AddCalcField("Egytrme", db::FieldType::Alpha, 10);
    Query5.AddCalcField("KetSorsz", db::FieldType::Alpha, 10);
    Query5.OnCalcFields = [this](db::TDataSet& rows) { Query5CalcFields(rows); };

    const DiaryFieldChoice fields = MakeDiaryFieldChoice(this, &DataSource1, 140, true);
    Label1 = fields.heading;
    DBGrid1 = fields.grid;
    CheckBox1 = fields.active;
    CheckBox3 = new ui::TCheckBox(this, "A gazdálkodási éven belüli összes művelet megjelenítése");
    CheckBox3->SetBounds(220, 280, 392, 20);
    CheckBox3->SetChecked(true);
    (new ui::TLabel(this, "Ágazat :"))->SetBounds(8, 312, 200, 16);
    ComboBox1 = new ui::TComboBox(this);
    ComboBox1->SetBounds(220, 308, 200, 22);
    ui::FitToFields(session, "parcellak", {{ComboBox1, "Agazat"}});
    (new ui::TLabel(this, "Első gazdasági év (parcella) :"))->SetBounds(8, 340, 210, 16);
    ComboBox2 = new ui::TComboBox(this);
    ComboBox2->SetBounds(220, 336, 100, 22);
    ui::YearBox(ComboBox2);
    (new ui::TLabel(this, "Utolsó gazdasági év (parcella) :"))->SetBounds(8, 368, 210, 16);
    ComboBox3 = new ui::TComboBox(this);
    ComboBox3->SetBounds(220, 364, 100, 22);
    ui::YearBox(ComboBox3);
    Label7 = new ui::TLabel(this, "Első művelet dátuma :");
    Label7->SetBounds(8, 396, 210, 16);
    DateTimePicker1 = new ui::TDateTimePicker(this);
    DateTimePicker1->SetBounds(220, 392, 120, 22);
    Label8 = new ui::TLabel(this, "Utolsó művelet dátuma :");
    Label8->SetBounds(8, 424, 210, 16);
    DateTimePicker2 = new ui::TDateTimePicker(this);
    DateTimePicker2->SetBounds(220, 420, 120, 22);
    for (ui::TControl* control :
         std::initializer_list<ui::TControl*>{Label7, Label8, DateTimePicker1, DateTimePicker2})
        control->SetEnabled(false);
    CheckBox2 = new ui::TCheckBox(this, "Tábla sorszám :");
    CheckBox2->SetBounds(8, 452, 200, 20);
    Edit2 = new ui::TEdit(this);
    Edit2->SetBounds(220, 450, 60, 22);
    (new ui::TLabel(this, "-tól"))->SetBounds(284, 454, 30, 16);
    Edit3 = new ui::TEdit(this);
    Edit3->SetBounds(320, 450, 60, 22);
    (new ui::TLabel(this, "-ig"))->SetBounds(384, 454, 30, 16);
    Edit2->SetEnabled(false);
    Edit3->SetEnabled(false);
    Label4 = new ui::TLabel(this, "Kezdő oldal:");
    Label4->SetBounds(8, 484, 200, 16);
    Edit1 = new ui::TEdit(this);
    Edit1->SetBounds(220, 480, 60, 22);
    Edit1->SetText("1");
    ui::FitToFields(session, "parcellak", {{Edit2, "Parcsor"}, {Edit3, "Parcsor"}});
    db::Domain page; // a page number
    page.sign = db::Domain::Sign::Positive;
    page.whole = true;
    Edit1->SetDomain(page);
    Label4->SetEnabled(false);
    Edit1->SetEnabled(false);

    Button2 = new ui::TButton(this, "Feltételek törlése");
    Button2->SetBounds(8, 522, 150, 27);
    Button3 = new ui::TButton(this, "Mégsem");
    Button3->SetBounds(422, 522, 90, 27);
    Button1 = new ui::TButton(this, "Nyomtatás");
    Button1->SetBounds(522, 522, 90, 27);
    SetTabOrder({DBGrid1, CheckBox1, ComboBox1, ComboBox2, ComboBox3, DateTimePicker1,
                 DateTimePicker2, CheckBox2, Edit2, Edit3, Edit1, Button1, Button2, Button3});

    PopupMenu1 = new ui::TPopupMenu(this);
    // The captions name the keys that do what the items do.
    PopupMenu1->Add("Nyomtatási kép     CTRL+T", Button1);
    PopupMenu1->Add("Nyomtatás")->OnClick = Handler(&TGNParSzuk::Button4Click);
    PopupMenu1->Add("Feltételek törlése  CTRL+I", Button2);
    PopupMenu1->Add("Mégsem                CTRL+X", Button3);
    Aktivparcellak1 = PopupMenu1->Add("Aktív parcellák      CTRL+A");
    Aktivparcellak1->SetChecked(true);
    Aktivparcellak1->OnClick = Handler(&TGNParSzuk::Aktivparcellak1Click);
    SetPopupMenu(PopupMenu1);

    OnShow = Handler(&TGNParSzuk::FormShow);
    OnActivate = Handler(&TGNParSzuk::FormActivate);
    OnClose = Handler(&TGNParSzuk::FormClose);
    OnKeyPress = Handler(&TGNParSzuk::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2, Button3});
    Button1->OnClick = Handler(&TGNParSzuk::Button1Click);
    Button2->OnClick = Handler(&TGNParSzuk::Button2Click);
    Button3->OnClick = Handler(&TGNParSzuk::Button3Click);
    CheckBox1->OnClick = Handler(&TGNParSzuk::CheckBox1Click);
    CheckBox2->OnClick = Handler(&TGNParSzuk::CheckBox2Click);
}

void TGNParSzuk::ShowOperationDates() {
    Query6.Close();
    Query6.Open();
    Query6.First();
    DateTimePicker1->SetDate(Query6.IsEmpty() ? 0 : Query6.FieldByName("Datum").AsDateTime());
    Query6.Last();
    DateTimePicker2->SetDate(Query6.IsEmpty() ? 0 : Query6.FieldByName("Datum").AsDateTime());
    Query6.Close();
}

void TGNParSzuk::FormShow(TObject*) {
    ShowOperationDates();
    const bool pages = DiaryReportMode >= 1 && DiaryReportMode <= 3;
    Edit1->SetEnabled(pages);
    Label4->SetEnabled(pages);
    const bool dates = DiaryReportMode >= 3 && DiaryReportMode <= 5;
    for (ui::TControl* control :
         std::initializer_list<ui::TControl*>{Label7, Label8, DateTimePicker1, DateTimePicker2})
        control->SetEnabled(dates);
}

void TGNParSzuk::AddYears() {
    ShowConditionYears(Query1, *ComboBox2, *ComboBox3, !activated_);
}

// The lists are filled on the first activation; later ones (a report or a message closing
// in front of the form) only set the two year texts again.
void TGNParSzuk::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table2, &Table14, &Query1, &Query3});
    if (!activated_)
        for (Query3.First(); !Query3.Eof(); Query3.Next())
            ComboBox1->Items().Add(Query3.FieldByName("Agazat").AsString());
    AddYears();
    activated_ = true;
}

void TGNParSzuk::FormClose(TObject*, TCloseAction&) {}

void TGNParSzuk::FormKeyPress(TObject*, TKey& Key) {
    if (Key == 1) { // Ctrl+A
        Aktivparcellak1->Click();
        Key = 0;
        return;
    }
    // T prints, I clears, P and X close.
    ui::Shortcuts(Key, {{'T', Button1}, {'I', Button2}, {'P', Button3}, {'X', Button3}});
}

void TGNParSzuk::CheckBox1Click(TObject*) {
    ActiveFieldBoxClicked(*CheckBox1, *Aktivparcellak1, Table2);
}

void TGNParSzuk::Aktivparcellak1Click(TObject*) {
    ActiveFieldItemChosen(*Aktivparcellak1, *CheckBox1);
}

void TGNParSzuk::CheckBox2Click(TObject*) {
    Edit2->SetEnabled(CheckBox2->Checked());
    Edit3->SetEnabled(CheckBox2->Checked());
}

void TGNParSzuk::Button2Click(TObject*) {
    if (DBGrid1->Focused())
        Button2->SetFocus();
    ComboBox1->SetText("");
    ShowOperationDates();
    DBGrid1->SelectedRows().Clear();
    AddYears();
}

void TGNParSzuk::Button3Click(TObject*) {
    Close();
}

std::vector<std::string> TGNParSzuk::SelectedFields() {
    return SelectedCodes(*DBGrid1, Table2);
}

bool TGNParSzuk::ReadConditions(DiaryFieldConditions& c, bool withSerials) {
    c.firstYear = ComboBox2->Text();
    c.lastYear = ComboBox3->Text();
    if (!NumericInt->IsValidInteger(c.firstYear, "Első gazdasági év") ||
        !NumericInt->IsValidYear(c.firstYear, "Első gazdasági év") ||
        !NumericInt->IsValidInteger(c.lastYear, "Utolsó gazdasági év") ||
        !NumericInt->IsValidYear(c.lastYear, "Utolsó gazdasági év"))
        return false;
    c.fields = SelectedFields();
    c.sector = ComboBox1->Text();
    c.activeOnly = CheckBox1->Checked();
    if (withSerials && CheckBox2->Checked()) {
        // A range that is no number stops the print: printing every field instead would
        // hand the user a sheet they did not ask for.
        if (!NumericInt->IsValidFor(Edit2->Text(), "intervallum kezdete", "parcellak", "Parcsor") ||
            !NumericInt->IsValidFor(Edit3->Text(), "intervallum vége", "parcellak", "Parcsor"))
            return false;
        if (!Edit2->Text().empty())
            c.serialFrom = sys::parseInt(Edit2->Text());
        if (!Edit3->Text().empty())
            c.serialTo = sys::parseInt(Edit3->Text());
    }
    return true;
}

void TGNParSzuk::ReadFieldsOfSheet() {
    sheetFields_.clear();
    materialNames_.clear();
    for (Query2.First(); !Query2.Eof(); Query2.Next())
        sheetFields_[Query2.FieldByName("Parckod").AsString()] = {
            Query2.FieldByName("Agazat").AsString(), Query2.FieldByName("Ter").AsFloat()};
    Query2.First();
}

bool TGNParSzuk::RunIfNotEmpty(db::TQuery& query, TRvProject& project) {
    if (query.IsEmpty()) {
        ui::Application->MessageBox(kEmptyText, kEmptyCaption, ui::MB_OK);
        return false;
    }
    project.ExecuteActiveReport();
    return true;
}

void TGNParSzuk::Button1Click(TObject*) {
    DiaryFieldConditions c;
    if (!ReadConditions(c, true))
        return;
    ConditionTail = DiaryConditionTail(c, "Parckod");
    // An empty start page is page 1, as is one that is no number (after its message).
    const std::string start = Edit1->Text();
    StartPage = !start.empty() && ui::TypedValuesValid(*Edit1) ? sys::parseInt(start) : 1;
    PageCounter = 0;
    if (DiaryReportMode < 1 || DiaryReportMode > 5)
        return;
    const sys::DateTime first = DateTimePicker1->Date();
    const sys::DateTime last = DateTimePicker2->Date();
    if (DiaryReportMode <= 3) {
        // The routines read the yields and seed names as they are now.
        GNParMuvNy->Refresh();
        Query2.Close();
        Query2.SQL().Clear();
        Query2.SQL().Add("SELECT *");
        Query2.SQL().Add("FROM parcellak");
        Query2.SQL().Add("WHERE (1=1)" + ConditionTail);
        Query2.SQL().Add("ORDER BY Evj,Parcsor");
        Query2.Open();
        ReadFieldsOfSheet();
        if (DiaryReportMode == 1) {
            RvProject1.ExecuteActiveReport();
        } else if (DiaryReportMode == 2) {
            RvProject2.ExecuteActiveReport();
        } else {
            Table7.Close();
            Table7.SetFilter("(Datum >= '" + sys::filterDateText(first) + "' And Datum <= '" +
                             sys::filterDateText(last) + "')");
            Table7.SetFiltered(true);
            RunIfNotEmpty(Query2, RvProject3);
        }
        Query2.Close();
        return;
    }
    ConditionTail += " AND Datum >= '" + sys::monthDayYearText(first) + "'" + " AND Datum <= '" +
                     sys::monthDayYearText(last) + "'";
    if (DiaryReportMode == 4) {
        Table13.Open();
        Query4.Close();
        Query4.SQL().Clear();
        for (const char* line :
             {"SELECT *", "FROM ElvMuv", "   INNER JOIN parcellak",
              "   ON  (ElvMuv.Tablakod = parcellak.Parckod)", "   INNER JOIN Ontozes",
              "   ON  (ElvMuv.Muvkod = Ontozes.Muvkod)"})
            Query4.SQL().Add(line);
        Query4.SQL().Add("WHERE (ElvMuv.Evj = 1)" + ConditionTail);
        Query4.SQL().Add("ORDER BY Datum");
        Query4.Open();
        RunIfNotEmpty(Query4, RvProject4);
        Query4.Close();
        Table13.Close();
        return;
    }
    Query5.Close();
    Query5.SQL().Clear();
    for (const char* line :
         {"SELECT *", "FROM ElvMuv", "   INNER JOIN parcellak",
          "   ON  (ElvMuv.Tablakod = parcellak.Parckod)", "   INNER JOIN felhanyag",
          "   ON  (ElvMuv.Muvkod = felhanyag.Muvkod)", "   INNER JOIN Tapanyagok",
          "   ON  (felhanyag.Anyagkod = Tapanyagok.Kod)"})
        Query5.SQL().Add(line);
    Query5.SQL().Add("WHERE (1=1)" + ConditionTail);
    Query5.SQL().Add("ORDER BY Parcsor, Datum, Muvkod");
    TFunc::Batch incorporation(*Func);
    Query5.Open();
    RunIfNotEmpty(Query5, RvProject5);
    Query5.Close();
}

void TGNParSzuk::Button4Click(TObject*) {
    DiaryFieldConditions c;
    if (!ReadConditions(c, false))
        return;
    ConditionTail = DiaryConditionTail(c, "Tablakod");
    db::TQuery& operations = GNParMuvNy->Query1;
    operations.Close();
    operations.SQL().Clear();
    operations.SQL().Add("SELECT *");
    operations.SQL().Add("FROM parcellak,ElvMuv,Erogepek,Munkagepek,Normalhektar");
    operations.SQL().Add("WHERE (Elvmuv.Tablakod = parcellak.Parckod) AND (ElvMuv.Erogepkod = "
                         "Erogepek.Gepkod)AND (Normalhektar.Kod = ElvMuv.Muvid) AND "
                         "(ElvMuv.Munkagepkod = Munkagepek.Gepkod)" +
                         ConditionTail);
    operations.SQL().Add("ORDER BY Evj,Parcsor,Datum,Muvkod");
    operations.Open();
    if (operations.IsEmpty())
        ui::Application->MessageBox(kEmptyText, kEmptyCaption, ui::MB_OK);
    else
        GNParMuvNy->OpenGNDatasets();
}

std::string TGNParSzuk::LookupText(const std::string& table, const std::string& filter,
                                   const std::string& field) {
    Lookup.Close();
    Lookup.SetTableName(table);
    Lookup.SetFilter(filter);
    Lookup.SetFiltered(true);
    Lookup.Open();
    Lookup.First();
    const std::string text = Lookup.IsEmpty() ? "" : Lookup.FieldByName(field).AsString();
    Lookup.Close();
    return text;
}

void TGNParSzuk::Query2CalcFields(db::TDataSet& DataSet) {
    const std::string code = DataSet.FieldByName("Parckod").AsString();
    const CropLists before = GNParMuvNy->GetPredecessorCrop(code);
    DataSet.FieldByName("elag").SetAsString(sys::firstLetters(before.sectors, 40));
    DataSet.FieldByName("elve").SetAsString(sys::firstLetters(before.seedNames, 40));
    DataSet.FieldByName("elho").SetAsString(sys::firstLetters(before.yields, 40));
    const CropLists after = GNParMuvNy->GetSecondCrops(code);
    DataSet.FieldByName("utag").SetAsString(sys::firstLetters(after.sectors, 40));
    DataSet.FieldByName("utve").SetAsString(sys::firstLetters(after.seedNames, 40));
    DataSet.FieldByName("utho").SetAsString(sys::firstLetters(after.yields, 40));
    DataSet.FieldByName("Fajta").SetAsString(
        sys::firstLetters(GNParMuvNy->GetParcelSeedNames(code), 40));
    DataSet.FieldByName("Hozam").SetAsString(sys::firstLetters(
        GNParMuvNy->GetParcelYield(code, DataSet.FieldByName("Ter").AsFloat()), 20));
    // The field's page follows its place in the sheet, so a row calculated again keeps it.
    DataSet.FieldByName("Oldal").SetAsInteger(StartPage + DataSet.RecNo() - 1);
    ++PageCounter;
}

void TGNParSzuk::Table1CalcFields(db::TDataSet& DataSet) {
    const std::string name = LookupText(
        "Tapanyagok.db", "Kod = " + db::quoteFilterText(DataSet.FieldByName("Anyagkod").AsString()),
        "Nev");
    DataSet.FieldByName("Tapnev").SetAsString(sys::firstLetters(name, 24));
}

void TGNParSzuk::Table5CalcFields(db::TDataSet& DataSet) {
    const int kiegid = DataSet.FieldByName("Kiegid").AsInteger();
    if (kiegid == 0)
        return;
    Lookup.Close();
    Lookup.SetTableName("Ultkieg02.DB");
    Lookup.SetFilter("Ultkod = " + std::to_string(kiegid));
    Lookup.SetFiltered(true);
    Lookup.Open();
    Lookup.First();
    if (!Lookup.IsEmpty()) {
        DataSet.FieldByName("Faj").SetAsString(
            sys::firstLetters(Lookup.FieldByName("Faj").AsString(), 40));
        DataSet.FieldByName("Alanynev")
            .SetAsString(sys::firstLetters(Lookup.FieldByName("Alanynev").AsString(), 40));
        DataSet.FieldByName("Reszarany").SetAsString(Lookup.FieldByName("Reszarany").AsString());
        std::string yield = Lookup.FieldByName("Hozam").AsString();
        if (yield.empty()) {
            const std::string code = DataSet.FieldByName("Parckod").AsString();
            auto field = sheetFields_.find(code);
            yield = GNParMuvNy->GetParcelYield(
                code, field == sheetFields_.end() ? 0 : field->second.second);
        }
        DataSet.FieldByName("Hozam").SetAsString(sys::firstLetters(yield, 20));
    }
    Lookup.Close();
}

void TGNParSzuk::Table7CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("TerHa").SetAsString(Text(DataSet.FieldByName("Ter").AsFloat() * 0.0001));
    const std::string depth = DataSet.FieldByName("Szantm").AsString();
    if (!depth.empty() && depth != "0") {
        DataSet.FieldByName("Text2").SetAsString("Mélység:");
        DataSet.FieldByName("Text3").SetAsString(depth);
        DataSet.FieldByName("Text4").SetAsString("cm");
    }
    const double yield = DataSet.FieldByName("Hozam").AsFloat();
    if (yield != 0) {
        std::string what = DataSet.FieldByName("Mellek").AsString();
        if (what.empty()) {
            auto field = sheetFields_.find(DataSet.FieldByName("Tablakod").AsString());
            what = field == sheetFields_.end() ? "" : field->second.first;
        }
        DataSet.FieldByName("Text2").SetAsString(sys::firstLetters(what, 40));
        DataSet.FieldByName("Text3").SetAsString(Text(yield));
        DataSet.FieldByName("Text4").SetAsString("t/ha");
    }
    if (DataSet.FieldByName("Bejelkot").AsBoolean()) {
        const db::TField& when = DataSet.FieldByName("Bejelido");
        DataSet.FieldByName("Bido").SetAsString(when.IsNull() ? ""
                                                              : sys::dateToText(when.AsDateTime()));
        DataSet.FieldByName("Bnev").SetAsString(DataSet.FieldByName("Tajkotmegnev").AsString());
    }
}

// The name of the material of a use, from the master table its code's first digit names.
void TGNParSzuk::Table8CalcFields(db::TDataSet& DataSet) {
    const std::string code = DataSet.FieldByName("Anyagkod").AsString();
    auto known = materialNames_.find(code);
    if (known == materialNames_.end()) {
        const char kind = code.empty() ? ' ' : code[0];
        const std::string filterOf = db::quoteFilterText(code);
        std::string name;
        if (kind == '1')
            name = LookupText("Tapanyagok.db", "Kod = " + filterOf, "Nev");
        else if (kind == '2')
            name = LookupText("Novenyvedok.db", "Kod = " + filterOf, "Nev");
        else if (kind == '3')
            name = LookupText("Vetomagok.db", "Magkod = " + filterOf, "Nev");
        known = materialNames_.emplace(code, name).first;
    }
    DataSet.FieldByName("Anyagnev").SetAsString(sys::firstLetters(known->second, 50));
}

void TGNParSzuk::Query4CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("Terha").SetAsString(Text(DataSet.FieldByName("Ter").AsFloat() * 0.0001));
}

void TGNParSzuk::Table12CalcFields(db::TDataSet& DataSet) {
    const std::array<double, 3> percents =
        NutrientPercents(DataSet.FieldByName("Felelos").AsString());
    const std::string unit = DataSet.FieldByName("Mert").AsString();
    const double scale = unit == "t" || unit == "m3"                   ? 1000
                         : unit == "g" || unit == "ml" || unit == "db" ? 0.001
                                                                       : 1;
    const double dose = DataSet.FieldByName("Menny").AsFloat();
    std::array<double, 3> amounts{};
    for (std::size_t i = 0; i < 3; ++i)
        amounts[i] = percents[i] * 0.01 * dose * scale;
    std::string names;
    if (amounts[0] > 0)
        names += "Nitrogén";
    if (amounts[1] > 0)
        names += " Foszfor";
    if (amounts[2] > 0)
        names += " Kálium";
    DataSet.FieldByName("Nitr_1").SetAsFloat(amounts[0]);
    DataSet.FieldByName("Fosf").SetAsFloat(amounts[1]);
    DataSet.FieldByName("Kali").SetAsFloat(amounts[2]);
    DataSet.FieldByName("NPKhata").SetAsString(
        sys::firstLetters(names + DataSet.FieldByName("Egyhatoany").AsString(), 50));
}

void TGNParSzuk::Query5CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("Muvter").SetAsFloat(DataSet.FieldByName("Ter").AsFloat() * 0.0001);
    DataSet.FieldByName("Parcter").SetAsFloat(DataSet.FieldByName("Ter_1").AsFloat() * 0.0001);
    const std::string unit = DataSet.FieldByName("Mert").AsString();
    const double divisor = unit == "g" || unit == "ml"   ? 1000000
                           : unit == "kg" || unit == "l" ? 1000
                                                         : 1;
    const double dose = DataSet.FieldByName("Menny").AsFloat();
    const double tonnes = dose / divisor;
    if (DataSet.FieldByName("Szervestr").AsBoolean())
        DataSet.FieldByName(DataSet.FieldByName("Higtr").AsBoolean() ? "Higmenny" : "Istmenny")
            .SetAsFloat(tonnes);
    const std::string name = DataSet.FieldByName("Nev").AsString();
    if (DataSet.FieldByName("Mutr").AsBoolean()) {
        DataSet.FieldByName("Mutrmegnev").SetAsString(sys::firstLetters(name, 40));
        DataSet.FieldByName("Mutrmenny").SetAsFloat(tonnes);
    }
    if (DataSet.FieldByName("Egyebtr").AsBoolean()) {
        DataSet.FieldByName("Egytrnev").SetAsString(sys::firstLetters(name, 50));
        DataSet.FieldByName("Egytrmenny").SetAsFloat(dose);
        DataSet.FieldByName("Egytrme").SetAsString(sys::firstLetters(unit + "/ha", 10));
    }
    const std::array<double, 3> percents =
        NutrientPercents(DataSet.FieldByName("Felelos").AsString());
    DataSet.FieldByName("Nkgph").SetAsFloat(tonnes * 1000 * percents[0] * 0.01);
    DataSet.FieldByName("Pkgph").SetAsFloat(tonnes * 1000 * percents[1] * 0.01);
    DataSet.FieldByName("Kkgph").SetAsFloat(tonnes * 1000 * percents[2] * 0.01);
    // The use's marked nitrogen percentage, read from the row itself (the use it names).
    const double nitrogen = MarkedNitrogenPercent(DataSet.FieldByName("Felelos").AsString(),
                                                  DataSet.FieldByName("Csira").AsString());
    const std::string content = Text(sys::roundUp(nitrogen * dose * 0.01, 4));
    DataSet.FieldByName("NitTart").SetAsString(
        content == "0" ? "" : sys::firstLetters(content + " " + unit, 15));
    DataSet.FieldByName("Talajm").SetAsString(sys::firstLetters(
        Func->IncorporationDate(DataSet.FieldByName("Felhid").AsString(), 2), 20));
    if (DataSet.FieldByName("Agrkor").AsBoolean()) {
        const std::string serial =
            LookupText("kotegyter.db",
                       "Id = " + std::to_string(DataSet.FieldByName("Ketid").AsInteger()) +
                           " AND Deleted = false",
                       "Sorsz");
        DataSet.FieldByName("KetSorsz").SetAsString(sys::firstLetters(serial, 10));
    }
}

void OpenDiaryParcelConditions(db::Session& session, int mode, const std::string& projectFile) {
    ui::OwnedForm<TGNParSzuk> form(GNParSzuk, session);
    form->DiaryReportMode = mode;
    if (!projectFile.empty()) {
        TRvProject* project = mode == 3   ? &form->RvProject3
                              : mode == 4 ? &form->RvProject4
                              : mode == 5 ? &form->RvProject5
                                          : nullptr;
        if (project)
            project->SetProjectFile(projectFile);
    }
    form->ShowModal();
}
