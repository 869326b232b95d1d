#include "Fhaszntervh.h"

#include "Agazaticsoporth.h"
#include "core/Isnuminth.h"
#include "platform/sys/numbers.h"
#include "platform/ui/form_helpers.h"
#include "register/single_row.h"

#include <cmath>

Tfoldhasznterv* foldhasznterv = nullptr;

namespace reg {

double CropGroupShare(double groupArea, double programmeArea, int years) {
    if (programmeArea <= 0)
        return 0;
    return std::ceil(groupArea / (programmeArea * years) * 100 * 100) * 0.01;
}
} // namespace reg

Tfoldhasznterv::Tfoldhasznterv(db::Session& session) : session_(session) {
    SetCaption("Földhasználati tervkészítés");
    SetClientSize(900, 640);
    SetPosition(ui::poScreenCenter);

    Query1.SQL().Add("SELECT kotegyter.Id, kotegyter.Sorsz, kotegyter.Meresij, kotegyter.Ter, "
                     "kotegyter.Akgkod, kotegyter.Hazimen, kotegyter.Akgmuvag, celprogramok.Id, "
                     "celprogramok.Kod, celprogramok.Megnev, kotegyter.Deleted");
    Query1.SQL().Add("FROM kotegyter");
    Query1.SQL().Add("INNER JOIN celprogramok");
    Query1.SQL().Add("ON  (kotegyter.Akgkod = celprogramok.Id)");
    Query1.SQL().Add("WHERE kotegyter.Deleted = False");
    Query1.SQL().Add("ORDER BY kotegyter.Sorsz");
    Query1.AfterScroll = [this](db::TDataSet& rows) { Query1AfterScroll(rows); };
    Query2.SQL().Add("SELECT *");
    Query2.SQL().Add("FROM parcellak");
    Query2.SQL().Add("WHERE Aktiv = 'A'");
    Query2.SQL().Add("ORDER BY Evj,Parcsor");
    Query2.AfterScroll = [this](db::TDataSet& rows) { Query2AfterScroll(rows); };
    Table1.SetTableName("Foldhasznterv.DB");
    Table2.SetTableName("Agazaticsoport.DB");
    Table3.SetTableName("Magfajtak.db");
    Table3.SetIndexName("MagfajtakFIdx");
    Query3.SQL().Add("SELECT *");
    Query3.SQL().Add("FROM Foldhasznterv");
    Query3.SQL().Add("INNER JOIN Magfajtak");
    Query3.SQL().Add("ON  (Foldhasznterv.Agazatid = Magfajtak.Fajkod)");
    Query3.SQL().Add("INNER JOIN Agazaticsoport");
    Query3.SQL().Add("ON  (Foldhasznterv.Agazcsopid = Agazaticsoport.Id)");
    Query3.SQL().Add("INNER JOIN kotegyter");
    Query3.SQL().Add("ON  (Foldhasznterv.Ketid = kotegyter.Id)");
    Query3.SQL().Add("WHERE Foldhasznterv.Deleted = False");
    Query4.SQL().Add("SELECT SUM(Ter) SumTer");
    Query4.SQL().Add("FROM kotegyter");
    Query4.SQL().Add("WHERE Deleted = false AND Akgkod = :Akgkod");
    Query5.SQL().Add("SELECT SUM(Foldhasznterv.Ter) SumTer, Foldhasznterv.Agazcsopid, "
                     "Agazaticsoport.Nev");
    Query5.SQL().Add("FROM Foldhasznterv");
    Query5.SQL().Add(" INNER JOIN kotegyter");
    Query5.SQL().Add(" ON Foldhasznterv.Ketid = kotegyter.Id");
    Query5.SQL().Add(" INNER JOIN Agazaticsoport");
    Query5.SQL().Add(" ON Foldhasznterv.Agazcsopid = Agazaticsoport.Id");
    Query5.SQL().Add("WHERE Foldhasznterv.Deleted = false AND kotegyter.Akgkod = :Akgkod AND "
                     "Agazaticsoport.Deleted = false");
    Query5.SQL().Add("GROUP BY Foldhasznterv.Agazcsopid, Agazaticsoport.Nev");
    Query5.AddCalcField("Agazperc", db::FieldType::Number);
    Query5.AddCalcField("Otagazparc", db::FieldType::Number);
    Query5.OnCalcFields = [this](db::TDataSet& rows) { Query5CalcFields(rows); };
    reg::MakeSingleRowConnection(RvCFTerv, {"cepl", "osszter", "ev"}, [this] {
        return std::vector<std::string>{Query1.IsEmpty() ? ""
                                                         : Query1.FieldByName("Megnev").AsString(),
                                        sys::floatToText(ProgrammeArea), ComboBox1->Text()};
    });

    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 8, 540, 150);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Sorsz", "Sorsz.", 50);
    DBGrid1->Columns().Add("Hazimen", "Házi megnevezés", 160);
    DBGrid1->Columns().Add("Ter", "Terület (ha)", 80);
    DBGrid1->Columns().Add("Kod", "AKG", 60);
    DBGrid1->Columns().Add("Megnev", "Célprogram", 170);
    Label1 = new ui::TLabel(this, "");
    Label1->SetBounds(556, 8, 336, 40);
    Label1->SetWordWrap(true);
    Label2 = new ui::TLabel(this, "KET = 0 ha");
    Label2->SetBounds(556, 52, 336, 16);
    (new ui::TLabel(this, "Gazdasági év :"))->SetBounds(556, 80, 100, 16);
    ComboBox1 = new ui::TComboBox(this);
    ComboBox1->SetBounds(660, 76, 80, 22);
    ui::YearBox(ComboBox1);
    for (const char* year : {"2010", "2011", "2012", "2013", "2014"})
        ComboBox1->Items().Add(year);
    ComboBox1->SetText("2010");

    (new ui::TLabel(this, "Elővetemény táblája :"))->SetBounds(8, 166, 200, 16);
    DBGrid2 = new ui::TDBGrid(this);
    DBGrid2->SetBounds(8, 184, 420, 150);
    DBGrid2->SetDataSource(&DataSource2);
    DBGrid2->SetReadOnly(true);
    DBGrid2->SetRowSelect(true);
    DBGrid2->Columns().Add("Evj", "G. év", 50);
    DBGrid2->Columns().Add("Parcsor", "S.sz.", 45);
    DBGrid2->Columns().Add("Agazat", "Ágazat", 150);
    DBGrid2->Columns().Add("Ter", "Terület", 80);

    (new ui::TLabel(this, "Növénykultúra csoport :"))->SetBounds(440, 187, 160, 16);
    DBLookupComboBox1 = new ui::TDBLookupComboBox(this);
    DBLookupComboBox1->SetBounds(600, 184, 250, 22);
    DBLookupComboBox1->SetListSource(&DataSource4);
    DBLookupComboBox1->SetKeyField("Id");
    DBLookupComboBox1->SetListField("Nev");
    Button5 = new ui::TButton(this, "+");
    Button5->SetBounds(856, 184, 36, 22);
    (new ui::TLabel(this, "Ágazat megnevezése :"))->SetBounds(440, 215, 160, 16);
    DBLookupComboBox2 = new ui::TDBLookupComboBox(this);
    DBLookupComboBox2->SetBounds(600, 212, 250, 22);
    DBLookupComboBox2->SetListSource(&DataSource5);
    DBLookupComboBox2->SetKeyField("Fajkod");
    DBLookupComboBox2->SetListField("Faj");
    (new ui::TLabel(this, "Terület :"))->SetBounds(440, 243, 160, 16);
    Edit1 = new ui::TEdit(this);
    Edit1->SetBounds(600, 240, 100, 22);
    ui::FitToFields(session, "Foldhasznterv", {{Edit1, "Ter"}});
    (new ui::TLabel(this, "ha"))->SetBounds(706, 243, 30, 16);
    (new ui::TLabel(this, "Elővetemény :"))->SetBounds(440, 271, 160, 16);
    Edit2 = new ui::TEdit(this);
    Edit2->SetBounds(600, 268, 250, 22);
    Edit2->SetMaxLength(200);
    Button1 = new ui::TButton(this, "Küldés a tervbe -->>");
    Button1->SetBounds(700, 300, 150, 27);

    (new ui::TLabel(this, "KET-hez tartozó terv táblák:"))->SetBounds(8, 342, 300, 16);
    DBGrid3 = new ui::TDBGrid(this);
    DBGrid3->SetBounds(8, 360, 500, 230);
    DBGrid3->SetDataSource(&DataSource3);
    DBGrid3->SetReadOnly(true);
    DBGrid3->SetRowSelect(true);
    DBGrid3->Columns().Add("Faj", "Ágazat", 150);
    DBGrid3->Columns().Add("Nev", "Növénykultúra csoport", 150);
    DBGrid3->Columns().Add("Ter", "Terület (ha)", 80);
    DBGrid3->Columns().Add("Elovet", "Elővetemény", 110);
    (new ui::TLabel(this, "Növénykultúra csoportok százalékos megoszlása :"))
        ->SetBounds(516, 342, 376, 16);
    DBGrid4 = new ui::TDBGrid(this);
    DBGrid4->SetBounds(516, 360, 376, 230);
    DBGrid4->SetDataSource(&DataSource6);
    DBGrid4->SetReadOnly(true);
    DBGrid4->Columns().Add("Nev", "Növénykultúra csoport", 150);
    DBGrid4->Columns().Add("SumTer", "terület", 70);
    DBGrid4->Columns().Add("Agazperc", "éves %", 65);
    DBGrid4->Columns().Add("Otagazparc", "Ötévi %", 65);

    Button2 = new ui::TButton(this, "törlés");
    Button2->SetBounds(8, 602, 90, 27);
    Button3 = new ui::TButton(this, "nyomtatás");
    Button3->SetBounds(700, 602, 90, 27);
    Button4 = new ui::TButton(this, "bezárás");
    Button4->SetBounds(802, 602, 90, 27);

    OnShow = Handler(&Tfoldhasznterv::FormShow);
    OnClose = Handler(&Tfoldhasznterv::FormClose);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2, Button3, Button4, Button5});
    Button1->OnClick = Handler(&Tfoldhasznterv::Button1Click);
    Button2->OnClick = Handler(&Tfoldhasznterv::Button2Click);
    Button3->OnClick = Handler(&Tfoldhasznterv::Button3Click);
    Button4->OnClick = Handler(&Tfoldhasznterv::Button4Click);
    Button5->OnClick = Handler(&Tfoldhasznterv::Button5Click);
}

void Tfoldhasznterv::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Table2, &Table3, &Query2, &Query1});
    KetChanged();
}

void Tfoldhasznterv::FormClose(TObject*, TCloseAction&) {
    for (db::TQuery* rows : {&Query3, &Query4, &Query5})
        rows->Close();
}

void Tfoldhasznterv::Query1AfterScroll(db::TDataSet&) {
    if (Table1.Active())
        KetChanged();
}

void Tfoldhasznterv::Query2AfterScroll(db::TDataSet& DataSet) {
    if (DataSet.IsEmpty())
        return;
    Edit2->SetText(DataSet.FieldByName("Agazat").AsString());
    Edit1->SetText(sys::floatToText(DataSet.FieldByName("Ter").AsFloat() * 0.0001));
}

void Tfoldhasznterv::Query5CalcFields(db::TDataSet& DataSet) {
    const double area = DataSet.FieldByName("SumTer").AsFloat();
    DataSet.FieldByName("Agazperc").SetAsFloat(reg::CropGroupShare(area, ProgrammeArea, 1));
    DataSet.FieldByName("Otagazparc").SetAsFloat(reg::CropGroupShare(area, ProgrammeArea, 5));
}

bool Tfoldhasznterv::YearIsValid() {
    return NumericInt->IsValidInteger(ComboBox1->Text(), "Gazdasági év") &&
           NumericInt->IsValidYear(ComboBox1->Text(), "Gazdasági év");
}

// The plan lines of the current KET and year, or (for the printout) of every KET.
void Tfoldhasznterv::FilterPlanLines(bool allKets) {
    std::string filter = "Deleted = False";
    if (!allKets)
        filter += " AND Ketid = " +
                  std::to_string(Query1.IsEmpty() ? -1 : Query1.FieldByName("Id").AsInteger());
    const std::string year = ComboBox1->Text();
    filter += " AND Ev = " + (year.empty() ? std::string("0") : std::to_string(std::stoi(year)));
    Query3.Close();
    Query3.SetFilter(filter);
    Query3.SetFiltered(true);
    Query3.Open();
}

void Tfoldhasznterv::KetChanged() {
    const int programme = Query1.IsEmpty() ? -1 : Query1.FieldByName("Akgkod").AsInteger();
    Label1->SetCaption(Query1.IsEmpty() ? "" : Query1.FieldByName("Megnev").AsString());
    Query4.Close();
    Query4.ParamByName("Akgkod").SetAsInteger(programme);
    Query4.Open();
    ProgrammeArea = Query4.FieldByName("SumTer").AsFloat();
    Query4.Close();
    Label2->SetCaption("KET = " + sys::floatToText(ProgrammeArea) + " ha");
    Query5.Close();
    Query5.ParamByName("Akgkod").SetAsInteger(programme);
    Query5.Open();
    if (YearIsValid())
        FilterPlanLines(false);
    Table2.SetFilter("Celpid = " + std::to_string(programme) + " AND Deleted = False");
    Table2.SetFiltered(true);
}

// Adds the line to the plan of the current KET and year; a line names its crop group and
// crop, and its area is a number.
void Tfoldhasznterv::Button1Click(TObject*) {
    if (Query1.IsEmpty() || !YearIsValid() ||
        !NumericInt->IsValidFor(Edit1->Text(), "Terület", "Foldhasznterv", "Ter"))
        return;
    const db::Value group = DBLookupComboBox1->KeyValue();
    const db::Value crop = DBLookupComboBox2->KeyValue();
    if (db::isNull(group) || db::isNull(crop) || ComboBox1->Text().empty()) {
        ui::MessageDlg("Kérem válassza ki a növénykultúra csoportot, az ágazatot és az évet!",
                       ui::mtWarning, ui::mbOK);
        return;
    }
    Table1.Insert();
    Table1.FieldByName("Agazcsopid").SetAsValue(group);
    Table1.FieldByName("Agazatid").SetAsValue(crop);
    Table1.FieldByName("Ter").SetAsString(Edit1->Text());
    Table1.FieldByName("Deleted").SetAsBoolean(false);
    Table1.FieldByName("Ev").SetAsString(ComboBox1->Text());
    Table1.FieldByName("Elovet").SetAsString(Edit2->Text());
    Table1.FieldByName("Ketid").SetAsInteger(Query1.FieldByName("Id").AsInteger());
    Table1.Post();
    Table1.FlushBuffers();
    Edit2->Clear();
    KetChanged();
}

// Deletes (marks deleted) the plan line selected in the list.
void Tfoldhasznterv::Button2Click(TObject*) {
    if (!Query3.Active() || Query3.IsEmpty())
        return;
    if (!Table1.Locate("Id", {db::Value(Query3.FieldByName("Id").AsInteger())}))
        return;
    Table1.Edit();
    Table1.FieldByName("Deleted").SetAsBoolean(true);
    Table1.Post();
    Table1.FlushBuffers();
    KetChanged();
}

void Tfoldhasznterv::Button3Click(TObject*) {
    if (!YearIsValid())
        return;
    FilterPlanLines(true);
    RvProject1.ExecuteActiveReport();
    FilterPlanLines(false);
}

void Tfoldhasznterv::Button4Click(TObject*) {
    Close();
}

void Tfoldhasznterv::Button5Click(TObject*) {
    ui::ShowModalForm(Agazatcsoportok, session_);
    Table2.Refresh();
    KetChanged();
}
