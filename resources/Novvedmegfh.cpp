#include "Novvedmegfh.h"

#include "core/Isnuminth.h"
#include "list_box.h"
#include "observations.h"
#include "platform/ui/form_helpers.h"

#include <QLabel>

TNovvedmegf* Novvedmegf = nullptr;

using res::AddLabel;

namespace {

ui::TEdit* EntryEdit(ui::TGroupBox* box, const char* caption, int top, int maxLength) {
    AddLabel(box, caption, 12, top, 200);
    auto* edit = ui::Make<ui::TEdit>(box, {220, top, 330, 22});
    edit->SetMaxLength(maxLength);
    return edit;
}

void FilterActive(db::TTable& fields, bool active) {
    fields.SetFilter(active ? "Aktiv = 'A'" : "");
    fields.SetFiltered(active);
}

} // namespace

TNovvedmegf::TNovvedmegf(db::Session& session) : session_(session) {
    SetCaption("Növényvédelmi megfigyelések");
    SetClientSize(680, 520);
    SetPosition(ui::poScreenCenter);
    SetHelpContext(34);

    Table1.SetTableName("Novvedmegf.db");
    Table1.SetIndexName("NovvedDatum");
    Table1.SetFiltered(true);
    Table1.AddCalcField("karfej", db::FieldType::Alpha, 70);
    Table1.AddCalcField("karjel", db::FieldType::Alpha, 100);
    Table1.OnCalcFields = [this](db::TDataSet& rows) { Table1CalcFields(rows); };
    for (db::TTable* fields : {&Table2, &Table3}) {
        fields->SetTableName("parcellak.DB");
        fields->SetIndexFieldNames("Evj;Parcsor");
        FilterActive(*fields, true);
    }
    Table2.AfterScroll = [this](db::TDataSet& rows) { Table2AfterScroll(rows); };
    Table5.SetTableName("Novvedmeg2.db");
    Table5.SetFiltered(true);
    PestRows.SetTableName("Novvedmeg2.db");
    PestRows.SetIndexFieldNames("Megfid");

    Bevel1 = ui::Make<ui::TBevel>(this, {4, 4, 672, 140});
    AddLabel(this, "Megfigyelt parcella :", 12, 8);
    DBCtrlGrid1 = ui::Make<ui::TDBCtrlGrid>(this, {12, 30, 300, 108});
    DBCtrlGrid1->SetDataSource(&DataSource2);
    DBCtrlGrid1->SetRowCount(3);
    DBCtrlGrid1->SetPanelFactory([](const ui::DbRow& row) {
        return new QLabel(QString::fromStdString(row.AsString("Evj") + " / " +
                                                 row.AsString("Parcsor") + "   " +
                                                 row.AsString("Agazat")));
    });
    CheckBox1 = ui::Make<ui::TCheckBox>(this, {330, 30, 160, 22}, "Aktív parcellák");
    CheckBox1->SetChecked(true);
    DBGrid1 = ui::ListGrid(this, {12, 152, 656, 310}, &DataSource1,
                           {{"Datum", "Dátum", 80},
                            {"Novfejl", "Növény fejlettsége", 130},
                            {"Karfejl", "Károsító neve", 130},
                            {"karfej", "Károsító fejlettsége", 130},
                            {"karjel", "Károsító jelei", 160}});
    DBGrid1->OnDblClick = Handler(&TNovvedmegf::DBGrid1DblClick);
    Button2 = ui::Make<ui::TButton>(this, {12, 480, 110, 27}, "Új feljegyzés");
    Button3 = ui::Make<ui::TButton>(this, {130, 480, 100, 27}, "Módosítás");
    Button4 = ui::Make<ui::TButton>(this, {238, 480, 100, 27}, "Törlés");
    Button7 = ui::Make<ui::TButton>(this, {346, 480, 100, 27}, "Másolás");
    Button1 = ui::Make<ui::TButton>(this, {568, 480, 100, 27}, "Bezárás");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {0, 152, 580, 330}, "Feljegyzés");
    AddLabel(GroupBox1, "Sorszám :", 12, 24, 200);
    Edit6 = ui::Make<ui::TEdit>(GroupBox1, {220, 24, 80, 22});
    AddLabel(GroupBox1, "Dátum :", 12, 52, 200);
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(GroupBox1, {220, 52, 120, 22});
    Edit1 = EntryEdit(GroupBox1, "Növény fejlettségi állapot :", 80, 22);
    Edit3 = EntryEdit(GroupBox1, "Megfigyelés módja, eszköze :", 108, 20);
    Edit2 = EntryEdit(GroupBox1, "Károsító neve :", 136, 22);
    Edit4 = EntryEdit(GroupBox1, "fejlettségi állapota :", 164, 30);
    Edit5 = EntryEdit(GroupBox1, "megjelenésre utaló jelek:", 192, 100);
    Edit7 = EntryEdit(GroupBox1, "fertőzés mértéke :", 220, 50);
    Edit8 = EntryEdit(GroupBox1, "Megjegyzés :", 248, 100);
    Button6 = ui::Make<ui::TButton>(GroupBox1, {220, 288, 100, 27}, "Rögzít");
    Button5 = ui::Make<ui::TButton>(GroupBox1, {330, 288, 100, 27}, "Mégsem");
    GroupBox1->Hide();
    ui::EditBoxOverList(GroupBox1);

    GroupBox2 = ui::Make<ui::TGroupBox>(this, {0, 152, 680, 330}, "Megfigyelés másolása");
    AddLabel(GroupBox2, "Célparcella:", 12, 24);
    DBGrid2 = ui::ListGrid(GroupBox2, {12, 48, 520, 270}, &DataSource3,
                           {{"Evj", "G. év", 50},
                            {"Parcsor", "S. Sz.", 50},
                            {"Agazat", "Ágazat", 150},
                            {"Ter", "Terület", 80},
                            {"Hazmeg", "Házi megnevezés", 150}});
    CheckBox2 = ui::Make<ui::TCheckBox>(GroupBox2, {540, 48, 130, 22}, "Aktív parcellák");
    CheckBox2->SetChecked(true);
    Button8 = ui::Make<ui::TButton>(GroupBox2, {540, 200, 130, 27}, "Kijelölt másolása");
    Button9 = ui::Make<ui::TButton>(GroupBox2, {540, 234, 130, 40},
                                    "Parcellához tartozó\nösszes másolása");
    Button10 = ui::Make<ui::TButton>(GroupBox2, {540, 288, 130, 27}, "Mégsem");
    GroupBox2->Hide();
    ui::EditBoxOverList(GroupBox2);
    ui::FitToFields(session, "Novvedmegf",
                    {{Edit6, "Sorsz"},
                     {DateTimePicker1, "Datum"},
                     {Edit1, "Novfejl"},
                     {Edit2, "Karfejl"},
                     {Edit3, "Mod"},
                     {Edit7, "Fertmert"},
                     {Edit8, "Megjegy"}});
    ui::FitToFields(session, "Novvedmeg2", {{Edit4, "Karfejl"}, {Edit5, "Karjel"}});
    SetTabOrder({DBCtrlGrid1, CheckBox1, DBGrid1,   Button2,         Button3, Button4,
                 Button7,     Button1,   Edit6,     DateTimePicker1, Edit1,   Edit3,
                 Edit2,       Edit4,     Edit5,     Edit7,           Edit8,   Button6,
                 Button5,     DBGrid2,   CheckBox2, Button8,         Button9, Button10});

    PopupMenu1 = ui::ButtonMenu(this, {{"Új feljegyzés    CTRL+U", Button2},
                                       {"Módosítás         CTRL+M", Button3},
                                       {"Törlés               CTRL+T", Button4},
                                       {"Bezár                CTRL+X", Button1}});
    ui::TMenuItem* active = PopupMenu1->Add("Aktív parcellák  CTRL+A");
    active->SetChecked(true);
    active->OnClick = [this](TObject*) { CheckBox1->SetChecked(!CheckBox1->Checked()); };
    SetPopupMenu(PopupMenu1);
    PopupMenu2 =
        ui::ButtonMenu(this, {{"Rögzítés      CTRL+S", Button6}, {"Mégsem       CTRL+X", Button5}});
    GroupBox1->SetPopupMenu(PopupMenu2);

    OnActivate = Handler(&TNovvedmegf::FormActivate);
    OnResize = Handler(&TNovvedmegf::FormResize);
    OnKeyPress = Handler(&TNovvedmegf::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    CheckBox1->OnClick = Handler(&TNovvedmegf::CheckBox1Click);
    CheckBox2->OnClick = Handler(&TNovvedmegf::CheckBox2Click);
    Button1->OnClick = Handler(&TNovvedmegf::Button1Click);
    Button2->OnClick = Handler(&TNovvedmegf::Button2Click);
    Button3->OnClick = Handler(&TNovvedmegf::Button3Click);
    Button4->OnClick = Handler(&TNovvedmegf::Button4Click);
    Button5->OnClick = Handler(&TNovvedmegf::Button5Click);
    Button6->OnClick = Handler(&TNovvedmegf::Button6Click);
    Button7->OnClick = Handler(&TNovvedmegf::Button7Click);
    Button8->OnClick = Handler(&TNovvedmegf::Button8Click);
    Button9->OnClick = Handler(&TNovvedmegf::Button9Click);
    Button10->OnClick = Handler(&TNovvedmegf::Button10Click);
}

void TNovvedmegf::FormActivate(TObject*) {
    CalcSuspended = false;
    if (Table2.Active())
        return;
    ui::OpenOnFirstActivate(this, {&Table2, &Table1, &Table3});
    Table2AfterScroll(Table2);
    if (Table2.IsEmpty()) {
        for (ui::TButton* button : {Button2, Button3, Button4})
            button->SetEnabled(false);
        for (int i = 0; i < 3; ++i)
            PopupMenu1->Items(i)->SetEnabled(false);
    }
}

void TNovvedmegf::FormResize(TObject*) {
    Bevel1->SetWidth(ClientWidth() - 8);
    DBGrid1->SetWidth(ClientWidth() - 24);
}

// The list keys work while neither box is open; the three editing keys only with fields
// to choose from. In the entry box Ctrl+M or Ctrl+S saves and Ctrl+X cancels.
void TNovvedmegf::FormKeyPress(TObject*, TKey& Key) {
    if (GroupBox1->Visible()) {
        ui::Shortcuts(Key, {{'M', Button6}, {'S', Button6}, {'X', Button5}});
        return;
    }
    if (GroupBox2->Visible())
        return;
    if (Key == ui::ctrlKey('A')) {
        Key = ui::keyNone;
        CheckBox1->SetChecked(!CheckBox1->Checked());
        return;
    }
    // Ctrl+G, the grid print of the list, prints nothing.
    if (Table2.IsEmpty() || !Button2->Enabled()) {
        ui::Shortcuts(Key, {{'G', nullptr}, {'X', Button1}});
        return;
    }
    ui::Shortcuts(Key,
                  {{'G', nullptr}, {'U', Button2}, {'M', Button3}, {'T', Button4}, {'X', Button1}});
}

// The pest columns of an observation: its first pest row's stage and signs.
void TNovvedmegf::Table1CalcFields(db::TDataSet& DataSet) {
    if (CalcSuspended)
        return;
    if (!PestRows.Active()) {
        PestRows.Open();
        CloseOnClose(&PestRows);
    }
    const bool found = PestRows.FindKey({DataSet.FieldByName("Id").AsValue()});
    DataSet.FieldByName("karfej").SetAsString(found ? PestRows.FieldByName("Karfejl").AsString()
                                                    : "");
    DataSet.FieldByName("karjel").SetAsString(found ? PestRows.FieldByName("Karjel").AsString()
                                                    : "");
}

void TNovvedmegf::OpenPestRow(int observationId) {
    Table5.Close();
    Table5.SetFilter("Megfid = " + std::to_string(observationId));
    Table5.Open();
}

// The observation list follows the field chosen.
void TNovvedmegf::Table2AfterScroll(db::TDataSet&) {
    if (!Table1.Active() || !Table2.Active())
        return;
    const std::string code = Table2.IsEmpty() ? "" : Table2.FieldByName("Parckod").AsString();
    Table1.SetFilter("Parc_id = '" + code + "'");
}

void TNovvedmegf::CheckBox1Click(TObject*) {
    if (PopupMenu1)
        PopupMenu1->Items(4)->SetChecked(CheckBox1->Checked());
    FilterActive(Table2, CheckBox1->Checked());
    Table2AfterScroll(Table2);
}

void TNovvedmegf::CheckBox2Click(TObject*) {
    FilterActive(Table3, CheckBox2->Checked());
}

void TNovvedmegf::DBGrid1DblClick(TObject* Sender) {
    if (Button3->Enabled())
        Button3Click(Sender);
}

void TNovvedmegf::Button1Click(TObject*) {
    Close();
}

// Browsing: the field chooser and the list are enabled and the list buttons in the tab
// order; otherwise a box is open over the list.
void TNovvedmegf::SetBrowsing(bool browsing) {
    res::SetTabStops({Button1, Button2, Button3, Button4}, browsing);
    DBGrid1->SetEnabled(browsing);
    DBCtrlGrid1->SetEnabled(browsing);
}

void TNovvedmegf::Button2Click(TObject*) {
    if (Table2.IsEmpty())
        return;
    Edit6->SetText(std::to_string(res::NextObservationSerial(session_)));
    DateTimePicker1->SetDate(sys::today());
    ModifyMode = false;
    SetBrowsing(false);
    for (ui::TEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit7, Edit8})
        edit->Clear();
    res::ShowBox(GroupBox1, 0, 152, "Új feljegyzés");
    DateTimePicker1->SetFocus();
}

void TNovvedmegf::Button3Click(TObject*) {
    ModifyMode = true;
    if (Table1.IsEmpty())
        return;
    SetBrowsing(false);
    res::ShowDate(DateTimePicker1, Table1.FieldByName("Datum"));
    Edit1->SetText(Table1.FieldByName("Novfejl").AsString());
    Edit2->SetText(Table1.FieldByName("Karfejl").AsString());
    Edit3->SetText(Table1.FieldByName("Mod").AsString());
    Edit6->SetText(Table1.FieldByName("Sorsz").AsString());
    Edit7->SetText(Table1.FieldByName("Fertmert").AsString());
    Edit8->SetText(Table1.FieldByName("Megjegy").AsString());
    OpenPestRow(Table1.FieldByName("Id").AsInteger());
    Edit4->SetText(Table5.IsEmpty() ? "" : Table5.FieldByName("Karfejl").AsString());
    Edit5->SetText(Table5.IsEmpty() ? "" : Table5.FieldByName("Karjel").AsString());
    Table5.Close();
    res::ShowBox(GroupBox1, 0, 152, "Feljegyzés módosítása");
    DateTimePicker1->SetFocus();
}

void TNovvedmegf::Button4Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    if (ui::MessageDlg("Biztosan törli a kijelölt elemet?", ui::mtConfirmation, ui::mbYesNo) !=
        ui::mrYes)
        return;
    db::SessionTransaction transaction(session_);
    OpenPestRow(Table1.FieldByName("Id").AsInteger());
    if (!Table5.IsEmpty())
        Table5.Delete();
    Table5.Close();
    Table1.Delete();
    transaction.Commit();
    Table1.FlushBuffers();
}

void TNovvedmegf::Button5Click(TObject*) {
    SetBrowsing(true);
    GroupBox1->Hide();
}

// Writes the observation and its one pest row. A serial that is no whole number is
// refused before anything is written, and the box stays open for the correction.
void TNovvedmegf::Button6Click(TObject*) {
    if (!NumericInt->IsValidInteger(Edit6->Text(), "Sorszám") || !ui::TypedValuesValid(*GroupBox1))
        return;
    if (!ModifyMode && Table2.IsEmpty())
        return;
    const bool edit = ModifyMode && !Table1.IsEmpty();
    const sys::DateTime day = DateTimePicker1->Date();
    db::SessionTransaction transaction(session_);
    // The observation.
    CalcSuspended = true;
    if (edit)
        Table1.Edit();
    else
        Table1.Insert();
    if (!edit)
        Table1.FieldByName("Parc_id").SetAsString(Table2.FieldByName("Parckod").AsString());
    Table1.FieldByName("Datum").SetAsDateTime(day);
    Table1.FieldByName("Novfejl").SetAsString(Edit1->Text());
    Table1.FieldByName("Karfejl").SetAsString(Edit2->Text());
    Table1.FieldByName("Mod").SetAsString(Edit3->Text());
    Table1.FieldByName("Sorsz").SetAsString(Edit6->Text());
    Table1.FieldByName("Fertmert").SetAsString(Edit7->Text());
    Table1.FieldByName("Megjegy").SetAsString(Edit8->Text());
    Table1.Post();
    const int id = Table1.FieldByName("Id").AsInteger();
    CalcSuspended = false;
    // Its pest row: the first one edited, or a new one.
    OpenPestRow(id);
    if (edit && !Table5.IsEmpty())
        Table5.Edit();
    else
        Table5.Insert();
    Table5.FieldByName("Megfid").SetAsInteger(id);
    Table5.FieldByName("Karfejl").SetAsString(Edit4->Text());
    Table5.FieldByName("Karjel").SetAsString(Edit5->Text());
    Table5.Post();
    Table5.Close();
    transaction.Commit();
    Table1.FlushBuffers();
    Table1.Close();
    Table1.Open();
    Table1.Locate("Id", {db::Value(static_cast<std::int32_t>(id))});
    SetBrowsing(true);
    GroupBox1->Hide();
}

void TNovvedmegf::Button7Click(TObject*) {
    if (Table1.IsEmpty()) {
        ui::MessageDlg("Figyelem! Nincs másolható, kijelölt elem.", ui::mtConfirmation, ui::mbOK);
        return;
    }
    SetBrowsing(false);
    res::ShowBox(GroupBox2, 0, 152, "Megfigyelés másolása");
    DBGrid2->SetFocus();
}

void TNovvedmegf::CopyObservation() {
    if (Table1.IsEmpty() || Table3.IsEmpty())
        return;
    res::CopyObservation(session_, Table1.FieldByName("Id").AsInteger(),
                         Table3.FieldByName("Parckod").AsString());
}

void TNovvedmegf::Button8Click(TObject*) {
    if (ui::MessageDlg("Biztosan másolja a kijelölt elemet a célparcellára?", ui::mtConfirmation,
                       ui::mbYesNo) != ui::mrYes)
        return;
    CopyObservation();
    if (ui::MessageDlg("A másolás befejeződött. Kéri a kijelölt elem további másolását?",
                       ui::mtConfirmation, ui::mbYesNo) != ui::mrYes)
        Button10Click(Button10);
}

// Copies every observation the field had when the copy began: the copies that land in
// the listed field itself are not copied again.
void TNovvedmegf::Button9Click(TObject*) {
    if (ui::MessageDlg(
            "Biztosan másolja a célparcellára az összes megfigyelést a forrásparcelláról?",
            ui::mtConfirmation, ui::mbYesNo) != ui::mrYes)
        return;
    Table1.SetIndexFieldNames("Id;Parc_id");
    if (!Table1.IsEmpty() && !Table3.IsEmpty()) {
        Table1.Last();
        const int bound = Table1.FieldByName("Id").AsInteger();
        db::SessionTransaction transaction(session_);
        const db::ControlsHeld held(Table1); // the list stays on its row
        for (Table1.First(); !Table1.Eof() && Table1.FieldByName("Id").AsInteger() <= bound;
             Table1.Next())
            CopyObservation();
        transaction.Commit();
    }
    if (ui::MessageDlg("A másolás befejeződött. Kéri a kijelölt elem, vagy a prcellához tartozó "
                       "összes megfigyelés másolását esetleg másik parcellára való másolását?",
                       ui::mtConfirmation, ui::mbYesNo) != ui::mrYes)
        Button10Click(Button10);
    Table1.SetIndexName("NovvedDatum");
}

void TNovvedmegf::Button10Click(TObject*) {
    SetBrowsing(true);
    GroupBox2->Hide();
}
