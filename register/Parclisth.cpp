#include "Parclisth.h"

#include "Parclistszukh.h"
#include "core/farm_row.h"
#include "platform/ui/form_helpers.h"
#include "single_row.h"

#include <cmath>

TParcList* ParcList = nullptr;

namespace reg {

std::string FarmingYearWord(int year) {
    return std::to_string(year - 1) + "/" + std::to_string(year);
}

} // namespace reg

std::string TParcList::ListTitle(const std::string& year, const std::string& crop) {
    std::string title;
    if (!year.empty())
        title += year + ". évi ";
    if (!crop.empty())
        title += crop + " ágazatának";
    return title + " parcellakiosztása";
}

TParcList::TParcList(db::Session& session) : session_(session) {
    SetCaption("Táblák listája");
    SetClientSize(720, 460);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("Szhelyrajzi.db");
    Table2.SetTableName("tablak.DB");
    Table3.SetTableName("Szparcellak.db");
    Table4.SetTableName("parcellak.DB");
    Table4.AddCalcField("EvjWord", db::FieldType::Alpha, 12);
    Table4.OnCalcFields = [](db::TDataSet& rows) {
        rows.FieldByName("EvjWord").SetAsString(
            reg::FarmingYearWord(rows.FieldByName("Evj").AsInteger()));
    };
    FarmTable.SetTableName("Alapadatok.db");
    core::FilterFarmRow(FarmTable);
    Query1.AddCalcField("osszter", db::FieldType::Long);
    Query1.AddCalcField("EvjWord", db::FieldType::Alpha, 12);
    Query1.OnCalcFields = [this](db::TDataSet& rows) { Query1CalcFields(rows); };
    reg::MakeSingleRowConnection(RvCustomConnection1, {"Cim1", "Cim"}, [this] {
        OpenCounts();
        FarmTable.Open();
        FarmTable.First();
        const std::string farm = FarmTable.Eof() ? "" : FarmTable.FieldByName("Nev").AsString();
        FarmTable.Close();
        return std::vector<std::string>{farm,
                                        ListTitle(ParcListSzuk->YearText, ParcListSzuk->CropText)};
    });

    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 8, 704, 360);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Parcsor", "S. Sz.", 50);
    DBGrid1->Columns().Add("Agazat", "Ágazat", 160);
    DBGrid1->Columns().Add("Evj", "Gazd. év", 70);
    DBGrid1->Columns().Add("Ter", "Terület", 90);
    DBGrid1->Columns().Add("Hazmeg", "Házi megnevezés", 160);
    DBGrid1->Columns().Add("Aktiv", "Aktív", 50);
    DBGrid1->Columns().Add("Masod", "Másodvetés", 80);

    (new ui::TLabel(this, "Táblák száma :"))->SetBounds(8, 380, 110, 16);
    Edit1 = new ui::TEdit(this);
    Edit1->SetBounds(120, 376, 70, 22);
    Edit1->SetReadOnly(true);
    (new ui::TLabel(this, "Ágazatok száma :"))->SetBounds(8, 408, 110, 16);
    Edit2 = new ui::TEdit(this);
    Edit2->SetBounds(120, 404, 70, 22);
    Edit2->SetReadOnly(true);
    (new ui::TLabel(this, "Összterület :"))->SetBounds(210, 380, 90, 16);
    Edit3 = new ui::TEdit(this);
    Edit3->SetBounds(300, 376, 110, 22);
    Edit3->SetReadOnly(true);
    (new ui::TLabel(this, "m²"))->SetBounds(414, 380, 30, 16);

    Button1 = new ui::TButton(this, "Nyomtatás");
    Button1->SetBounds(522, 424, 90, 27);
    Button2 = new ui::TButton(this, "Vissza");
    Button2->SetBounds(622, 424, 90, 27);
    SetTabOrder({DBGrid1, Button1, Button2});

    PopupMenu1 = new ui::TPopupMenu(this);
    PopupMenu1->Add("Nyomtatás         CTRL+I")->OnClick = Handler(&TParcList::Button1Click);
    PopupMenu1->Add("Vissza                 CTRL+X")->OnClick = Handler(&TParcList::Button2Click);
    SetPopupMenu(PopupMenu1);

    OnActivate = Handler(&TParcList::FormActivate);
    OnClose = Handler(&TParcList::FormClose);
    OnKeyPress = Handler(&TParcList::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2});
    Button1->OnClick = Handler(&TParcList::Button1Click);
    Button2->OnClick = Handler(&TParcList::Button2Click);
}

void TParcList::Query1CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("osszter").SetAsInteger(
        static_cast<std::int64_t>(std::trunc(DataSet.FieldByName("Ter").AsFloat())));
    DataSet.FieldByName("EvjWord").SetAsString(
        reg::FarmingYearWord(DataSet.FieldByName("Evj").AsInteger()));
}

long long TParcList::SumFieldArea() {
    const db::ControlsHeld held(Query1); // the grid stays on its row
    long long sum = 0;
    for (Query1.First(); !Query1.Eof(); Query1.Next())
        sum += static_cast<long long>(std::trunc(Query1.FieldByName("Ter").AsFloat()));
    return sum;
}

void TParcList::OpenCounts() {
    Query2.Close();
    Query2.SQL().Clear();
    Query2.SQL().Add("SELECT DISTINCT COUNT(DISTINCT Parckod),COUNT(DISTINCT Agazat)");
    Query2.SQL().Add("FROM parcellak,Szhelyrajzi");
    Query2.SQL().Add("WHERE parcellak.Parckod = Szhelyrajzi.Parcellakod" +
                     ParcListSzuk->FieldWhereTail);
    Query2.Open();
    Edit1->SetText(Query2.Fields(0).AsString());
    Edit2->SetText(Query2.Fields(1).AsString());
    Edit3->SetText(std::to_string(SumFieldArea()));
    Query1.First();
}

void TParcList::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Table2, &Table3, &Table4});
    Query1.Close();
    Query1.SQL().Clear();
    Query1.SQL().Add("SELECT DISTINCT Parckod,Parcsor,Ter,Agazat,Evj,Hazmeg,Aktiv,Masod");
    Query1.SQL().Add("FROM parcellak,Szhelyrajzi");
    Query1.SQL().Add("WHERE parcellak.Parckod = Szhelyrajzi.Parcellakod" +
                     ParcListSzuk->FieldWhereTail);
    Query1.SQL().Add("ORDER BY Evj,Parcsor");
    Query1.Open();
    OpenCounts();
}

void TParcList::FormClose(TObject*, TCloseAction&) {
    Query1.Close();
    Query2.Close();
}

void TParcList::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'I', Button1}, {'X', Button2}});
}

void TParcList::Button1Click(TObject*) {
    if (Query1.IsEmpty()) {
        ui::MessageDlg("Nincs megjeleníthető parcella.", ui::mtConfirmation, ui::mbOK);
        return;
    }
    RvProject1.ExecuteActiveReport();
}

void TParcList::Button2Click(TObject*) {
    Close();
}
