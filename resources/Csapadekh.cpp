#include "Csapadekh.h"

#include "core/Isnuminth.h"
#include "list_box.h"
#include "platform/ui/form_helpers.h"

TCsapadek* Csapadek = nullptr;

using res::AddLabel;

TCsapadek::TCsapadek(db::Session& session) : session_(session) {
    SetCaption("Csapadek");
    SetClientSize(440, 420);
    SetPosition(ui::poScreenCenter);
    SetHelpContext(30);

    Table1.SetTableName("Csapadek.db");
    Table1.SetIndexName("CsapadDate");

    Label1 = ui::Make<ui::TLabel>(this, {8, 8, 424, 20}, "Csapadék feljegyzések");
    Label1->SetBold(true);
    DBGrid1 = ui::ListGrid(this, {8, 32, 300, 340}, &DataSource1,
                           {{"Datum", "Dátum", 90}, {"Menny", "Me. mm", 70}, {"Helye", "", 120}});
    DBGrid1->OnDblClick = Handler(&TCsapadek::DBGrid1DblClick);
    Button3 = ui::Make<ui::TButton>(this, {320, 32, 110, 27}, "Új feljegyzés");
    Button2 = ui::Make<ui::TButton>(this, {320, 66, 110, 27}, "Módosítás");
    Button6 = ui::Make<ui::TButton>(this, {320, 100, 110, 27}, "Törlés");
    BitBtn1 = ui::Make<ui::TBitBtn>(this, {320, 134, 110, 27}, "Grafikon");
    Button1 = ui::Make<ui::TButton>(this, {320, 384, 110, 27}, "Bezárás");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 232, 300, 150}, "Új feljegyzés");
    AddLabel(GroupBox1, "Dátum :", 12, 24, 100);
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(GroupBox1, {110, 24, 120, 22});
    AddLabel(GroupBox1, "Mennyiség :", 12, 54, 100);
    Edit1 = ui::Make<ui::TEdit>(GroupBox1, {110, 54, 80, 22});
    AddLabel(GroupBox1, "mm", 196, 54, 30);
    AddLabel(GroupBox1, "Mérés helye :", 12, 84, 100);
    Edit2 = ui::Make<ui::TEdit>(GroupBox1, {110, 84, 176, 22});
    Button5 = ui::Make<ui::TButton>(GroupBox1, {110, 114, 85, 27}, "Rögzítés");
    Button4 = ui::Make<ui::TButton>(GroupBox1, {201, 114, 85, 27}, "Mégsem");
    GroupBox1->Hide();
    ui::EditBoxOverList(GroupBox1);
    ui::FitToFields(session, "Csapadek",
                    {{DateTimePicker1, "Datum"}, {Edit1, "Menny"}, {Edit2, "Helye"}});
    SetTabOrder({DBGrid1, Button3, Button2, Button6, BitBtn1, Button1, DateTimePicker1, Edit1,
                 Edit2, Button5, Button4});

    PopupMenu1 = ui::ButtonMenu(this, {{"Új feljegyzés    CTRL+U", Button3},
                                       {"Módosítás         CTRL+M", Button2},
                                       {"Törlés               CTRL+T", Button6},
                                       {"Mégsem            CTRL+X", Button1},
                                       {"Grafikon            CTRL+V", BitBtn1}});
    SetPopupMenu(PopupMenu1);
    PopupMenu2 =
        ui::ButtonMenu(this, {{"Rögzítés      CTRL+S", Button5}, {"Mégsem       CTRL+X", Button4}});
    GroupBox1->SetPopupMenu(PopupMenu2);

    OnActivate = Handler(&TCsapadek::FormActivate);
    OnKeyPress = Handler(&TCsapadek::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TCsapadek::Button1Click);
    Button2->OnClick = Handler(&TCsapadek::Button2Click);
    Button3->OnClick = Handler(&TCsapadek::Button3Click);
    Button4->OnClick = Handler(&TCsapadek::Button4Click);
    Button5->OnClick = Handler(&TCsapadek::Button5Click);
    Button6->OnClick = Handler(&TCsapadek::Button6Click);
}

void TCsapadek::FormActivate(TObject*) {
    if (Table1.Active())
        return;
    ui::OpenOnFirstActivate(this, {&Table1});
    DateTimePicker1->SetDate(sys::today());
}

// "Grafikon" (Ctrl+V) and the grid print (Ctrl+G) have no effect.
void TCsapadek::FormKeyPress(TObject*, TKey& Key) {
    if (GroupBox1->Visible())
        ui::Shortcuts(Key, {{'M', Button5}, {'S', Button5}, {'X', Button4}});
    else
        ui::Shortcuts(Key, {{'U', Button3},
                            {'M', Button2},
                            {'T', Button6},
                            {'X', Button1},
                            {'V', BitBtn1},
                            {'G', nullptr}});
}

void TCsapadek::DBGrid1DblClick(TObject* Sender) {
    Button2Click(Sender);
}

void TCsapadek::Button1Click(TObject*) {
    Close();
}

void TCsapadek::SetBrowsing(bool browsing) {
    res::SetTabStops({Button1, Button2, Button3, Button6}, browsing);
    DBGrid1->SetEnabled(browsing);
}

void TCsapadek::OpenBox(const std::string& caption) {
    SetBrowsing(false);
    res::ShowBox(GroupBox1, 8, 232, caption);
    DateTimePicker1->SetFocus();
}

void TCsapadek::Button2Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    ModifyMode = true;
    res::ShowDate(DateTimePicker1, Table1.FieldByName("Datum"));
    Edit1->SetText(Table1.FieldByName("Menny").AsString());
    Edit2->SetText(Table1.FieldByName("Helye").AsString());
    OpenBox("Feljegyzés módosítása");
}

void TCsapadek::Button3Click(TObject*) {
    ModifyMode = false;
    DateTimePicker1->SetDate(sys::today());
    Edit1->Clear();
    Edit2->Clear();
    OpenBox("Új feljegyzés");
}

void TCsapadek::Button4Click(TObject*) {
    SetBrowsing(true);
    GroupBox1->Hide();
}

// Writes the reading; an amount that is not a number is refused before anything is
// written and the box stays open.
void TCsapadek::Button5Click(TObject*) {
    if (!NumericInt->IsValidFor(Edit1->Text(), "Mennyiség", "Csapadek", "Menny") ||
        !ui::TypedValuesValid(*GroupBox1))
        return;
    const sys::DateTime day = DateTimePicker1->Date();
    SetBrowsing(true);
    if (ModifyMode && !Table1.IsEmpty())
        Table1.Edit();
    else
        Table1.Insert();
    Table1.FieldByName("Datum").SetAsDateTime(day);
    if (Edit1->Text().empty())
        Table1.FieldByName("Menny").Clear();
    else
        Table1.FieldByName("Menny").SetAsString(Edit1->Text());
    Table1.FieldByName("Helye").SetAsString(Edit2->Text());
    Table1.Post();
    Table1.FlushBuffers();
    GroupBox1->Hide();
}

void TCsapadek::Button6Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    if (ui::MessageDlg("Biztosan törli a kijelölt elemet?", ui::mtConfirmation, ui::mbYesNo) !=
        ui::mrYes)
        return;
    Table1.Delete();
    Table1.FlushBuffers();
    Table1.Refresh();
}
