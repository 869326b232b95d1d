#include "Korcsoportszh.h"

#include "list_box.h"
#include "platform/ui/form_helpers.h"

TKorcsoportok* Korcsoportok = nullptr;

using res::AddDBEdit;
using res::AddLabel;

TKorcsoportok::TKorcsoportok(db::Session& session) : session_(session) {
    SetCaption("Korcsoportok");
    SetClientSize(600, 360);
    SetPosition(ui::poScreenCenter);

    // The deleted age groups leave the list; the condition names its table, since both
    // tables have a Deleted flag.
    Query1.SQL().Add("SELECT *");
    Query1.SQL().Add("FROM Korcsoport");
    Query1.SQL().Add("   INNER JOIN Allatfajok");
    Query1.SQL().Add("   ON  (Korcsoport.Allid = Allatfajok.Id) ");
    Query1.SQL().Add("WHERE Korcsoport.Deleted = False ");
    Query1.SQL().Add("ORDER BY Megnev");
    Table1.SetTableName("Korcsoport.DB");
    Table1.SetIndexFieldNames("Id");
    AttachToList();
    Table2.SetTableName("Allatfajok.db");

    Label1 = ui::Make<ui::TLabel>(this, {8, 8, 300, 20}, "Korcsoportok kezelése");
    Label1->SetBold(true);
    DBGrid1 = ui::ListGrid(this, {8, 32, 480, 320}, &DataSource1,
                           {{"Megnev", "Állatfaj", 120},
                            {"Korcs", "Korcsoport", 140},
                            {"Aepdb", "ÁE/db", 60},
                            {"Megjegy", "Megjegyzés", 140}});
    Button1 = ui::Make<ui::TButton>(this, {496, 32, 96, 27}, "Új csoport");
    Button2 = ui::Make<ui::TButton>(this, {496, 66, 96, 27}, "Módosítás");
    Button3 = ui::Make<ui::TButton>(this, {496, 100, 96, 27}, "Törlés");
    Button4 = ui::Make<ui::TButton>(this, {496, 325, 96, 27}, "Bezárás");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {1, 8, 480, 190}, "Új csoport rögzítése");
    AddLabel(GroupBox1, "Állatfaj :", 12, 26, 170);
    DBLookupComboBox1 = ui::Make<ui::TDBLookupComboBox>(GroupBox1, {190, 26, 200, 22});
    DBLookupComboBox1->SetDataSource(&DataSource2);
    DBLookupComboBox1->SetDataField("Allid");
    DBLookupComboBox1->SetListSource(&DataSource3);
    DBLookupComboBox1->SetKeyField("Id");
    DBLookupComboBox1->SetListField("Megnev");
    AddLabel(GroupBox1, "Korcsoport megnevezése :", 12, 56, 170);
    DBEdit1 = AddDBEdit(GroupBox1, &DataSource2, "Korcs", 190, 56, 270);
    AddLabel(GroupBox1, "Darabonkénti állategység :", 12, 86, 170);
    DBEdit2 = AddDBEdit(GroupBox1, &DataSource2, "Aepdb", 190, 86, 80);
    AddLabel(GroupBox1, "Megjegyzés :", 12, 116, 170);
    DBEdit3 = AddDBEdit(GroupBox1, &DataSource2, "Megjegy", 190, 116, 270);
    Button5 = ui::Make<ui::TButton>(GroupBox1, {190, 150, 90, 27}, "rögzítés");
    Button6 = ui::Make<ui::TButton>(GroupBox1, {288, 150, 90, 27}, "mégsem");
    GroupBox1->Hide();
    ui::EditBoxOverList(GroupBox1);

    OnShow = Handler(&TKorcsoportok::FormShow);
    OnClose = Handler(&TKorcsoportok::FormClose);
    Button1->OnClick = Handler(&TKorcsoportok::Button1Click);
    Button2->OnClick = Handler(&TKorcsoportok::Button2Click);
    Button3->OnClick = Handler(&TKorcsoportok::Button3Click);
    Button4->OnClick = Handler(&TKorcsoportok::Button4Click);
    Button5->OnClick = Handler(&TKorcsoportok::Button5Click);
    Button6->OnClick = Handler(&TKorcsoportok::Button6Click);
}

void TKorcsoportok::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Query1, &Table1, &Table2});
}

void TKorcsoportok::FormClose(TObject*, TCloseAction&) {
    Table1.Cancel();
}

// The age-group table follows the list's current row.
void TKorcsoportok::AttachToList() {
    Table1.SetMasterSource(&DataSource1);
    Table1.SetMasterFields("Id");
}

void TKorcsoportok::ReopenList() {
    Query1.Close();
    Query1.Open();
}

// A new group: the table leaves the list (it then holds every group) for the insert.
void TKorcsoportok::Button1Click(TObject*) {
    res::ShowBox(GroupBox1, 1, 8, "Új csoport rögzítése");
    Table1.SetMasterSource(nullptr);
    Table1.Insert();
    DBLookupComboBox1->SetFocus();
}

void TKorcsoportok::Button2Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    Table1.Edit();
    res::ShowBox(GroupBox1, 1, 8, "Csoport módosítása");
    DBEdit1->SetFocus();
}

void TKorcsoportok::Button3Click(TObject*) {
    if (!Table1.IsEmpty()) {
        Table1.Edit();
        Table1.FieldByName("Deleted").SetAsBoolean(true);
        Table1.Post();
    }
    ReopenList();
}

void TKorcsoportok::Button4Click(TObject*) {
    Close();
}

void TKorcsoportok::Button5Click(TObject*) {
    Table1.FieldByName("Deleted").SetAsBoolean(false);
    Table1.Post();
    AttachToList();
    ReopenList();
    GroupBox1->Hide();
}

void TKorcsoportok::Button6Click(TObject*) {
    GroupBox1->Hide();
    Table1.Cancel();
    AttachToList();
}
