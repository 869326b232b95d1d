#include "Gepjavitash.h"

#include "list_box.h"
#include "platform/ui/form_helpers.h"

TGepjavitas* Gepjavitas = nullptr;

using res::AddLabel;

TGepjavitas::TGepjavitas(db::Session& session) : session_(session) {
    SetCaption("Gépajvításokkal kapcsolatos feljegyzések");
    SetClientSize(640, 460);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("Gepjavitas.db");
    for (db::TTable* machines : {&Table2, &Table3}) {
        machines->SetFilter("Tul = 0");
        machines->SetFiltered(true);
    }
    Table2.SetTableName("Erogepek.DB");
    Table2.SetIndexName("Erogepkodind");
    Table3.SetTableName("Munkagepek.DB");
    Table3.SetIndexName("Munkagepkodind");

    Label1 = ui::Make<ui::TLabel>(this, {8, 8, 624, 24});
    Label1->SetBold(true);
    Label1->setAlignment(Qt::AlignCenter);
    DBGrid1 = ui::ListGrid(this, {8, 40, 624, 360}, &DataSource1,
                           {{"Datum", "Dátum", 80},
                            {"Geptip", "Gép típusa", 130},
                            {"Hiba", "", 200},
                            {"Szerelo", "Szerelő", 100},
                            {"Haziszam", "Gép háziszáma", 100}});
    DBGrid1->OnDblClick = Handler(&TGepjavitas::DBGrid1DblClick);
    Button2 = ui::Make<ui::TButton>(this, {8, 420, 110, 27}, "Új javítás");
    Button3 = ui::Make<ui::TButton>(this, {126, 420, 110, 27}, "Módosítás");
    Button4 = ui::Make<ui::TButton>(this, {244, 420, 110, 27}, "Törlés");
    Button1 = ui::Make<ui::TButton>(this, {522, 420, 110, 27}, "Bezárás");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 120, 520, 292}, "Új javítás");
    AddLabel(GroupBox1, "Dátum :", 12, 28, 90);
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(GroupBox1, {110, 28, 120, 22});
    Label3 = AddLabel(GroupBox1, "Erőgép :", 12, 60, 90);
    DBGrid2 = ui::ListGrid(GroupBox1, {110, 60, 396, 130}, &DataSource2,
                           {{"Geptip", "Típus", 200}, {"Haziszam", "Háziszám", 150}});
    DBGrid3 = ui::ListGrid(GroupBox1, {110, 60, 396, 130}, &DataSource3,
                           {{"Gepnev", "Megnevezés", 200}, {"Hazisz", "Háziszám", 150}});
    AddLabel(GroupBox1, "Hiba :", 12, 200, 90);
    Edit1 = ui::Make<ui::TEdit>(GroupBox1, {110, 200, 396, 22});
    AddLabel(GroupBox1, "Szerelő :", 12, 230, 90);
    Edit2 = ui::Make<ui::TEdit>(GroupBox1, {110, 230, 250, 22});
    Button6 = ui::Make<ui::TButton>(GroupBox1, {110, 264, 100, 27}, "Rögzít");
    Button5 = ui::Make<ui::TButton>(GroupBox1, {220, 264, 100, 27}, "Mégsem");
    GroupBox1->Hide();
    ui::EditBoxOverList(GroupBox1);
    ui::FitToFields(session, "Gepjavitas",
                    {{DateTimePicker1, "Datum"}, {Edit1, "Hiba"}, {Edit2, "Szerelo"}});
    SetTabOrder({DBGrid1, Button2, Button3, Button4, Button1, DateTimePicker1, DBGrid2, DBGrid3,
                 Edit1, Edit2, Button6, Button5});

    PopupMenu1 = ui::ButtonMenu(this, {{"Új javítás   CTRL+U", Button2},
                                       {"Módosítás   CTRL+M", Button3},
                                       {"Törlés         CTRL+T", Button4},
                                       {"Mégsem       CTRL+X", Button1}});
    SetPopupMenu(PopupMenu1);
    PopupMenu2 =
        ui::ButtonMenu(this, {{"Rögzítés    CTRL+S", Button6}, {"Mégsem     CTRL+X", Button5}});
    GroupBox1->SetPopupMenu(PopupMenu2);

    OnActivate = Handler(&TGepjavitas::FormActivate);
    OnKeyPress = Handler(&TGepjavitas::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TGepjavitas::Button1Click);
    Button2->OnClick = Handler(&TGepjavitas::Button2Click);
    Button3->OnClick = Handler(&TGepjavitas::Button3Click);
    Button4->OnClick = Handler(&TGepjavitas::Button4Click);
    Button5->OnClick = Handler(&TGepjavitas::Button5Click);
    Button6->OnClick = Handler(&TGepjavitas::Button6Click);
}

// The repairs of the opener's kind, each with its machine, by date.
void TGepjavitas::SetListStatement() {
    db::TStrings& sql = Query1.SQL();
    sql.Clear();
    if (PowerMachineMode) {
        sql.Add("SELECT Erogepek.Haziszam, Erogepek.Geptip, Gepjavitas.Gepid, Gepjavitas.Id, "
                "Gepjavitas.Datum, Gepjavitas.Hiba, Gepjavitas.Szerelo, Gepjavitas.Erogep, "
                "Erogepek.Gepkod");
        sql.Add("FROM Gepjavitas");
        sql.Add(" INNER JOIN Erogepek");
        sql.Add(" ON  (Gepjavitas.Gepid = Erogepek.Gepkod)");
        sql.Add("WHERE Gepjavitas.Erogep = true");
    } else {
        sql.Add("SELECT Munkagepek.Gepnev As Haziszam, Munkagepek.Tipus As Geptip, "
                "Gepjavitas.Gepid, Gepjavitas.Id, Gepjavitas.Datum, Gepjavitas.Hiba, "
                "Gepjavitas.Szerelo, Gepjavitas.Erogep, Munkagepek.Gepkod");
        sql.Add("FROM Gepjavitas");
        sql.Add(" INNER JOIN Munkagepek");
        sql.Add(" ON  (Gepjavitas.Gepid = Munkagepek.Gepkod)");
        sql.Add("WHERE Gepjavitas.Erogep = false");
    }
    sql.Add("ORDER BY Gepjavitas.Datum");
}

void TGepjavitas::FormActivate(TObject*) {
    if (Query1.Active())
        return;
    SetListStatement();
    ui::OpenOnFirstActivate(this, {&Query1, &Table1, &Table2, &Table3});
    DBGrid2->SetVisible(PowerMachineMode);
    DBGrid3->SetVisible(!PowerMachineMode);
    if (PowerMachineMode)
        Label3->SetCaption("Erőgép");
    Label1->SetCaption(PowerMachineMode ? "Erőgépek javítása" : "Munkagép javítása");
    SetHelpContext(PowerMachineMode ? 31 : 32);
    const bool machines = !(PowerMachineMode ? Table2 : Table3).IsEmpty();
    for (ui::TButton* button : {Button2, Button3, Button4})
        button->SetEnabled(machines);
    for (int i = 0; i < 3; ++i)
        PopupMenu1->Items(i)->SetEnabled(machines);
}

// The list keys act only on a list with repairs (and only while the buttons are
// enabled); Ctrl+X closes. In the box Ctrl+M or Ctrl+S saves and Ctrl+X cancels.
void TGepjavitas::FormKeyPress(TObject*, TKey& Key) {
    if (GroupBox1->Visible()) {
        ui::Shortcuts(Key, {{'M', Button6}, {'S', Button6}, {'X', Button5}});
        return;
    }
    if (ui::Shortcuts(Key, {{'X', Button1}, {'G', nullptr}})) // the grid print prints nothing
        return;
    if (Query1.IsEmpty() || !Button2->Enabled())
        return;
    ui::Shortcuts(Key, {{'M', Button3}, {'T', Button4}, {'U', Button2}});
}

void TGepjavitas::DBGrid1DblClick(TObject* Sender) {
    if (Button3->Enabled())
        Button3Click(Sender);
}

void TGepjavitas::Button1Click(TObject*) {
    Close();
}

void TGepjavitas::OpenBox(const std::string& caption) {
    res::SetTabStops({Button1, Button2, Button3, Button4}, false);
    res::ShowBox(GroupBox1, 8, 120, caption);
    DateTimePicker1->SetFocus();
}

void TGepjavitas::CloseBox() {
    GroupBox1->Hide();
    res::SetTabStops({Button1, Button2, Button3, Button4}, true);
}

// Puts Table1 on the repair of the list's current row.
bool TGepjavitas::LocateSelectedRepair() {
    if (Query1.IsEmpty())
        return false;
    return Table1.Locate("Id", {Query1.FieldByName("Id").AsValue()});
}

void TGepjavitas::Button2Click(TObject*) {
    RepairEditMode = false;
    DateTimePicker1->SetDateTime(sys::now());
    Edit1->Clear();
    Edit2->Clear();
    OpenBox("Új javítás");
}

void TGepjavitas::Button3Click(TObject*) {
    if (!LocateSelectedRepair())
        return;
    RepairEditMode = true;
    res::ShowDate(DateTimePicker1, Table1.FieldByName("Datum"));
    Edit1->SetText(Table1.FieldByName("Hiba").AsString());
    Edit2->SetText(Table1.FieldByName("Szerelo").AsString());
    db::TTable& machines = PowerMachineMode ? Table2 : Table3;
    machines.Locate("Gepkod", {Table1.FieldByName("Gepid").AsValue()});
    OpenBox("Javítás módosítása");
}

void TGepjavitas::Button4Click(TObject*) {
    if (ui::MessageDlg("Biztosan törli a kijelölt elemet?", ui::mtConfirmation, ui::mbYesNo) !=
        ui::mrYes)
        return;
    if (!LocateSelectedRepair())
        return;
    Query1.Close();
    Table1.Delete();
    Table1.FlushBuffers();
    Query1.Open();
}

void TGepjavitas::Button5Click(TObject*) {
    CloseBox();
}

// Writes the box into the repair it was opened on, or into a new repair, for the machine
// selected in the box's list.
void TGepjavitas::Button6Click(TObject*) {
    db::TTable& machines = PowerMachineMode ? Table2 : Table3;
    if (machines.IsEmpty()) {
        ui::MessageDlg("Kérem, válassza ki a javított gépet! Gép nélkül a javítás nem rögzíthető.",
                       ui::mtWarning, ui::mbOK);
        return;
    }
    if (!ui::TypedValuesValid(*GroupBox1))
        return;
    const sys::DateTime day = DateTimePicker1->Date();
    const bool edit = RepairEditMode && LocateSelectedRepair();
    Query1.Close();
    if (edit)
        Table1.Edit();
    else
        Table1.Insert();
    Table1.FieldByName("Datum").SetAsDateTime(day);
    Table1.FieldByName("Hiba").SetAsString(Edit1->Text());
    Table1.FieldByName("Szerelo").SetAsString(Edit2->Text());
    Table1.FieldByName("Erogep").SetAsBoolean(PowerMachineMode);
    Table1.FieldByName("Gepid").SetAsString(machines.FieldByName("Gepkod").AsString());
    Table1.Post();
    Table1.FlushBuffers();
    CloseBox();
    Query1.Open();
}
