#include "Agazaticsoporth.h"

#include "platform/ui/form_helpers.h"
#include "unique_names.h"

TAgazatcsoportok* Agazatcsoportok = nullptr;

TAgazatcsoportok::TAgazatcsoportok(db::Session& session) : session_(session) {
    SetCaption("Ágazati csoportok bővítése");
    SetClientSize(620, 400);
    SetPosition(ui::poScreenCenter);

    Query1.SQL().Add("SELECT Agazaticsoport.Id,Agazaticsoport.Nev, celprogramok.Megnev, "
                     "celprogramok.Kod, Agazaticsoport.Deleted");
    Query1.SQL().Add("FROM Agazaticsoport");
    Query1.SQL().Add("INNER JOIN celprogramok");
    Query1.SQL().Add("ON  (Agazaticsoport.Celpid = celprogramok.Id)");
    Query1.SQL().Add("WHERE Agazaticsoport.Deleted = False");
    Table1.SetTableName("Agazaticsoport.DB");
    Table2.SetTableName("celprogramok.db");

    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 8, 500, 384);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Nev", "Csoportnév", 180);
    DBGrid1->Columns().Add("Megnev", "Célprogram", 230);
    DBGrid1->Columns().Add("Kod", "Kód", 60);
    Button1 = new ui::TButton(this, "új");
    Button1->SetBounds(518, 8, 94, 27);
    Button2 = new ui::TButton(this, "törlés");
    Button2->SetBounds(518, 42, 94, 27);
    Button3 = new ui::TButton(this, "bezárás");
    Button3->SetBounds(518, 365, 94, 27);

    GroupBox1 = new ui::TGroupBox(this, "Új csoport rögzítése");
    GroupBox1->SetBounds(8, 8, 500, 170);
    (new ui::TLabel(GroupBox1, "Csoport megnevezése :"))->SetBounds(12, 28, 300, 16);
    Edit1 = new ui::TEdit(GroupBox1);
    Edit1->SetBounds(12, 46, 476, 22);
    Edit1->SetMaxLength(150);
    (new ui::TLabel(GroupBox1, "AKG célprogram, melybe a csoport tartozik :"))
        ->SetBounds(12, 76, 400, 16);
    DBLookupComboBox1 = new ui::TDBLookupComboBox(GroupBox1);
    DBLookupComboBox1->SetBounds(12, 94, 476, 22);
    DBLookupComboBox1->SetListSource(&DataSource2);
    DBLookupComboBox1->SetKeyField("Id");
    DBLookupComboBox1->SetListField("Megnev");
    Button4 = new ui::TButton(GroupBox1, "rögzítés");
    Button4->SetBounds(308, 130, 85, 27);
    Button5 = new ui::TButton(GroupBox1, "mégsem");
    Button5->SetBounds(403, 130, 85, 27);
    GroupBox1->SetVisible(false);
    ui::EditBoxOverList(GroupBox1);

    OnShow = Handler(&TAgazatcsoportok::FormShow);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2, Button3, Button4, Button5});
    Button1->OnClick = Handler(&TAgazatcsoportok::Button1Click);
    Button2->OnClick = Handler(&TAgazatcsoportok::Button2Click);
    Button3->OnClick = Handler(&TAgazatcsoportok::Button3Click);
    Button4->OnClick = Handler(&TAgazatcsoportok::Button4Click);
    Button5->OnClick = Handler(&TAgazatcsoportok::Button5Click);
}

void TAgazatcsoportok::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Table2, &Query1});
}

void TAgazatcsoportok::Reload() {
    Query1.Close();
    Query1.Open();
}

void TAgazatcsoportok::Button1Click(TObject*) {
    Edit1->Clear();
    GroupBox1->Show();
    GroupBox1->BringToFront();
    Edit1->SetFocus();
}

// A group needs its name and programme.
void TAgazatcsoportok::Button4Click(TObject*) {
    const db::Value programme = DBLookupComboBox1->KeyValue();
    if (Edit1->Text().empty() || db::isNull(programme)) {
        ui::MessageDlg("Kérem adja meg a csoport nevét és célprogramját!", ui::mtWarning, ui::mbOK);
        return;
    }
    if (reg::NameTaken(session_, "Agazaticsoport", "Nev", Edit1->Text())) {
        ui::MessageDlg("Ilyen nevű ágazati csoport már van!", ui::mtWarning, ui::mbOK);
        return;
    }
    Table1.Insert();
    Table1.FieldByName("Nev").SetAsString(Edit1->Text());
    Table1.FieldByName("Celpid").SetAsValue(programme);
    Table1.FieldByName("Deleted").SetAsBoolean(false);
    Table1.Post();
    Table1.FlushBuffers();
    GroupBox1->Hide();
    Reload();
}

void TAgazatcsoportok::Button5Click(TObject*) {
    GroupBox1->Hide();
}

void TAgazatcsoportok::Button2Click(TObject*) {
    if (Query1.IsEmpty())
        return;
    if (!Table1.Locate("Id", {db::Value(Query1.FieldByName("Id").AsInteger())}))
        return;
    Table1.Edit();
    Table1.FieldByName("Deleted").SetAsBoolean(true);
    Table1.Post();
    Table1.FlushBuffers();
    Reload();
}

void TAgazatcsoportok::Button3Click(TObject*) {
    Close();
}
