#include "Alapadatok1h.h"

#include "Funch.h"
#include "Parckiosztgraphh.h"
#include "core/Isnuminth.h"
#include "platform/db/exact_filter.h"
#include "platform/db/filter.h"
#include "platform/sys/datetime.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_helpers.h"
#include "register/single_row.h"

TAlapadatok1* Alapadatok1 = nullptr;

namespace {

// A calculated text keeps at most its field's width (the data set cuts it).
void Set(db::TDataSet& rows, const char* field, const std::string& text) {
    rows.FieldByName(field).SetAsString(text);
}

std::string Flag(bool set) {
    return set ? "IGEN" : "";
}

constexpr const char* kRemarkColumns[] = {"Pkod",   "Megj",  "Gnszam", "Gnlapsz",
                                          "Gnoszl", "Gnsor", "Date"};
constexpr int kRemarkColumnCount = 7;

} // namespace

SheetPlace SummarySheetPlace(int rowNumber) {
    const int n = rowNumber < 1 ? 1 : rowNumber;
    return {(n - 1) / kSummaryRowsPerPage + 1, (n - 1) % kSummaryRowsPerPage + 1};
}

std::string SupportProgrammes(bool tertam, bool agrkor, bool kat19) {
    std::string text;
    const auto add = [&text](const char* name) {
        if (!text.empty())
            text += ",";
        text += name;
    };
    if (tertam)
        add("SAPS");
    if (agrkor)
        add("AKG");
    if (kat19)
        add("KAT");
    return text;
}

TAlapadatok1::TAlapadatok1(db::Session& session) : session_(session) {
    SetCaption("Alapadatok I.");
    SetClientSize(330, 270);
    SetPosition(ui::poScreenCenter);

    Query1.SQL().Add("SELECT DISTINCT Evj");
    Query1.SQL().Add("FROM parcellak");
    for (const char* line :
         {"SELECT DISTINCT parcellak.Evj,parcellak.Parcsor,parcellak.Saps,parcellak.Kat,"
          "parcellak.Akg,parcellak.Agrkor, parcellak.Hasznkod,parcellak.Parcsor, parcellak.Ter, "
          "parcellak.Parckod,parcellak.Agrkor,parcellak.Kat19,parcellak.Kat20,parcellak.Celp,"
          "parcellak.Kiegtam,parcellak.Tertam",
          "FROM parcellak", "        INNER JOIN Szhelyrajzi",
          "         ON  (parcellak.Parckod = Szhelyrajzi.Parcellakod)",
          "         INNER JOIN tablak", "         ON  (Szhelyrajzi.Helysz = tablak.Tableid)      ",
          "WHERE   ( (parcellak.Evj = :ev)  OR  (parcellak.Aktiv = :Ak1) ) ",
          "           AND  (tablak.Aktiv = 1)  AND (parcellak.Agrkor = :AKG)",
          "GROUP BY parcellak.Evj,parcellak.Parcsor, parcellak.Hasznkod, Szhelyrajzi.Parcellakod, "
          "parcellak.Parcsor, parcellak.Ter, parcellak.Saps,parcellak.Kat,parcellak.Akg, "
          "parcellak.Parckod,parcellak.Agrkor,parcellak.Kat19,parcellak.Kat20,parcellak.Celp,"
          "parcellak.Kiegtam,parcellak.Tertam",
          "ORDER BY parcellak.Evj,parcellak.Parcsor"})
        Query3.SQL().Add(line);
    Query3.ParamByName("ev").SetAsInteger(2002);
    Query3.ParamByName("Ak1").SetAsString("X");
    Query3.ParamByName("AKG").SetAsBoolean(false);
    Query3.AddCalcField("TerKer", db::FieldType::Alpha, 10);
    for (const char* name : {"KotJog", "TVizsg", "Tulajd", "BlokAz"})
        Query3.AddCalcField(name, db::FieldType::Alpha, 25);
    for (const char* name : {"Eloparcs", "Beftablahsz", "Tamprog"})
        Query3.AddCalcField(name, db::FieldType::Alpha, 30);
    Query3.AddCalcField("NewHasznIr", db::FieldType::Alpha, 4);
    Query3.OnCalcFields = [this](db::TDataSet& rows) { Query3CalcFields(rows); };

    Query7.SQL().Add("SELECT *");
    Query7.SQL().Add("FROM parcellak");
    Query7.SQL().Add("WHERE Agrkor = false AND Evj = :ev AND Masod = 'NEM'");
    Query7.SQL().Add("ORDER BY Evj,Parcsor");
    Query7.ParamByName("ev").SetAsInteger(2009);
    Query7.AddCalcField("TerKer", db::FieldType::Alpha, 20);
    Query7.AddCalcField("NewHasznIr", db::FieldType::Alpha, 30);
    Query7.AddCalcField("BlokAz", db::FieldType::Alpha, 20);
    Query7.AddCalcField("Eloparcs", db::FieldType::Alpha, 40);
    Query7.AddCalcField("Beftablahsz", db::FieldType::Alpha, 40);
    Query7.AddCalcField("Na2000", db::FieldType::Alpha, 30);
    for (const char* name : {"Niterz", "Tizket", "Katt"})
        Query7.AddCalcField(name, db::FieldType::Alpha, 15);
    Query7.AddCalcField("MasodHasznIr", db::FieldType::Alpha, 10);
    Query7.OnCalcFields = [this](db::TDataSet& rows) { Query7CalcFields(rows); };

    Query5.SQL().Add("SELECT Szparcellak.Parckod, parcellak.Parcsor");
    Query5.SQL().Add("FROM Szparcellak");
    Query5.SQL().Add("   INNER JOIN parcellak");
    Query5.SQL().Add("   ON  (Szparcellak.Szparckod = parcellak.Parckod)  ");
    Query6.SQL().Add("SELECT Tablak.Helysz, Szhelyrajzi.Parcellakod");
    Query6.SQL().Add("FROM Szhelyrajzi");
    Query6.SQL().Add("   INNER JOIN Tablak");
    Query6.SQL().Add("   ON  (Szhelyrajzi.Helysz = Tablak.Tableid)  ");
    Query8.SQL().Add("SELECT Szparcellak.Parckod, Szparcellak.Szparckod, parcellak.Hasznkod");
    Query8.SQL().Add("FROM Szparcellak");
    Query8.SQL().Add("   INNER JOIN parcellak");
    Query8.SQL().Add("   ON  (Szparcellak.Parckod = parcellak.Parckod)  ");
    Query8.SQL().Add("WHERE  parcellak.Masod = 'IGEN' ");
    Table1.SetTableName("Parclellak02.db");
    for (db::TDataSet* rows :
         std::initializer_list<db::TDataSet*>{&Table1, &Query5, &Query6, &Query8})
        db::CompareWholeValues(*rows);

    RvQueryGN03ParcOssConnection1.FieldAliasList.Add("NewHasznIr=Hasznkod");
    reg::MakeSingleRowConnection(RvEvjConnection1, {"evj1", "evj2"}, [this] {
        return std::vector<std::string>{std::to_string(SheetYear - 1), std::to_string(SheetYear)};
    });
    RvCustomGN03MegjConnection1.OnOpen =
        report::Bind(this, &TAlapadatok1::RvCustomGN03MegjConnection1Open);
    RvCustomGN03MegjConnection1.OnFirst =
        report::Bind(this, &TAlapadatok1::RvCustomGN03MegjConnection1First);
    RvCustomGN03MegjConnection1.OnNext =
        report::Bind(this, &TAlapadatok1::RvCustomGN03MegjConnection1Next);
    RvCustomGN03MegjConnection1.OnEOF =
        report::Bind(this, &TAlapadatok1::RvCustomGN03MegjConnection1EOF);
    RvCustomGN03MegjConnection1.OnGetCols =
        report::Bind(this, &TAlapadatok1::RvCustomGN03MegjConnection1GetCols);
    RvCustomGN03MegjConnection1.OnGetRow =
        report::Bind(this, &TAlapadatok1::RvCustomGN03MegjConnection1GetRow);

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 8, 314, 80}, "Szűkítés :");
    ui::Make<ui::TLabel>(GroupBox1, {10, 24, 100, 16}, "Gazdasági év :");
    DBLookupComboBox1 = ui::Make<ui::TDBLookupComboBox>(GroupBox1, {120, 20, 100, 22});
    DBLookupComboBox1->SetEnabled(false);
    CheckBox1 = ui::Make<ui::TCheckBox>(GroupBox1, {10, 52, 200, 20}, "Aktív parcellák");
    CheckBox1->SetChecked(true);
    GroupBox3 = ui::Make<ui::TGroupBox>(this, {8, 96, 314, 52}, "Gazdasági év");
    ui::Make<ui::TLabel>(GroupBox3, {10, 24, 100, 16}, "Gazdasági év :");
    DBLookupComboBox2 = ui::Make<ui::TDBLookupComboBox>(GroupBox3, {120, 20, 100, 22});
    GroupBox3->SetVisible(false);
    for (ui::TDBLookupComboBox* box : {DBLookupComboBox1, DBLookupComboBox2}) {
        box->SetListSource(&DataSource1);
        box->SetKeyField("Evj");
        box->SetListField("Evj");
    }
    GroupBox2 = ui::Make<ui::TGroupBox>(this, {8, 156, 314, 48}, "Parcellák :");
    CheckBox2 = ui::Make<ui::TCheckBox>(GroupBox2, {10, 20, 200, 20}, "Csak AKG-s");
    CheckBox2->SetChecked(true);
    ui::Make<ui::TLabel>(this, {8, 212, 60, 16}, "Lapszám:")->SetVisible(false);
    Edit1 = ui::Make<ui::TEdit>(this, {70, 210, 40, 22});
    Edit1->SetVisible(false);
    CheckBox3 = ui::Make<ui::TCheckBox>(this, {120, 212, 200, 20}, "Területeket kerekítve");
    CheckBox3->SetVisible(false);
    Button3 = ui::Make<ui::TButton>(this, {122, 236, 96, 27}, "Nyomtatás");
    Button4 = ui::Make<ui::TButton>(this, {226, 236, 96, 27}, "Bezár");
    StringGrid1 = ui::Make<ui::TStringGrid>(this, {0, 0, 10, 10});
    StringGrid1->SetVisible(false);
    StringGrid1->SetColCount(kRemarkColumnCount);
    StringGrid1->SetFixedRows(0);
    StringGrid1->SetFixedCols(0);
    StringGrid1->SetRowCount(1);

    OnShow = Handler(&TAlapadatok1::FormShow);
    OnActivate = Handler(&TAlapadatok1::FormActivate);
    SetEnterMovesLikeTab(true, {Button3, Button4});
    CheckBox1->OnClick = Handler(&TAlapadatok1::CheckBox1Click);
    DBLookupComboBox1->OnClick = Handler(&TAlapadatok1::DBLookupComboBox1Click);
    DBLookupComboBox2->OnClick = Handler(&TAlapadatok1::DBLookupComboBox2Click);
    Button3->OnClick = Handler(&TAlapadatok1::Button3Click);
    Button4->OnClick = Handler(&TAlapadatok1::Button4Click);
    for (db::TDataSet* rows :
         std::initializer_list<db::TDataSet*>{&Query1, &Query3, &Query7, &Query8})
        CloseOnClose(rows);
}

TAlapadatok1::~TAlapadatok1() = default;

void TAlapadatok1::FormShow(TObject*) {
    SetClientSize(330, 270);
}

// Both year boxes show the year Query1 stands on.
void TAlapadatok1::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Query1, &Query8, &FarmRow1.Table});
    Query1.Last();
    if (Query1.IsEmpty()) {
        Button3->SetEnabled(false);
        return;
    }
    const db::Value year = Query1.FieldByName("Evj").AsValue();
    DBLookupComboBox1->SetKeyValue(year);
    DBLookupComboBox2->SetKeyValue(year);
}

void TAlapadatok1::CheckBox1Click(TObject*) {
    DBLookupComboBox1->SetEnabled(!CheckBox1->Checked());
}

void TAlapadatok1::DBLookupComboBox1Click(TObject*) {
    DBLookupComboBox2->SetKeyValue(DBLookupComboBox1->KeyValue());
}

void TAlapadatok1::DBLookupComboBox2Click(TObject*) {
    DBLookupComboBox1->SetKeyValue(DBLookupComboBox2->KeyValue());
}

void TAlapadatok1::Button4Click(TObject*) {
    Close();
}

int TAlapadatok1::ChosenYear() {
    if (!Query1.Active())
        Query1.Open();
    return Query1.IsEmpty() ? 0 : Query1.FieldByName("Evj").AsInteger();
}

void TAlapadatok1::Button3Click(TObject*) {
    // 1-2. The sheet's year and its query's parameters.
    const bool tableSummary = TableSummaryYear.has_value();
    const bool everyActive = !tableSummary && CheckBox1->Checked();
    if (!tableSummary && ChosenYear() == 0) {
        NumericInt->IsYearChosen("", false, "Gazdasági év"); // no field, so no year yet
        return;
    }
    if (tableSummary) {
        SheetYear = *TableSummaryYear;
        Query7.Close();
        Query7.ParamByName("ev").SetAsInteger(SheetYear);
        remarkSheet_ = "GN-06";
    } else {
        // Ticked: every active field of any year (no field has the year 1).
        SheetYear = ChosenYear();
        Query3.Close();
        Query3.ParamByName("ev").SetAsInteger(everyActive ? 1 : SheetYear);
        Query3.ParamByName("Ak1").SetAsString(everyActive ? "A" : "X");
        remarkSheet_ = "GN03";
    }
    // 3. A fresh remark list; the lookups read once for the whole print.
    ClearRemarks();
    SheetRowCounter = 0;
    ReportOpened = false;
    ReadPrintLookups();
    const std::shared_ptr<void> release(nullptr, [this](void*) { lookups_.reset(); });
    TFunc::ParcelBatch parcels(*Func);
    // 4. Both queries recalculated.
    Query3.Close();
    Query3.Open();
    Query7.Close();
    Query7.Open();
    // With every active field the sheet's year is that of the fields printed, the latest
    // among them (the rows come in year order), not the placeholder 1.
    if (everyActive && !Query3.IsEmpty()) {
        Query3.Last();
        SheetYear = Query3.FieldByName("Evj").AsInteger();
        Query3.First();
    }
    // 5. The rows the report reads add the remarks.
    ReportOpened = true;
    SheetRowCounter = 0;
    RvProject1.ExecuteActiveReport();
}

void TAlapadatok1::ReadPrintLookups() {
    auto lookups = std::make_unique<PrintLookups>();
    const auto readAll = [](db::TDataSet& rows, const std::function<void()>& row) {
        rows.Close();
        rows.SetFiltered(false);
        rows.Open();
        for (rows.First(); !rows.Eof(); rows.Next())
            row();
        rows.Close();
    };
    readAll(Query5, [&] {
        lookups->predecessors[Query5.FieldByName("Parckod").AsString()].push_back(
            Query5.FieldByName("Parcsor").AsString());
    });
    readAll(Query6, [&] {
        lookups->landParcels[Query6.FieldByName("Parcellakod").AsString()].push_back(
            Query6.FieldByName("Helysz").AsString());
    });
    const bool query8Open = Query8.Active();
    readAll(Query8, [&] {
        lookups->secondCrops.try_emplace(Query8.FieldByName("Szparckod").AsString(),
                                         Query8.FieldByName("Hasznkod").AsString());
    });
    if (query8Open)
        Query8.Open();
    readAll(Table1, [&] {
        lookups->soilTests.try_emplace(Table1.FieldByName("Parckod").AsString(),
                                       Table1.FieldByName("Kotjog").AsString(),
                                       Table1.FieldByName("Tvizsgtip").AsString());
    });
    lookups_ = std::move(lookups);
}

// --- the calculated fields --------------------------------------------------------------

void TAlapadatok1::SoilTest(const std::string& code, std::string& kotjog, std::string& tvizsgtip) {
    if (lookups_) {
        auto found = lookups_->soilTests.find(code);
        kotjog = found == lookups_->soilTests.end() ? "" : found->second.first;
        tvizsgtip = found == lookups_->soilTests.end() ? "" : found->second.second;
        return;
    }
    OpenFiltered(Table1, db::filterEquals("Parckod", code));
    Table1.First();
    kotjog = Table1.IsEmpty() ? "" : Table1.FieldByName("Kotjog").AsString();
    tvizsgtip = Table1.IsEmpty() ? "" : Table1.FieldByName("Tvizsgtip").AsString();
    Table1.Close();
}

void TAlapadatok1::Query3CalcFields(db::TDataSet& DataSet) {
    const std::string code = DataSet.FieldByName("Parckod").AsString();
    // The row's place in the sheet, so that a row calculated again keeps its line.
    SheetRowCounter = DataSet.RecNo();
    Set(DataSet, "TerKer",
        sys::floatToText(charts::AreaHaTruncated(DataSet.FieldByName("Ter").AsFloat())));
    std::string kotjog, tvizsgtip;
    SoilTest(code, kotjog, tvizsgtip);
    Set(DataSet, "KotJog", kotjog);
    Set(DataSet, "TVizsg", tvizsgtip);
    Set(DataSet, "Tulajd", Func->UseRightLetter(code));
    Set(DataSet, "NewHasznIr", Func->LandUseName(code));
    Set(DataSet, "BlokAz", Func->BlockOf(code));
    Set(DataSet, "Eloparcs", PredecessorSerials(code));
    Set(DataSet, "Beftablahsz", LandParcelList(code));
    Set(DataSet, "Tamprog", SupportProgrammeText());
}

void TAlapadatok1::Query7CalcFields(db::TDataSet& DataSet) {
    const std::string code = DataSet.FieldByName("Parckod").AsString();
    SheetRowCounter = DataSet.RecNo();
    Set(DataSet, "TerKer",
        sys::floatToText(charts::AreaHaTruncated(DataSet.FieldByName("Ter").AsFloat())));
    Set(DataSet, "NewHasznIr", Func->LandUseName(code));
    Set(DataSet, "BlokAz", Func->BlockOf(code));
    Set(DataSet, "Eloparcs", PredecessorSerials(code));
    Set(DataSet, "Beftablahsz", LandParcelList(code));
    Set(DataSet, "Na2000", Flag(DataSet.FieldByName("Nat2000").AsBoolean()));
    Set(DataSet, "Niterz", Flag(DataSet.FieldByName("Nitr").AsBoolean()));
    Set(DataSet, "Tizket", Flag(DataSet.FieldByName("Tizszaz").AsBoolean()));
    Set(DataSet, "Katt", Flag(DataSet.FieldByName("Nkat").AsBoolean()));
    Set(DataSet, "MasodHasznIr", SecondCropUse(code));
}

std::string TAlapadatok1::SecondCropUse(const std::string& code) {
    if (lookups_) {
        auto found = lookups_->secondCrops.find(code);
        return found == lookups_->secondCrops.end() ? "" : found->second;
    }
    const bool wasOpen = Query8.Active();
    Query8.SetFilter(db::filterEquals("Szparckod", code));
    Query8.SetFiltered(true);
    if (!wasOpen)
        Query8.Open();
    Query8.First();
    return Query8.IsEmpty() ? "" : Query8.FieldByName("Hasznkod").AsString();
}

std::string TAlapadatok1::PredecessorSerials(const std::string& code) {
    std::vector<std::string> serials;
    if (lookups_) {
        auto found = lookups_->predecessors.find(code);
        if (found != lookups_->predecessors.end())
            serials = found->second;
    } else {
        OpenFiltered(Query5, db::filterEquals("Parckod", code));
        for (Query5.First(); !Query5.Eof(); Query5.Next())
            serials.push_back(Query5.FieldByName("Parcsor").AsString());
        Query5.Close();
    }
    std::string text;
    for (const std::string& serial : serials)
        text += serial + ",";
    return text;
}

std::vector<std::string> TAlapadatok1::LandRegistryNumbers(const std::string& code) {
    if (lookups_) {
        auto found = lookups_->landParcels.find(code);
        return found == lookups_->landParcels.end() ? std::vector<std::string>{} : found->second;
    }
    std::vector<std::string> numbers;
    OpenFiltered(Query6, db::filterEquals("Parcellakod", code));
    for (Query6.First(); !Query6.Eof(); Query6.Next())
        numbers.push_back(Query6.FieldByName("Helysz").AsString());
    Query6.Close();
    return numbers;
}

std::string TAlapadatok1::LandParcelList(const std::string& code) {
    const std::vector<std::string> numbers = LandRegistryNumbers(code);
    std::string list;
    for (const std::string& number : numbers)
        list += number + ",";
    if (numbers.size() <= 1)
        return list;
    if (!RemarkRowExists(code) && ReportOpened)
        AddRemarkRow(code, list);
    return "*" + sys::dateToText(sys::today()).substr(5);
}

bool TAlapadatok1::RemarkRowExists(const std::string& code) const {
    return remarkCodes_.count(code) > 0;
}

// The grid's last row is always the empty one: the remark fills it and a new empty row
// follows.
void TAlapadatok1::AddRemarkRow(const std::string& code, const std::string& list) {
    const SheetPlace place = SummarySheetPlace(SheetRowCounter);
    const int row = StringGrid1->RowCount() - 1;
    StringGrid1->SetRows(row, {code, list, remarkSheet_, std::to_string(place.page), "5",
                               std::to_string(place.line), sys::dateToText(sys::today())});
    StringGrid1->SetRowCount(row + 2);
    remarkCodes_.insert(code);
}

// Each print lists the remarks of its own rows: a remark left from an earlier print of
// the form would name the line its field had on that sheet.
void TAlapadatok1::ClearRemarks() {
    StringGrid1->SetRowCount(0);
    StringGrid1->SetRowCount(1);
    remarkCodes_.clear();
}

std::string TAlapadatok1::SupportProgrammeText() {
    return SupportProgrammes(Query3.FieldByName("Tertam").AsBoolean(),
                             Query3.FieldByName("Agrkor").AsBoolean(),
                             Query3.FieldByName("Kat19").AsBoolean());
}

// --- the remark rows' connection ---------------------------------------------------------

void TAlapadatok1::RvCustomGN03MegjConnection1Open(TRvCustomConnection* Connection) {
    Connection->DataRows = 1;
    Connection->DataIndex = 0;
}

void TAlapadatok1::RvCustomGN03MegjConnection1First(TRvCustomConnection* Connection) {
    Connection->DataIndex = 0;
}

void TAlapadatok1::RvCustomGN03MegjConnection1Next(TRvCustomConnection* Connection) {
    ++Connection->DataIndex;
}

void TAlapadatok1::RvCustomGN03MegjConnection1EOF(TRvCustomConnection* Connection, bool& Eof) {
    Eof = Connection->DataIndex >= StringGrid1->RowCount();
}

void TAlapadatok1::RvCustomGN03MegjConnection1GetCols(TRvCustomConnection* Connection) {
    for (const char* name : kRemarkColumns)
        Connection->DefineColumn(name, dtString, 50, "Cím", "Description 1");
}

void TAlapadatok1::RvCustomGN03MegjConnection1GetRow(TRvCustomConnection* Connection) {
    for (int col = 0; col < kRemarkColumnCount; ++col)
        Connection->PutStringColumn("", StringGrid1->Cells(col, Connection->DataIndex));
}

// --- the openers -------------------------------------------------------------------------

void OpenParcelSummary(db::Session& session) {
    ui::OwnedForm<TAlapadatok1> form(Alapadatok1, session);
    form->RvProject1.SetProjectFile("GN03Parcellak.rav");
    form->GroupBox3->SetVisible(true);
    form->Query3.ParamByName("AKG").SetAsBoolean(true);
    form->ShowModal();
}

void PrintParcelSummaryUnshown(db::Session& session, const std::string& farmingYear) {
    const std::string text(sys::trim(farmingYear));
    db::TTable fields(session);
    fields.SetTableName("parcellak");
    fields.Open();
    if (!NumericInt->IsYearChosen(text, !fields.IsEmpty(), "Gazdasági év"))
        return;
    const std::optional<int> year = YearOf(text);
    ui::OwnedForm<TAlapadatok1> form(Alapadatok1, session);
    form->GroupBox3->SetVisible(true);
    form->CheckBox1->SetChecked(false);
    form->RvProject1.SetProjectFile("09GN06Parcellak.rav");
    form->Query1.Open();
    form->Query8.Open();
    form->Query1.Last();
    form->TableSummaryYear = *year;
    form->Button3->Click();
}
