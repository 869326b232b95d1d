#include "Szemelyh.h"

#include "list_box.h"
#include "platform/ui/form_helpers.h"

TSzemelyek* Szemelyek = nullptr;

using res::AddDBEdit;
using res::AddLabel;

TSzemelyek::TSzemelyek(db::Session& session) : session_(session) {
    SetCaption("Alkalmazottak");
    SetClientSize(640, 400);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("Szemely.db");
    Table1.SetIndexName("AlkNevInd");
    Table1.SetFilter("Deleted = false");
    Table1.SetFiltered(true);

    DBGrid1 = ui::ListGrid(this, {8, 8, 624, 340}, &DataSource1,
                           {{"Sznev", "Név", 160},
                            {"Hely", "Lakhely", 110},
                            {"Irany", "Irányítószám", 80},
                            {"Cim", "Cím", 160},
                            {"Tel", "Telefonszám", 90}});
    DBGrid1->OnDblClick = Handler(&TSzemelyek::DBGrid1DblClick);
    Button3 = ui::Make<ui::TButton>(this, {8, 360, 100, 27}, "Új");
    Button2 = ui::Make<ui::TButton>(this, {116, 360, 100, 27}, "Módosítás");
    Button1 = ui::Make<ui::TButton>(this, {224, 360, 100, 27}, "Törlés");
    Button4 = ui::Make<ui::TButton>(this, {532, 360, 100, 27}, "Bezárás");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 40, 420, 230}, "Alkalmazottak");
    const char* labels[] = {"Név:", "Lakhely:", "Irányítószám:", "Utca, hsz.:", "Telefon:"};
    for (int i = 0; i < 5; ++i)
        AddLabel(GroupBox1, labels[i], 12, 28 + 30 * i, 110);
    DBEdit1 = AddDBEdit(GroupBox1, &DataSource1, "Sznev", 130, 28, 270);
    DBEdit2 = AddDBEdit(GroupBox1, &DataSource1, "Hely", 130, 58, 200);
    DBEdit3 = AddDBEdit(GroupBox1, &DataSource1, "Irany", 130, 88, 80);
    DBEdit4 = AddDBEdit(GroupBox1, &DataSource1, "Cim", 130, 118, 270);
    DBEdit5 = AddDBEdit(GroupBox1, &DataSource1, "Tel", 130, 148, 150);
    Button5 = ui::Make<ui::TButton>(GroupBox1, {130, 186, 100, 27}, "Rögzít");
    Button6 = ui::Make<ui::TButton>(GroupBox1, {238, 186, 100, 27}, "Mégsem");
    GroupBox1->Hide();
    ui::EditBoxOverList(GroupBox1);
    SetTabOrder({DBGrid1, Button3, Button2, Button1, Button4, DBEdit1, DBEdit2, DBEdit3, DBEdit4,
                 DBEdit5, Button5, Button6});

    OnShow = Handler(&TSzemelyek::FormShow);
    OnKeyPress = Handler(&TSzemelyek::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TSzemelyek::Button1Click);
    Button2->OnClick = Handler(&TSzemelyek::Button2Click);
    Button3->OnClick = Handler(&TSzemelyek::Button3Click);
    Button4->OnClick = Handler(&TSzemelyek::Button4Click);
    Button5->OnClick = Handler(&TSzemelyek::Button5Click);
    Button6->OnClick = Handler(&TSzemelyek::Button6Click);
}

void TSzemelyek::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1});
}

// The list keys of the resource lists; in the box Ctrl+S or Ctrl+M saves, Ctrl+X cancels.
void TSzemelyek::FormKeyPress(TObject*, TKey& Key) {
    if (GroupBox1->Visible())
        ui::Shortcuts(Key, {{'S', Button5}, {'M', Button5}, {'X', Button6}});
    else
        ui::Shortcuts(Key, {{'U', Button3}, {'M', Button2}, {'T', Button1}, {'X', Button4}});
}

void TSzemelyek::DBGrid1DblClick(TObject* Sender) {
    Button2Click(Sender);
}

void TSzemelyek::OpenBox() {
    res::ShowBox(GroupBox1, 8, 40, "Alkalmazottak");
    DBEdit1->SetFocus();
}

// Removes the person from every list; the row stays for the operations that name it.
void TSzemelyek::Button1Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    Table1.Edit();
    Table1.FieldByName("Deleted").SetAsBoolean(true);
    Table1.Post();
    Table1.Refresh();
}

void TSzemelyek::Button2Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    Table1.Edit();
    OpenBox();
}

void TSzemelyek::Button3Click(TObject*) {
    Table1.Insert();
    OpenBox();
}

void TSzemelyek::Button4Click(TObject*) {
    Close();
}

void TSzemelyek::Button5Click(TObject*) {
    Table1.FieldByName("Deleted").SetAsBoolean(false);
    Table1.Post();
    GroupBox1->Hide();
}

void TSzemelyek::Button6Click(TObject*) {
    Table1.Cancel();
    GroupBox1->Hide();
}
