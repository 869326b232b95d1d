#include "Tulajdh.h"

#include "Ujtulajok.h"

TTulajd* Tulajd = nullptr;

TTulajd::TTulajd(db::Session& session) : session_(session) {
    SetCaption("Tulajdonosok kezelése");
    SetClientSize(640, 400);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("tulaj.db");
    Table1.SetIndexName("Tulajnevind");
    Query1.SQL().Add("SELECT *");
    Query1.SQL().Add("FROM Tablak");
    Query1.SQL().Add("WHERE (Tulkod = :kod) AND (Aktiv = 1)");

    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 8, 520, 384);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Tulnev", "Név", 170);
    DBGrid1->Columns().Add("Cim", "Cím", 220);
    DBGrid1->Columns().Add("Tel", "Telefon", 100);

    Button1 = new ui::TButton(this, "Módosítás");
    Button1->SetBounds(538, 8, 94, 27);
    Button5 = new ui::TButton(this, "Új tulaj");
    Button5->SetBounds(538, 42, 94, 27);
    Button4 = new ui::TButton(this, "Törlés");
    Button4->SetBounds(538, 76, 94, 27);
    Button2 = new ui::TButton(this, "Nyomtatás");
    Button2->SetBounds(538, 110, 94, 27);
    Button3 = new ui::TButton(this, "Bezárás");
    Button3->SetBounds(538, 365, 94, 27);

    GroupBox1 = new ui::TGroupBox(this, "Tulajdonos módosítása");
    GroupBox1->SetBounds(8, 8, 380, 150);
    Label1 = new ui::TLabel(GroupBox1, "Név :");
    Label1->SetBounds(12, 28, 70, 16);
    Edit1 = new ui::TEdit(GroupBox1);
    Edit1->SetBounds(86, 24, 280, 22);
    Label2 = new ui::TLabel(GroupBox1, "Cím :");
    Label2->SetBounds(12, 58, 70, 16);
    Edit2 = new ui::TEdit(GroupBox1);
    Edit2->SetBounds(86, 54, 280, 22);
    Label3 = new ui::TLabel(GroupBox1, "Telefon :");
    Label3->SetBounds(12, 88, 70, 16);
    Edit3 = new ui::TEdit(GroupBox1);
    Edit3->SetBounds(86, 84, 160, 22);
    Button6 = new ui::TButton(GroupBox1, "Rögzít");
    Button6->SetBounds(86, 114, 85, 27);
    Button7 = new ui::TButton(GroupBox1, "Mégsem");
    Button7->SetBounds(181, 114, 85, 27);
    GroupBox1->SetVisible(false);
    SetTabOrder({DBGrid1, Button1, Button5, Button4, Button2, Button3, Edit1, Edit2, Edit3, Button6,
                 Button7});

    OnActivate = Handler(&TTulajd::FormActivate);
    OnClose = Handler(&TTulajd::FormClose);
    OnKeyPress = Handler(&TTulajd::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    DBGrid1->OnDblClick = Handler(&TTulajd::DBGrid1DblClick);
    Button1->OnClick = Handler(&TTulajd::Button1Click);
    Button2->OnClick = Handler(&TTulajd::Button2Click);
    Button3->OnClick = Handler(&TTulajd::Button3Click);
    Button4->OnClick = Handler(&TTulajd::Button4Click);
    Button5->OnClick = Handler(&TTulajd::Button5Click);
    Button6->OnClick = Handler(&TTulajd::Button6Click);
    Button7->OnClick = Handler(&TTulajd::Button7Click);
}

bool TTulajd::CanDeleteOwner(const std::string& ownerCode) {
    Query1.ParamByName("kod").SetAsString(ownerCode);
    Query1.Open();
    bool none = Query1.IsEmpty();
    Query1.Close();
    return none;
}

void TTulajd::FormActivate(TObject*) {
    if (!Table1.Active())
        Table1.Open();
}

void TTulajd::FormClose(TObject*, TCloseAction&) {
    Table1.Close();
}

// The list keys: Ctrl+M modifies, Ctrl+P prints, Ctrl+T deletes, Ctrl+X closes.
void TTulajd::FormKeyPress(TObject*, TKey& Key) {
    if (Key == ui::ctrlKey('M'))
        Button1->Click();
    else if (Key == ui::ctrlKey('P'))
        Button2->Click();
    else if (Key == ui::ctrlKey('T'))
        Button4->Click();
    else if (Key == ui::ctrlKey('X'))
        Button3->Click();
    else
        return;
    Key = ui::keyNone;
}

void TTulajd::DBGrid1DblClick(TObject* Sender) {
    Button1Click(Sender);
}

// Opens the group on the current owner; an empty register has none to modify.
void TTulajd::Button1Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    editedOwner_ = Table1.FieldByName("Tulkod").AsString();
    GroupBox1->SetBounds(DBGrid1->Left(), DBGrid1->Top(), GroupBox1->Width(), GroupBox1->Height());
    Edit1->SetText(Table1.FieldByName("Tulnev").AsString());
    Edit2->SetText(Table1.FieldByName("Cim").AsString());
    Edit3->SetText(Table1.FieldByName("Tel").AsString());
    GroupBox1->Show();
    GroupBox1->BringToFront();
    Edit1->SetFocus();
}

// Prints through the new-owner dialog's report, made for it and never shown.
void TTulajd::Button2Click(TObject*) {
    ui::OwnedForm<Tujtulaj> dialog(ujtulaj, session_);
    dialog->Query1.Open();
    dialog->Button3Click(dialog->Button3);
    dialog->Query1.Close();
}

void TTulajd::Button3Click(TObject*) {
    Close();
}

void TTulajd::Button4Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    if (!CanDeleteOwner(Table1.FieldByName("Tulkod").AsString())) {
        ui::MessageDlg("A tulajdonos nem törölhető! Valószínű tábla van hozzárendelve.",
                       ui::mtConfirmation, ui::mbOK);
        return;
    }
    Table1.Delete();
    Table1.FlushBuffers();
}

void TTulajd::Button5Click(TObject*) {
    ui::ShowModalForm(ujtulaj, session_);
    Table1.Refresh();
}

// Writes the group into the owner it was opened on.
void TTulajd::Button6Click(TObject*) {
    if (Edit1->Text().empty() || Edit2->Text().empty()) {
        ui::MessageDlg("Kérem adja meg a nevet és a címet!", ui::mtWarning, ui::mbOK);
        return;
    }
    if (editedOwner_.empty() || !Table1.Locate("Tulkod", {db::Value(editedOwner_)})) {
        GroupBox1->Hide(); // the owner is gone: nothing to write
        return;
    }
    Table1.Edit();
    Table1.FieldByName("Tulnev").SetAsString(Edit1->Text());
    Table1.FieldByName("Cim").SetAsString(Edit2->Text());
    Table1.FieldByName("Tel").SetAsString(Edit3->Text());
    Table1.Post();
    Table1.FlushBuffers();
    GroupBox1->Hide();
}

void TTulajd::Button7Click(TObject*) {
    GroupBox1->Hide();
    Button3->SetFocus();
}
