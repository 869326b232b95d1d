#include "Allatfajtah.h"

#include "list_box.h"
#include "platform/ui/form_helpers.h"

TAllatfajta* Allatfajta = nullptr;

using res::AddDBEdit;
using res::AddLabel;

TAllatfajta::TAllatfajta(db::Session& session) : session_(session) {
    SetCaption("Állatfajok");
    SetClientSize(480, 340);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("Allatfajok.db");

    Label1 = ui::Make<ui::TLabel>(this, {8, 8, 300, 20}, "Állatfajok listája");
    Label1->SetBold(true);
    DBGrid1 = ui::ListGrid(this, {8, 32, 360, 300}, &DataSource1,
                           {{"Megnev", "Megnevezés", 150}, {"Megjegy", "Megjegyzés", 190}});
    Button1 = ui::Make<ui::TButton>(this, {376, 32, 96, 27}, "Új");
    Button2 = ui::Make<ui::TButton>(this, {376, 66, 96, 27}, "Módosítás");
    Button3 = ui::Make<ui::TButton>(this, {376, 100, 96, 27}, "Törlés");
    Button4 = ui::Make<ui::TButton>(this, {376, 305, 96, 27}, "Bezárás");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 8, 360, 130}, "Új állatfaj rögzítése");
    AddLabel(GroupBox1, "Megnevezés :", 12, 26, 90);
    DBEdit1 = AddDBEdit(GroupBox1, &DataSource1, "Megnev", 106, 26, 240);
    AddLabel(GroupBox1, "Megjegyzés :", 12, 56, 90);
    DBEdit2 = AddDBEdit(GroupBox1, &DataSource1, "Megjegy", 106, 56, 240);
    Button6 = ui::Make<ui::TButton>(GroupBox1, {106, 92, 90, 27}, "rögzítés");
    Button5 = ui::Make<ui::TButton>(GroupBox1, {204, 92, 90, 27}, "mégsem");
    GroupBox1->Hide();
    ui::EditBoxOverList(GroupBox1);

    OnShow = Handler(&TAllatfajta::FormShow);
    OnClose = Handler(&TAllatfajta::FormClose);
    Button1->OnClick = Handler(&TAllatfajta::Button1Click);
    Button2->OnClick = Handler(&TAllatfajta::Button2Click);
    Button3->OnClick = Handler(&TAllatfajta::Button3Click);
    Button4->OnClick = Handler(&TAllatfajta::Button4Click);
    Button5->OnClick = Handler(&TAllatfajta::Button5Click);
    Button6->OnClick = Handler(&TAllatfajta::Button6Click);
}

void TAllatfajta::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1});
}

void TAllatfajta::FormClose(TObject*, TCloseAction&) {
    Table1.Cancel();
}

void TAllatfajta::Button1Click(TObject*) {
    res::ShowBox(GroupBox1, 8, 8, "Új állatfaj rögzítése");
    Table1.Insert();
    DBEdit1->SetFocus();
}

// An empty list has no species to modify (an edit would make a new row).
void TAllatfajta::Button2Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    res::ShowBox(GroupBox1, 8, 8, "Állatfaj módosítás");
    Table1.Edit();
    DBEdit1->SetFocus();
}

// Marks the species deleted: it stays in this list and leaves the grazing form's choices.
void TAllatfajta::Button3Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    Table1.Edit();
    Table1.FieldByName("Deleted").SetAsBoolean(true);
    Table1.Post();
    Table1.Close();
    Table1.Open();
}

void TAllatfajta::Button4Click(TObject*) {
    Close();
}

void TAllatfajta::Button5Click(TObject*) {
    Table1.Cancel();
    GroupBox1->Hide();
}

void TAllatfajta::Button6Click(TObject*) {
    Table1.FieldByName("Deleted").SetAsBoolean(false);
    Table1.Post();
    GroupBox1->Hide();
}
