#include "Tablalistac.h"

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

    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 8, 604, 366);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Helysz", "Helyrajzi szám", 120);
    DBGrid1->Columns().Add("Hazmeg", "Hazi megnevezés", 180);
    DBGrid1->Columns().Add("Ter", "Terület", 90);
    DBGrid1->Columns().Add("Arany", "AK/ha", 80);
    DBGrid1->Columns().Add("Ont", "Öntözhető", 80);

    Button1 = new ui::TButton(this, "Nyomtatás");
    Button1->SetBounds(418, 384, 94, 27);
    Button2 = new ui::TButton(this, "Vissza");
    Button2->SetBounds(518, 384, 94, 27);
    SetTabOrder({DBGrid1, Button1, Button2});

    PopupMenu1 = new ui::TPopupMenu(this);
    Nyomtats1 = PopupMenu1->Add("Nyomtatás         CTRL+I");
    Vissza1 = PopupMenu1->Add("Vissza                 CTRL+X");
    SetPopupMenu(PopupMenu1);

    OnActivate = Handler(&TTablalista::FormActivate);
    OnClose = Handler(&TTablalista::FormClose);
    OnKeyPress = Handler(&TTablalista::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TTablalista::Button1Click);
    Button2->OnClick = Handler(&TTablalista::Button2Click);
    Nyomtats1->OnClick = Handler(&TTablalista::Button1Click);
    Vissza1->OnClick = Handler(&TTablalista::Button2Click);
}

void TTablalista::FormActivate(TObject*) {
    if (!Table1.Active())
        Table1.Open();
    if (!Table2.Active())
        Table2.Open();
}

void TTablalista::FormClose(TObject*, TCloseAction&) {
    Table2.Close();
    Table1.Close();
}

// Ctrl+I prints, Ctrl+X goes back.
void TTablalista::FormKeyPress(TObject*, TKey& Key) {
    if (Key == ui::ctrlKey('I'))
        Button1->Click();
    else if (Key == ui::ctrlKey('X'))
        Button2->Click();
    else
        return;
    Key = ui::keyNone;
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
