#include "Gazolajszlaosszh.h"

#include "core/Isnuminth.h"
#include "platform/sys/numbers.h"
#include "platform/ui/form_helpers.h"

TGazolajszlaossz* Gazolajszlaossz = nullptr;

std::string DieselDateFilter(sys::DateTime from, sys::DateTime to) {
    return "Dat >= '" + sys::filterDateText(from) + "' AND Dat <= '" + sys::filterDateText(to) +
           "'";
}

TGazolajszlaossz::TGazolajszlaossz(db::Session& session) : session_(session) {
    SetCaption("Gázolaj számla összesítő");
    SetClientSize(560, 400);
    SetPosition(ui::poScreenCenter);
    SetHelpContext(33);

    Table1.SetTableName("Gazolajszla.DB");
    Table1.SetIndexName("GayDat");

    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 8, 420, 330);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Dat", "Dátum", 90);
    DBGrid1->Columns().Add("Szlaszam", "Bizonylatszám", 140);
    DBGrid1->Columns().Add("Liter", "Liter", 75);
    DBGrid1->Columns().Add("Osszeg", "Összeg", 85);

    (new ui::TLabel(this, "Összes liter:"))->SetBounds(8, 346, 120, 16);
    Edit4 = new ui::TEdit(this);
    Edit4->SetBounds(8, 364, 120, 22);
    Edit4->SetEnabled(false);
    (new ui::TLabel(this, "Összes összeg:"))->SetBounds(140, 346, 120, 16);
    Edit5 = new ui::TEdit(this);
    Edit5->SetBounds(140, 364, 140, 22);
    Edit5->SetEnabled(false);
    // Shown, never typed: sums of invoices, either sign, as large as a thousand of the
    // largest.
    Edit4->SetDomain(db::signedQuantity("Összes liter", 1e9, db::Domain::Sign::Any));
    Edit5->SetDomain(db::signedQuantity("Összes összeg", 1e13, db::Domain::Sign::Any));

    auto button = [this](const char* caption, int top) {
        auto* b = new ui::TButton(this, caption);
        b->SetBounds(440, top, 112, 27);
        return b;
    };
    Button3 = button("Új feljegyzés", 8);
    Button2 = button("Módosítás", 42);
    Button6 = button("Törlés", 76);
    Button7 = button("Szűkítés", 110);
    Button10 = button("Nyomtatás", 144);
    Button1 = button("Bezárás", 364);

    GroupBox1 = new ui::TGroupBox(this, "Feljegyzés");
    GroupBox1->SetBounds(8, 224, 420, 168);
    (new ui::TLabel(GroupBox1, "Dátum :"))->SetBounds(12, 28, 120, 16);
    DateTimePicker1 = new ui::TDateTimePicker(GroupBox1);
    DateTimePicker1->SetBounds(140, 24, 130, 22);
    (new ui::TLabel(GroupBox1, "Bizonylat száma :"))->SetBounds(12, 58, 120, 16);
    Edit2 = new ui::TEdit(GroupBox1);
    Edit2->SetBounds(140, 54, 200, 22);
    (new ui::TLabel(GroupBox1, "Mennyiség :"))->SetBounds(12, 88, 120, 16);
    Edit1 = new ui::TEdit(GroupBox1);
    Edit1->SetBounds(140, 84, 100, 22);
    (new ui::TLabel(GroupBox1, "l"))->SetBounds(246, 88, 20, 16);
    (new ui::TLabel(GroupBox1, "Összeg :"))->SetBounds(12, 118, 120, 16);
    Edit3 = new ui::TEdit(GroupBox1);
    Edit3->SetBounds(140, 114, 100, 22);
    Button5 = new ui::TButton(GroupBox1, "Rögzítés");
    Button5->SetBounds(140, 138, 85, 25);
    Button4 = new ui::TButton(GroupBox1, "Mégsem");
    Button4->SetBounds(235, 138, 85, 25);
    GroupBox1->SetVisible(false);
    ui::EditBoxOverList(GroupBox1);

    GroupBox2 = new ui::TGroupBox(this, "Szűkítés");
    GroupBox2->SetBounds(8, 224, 420, 100);
    DateTimePicker2 = new ui::TDateTimePicker(GroupBox2);
    DateTimePicker2->SetBounds(12, 28, 130, 22);
    (new ui::TLabel(GroupBox2, "-tól"))->SetBounds(148, 32, 30, 16);
    DateTimePicker3 = new ui::TDateTimePicker(GroupBox2);
    DateTimePicker3->SetBounds(190, 28, 130, 22);
    (new ui::TLabel(GroupBox2, "-ig"))->SetBounds(326, 32, 30, 16);
    Button8 = new ui::TButton(GroupBox2, "Szűkítés");
    Button8->SetBounds(12, 64, 85, 25);
    Button9 = new ui::TButton(GroupBox2, "Összes");
    Button9->SetBounds(107, 64, 85, 25);
    GroupBox2->SetVisible(false);

    ui::FitToFields(
        session, "Gazolajszla",
        {{DateTimePicker1, "Dat"}, {Edit2, "Szlaszam"}, {Edit1, "Liter"}, {Edit3, "Osszeg"}});
    SetTabOrder({DBGrid1, Button3, Button2, Button6, Button7, Button10, Button1, DateTimePicker1,
                 Edit2, Edit1, Edit3, Button5, Button4, DateTimePicker2, DateTimePicker3, Button8,
                 Button9});

    PopupMenu1 = ui::ButtonMenu(this, {{"Szűkítés            CTRL+S", Button7},
                                       {"Új feljegyzés    CTRL+U", Button3},
                                       {"Módosítás         CTRL+M", Button2},
                                       {"Törlés               CTRL+T", Button6},
                                       {"Nyomtatás        CTRL+I", Button10},
                                       {"Mégsem            CTRL+X", Button1}});
    SetPopupMenu(PopupMenu1);
    PopupMenu2 = ui::ButtonMenu(
        GroupBox1, {{"Rögzítés      CTRL+S", Button5}, {"Mégsem       CTRL+X", Button4}});
    PopupMenu3 = ui::ButtonMenu(
        GroupBox2, {{"Szűkít        CTRL+S", Button8}, {"Összes      CTRL+O", Button9}});
    PopupMenu3->Add("Mégsem     CTRL+M")->OnClick = Handler(&TGazolajszlaossz::GroupBox2Exit);

    OnActivate = Handler(&TGazolajszlaossz::FormActivate);
    OnKeyPress = Handler(&TGazolajszlaossz::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(
        true, {Button1, Button2, Button3, Button4, Button5, Button6, Button7, Button8, Button9});
    DBGrid1->OnDblClick = Handler(&TGazolajszlaossz::DBGrid1DblClick);
    Button1->OnClick = Handler(&TGazolajszlaossz::Button1Click);
    Button2->OnClick = Handler(&TGazolajszlaossz::Button2Click);
    Button3->OnClick = Handler(&TGazolajszlaossz::Button3Click);
    Button4->OnClick = Handler(&TGazolajszlaossz::Button4Click);
    Button5->OnClick = Handler(&TGazolajszlaossz::Button5Click);
    Button6->OnClick = Handler(&TGazolajszlaossz::Button6Click);
    Button7->OnClick = Handler(&TGazolajszlaossz::Button7Click);
    Button8->OnClick = Handler(&TGazolajszlaossz::Button8Click);
    Button9->OnClick = Handler(&TGazolajszlaossz::Button9Click);
    Button10->OnClick = Handler(&TGazolajszlaossz::Button10Click);
}

void TGazolajszlaossz::RecalcDieselTotals() {
    double litres = 0;
    double amount = 0;
    const db::ControlsHeld held(Table1); // the grid stays on its row
    for (Table1.First(); !Table1.Eof(); Table1.Next()) {
        litres += Table1.FieldByName("Liter").AsFloat();
        amount += Table1.FieldByName("Osszeg").AsFloat();
    }
    Edit4->SetText(sys::floatToText(litres));
    Edit5->SetText(sys::floatToText(amount));
}

void TGazolajszlaossz::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1});
    RecalcDieselTotals();
    DateTimePicker2->SetDate(sys::today());
    DateTimePicker3->SetDate(sys::today());
}

// The keys of the list, of the entry panel and of the date-range panel; Ctrl+M is the
// character 13 that the Enter key itself never gives.
void TGazolajszlaossz::FormKeyPress(TObject*, TKey& Key) {
    if (GroupBox1->isVisible()) {
        ui::Shortcuts(Key, {{'M', Button5}, {'S', Button5}, {'X', Button4}});
    } else if (GroupBox2->isVisible()) {
        if (Key == ui::ctrlKey('X') || Key == ui::ctrlKey('M')) {
            GroupBox2Exit(nullptr);
            Key = ui::keyNone;
        } else {
            ui::Shortcuts(Key, {{'S', Button8}, {'O', Button9}});
        }
    } else {
        ui::Shortcuts(Key, {{'M', Button2},
                            {'S', Button7},
                            {'T', Button6},
                            {'U', Button3},
                            {'I', Button10},
                            {'X', Button1}});
    }
}

void TGazolajszlaossz::ListButtonsActive(bool active) {
    for (ui::TButton* b : {Button1, Button2, Button3, Button6, Button7})
        b->SetTabStop(active);
    Button7->SetEnabled(active);
}

void TGazolajszlaossz::Button1Click(TObject*) {
    Close();
}

void TGazolajszlaossz::Button3Click(TObject*) {
    ListButtonsActive(false);
    Edit1->Clear();
    Edit2->Clear();
    Edit3->Clear();
    ModifyMode = false;
    DBGrid1->SetEnabled(false);
    GroupBox1->SetCaption("Új feljegyzés");
    DateTimePicker1->SetDateTime(sys::now());
    GroupBox1->SetBounds(8, 224, GroupBox1->Width(), GroupBox1->Height());
    GroupBox1->Show();
    GroupBox1->BringToFront();
    DateTimePicker1->SetFocus();
}

void TGazolajszlaossz::OpenForModify(int top) {
    ModifyMode = true;
    ListButtonsActive(false);
    DBGrid1->SetEnabled(false);
    GroupBox1->SetCaption("Feljegyzés módosítása");
    DateTimePicker1->SetDateTime(Table1.FieldByName("Dat").AsDateTime());
    Edit1->SetText(Table1.FieldByName("Liter").AsString());
    Edit2->SetText(Table1.FieldByName("Szlaszam").AsString());
    Edit3->SetText(Table1.FieldByName("Osszeg").AsString());
    GroupBox1->SetBounds(8, top, GroupBox1->Width(), GroupBox1->Height());
    GroupBox1->Show();
    GroupBox1->BringToFront();
    DateTimePicker1->SetFocus();
}

void TGazolajszlaossz::Button2Click(TObject*) {
    OpenForModify(224);
}

void TGazolajszlaossz::DBGrid1DblClick(TObject*) {
    OpenForModify(232);
}

// On an empty register a modification has no row to change: it is saved as a new one.
// Litres and amount are not zero; both are negative on an invoice that corrects another.
// A refused entry keeps its panel open and the list's buttons out of use.
void TGazolajszlaossz::Button5Click(TObject*) {
    if (!NumericInt->IsValidFor(Edit1->Text(), "Mennyiség", "Gazolajszla", "Liter") ||
        !NumericInt->IsValidFor(Edit3->Text(), "Összeg", "Gazolajszla", "Osszeg") ||
        !ui::TypedValuesValid(*GroupBox1))
        return;
    ListButtonsActive(true);
    const sys::DateTime day = DateTimePicker1->DateTime();
    if (ModifyMode && !Table1.IsEmpty())
        Table1.Edit();
    else
        Table1.Insert();
    DBGrid1->SetEnabled(true);
    Table1.FieldByName("Dat").SetAsDateTime(day);
    Table1.FieldByName("Liter").SetAsString(Edit1->Text());
    Table1.FieldByName("Osszeg").SetAsString(Edit3->Text());
    Table1.FieldByName("Szlaszam").SetAsString(Edit2->Text());
    Table1.Post();
    Table1.FlushBuffers();
    GroupBox1->Hide();
    RecalcDieselTotals();
}

void TGazolajszlaossz::Button4Click(TObject*) {
    ListButtonsActive(true);
    DBGrid1->SetEnabled(true);
    GroupBox1->Hide();
}

// The question reactivates the form, whose totals walk to the last row: the row the
// user selected is found again, to be deleted or to stay selected.
void TGazolajszlaossz::Button6Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    const db::TBookmark selected = Table1.GetBookmark();
    const int answer =
        ui::MessageDlg("Biztosan törli a kijelölt elemet?", ui::mtConfirmation, ui::mbYesNo);
    Table1.GotoBookmark(selected);
    if (answer != ui::mrYes)
        return;
    Table1.Delete();
    Table1.FlushBuffers();
    RecalcDieselTotals();
}

void TGazolajszlaossz::Button7Click(TObject*) {
    GroupBox2->Show();
    GroupBox2->BringToFront();
    DateTimePicker2->SetFocus();
}

void TGazolajszlaossz::Button8Click(TObject*) {
    Table1.Close();
    Table1.SetFilter(DieselDateFilter(DateTimePicker2->Date(), DateTimePicker3->Date()));
    Table1.SetFiltered(true);
    Table1.Open();
    GroupBox2->Hide();
    RecalcDieselTotals();
}

void TGazolajszlaossz::Button9Click(TObject*) {
    Table1.SetFilter("");
    Table1.SetFiltered(false);
    GroupBox2->Hide();
    RecalcDieselTotals();
}

void TGazolajszlaossz::GroupBox2Exit(TObject*) {
    GroupBox2->Hide();
}

void TGazolajszlaossz::Button10Click(TObject*) {
    RvProject1.ExecuteActiveReport();
}
