#include "Gazdeph.h"

#include "list_box.h"
#include "platform/ui/form_helpers.h"

TGazdep* Gazdep = nullptr;

using res::AddLabel;

TGazdep::TGazdep(db::Session& session) : session_(session) {
    SetCaption("Gazdasági épületek");
    SetClientSize(600, 400);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("Gazdepulet.DB");

    DBGrid1 = ui::ListGrid(this, {8, 8, 584, 340}, &DataSource1,
                           {{"Epnev", "Megnevezés", 200},
                            {"Befk", "Bef.k.", 80},
                            {"Befmert", "ME.", 50},
                            {"Allat", "Állattartó", 80},
                            {"Letesit", "Lét. éve", 70}});
    DBGrid1->OnDblClick = Handler(&TGazdep::DBGrid1DblClick);
    Button1 = ui::Make<ui::TButton>(this, {8, 360, 100, 27}, "Új bevitele");
    Button3 = ui::Make<ui::TButton>(this, {116, 360, 100, 27}, "Módosítás");
    Button2 = ui::Make<ui::TButton>(this, {224, 360, 100, 27}, "Törlés");
    Button4 = ui::Make<ui::TButton>(this, {492, 360, 100, 27}, "Rendben");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 40, 420, 220}, "Gazdasági épület bevitele");
    AddLabel(GroupBox1, "Megnevezés :", 12, 28, 130);
    Edit1 = ui::Make<ui::TEdit>(GroupBox1, {150, 28, 250, 22});
    CheckBox1 = ui::Make<ui::TCheckBox>(GroupBox1, {12, 58, 160, 22}, "Állattartó :");
    AddLabel(GroupBox1, "Befogadóképesség :", 12, 88, 130);
    Edit2 = ui::Make<ui::TEdit>(GroupBox1, {150, 88, 100, 22});
    ComboBox1 = ui::Make<ui::TComboBox>(GroupBox1, {258, 88, 70, 22});
    ComboBox1->Items().AddStrings({"kg", "t", "l", "m3", "m2", "db"});
    ComboBox1->SetText("kg");
    AddLabel(GroupBox1, "Létesítés éve :", 12, 118, 130);
    Edit3 = ui::Make<ui::TEdit>(GroupBox1, {150, 118, 80, 22});
    Button6 = ui::Make<ui::TButton>(GroupBox1, {150, 170, 100, 27}, "Rögzít");
    Button5 = ui::Make<ui::TButton>(GroupBox1, {258, 170, 100, 27}, "Mégsem");
    GroupBox1->Hide();
    ui::EditBoxOverList(GroupBox1);
    ui::FitToFields(
        session, "Gazdepulet",
        {{Edit1, "Epnev"}, {Edit2, "Befk"}, {Edit3, "Letesit"}, {ComboBox1, "Befmert"}});
    SetTabOrder({DBGrid1, Button1, Button3, Button2, Button4, Edit1, CheckBox1, Edit2, ComboBox1,
                 Edit3, Button6, Button5});

    PopupMenu1 = ui::ButtonMenu(this, {{"Új bevitele   CTRL+A", Button1},
                                       {"Módosítás     CTRL+M", Button3},
                                       {"Törlés           CTRL+T", Button2},
                                       {"Rendben        CTRL+X", Button4}});
    PopupMenu2 =
        ui::ButtonMenu(this, {{"Rögzít     CTRL+S", Button6}, {"Mégsem   CTRL+X", Button5}});
    SetPopupMenu(PopupMenu1);

    OnActivate = Handler(&TGazdep::FormActivate);
    OnKeyPress = Handler(&TGazdep::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    CheckBox1->OnClick = Handler(&TGazdep::CheckBox1Click);
    Button1->OnClick = Handler(&TGazdep::Button1Click);
    Button2->OnClick = Handler(&TGazdep::Button2Click);
    Button3->OnClick = Handler(&TGazdep::Button3Click);
    Button4->OnClick = Handler(&TGazdep::Button4Click);
    Button5->OnClick = Handler(&TGazdep::Button5Click);
    Button6->OnClick = Handler(&TGazdep::Button6Click);
}

void TGazdep::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1});
}

void TGazdep::FormKeyPress(TObject*, TKey& Key) {
    const bool box = GroupBox1->Visible();
    if (Key == ui::keyEscape) {
        Key = ui::keyNone;
        (box ? Button5 : Button4)->Click();
        return;
    }
    if (box)
        ui::Shortcuts(Key, {{'S', Button6}, {'X', Button5}});
    else
        ui::Shortcuts(Key, {{'A', Button1}, {'M', Button3}, {'T', Button2}, {'X', Button4}});
}

void TGazdep::DBGrid1DblClick(TObject* Sender) {
    Button3Click(Sender);
}

// An animal-keeping building's capacity is its floor area.
void TGazdep::CheckBox1Click(TObject*) {
    ComboBox1->SetText(CheckBox1->Checked() ? "m2" : "kg");
    ComboBox1->SetEnabled(!CheckBox1->Checked());
}

void TGazdep::Button1Click(TObject*) {
    res::SetTabStops({Button1, Button2, Button3, Button4}, false);
    DBGrid1->SetEnabled(false);
    NewBuildingMode = true;
    Edit1->Clear();
    Edit2->Clear();
    Edit3->Clear();
    CheckBox1->SetChecked(false);
    ComboBox1->SetText("kg");
    SetPopupMenu(PopupMenu2);
    res::ShowBox(GroupBox1, 8, 40, "Gazdasági épület bevitele");
    Edit1->SetFocus();
}

void TGazdep::Button2Click(TObject*) {
    if (ui::MessageDlg("Valóban törölni szeretné a kijelölt épületel?", ui::mtConfirmation,
                       ui::mbYesNo) != ui::mrYes)
        return;
    if (Table1.IsEmpty())
        return;
    Table1.Delete();
    Table1.FlushBuffers();
}

// Opens the box on the current building; an empty list has none.
void TGazdep::Button3Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    NewBuildingMode = false;
    Edit1->SetText(Table1.FieldByName("Epnev").AsString());
    Edit2->SetText(Table1.FieldByName("Befk").AsString());
    Edit3->SetText(Table1.FieldByName("Letesit").AsString());
    CheckBox1->SetChecked(Table1.FieldByName("Allat").AsString() == "IGEN");
    ComboBox1->SetText(Table1.FieldByName("Befmert").AsString());
    SetPopupMenu(PopupMenu2);
    res::ShowBox(GroupBox1, 8, 40, "Gazdasági épület módosítása");
    Edit1->SetFocus();
}

void TGazdep::Button4Click(TObject*) {
    Close();
}

void TGazdep::BackToList() {
    res::SetTabStops({Button1, Button2, Button3, Button4}, true);
    DBGrid1->SetEnabled(true);
    SetPopupMenu(PopupMenu1);
    GroupBox1->Hide();
}

void TGazdep::Button5Click(TObject*) {
    BackToList();
}

// The capacity and the year are checked before the box closes; a refused one stays open.
void TGazdep::Button6Click(TObject*) {
    if (!ui::TypedValuesValid(*GroupBox1))
        return;
    BackToList();
    if (NewBuildingMode) {
        Table1.Insert();
        Table1.FieldByName("Epkod").SetAsString("1");
    } else {
        Table1.Edit();
    }
    Table1.FieldByName("Epnev").SetAsString(Edit1->Text());
    Table1.FieldByName("Befk").SetAsString(Edit2->Text());
    Table1.FieldByName("Letesit").SetAsString(Edit3->Text());
    Table1.FieldByName("Befmert").SetAsString(ComboBox1->Text());
    Table1.FieldByName("Allat").SetAsString(CheckBox1->Checked() ? "IGEN" : "NEM");
    Table1.Post();
    Table1.FlushBuffers();
}
