#include "Tulajdh.h"

#include "Ujtulajok.h"
#include "owner_fields.h"
#include "platform/ui/form_helpers.h"

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

    DBGrid1 = ui::ListGrid(this, {8, 8, 520, 384}, &DataSource1,
                           {{"Tulnev", "Név", 170}, {"Cim", "Cím", 220}, {"Tel", "Telefon", 100}});
    Button1 = ui::Make<ui::TButton>(this, {538, 8, 94, 27}, "Módosítás");
    Button5 = ui::Make<ui::TButton>(this, {538, 42, 94, 27}, "Új tulaj");
    Button4 = ui::Make<ui::TButton>(this, {538, 76, 94, 27}, "Törlés");
    Button2 = ui::Make<ui::TButton>(this, {538, 110, 94, 27}, "Nyomtatás");
    Button3 = ui::Make<ui::TButton>(this, {538, 365, 94, 27}, "Bezárás");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 8, 380, 150}, "Tulajdonos módosítása");
    Label1 = ui::Make<ui::TLabel>(GroupBox1, {12, 28, 70, 16}, "Név :");
    Edit1 = ui::Make<ui::TEdit>(GroupBox1, {86, 24, 280, 22});
    Label2 = ui::Make<ui::TLabel>(GroupBox1, {12, 58, 70, 16}, "Cím :");
    Edit2 = ui::Make<ui::TEdit>(GroupBox1, {86, 54, 280, 22});
    Label3 = ui::Make<ui::TLabel>(GroupBox1, {12, 88, 70, 16}, "Telefon :");
    Edit3 = ui::Make<ui::TEdit>(GroupBox1, {86, 84, 160, 22});
    Button6 = ui::Make<ui::TButton>(GroupBox1, {86, 114, 85, 27}, "Rögzít");
    Button7 = ui::Make<ui::TButton>(GroupBox1, {181, 114, 85, 27}, "Mégsem");
    GroupBox1->SetVisible(false);
    ui::EditBoxOverList(GroupBox1);
    SetTabOrder({DBGrid1, Button1, Button5, Button4, Button2, Button3, Edit1, Edit2, Edit3, Button6,
                 Button7});

    OnActivate = Handler(&TTulajd::FormActivate);
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
    ui::OpenOnFirstActivate(this, {&Table1});
    reg::LimitOwnerEdits(session_, Edit1, Edit2, Edit3);
}

void TTulajd::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'M', Button1}, {'P', Button2}, {'T', Button4}, {'X', Button3}});
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
    if (!reg::OwnerNameAndAddressGiven(Edit1->Text(), Edit2->Text())) {
        ui::MessageDlg("Kérem adja meg a nevet és a címet!", ui::mtWarning, ui::mbOK);
        return;
    }
    if (editedOwner_.empty() || !Table1.Locate("Tulkod", {db::Value(editedOwner_)})) {
        GroupBox1->Hide(); // the owner is gone: nothing to write
        return;
    }
    if (reg::OwnerNameTaken(session_, Edit1->Text(), editedOwner_))
        return;
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
