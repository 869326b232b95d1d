#include "Geplisth.h"

#include "Eszkozfelh.h"
#include "core/Isnuminth.h"
#include "list_box.h"
#include "platform/ui/form_helpers.h"

TGeplist* Geplist = nullptr;

using res::AddDBEdit;
using res::AddLabel;

TGeplist::TGeplist(db::Session& session) : session_(session) {
    SetCaption("Gépek listája");
    SetClientSize(560, 460);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("Erogepek.DB");
    // In name order: Gepnev, which own tractors leave empty, then their type, the name a
    // tractor is shown by.
    Table1.SetIndexFieldNames("Gepnev;Geptip");
    Table1.SetFilter("Tul = 0");
    Table1.SetFiltered(true);
    Table2.SetTableName("Munkagepek.DB");
    Table2.SetIndexName("Munkagepnevind");
    Table2.SetFilter("Tul = 0");
    Table2.SetFiltered(true);

    Bevel1 = ui::Make<ui::TBevel>(this, {4, 4, 552, 392});
    PageControl1 = ui::Make<ui::TPageControl>(this, {8, 8, 544, 295});
    TabSheet1 = new ui::TTabSheet(PageControl1, "Erőgépek listázása");
    DBGrid1 = ui::ListGrid(TabSheet1, {4, 4, 528, 258}, &DataSource1,
                           {{"Geptip", "Gep tipusa", 200},
                            {"Haziszam", "Háziszám", 150},
                            {"Kategoria", "Kategória", 120}});
    TabSheet2 = new ui::TTabSheet(PageControl1, "Munkagépek listázása");
    DBGrid2 = ui::ListGrid(
        TabSheet2, {4, 4, 528, 258}, &DataSource2,
        {{"Gepnev", "Megnevezés", 200}, {"Hazisz", "Háziszám", 150}, {"Tipus", "", 150}});
    for (ui::TDBGrid* grid : {DBGrid1, DBGrid2})
        grid->OnDblClick = Handler(&TGeplist::DBGrid1DblClick);

    Button9 = ui::Make<ui::TButton>(this, {16, 350, 100, 27}, "Új gép");
    Button10 = ui::Make<ui::TButton>(this, {124, 350, 100, 27}, "Törlés");
    Button4 = ui::Make<ui::TButton>(this, {232, 350, 100, 27}, "Módosítás");
    Button1 = ui::Make<ui::TButton>(this, {16, 390, 100, 27}, "Bezárás");
    Button2 = ui::Make<ui::TButton>(this, {124, 390, 100, 27}, "Nyomtatási kép");
    Button3 = ui::Make<ui::TButton>(this, {232, 390, 100, 27}, "Nyomtatás");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 48, 420, 376}, "Gép módosítása");
    AddLabel(GroupBox1, "Típus :", 12, 30);
    DBEdit1 = AddDBEdit(GroupBox1, &DataSource1, "Geptip", 130, 30, 220);
    AddLabel(GroupBox1, "Házisszám :", 12, 60);
    DBEdit2 = AddDBEdit(GroupBox1, &DataSource1, "Haziszam", 130, 60, 220);
    AddLabel(GroupBox1, "Kategória :", 12, 90);
    ComboBox1 = ui::Make<ui::TComboBox>(GroupBox1, {130, 90, 120, 22});
    ComboBox1->Items().AddStrings({"Nagy", "Közép", "Kis"});
    ui::FitToFields(session, "Erogepek", {{ComboBox1, "Kategoria"}});
    AddLabel(GroupBox1, "Beszerzés éve :", 12, 120);
    DBEdit3 = AddDBEdit(GroupBox1, &DataSource1, "Beszev", 130, 120, 80);
    Button5 = ui::Make<ui::TButton>(GroupBox1, {130, 160, 100, 27}, "Mégsem");
    Button6 = ui::Make<ui::TButton>(GroupBox1, {240, 160, 140, 27}, "Vátozás rögzítése");
    GroupBox1->Hide();
    ui::EditBoxOverList(GroupBox1);

    GroupBox2 = ui::Make<ui::TGroupBox>(this, {8, 48, 420, 376}, "Gép módosítása");
    AddLabel(GroupBox2, "Megnevezés :", 12, 30);
    DBEdit4 = AddDBEdit(GroupBox2, &DataSource2, "Gepnev", 130, 30, 220);
    AddLabel(GroupBox2, "Háziszám :", 12, 60);
    DBEdit5 = AddDBEdit(GroupBox2, &DataSource2, "Hazisz", 130, 60, 220);
    AddLabel(GroupBox2, "Tíus :", 12, 90);
    DBEdit6 = AddDBEdit(GroupBox2, &DataSource2, "Tipus", 130, 90, 220);
    AddLabel(GroupBox2, "Beszerzés éve :", 12, 120);
    DBEdit7 = AddDBEdit(GroupBox2, &DataSource2, "Beszev", 130, 120, 80);
    Button7 = ui::Make<ui::TButton>(GroupBox2, {130, 160, 100, 27}, "Mégsem");
    Button8 = ui::Make<ui::TButton>(GroupBox2, {240, 160, 140, 27}, "Változás rögzítése");
    GroupBox2->Hide();
    ui::EditBoxOverList(GroupBox2);

    SetTabOrder({PageControl1, DBGrid1, DBGrid2, Button9, Button10,  Button4, Button1,
                 Button2,      Button3, DBEdit1, DBEdit2, ComboBox1, DBEdit3, Button5,
                 Button6,      DBEdit4, DBEdit5, DBEdit6, DBEdit7,   Button7, Button8});

    PopupMenu1 = ui::ButtonMenu(this, {{"Új gép              CTRL+U", Button9},
                                       {"Törlés              CTRL+T", Button10},
                                       {"Módosítás        CTRL+M", Button4},
                                       {"Nyomtatás         CTRL+P", Button3},
                                       {"Nyomtatási kép  CTRL+I", Button2},
                                       {"Bezárás             CTRL+X", Button1}});
    SetPopupMenu(PopupMenu1);
    PopupMenu2 = new ui::TPopupMenu(this);
    PopupMenu2->Add("Rögzítés    CTRL+S")->OnClick = [this](TObject*) {
        (GroupBox1->Visible() ? Button6 : Button8)->Click();
    };
    PopupMenu2->Add("Mégsem     CTRL+X")->OnClick = [this](TObject*) {
        (GroupBox1->Visible() ? Button5 : Button7)->Click();
    };
    GroupBox1->SetPopupMenu(PopupMenu2);
    GroupBox2->SetPopupMenu(PopupMenu2);

    OnShow = Handler(&TGeplist::FormShow);
    OnActivate = Handler(&TGeplist::FormActivate);
    OnResize = Handler(&TGeplist::FormResize);
    OnKeyPress = Handler(&TGeplist::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {DBGrid1, DBGrid2});
    Button1->OnClick = Handler(&TGeplist::Button1Click);
    Button2->OnClick = Handler(&TGeplist::Button2Click);
    Button3->OnClick = Handler(&TGeplist::Button3Click);
    Button4->OnClick = Handler(&TGeplist::Button4Click);
    Button5->OnClick = Handler(&TGeplist::Button5Click);
    Button6->OnClick = Handler(&TGeplist::Button6Click);
    Button7->OnClick = Handler(&TGeplist::Button7Click);
    Button8->OnClick = Handler(&TGeplist::Button8Click);
    Button9->OnClick = Handler(&TGeplist::Button9Click);
    Button10->OnClick = Handler(&TGeplist::Button10Click);
}

bool TGeplist::TractorPage() const {
    return PageControl1->ActivePage() == TabSheet1;
}

db::TTable& TGeplist::ShownTable() {
    return TractorPage() ? Table1 : Table2;
}

void TGeplist::FormShow(TObject*) {
    if (NumericInt->GetOptionFlag("_GepekFormState"))
        SetHeight(ui::Screen::Height() - 60);
}

void TGeplist::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Table2});
    if (!GroupBox1->Visible() && !GroupBox2->Visible())
        (TractorPage() ? DBGrid1 : DBGrid2)->SetFocus();
}

// Lays the list out from the form's height: the grids stretch with it.
void TGeplist::FormResize(TObject*) {
    const int h = ClientHeight();
    Bevel1->SetHeight(h - 68);
    PageControl1->SetHeight(Bevel1->Height() - 97);
    DBGrid1->SetHeight(PageControl1->Height() - 37);
    DBGrid2->SetHeight(PageControl1->Height() - 37);
    GroupBox1->SetHeight(Bevel1->Height() - 16);
    GroupBox2->SetHeight(Bevel1->Height() - 16);
    Button4->SetTop(h - 110);
    Button9->SetTop(Button4->Top());
    Button10->SetTop(Button4->Top());
    for (ui::TButton* button : {Button1, Button2, Button3})
        button->SetTop(Button4->Top() + 40);
}

void TGeplist::FormKeyPress(TObject*, TKey& Key) {
    if (GroupBox1->Visible() || GroupBox2->Visible()) {
        const bool tractor = GroupBox1->Visible();
        ui::TButton* save = tractor ? Button6 : Button8;
        ui::TButton* cancel = tractor ? Button5 : Button7;
        ui::Shortcuts(Key, {{'M', save}, {'S', save}, {'X', cancel}});
        return;
    }
    if (Key == ui::keyEnter && (ActiveControl() == DBGrid1 || ActiveControl() == DBGrid2)) {
        Key = ui::keyNone;
        Button4->Click();
        return;
    }
    ui::Shortcuts(Key, {{'U', Button9},
                        {'T', Button10},
                        {'M', Button4},
                        {'J', Button4},
                        {'P', Button3},
                        {'I', Button2},
                        {'X', Button1}});
}

void TGeplist::DBGrid1DblClick(TObject* Sender) {
    Button4Click(Sender);
}

void TGeplist::Button1Click(TObject*) {
    Close();
}

// Runs the list of the page shown; an empty list prints nothing.
void TGeplist::PrintShownList() {
    report::ExecuteUnlessEmpty(TractorPage() ? RvProject1 : RvProject2, ShownTable());
}

void TGeplist::Button2Click(TObject*) {
    PrintShownList();
}

// The report's set-up dialog offers the printer, so printing runs the same list.
void TGeplist::Button3Click(TObject*) {
    PrintShownList();
}

// While a modify box is open the list's controls are out of the tab order.
void TGeplist::SetListActive(bool active) {
    res::SetTabStops({PageControl1, Button1, Button2, Button3, Button4, Button9, Button10}, active);
}

// Opens the modify box of the page shown on its current machine.
void TGeplist::Button4Click(TObject*) {
    db::TTable& table = ShownTable();
    if (table.IsEmpty()) {
        ui::MessageDlg("Nincsenek módosítható elemek!", ui::mtConfirmation, ui::mbOK);
        return;
    }
    SetListActive(false);
    ui::TGroupBox* box = TractorPage() ? GroupBox1 : GroupBox2;
    res::ShowBox(box, 8, 48, "Gép módosítása");
    if (TractorPage()) {
        ComboBox1->SetText(Table1.FieldByName("Kategoria").AsString());
        DBEdit1->SetFocus();
    } else {
        DBEdit4->SetFocus();
    }
}

// Hides the box and takes back what was typed into it but not saved.
void TGeplist::CloseBox(ui::TGroupBox* box) {
    box->Hide();
    SetListActive(true);
    Button4->SetFocus();
}

void TGeplist::Button5Click(TObject*) {
    Table1.Cancel();
    CloseBox(GroupBox1);
}

void TGeplist::Button6Click(TObject*) {
    if (Table1.State() == db::DataSetState::Browse)
        Table1.Edit();
    Table1.FieldByName("Kategoria").SetAsString(ComboBox1->Text());
    Table1.Post();
    CloseBox(GroupBox1);
}

void TGeplist::Button7Click(TObject*) {
    Table2.Cancel();
    CloseBox(GroupBox2);
}

void TGeplist::Button8Click(TObject*) {
    Table2.UpdateRecord();
    if (Table2.State() != db::DataSetState::Browse)
        Table2.Post();
    CloseBox(GroupBox2);
}

void TGeplist::Button9Click(TObject*) {
    ui::ShowModalForm(Eszkozfel, session_);
    Table1.Refresh();
    Table2.Refresh();
}

// Retires the current machine: it leaves the own lists and stays for its operations.
void TGeplist::Button10Click(TObject*) {
    if (ui::MessageDlg("Valóban töröljem a kijelölt gépet ?", ui::mtConfirmation, ui::mbYesNo) !=
        ui::mrYes)
        return;
    db::TTable& table = ShownTable();
    if (table.IsEmpty())
        return;
    table.Edit();
    table.FieldByName("Tul").SetAsInteger(1);
    table.Post();
    table.Refresh();
}
