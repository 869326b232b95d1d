#include "Permnaploh.h"

#include "Permnaploszukh.h"
#include "core/farm_row.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_helpers.h"

TPermNaplo* PermNaplo = nullptr;

TPermNaplo::TPermNaplo(db::Session& session) : session_(session) {
    SetCaption("Permetezési napló");
    SetHelpContext(23);
    SetClientSize(990, 520);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("Alapadatok.DB");
    core::FilterFarmRow(Table1);
    Table1.Open(); // the farm's row is there from the form's creation
    CloseOnClose(&Table1);
    Query1.AddCalcField("Erogep", db::FieldType::Alpha, 30);
    Query1.AddCalcField("Munkagep", db::FieldType::Alpha, 30);
    Query1.AddCalcField("Szemely", db::FieldType::Alpha, 255); // every worker's name
    Query1.OnCalcFields = [this](db::TDataSet& rows) { Query1CalcFields(rows); };

    auto* heading = ui::Make<ui::TLabel>(this, {8, 8, 400, 20}, "Permetezési napló elemei");
    heading->SetBold(true);
    ui::Make<ui::TLabel>(this, {8, 32, 300, 16}, "Növényvédelmi műveletek listája");
    DBGrid1 = ui::ListGrid(this, {8, 50, 974, 420}, &DataSource1,
                           {{"Datum", "Dátum", 95},
                            {"Parcsor", "S. Sz.", 45},
                            {"Agazat", "Ágazat", 90},
                            {"Muvnev", "Müvelet megnevezése", 150},
                            {"Nev", "Szer neve", 110},
                            {"Menny", "Mennyiség", 75},
                            {"Mert", "Mért.", 45},
                            {"Permetle", "Permetlé l", 75},
                            {"Evj", "G. év", 45},
                            {"Ter", "Terület", 60},
                            {"Hazmeg", "Hazi megnevezés", 120},
                            {"Irany", "Irány", 60}});
    Button1 = ui::Make<ui::TButton>(this, {8, 482, 100, 27}, "<< Vissza");
    Button2 = ui::Make<ui::TButton>(this, {702, 482, 135, 27}, "Permetezési Napló S");
    Button5 = ui::Make<ui::TButton>(this, {847, 482, 135, 27}, "Permetezési Napló M");

    PopupMenu1 = new ui::TPopupMenu(this);
    PopupMenu1->Add("Nyomtatás         CTRL+P")->OnClick = Handler(&TPermNaplo::Button5Click);
    PopupMenu1->Add("Nyomtatási kép  CTRL+I")->OnClick = Handler(&TPermNaplo::Button2Click);
    PopupMenu1->Add("Vissza                 CTRL+X")->OnClick = Handler(&TPermNaplo::Button1Click);
    SetPopupMenu(PopupMenu1);

    OnActivate = Handler(&TPermNaplo::FormActivate);
    OnKeyPress = Handler(&TPermNaplo::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2, Button5});
    Button1->OnClick = Handler(&TPermNaplo::Button1Click);
    Button2->OnClick = Handler(&TPermNaplo::Button2Click);
    Button5->OnClick = Handler(&TPermNaplo::Button5Click);
}

// The rows are read again on every activation, also after a printout's preview closes.
void TPermNaplo::FormActivate(TObject*) {
    Lookups.Load(session_);
    Query1.Close();
    CloseOnClose(&Query1);
    Query1.SetFilter(permnaploszuk->DateRangeFilter);
    Query1.SetFiltered(true);
    Query1.SQL().Clear();
    for (const std::string& line : spray::SprayLogSql(permnaploszuk->ConditionTail))
        Query1.SQL().Add(line);
    Query1.Open();
    if (Query1.IsEmpty()) {
        ui::MessageDlg("Nincs megjeleníthető adat.", ui::mtConfirmation, ui::mbOK);
        Button2->SetEnabled(false);
        Button5->SetEnabled(false);
    }
}

void TPermNaplo::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'I', Button2}, {'P', Button5}, {'X', Button1}});
}

void TPermNaplo::Button1Click(TObject*) {
    Close();
}

// An empty log prints nothing, also from the pop-up menu and the keys.
void TPermNaplo::Button2Click(TObject*) {
    report::ExecuteUnlessEmpty(RvProject1, Query1);
}

void TPermNaplo::Button5Click(TObject*) {
    report::ExecuteUnlessEmpty(RvProject2, Query1);
}

void TPermNaplo::Query1CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("Erogep").SetAsString(
        Lookups.TractorType(DataSet.FieldByName("Erogepkod").AsString()));
    DataSet.FieldByName("Munkagep")
        .SetAsString(Lookups.ImplementName(DataSet.FieldByName("Munkagepkod").AsString()));
    DataSet.FieldByName("Szemely").SetAsString(
        Lookups.WorkerNames(DataSet.FieldByName("Muvkod").AsString()));
}
