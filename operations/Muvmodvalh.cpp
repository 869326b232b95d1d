#include "Muvmodvalh.h"

#include "Muvmod.h"
#include "platform/ui/form_helpers.h"
#include "register/cascade_deletes.h"

TMuvModVal* MuvModVal = nullptr;

TMuvModVal::TMuvModVal(db::Session& session) : session_(session) {
    SetCaption("Módosítandó művelet kiválasztása");
    SetClientSize(1150, 520);
    SetPosition(ui::poScreenCenter);
    SetKeyPreview(true);

    Table1.SetTableName("parcellak.DB");
    Table1.SetIndexFieldNames("Evj;Parcsor");
    Table1.SetFilter("Aktiv = 'A'");
    Table1.SetFiltered(true);
    Table2.SetTableName("tablak.DB");

    Label1 = ui::Make<ui::TLabel>(this, {8, 8, 400, 22}, "Módosítandó művelet kiválasztása");
    Label1->SetBold(true);
    ui::Make<ui::TLabel>(this, {8, 36, 120, 18}, "Parcella :");
    DBGrid3 = ui::ListGrid(this, {8, 58, 480, 380}, &DataSource1,
                           {{"Evj", "G. év", 50},
                            {"Parcsor", "S.Sz.", 48},
                            {"Agazat", "Ágazat", 90},
                            {"Ter", "Terület", 60},
                            {"Hazmeg", "Hazi megnevezés", 132},
                            {"Masod", "Másodvetés", 96}});
    ui::Make<ui::TLabel>(this, {496, 36, 120, 18}, "Műveletek :");
    DBGrid2 = ui::ListGrid(this, {496, 58, 646, 380}, &DataSource2,
                           {{"Muvnev", "Müvelet megnevezése", 166},
                            {"Datum", "Dátum", 92},
                            {"Agazat_1", "Ágazat", 80},
                            {"Evj_1", "Gazd. év", 72},
                            {"Irany", "Irány", 50},
                            {"Gepora", "Gépóra", 64},
                            {"Parcsor", "S. Sz.", 52},
                            {"Ter", "Terület", 60}});
    Button1 = ui::Make<ui::TButton>(this, {8, 446, 220, 28}, "Minden művelet megjelenítése");
    Button4 = ui::Make<ui::TButton>(this, {734, 482, 130, 30}, "Müv. törlése");
    Button3 = ui::Make<ui::TButton>(this, {872, 482, 130, 30}, "Kiválasztás");
    Button2 = ui::Make<ui::TButton>(this, {1010, 482, 130, 30}, "Mégsem");
    SetEnterMovesLikeTab(true, {DBGrid2});

    OnShow = Handler(&TMuvModVal::FormShow);
    OnActivate = Handler(&TMuvModVal::FormActivate);
    OnClose = Handler(&TMuvModVal::FormClose);
    Table1.AfterScroll = [this](db::TDataSet& rows) { Table1AfterScroll(rows); };
    DBGrid3->OnCellClick = [this](ui::TColumn&) { Table1AfterScroll(Table1); };
    DBGrid2->OnCellClick = [this](ui::TColumn& column) { DBGrid2CellClick(column); };
    DBGrid2->OnDblClick = Handler(&TMuvModVal::Button3Click);
    DBGrid2->OnKeyPress = [this](TObject* sender, TKey& key) { DBGrid2KeyPress(sender, key); };
    Button1->OnClick = Handler(&TMuvModVal::Button1Click);
    Button2->OnClick = Handler(&TMuvModVal::Button2Click);
    Button3->OnClick = Handler(&TMuvModVal::Button3Click);
    Button4->OnClick = Handler(&TMuvModVal::Button4Click);
}

void TMuvModVal::RebuildOperations() {
    Query2.Close();
    Query2.SQL().Clear();
    Query2.SQL().Add("SELECT *");
    Query2.SQL().Add("FROM ElvMuv,parcellak");
    Query2.SQL().Add(fieldCode_.empty()
                         ? "WHERE ElvMuv.Tablakod = parcellak.Parckod"
                         : "WHERE ElvMuv.Tablakod = parcellak.Parckod AND ElvMuv.Tablakod = "
                           ":Parckod");
    Query2.SQL().Add("ORDER BY Tablakod,Evj,Datum");
    if (!fieldCode_.empty())
        Query2.ParamByName("Parckod").SetAsString(fieldCode_);
    Query2.Open();
}

void TMuvModVal::FormShow(TObject*) {
    RebuildOperations();
    Table1.Open();
    Table2.Open();
    Table1AfterScroll(Table1);
}

void TMuvModVal::FormActivate(TObject*) {
    if (activated_)
        return;
    activated_ = true;
    if (Table2.IsEmpty()) {
        ui::MessageDlg("Nincsenek táblák rögzítve !", ui::mtWarning, {ui::mbOK});
        Button3->SetEnabled(false);
        Button4->SetEnabled(false);
    }
    fieldCode_.clear();
}

void TMuvModVal::FormClose(TObject*, TCloseAction&) {
    Query2.Close();
    Table1.Close();
    Table2.Close();
}

void TMuvModVal::Table1AfterScroll(db::TDataSet&) {
    if (!Table1.Active())
        return;
    fieldCode_ = Table1.IsEmpty() ? std::string() : Table1.FieldByName("Parckod").AsString();
    RebuildOperations();
}

void TMuvModVal::DBGrid2CellClick(ui::TColumn&) {
    Button3->SetEnabled(true);
    Button4->SetEnabled(true);
}

void TMuvModVal::Button1Click(TObject*) {
    fieldCode_.clear();
    RebuildOperations();
}

void TMuvModVal::Button2Click(TObject*) {
    Close();
}

// Hands the chosen operation to the modify form; afterwards the list shows every
// operation, changes included, when the user asks for another change.
void TMuvModVal::Button3Click(TObject*) {
    if (!Query2.Active() || Query2.IsEmpty()) {
        ui::Application->MessageBox("A műveletek listája táblázat üres !", "Nincs művelet!");
        return;
    }
    if (DBGrid2->SelectedIndex() > 0) {
        ui::Application->MessageBox("Nincs művelet kijelölve !", "Nincs művelet!");
        return;
    }
    SelectedOperationCode = Query2.FieldByName("Muvkod").AsString();
    ui::ShowModalForm(MuvModo, session_);
    if (ui::Application->MessageBox("Kér-e további módosítást ?", "További módosítás?",
                                    ui::MB_YESNO | ui::MB_ICONQUESTION) != ui::IDYES) {
        Close();
        return;
    }
    fieldCode_.clear();
    RebuildOperations();
}

// The list is read again as it stood, so it keeps the field it showed.
void TMuvModVal::Button4Click(TObject*) {
    const std::string muvkod =
        Query2.Active() && !Query2.IsEmpty() ? Query2.FieldByName("Muvkod").AsString() : "";
    reg::DeleteOperation(session_, muvkod, false);
    Query2.Close();
    Query2.Open();
}

void TMuvModVal::DBGrid2KeyPress(TObject* sender, TKey& key) {
    if (key == ui::keyEnter) {
        key = 0;
        Button3Click(sender);
    }
}
