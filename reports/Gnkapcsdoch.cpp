#include "Gnkapcsdoch.h"

#include "platform/db/query.h"
#include "platform/ui/form_helpers.h"
#include "resources/list_box.h"

TGNKapcsdoc* GNKapcsdoc = nullptr;

using res::AddLabel;

int NextRemarkSerial(db::Session& session) {
    db::TQuery query(session);
    query.SQL().Add("SELECT MAX(Msorsz) maxsor FROM GNMegjegy");
    query.Open();
    const db::TField& largest = query.FieldByName("maxsor");
    return largest.IsNull() ? 1 : largest.AsInteger() + 1;
}

std::string RemarkDateFilter(sys::DateTime from, sys::DateTime to) {
    return "Mdate >= '" + sys::filterDateText(from) + "' AND Mdate <= '" + sys::filterDateText(to) +
           "'";
}

TGNKapcsdoc::TGNKapcsdoc(db::Session& session) : session_(session) {
    SetCaption("Kapcsolódó dokumentumok");
    SetClientSize(760, 470);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("GNMegjegy.db");

    auto* heading = ui::Make<ui::TLabel>(this, {8, 8, 400, 20}, "Megjegyzések");
    heading->SetBold(true);
    ui::Make<ui::TLabel>(
        this, {8, 30, 620, 16},
        "A megjegyzések listáját mindíg a már kinyomtatott GN-hez kell igazítani.");
    DBGrid1 = ui::ListGrid(this, {8, 50, 620, 410}, &DataSource1,
                           {{"Mdate", "Mdate", 96},
                            {"Gnszam", "Gnszam", 60},
                            {"Gnlapsz", "Gnlapsz", 60},
                            {"Oszl", "Oszl", 60},
                            {"Sorsz", "Sorsz", 50},
                            {"Megj", "Megj", 224},
                            {"Msorsz", "Msorsz", 50}});
    DBGrid1->OnDblClick = Handler(&TGNKapcsdoc::DBGrid1DblClick);
    Button2 = ui::Make<ui::TButton>(this, {638, 50, 114, 27}, "Új megjegyzés");
    Button3 = ui::Make<ui::TButton>(this, {638, 84, 114, 27}, "Módosítás");
    Button4 = ui::Make<ui::TButton>(this, {638, 118, 114, 27}, "Törlés");
    Button5 = ui::Make<ui::TButton>(this, {638, 152, 114, 27}, "Duplázás");
    Button6 = ui::Make<ui::TButton>(this, {638, 186, 114, 27}, "Nyomtatás");
    Button9 = ui::Make<ui::TButton>(this, {638, 220, 114, 27}, "Szűkítés");
    Button1 = ui::Make<ui::TButton>(this, {638, 433, 114, 27}, "Bezár");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 50, 500, 250}, "Új megjegyzés rögzítése");
    AddLabel(GroupBox1, "Sorszám :", 12, 24, 190);
    DBEdit1 = res::AddDBEdit(GroupBox1, &DataSource1, "Msorsz", 205, 24, 70);
    AddLabel(GroupBox1, "Ideje :", 12, 54, 190);
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(GroupBox1, {205, 54, 120, 22});
    AddLabel(GroupBox1, "GN adatlap száma :", 12, 84, 190);
    DBEdit2 = res::AddDBEdit(GroupBox1, &DataSource1, "Gnszam", 205, 84, 100);
    AddLabel(GroupBox1, "GN adatlap lapszáma :", 12, 114, 190);
    DBEdit3 = res::AddDBEdit(GroupBox1, &DataSource1, "Gnlapsz", 205, 114, 100);
    AddLabel(GroupBox1, "Oszlop jelzlse v. sor száma :", 12, 144, 190);
    DBEdit4 = res::AddDBEdit(GroupBox1, &DataSource1, "Oszl", 205, 144, 150);
    AddLabel(GroupBox1, "Megjegyzés :", 12, 174, 190);
    DBEdit5 = res::AddDBEdit(GroupBox1, &DataSource1, "Megj", 205, 174, 285);
    Button7 = ui::Make<ui::TButton>(GroupBox1, {310, 212, 85, 27}, "Rögzítés");
    Button8 = ui::Make<ui::TButton>(GroupBox1, {405, 212, 85, 27}, "Mégsem");
    GroupBox1->Hide();
    ui::EditBoxOverList(GroupBox1);

    GroupBox2 = ui::Make<ui::TGroupBox>(this, {8, 50, 300, 120}, "Szűkítés");
    DateTimePicker2 = ui::Make<ui::TDateTimePicker>(GroupBox2, {12, 26, 120, 22});
    AddLabel(GroupBox2, "- tól", 138, 26, 40);
    DateTimePicker3 = ui::Make<ui::TDateTimePicker>(GroupBox2, {12, 56, 120, 22});
    AddLabel(GroupBox2, "- ig", 138, 56, 40);
    Button10 = ui::Make<ui::TButton>(GroupBox2, {110, 86, 85, 27}, "Ok");
    Button11 = ui::Make<ui::TButton>(GroupBox2, {205, 86, 85, 27}, "Mégsem");
    GroupBox2->Hide();
    ui::EditBoxOverList(GroupBox2);
    SetTabOrder({DBGrid1, Button2, Button3,         Button4,         Button5,  Button6, Button9,
                 Button1, DBEdit1, DateTimePicker1, DBEdit2,         DBEdit3,  DBEdit4, DBEdit5,
                 Button7, Button8, DateTimePicker2, DateTimePicker3, Button10, Button11});

    // The item of Ctrl+I duplicates the current remark, as the key does, and says so.
    PopupMenu1 = ui::ButtonMenu(this, {{"Új elem                CTRL+U", Button2},
                                       {"Módosítás            CTRL+M", Button3},
                                       {"Törlés                  CTRL+T", Button4},
                                       {"Duplázás              CTRL+I", Button5},
                                       {"Nyomtatás           CTRL+P", Button6},
                                       {"Bezár                   CTRL+X", Button1}});
    SetPopupMenu(PopupMenu1);

    OnShow = Handler(&TGNKapcsdoc::FormShow);
    OnActivate = Handler(&TGNKapcsdoc::FormActivate);
    OnKeyPress = Handler(&TGNKapcsdoc::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true,
                         {Button1, Button2, Button3, Button4, Button5, Button6, Button7, Button8});
    Button1->OnClick = Handler(&TGNKapcsdoc::Button1Click);
    Button2->OnClick = Handler(&TGNKapcsdoc::Button2Click);
    Button3->OnClick = Handler(&TGNKapcsdoc::Button3Click);
    Button4->OnClick = Handler(&TGNKapcsdoc::Button4Click);
    Button5->OnClick = Handler(&TGNKapcsdoc::Button5Click);
    Button6->OnClick = Handler(&TGNKapcsdoc::Button6Click);
    Button7->OnClick = Handler(&TGNKapcsdoc::Button7Click);
    Button8->OnClick = Handler(&TGNKapcsdoc::Button8Click);
    Button9->OnClick = Handler(&TGNKapcsdoc::Button9Click);
    Button10->OnClick = Handler(&TGNKapcsdoc::Button10Click);
    Button11->OnClick = Handler(&TGNKapcsdoc::Button11Click);
}

void TGNKapcsdoc::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &FarmRow1.Table});
}

// The pickers go to today, except those of an open box: a remark being written keeps
// its date when a message or a preview closes and the form is active again.
void TGNKapcsdoc::FormActivate(TObject*) {
    if (!Editing())
        DateTimePicker1->SetDate(sys::today());
    if (!GroupBox2->Visible()) {
        DateTimePicker2->SetDate(sys::today());
        DateTimePicker3->SetDate(sys::today());
    }
}

void TGNKapcsdoc::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'U', Button2},
                        {'M', Button3},
                        {'T', Button4},
                        {'I', Button5},
                        {'P', Button6},
                        {'X', Button1}});
}

void TGNKapcsdoc::DBGrid1DblClick(TObject* Sender) {
    Button3Click(Sender);
}

void TGNKapcsdoc::Button1Click(TObject*) {
    Close();
}

bool TGNKapcsdoc::Editing() const {
    return GroupBox1->Visible();
}

// The list's buttons leave the tab order and the grid waits while a remark is written.
void TGNKapcsdoc::OpenEditor(const std::string& caption, sys::DateTime date) {
    res::SetTabStops({Button1, Button2, Button3, Button4, Button5, Button6}, false);
    DBGrid1->SetEnabled(false);
    DateTimePicker1->SetDateTime(date);
    res::ShowBox(GroupBox1, 8, 50, caption);
    DateTimePicker1->SetFocus();
}

void TGNKapcsdoc::CloseEditor() {
    res::SetTabStops({Button1, Button2, Button3, Button4, Button5, Button6}, true);
    DBGrid1->SetEnabled(true);
    GroupBox1->Hide();
}

// The actions of the list wait while a remark is being written: they would post or
// move away from the row the editor holds.
void TGNKapcsdoc::Button2Click(TObject*) {
    if (Editing())
        return;
    OpenEditor("Új megjegyzés rögzítése", sys::now());
    Table1.Append();
    Table1.FieldByName("Msorsz").SetAsString(std::to_string(NextRemarkSerial(session_)));
}

void TGNKapcsdoc::Button3Click(TObject*) {
    if (Editing() || Table1.IsEmpty())
        return;
    OpenEditor("Megjegyzés módosítása", Table1.FieldByName("Mdate").AsDateTime());
    Table1.Edit();
}

// No question is asked: the remark is gone at once.
void TGNKapcsdoc::Button4Click(TObject*) {
    if (Editing() || Table1.IsEmpty())
        return;
    Table1.Delete();
    Table1.FlushBuffers();
    Table1.Refresh();
}

// The copy keeps every column but the serial, which stays empty.
void TGNKapcsdoc::Button5Click(TObject*) {
    if (Editing() || Table1.IsEmpty())
        return;
    const char* const columns[] = {"Mdate", "Gnszam", "Gnlapsz", "Oszl", "Sorsz", "Megj"};
    std::vector<db::Value> values;
    for (const char* column : columns)
        values.push_back(Table1.FieldByName(column).AsValue());
    Table1.Append();
    for (std::size_t i = 0; i < values.size(); ++i)
        Table1.FieldByName(columns[i]).SetAsValue(values[i]);
    Table1.Post();
    Table1.FlushBuffers();
}

void TGNKapcsdoc::Button6Click(TObject*) {
    if (Editing() || Table1.IsEmpty())
        return;
    RvProject1.ExecuteActiveReport();
}

// The editor closes only when the row is stored: a value the table refuses is told by
// the error display and the remark stays in the editor to be put right.
void TGNKapcsdoc::Button7Click(TObject*) {
    Table1.FieldByName("Mdate").SetAsDateTime(DateTimePicker1->Date());
    Table1.Post();
    Table1.FlushBuffers();
    CloseEditor();
}

void TGNKapcsdoc::Button8Click(TObject*) {
    Table1.Cancel();
    CloseEditor();
}

void TGNKapcsdoc::Button9Click(TObject*) {
    if (Editing())
        return;
    res::ShowBox(GroupBox2, 8, 50, "Szűkítés");
}

void TGNKapcsdoc::Button10Click(TObject*) {
    Table1.SetFiltered(false);
    Table1.SetFilter(RemarkDateFilter(DateTimePicker2->Date(), DateTimePicker3->Date()));
    Table1.SetFiltered(true);
    GroupBox2->Hide();
}

void TGNKapcsdoc::Button11Click(TObject*) {
    Table1.SetFiltered(false);
    GroupBox2->Hide();
}

void OpenDiaryRemarks(db::Session& session) {
    ui::ShowModalForm(GNKapcsdoc, session);
}
