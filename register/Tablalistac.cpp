#include "Tablalistac.h"

#include "platform/ui/form_helpers.h"

TTablalista* Tablalista = nullptr;

TTablalista::TTablalista(db::Session& session) : session_(session) {
    SetCaption("Lista a nyílvántartott területekről(hrsz)");
    SetClientSize(620, 420);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("tablak.DB");
    Table1.SetIndexFieldNames("Helysz");
    Table1.SetFilter("Aktiv = 1");
    Table1.SetFiltered(true);
    Table1.AddCalcField("Hektar", db::FieldType::Number);
    Table1.AddCalcField("Ontozheto", db::FieldType::Alpha, 10);
    Table1.OnCalcFields = [this](db::TDataSet& rows) { Table1CalcFields(rows); };
    Table2.SetTableName("tulaj.db");
    Table2.SetIndexFieldNames("Tulkod");
    Table2.SetMasterSource(&DataSource1);
    Table2.SetMasterFields("Tulkod");

    DBGrid1 = ui::ListGrid(this, {8, 8, 604, 366}, &DataSource1,
                           {{"Helysz", "Helyrajzi szám", 120},
                            {"Hazmeg", "Hazi megnevezés", 180},
                            {"Ter", "Terület", 90},
                            {"Arany", "AK/ha", 80},
                            {"Ont", "Öntözhető", 80}});
    Button1 = ui::Make<ui::TButton>(this, {418, 384, 94, 27}, "Nyomtatás");
    Button2 = ui::Make<ui::TButton>(this, {518, 384, 94, 27}, "Vissza");
    SetTabOrder({DBGrid1, Button1, Button2});

    PopupMenu1 = new ui::TPopupMenu(this);
    Nyomtats1 = PopupMenu1->Add("Nyomtatás         CTRL+I");
    Vissza1 = PopupMenu1->Add("Vissza                 CTRL+X");
    SetPopupMenu(PopupMenu1);

    OnActivate = Handler(&TTablalista::FormActivate);
    OnKeyPress = Handler(&TTablalista::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TTablalista::Button1Click);
    Button2->OnClick = Handler(&TTablalista::Button2Click);
    Nyomtats1->OnClick = Handler(&TTablalista::Button1Click);
    Vissza1->OnClick = Handler(&TTablalista::Button2Click);
}

void TTablalista::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Table2});
}

void TTablalista::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'I', Button1}, {'X', Button2}});
}

void TTablalista::Button1Click(TObject*) {
    if (Table1.IsEmpty()) {
        ui::MessageDlg("Nincs megjeleníthető tábla.", ui::mtConfirmation, ui::mbOK);
        return;
    }
    RvProject1.ExecuteActiveReport();
}

void TTablalista::Table1CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("Hektar").SetAsFloat(DataSet.FieldByName("Ter").AsInteger() * 0.0001);
    DataSet.FieldByName("Ontozheto")
        .SetAsString(DataSet.FieldByName("Ont").AsInteger() != 0 ? "igen" : "nem");
}

void TTablalista::Button2Click(TObject*) {
    Close();
}
