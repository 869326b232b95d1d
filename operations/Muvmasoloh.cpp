#include "Muvmasoloh.h"

#include "copy_operation.h"
#include "core/Isnuminth.h"
#include "platform/db/filter.h"
#include "platform/ui/form_helpers.h"

#include <QFont>

Tmuvmasolo* muvmasolo = nullptr;

namespace {

bool StockKeepingEnabled() {
    return NumericInt == nullptr || NumericInt->IsStockKeepingEnabled();
}

ui::TDBText* AddText(QWidget* parent, db::TDataSource* source, const char* field, int left, int top,
                     int width) {
    auto* text = ui::Make<ui::TDBText>(parent, {left, top, width, 18});
    text->SetDataSource(source);
    text->SetDataField(field);
    return text;
}

} // namespace

Tmuvmasolo::Tmuvmasolo(db::Session& session) : session_(session) {
    SetCaption("Elvégzett művelet másolása");
    SetClientSize(1240, 560);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("parcellak.db");
    Table1.SetIndexFieldNames("Evj;Parcsor");
    Table1.SetFilter("Aktiv = 'A'");
    Table1.SetFiltered(true);
    Table2.SetTableName("ElvMuv.db");
    Table2.SetIndexFieldNames("Datum");
    Table3.SetTableName("parcellak.db");
    Table3.SetIndexFieldNames("Evj;Parcsor");
    Table3.SetFilter("Aktiv = 'A'");
    Table3.SetFiltered(true);
    stockKeeping_ = StockKeepingEnabled();

    Label1 = ui::Make<ui::TLabel>(this, {8, 8, 400, 22}, "Elvégzett művelet másolása");
    Label1->SetBold(true);
    ui::Make<ui::TLabel>(this, {8, 36, 120, 18}, "Forrás tábla :");
    CheckBox1 = ui::Make<ui::TCheckBox>(this, {140, 34, 120, 20}, "Aktív táblák");
    CheckBox1->SetChecked(true);
    DBGrid1 = ui::ListGrid(this, {8, 58, 330, 420}, &DataSource1,
                           {{"Evj", "G. év", 50},
                            {"Parcsor", "S.sz.", 40},
                            {"Agazat", "Ágazat", 80},
                            {"Ter", "Terület", 60},
                            {"Hazmeg", "Házi megnevezés", 90}});
    ui::Make<ui::TLabel>(this, {346, 36, 300, 18}, "Elvégzett művelet a forrás táblán :");
    DBGrid2 = ui::ListGrid(this, {346, 58, 430, 300}, &DataSource2,
                           {{"Datum", "Dátum", 70},
                            {"Muvnev", "Megnevezés", 110},
                            {"Ter", "Terület", 55},
                            {"Nha", "Nha", 45},
                            {"Gepora", "G.óra", 45},
                            {"Keziora", "K.óra", 45},
                            {"Irany", "Irány", 45}});
    GroupBox1 = ui::Make<ui::TGroupBox>(this, {346, 364, 430, 114}, " kijelölt művelet adatai : ");
    DBText1 = AddText(GroupBox1, &DataSource2, "Muvnev", 8, 20, 200);
    QFont bold = DBText1->font();
    bold.setBold(true);
    DBText1->setFont(bold);
    DBText2 = AddText(GroupBox1, &DataSource2, "Datum", 216, 20, 90);
    DBText3 = AddText(GroupBox1, &DataSource2, "Ter", 314, 20, 70);
    ui::Make<ui::TLabel>(GroupBox1, {386, 20, 30, 18}, "m²");
    ui::Make<ui::TLabel>(GroupBox1, {8, 46, 34, 18}, "Nha:");
    DBText4 = AddText(GroupBox1, &DataSource2, "Nha", 42, 46, 50);
    ui::Make<ui::TLabel>(GroupBox1, {96, 46, 56, 18}, "Gépóra:");
    DBText5 = AddText(GroupBox1, &DataSource2, "Gepora", 152, 46, 40);
    ui::Make<ui::TLabel>(GroupBox1, {196, 46, 60, 18}, "Kézióra:");
    DBText6 = AddText(GroupBox1, &DataSource2, "Keziora", 256, 46, 40);
    ui::Make<ui::TLabel>(GroupBox1, {300, 46, 44, 18}, "Irány:");
    DBText7 = AddText(GroupBox1, &DataSource2, "Irany", 344, 46, 80);
    DBText8 = AddText(GroupBox1, &DataSource2, "Szantm", 8, 74, 90);
    DBText9 = AddText(GroupBox1, &DataSource2, "Hozam", 104, 74, 90);
    DBText10 = AddText(GroupBox1, &DataSource2, "Mellek", 200, 74, 220);

    // Two-line captions keep the buttons narrow, leaving the target grid room for the
    // house name.
    Button1 = ui::Make<ui::TButton>(this, {784, 160, 130, 44}, "kijelölt művelet\nmásolása >");
    Button1->SetHint("Elvégzett művelet kijelölt műveletének másolása a célparcellához.");
    Button2 = ui::Make<ui::TButton>(this, {784, 212, 130, 44}, "összes művelet\nmásolása >>");
    Button2->SetHint("A forrásparcellához tartozó összes művelet másolása a célparcellához.");
    ui::Make<ui::TLabel>(this, {922, 36, 120, 18}, "Cél tábla :");
    DBGrid3 = ui::ListGrid(this, {922, 58, 310, 420}, &DataSource3,
                           {{"Evj", "G. év", 40},
                            {"Parcsor", "S.sz", 35},
                            {"Agazat", "Ágazat", 60},
                            {"Ter", "Terület", 50},
                            {"Hazmeg", "Hazi megnevezés", 105}});
    ui::Make<ui::TLabel>(this, {8, 488, 900, 18},
                         "Figyelem! Másolás esetén az anyagkészletek nincsenek figyelembe véve, "
                         "így a raktárkészlet minuszba is fordulhat!");
    ui::Make<ui::TLabel>(this, {8, 508, 900, 18},
                         "Kikapcsolt készletkezelésnél a másolt műveletek anyagigényei nem "
                         "vonódnak le.");
    Button3 = ui::Make<ui::TButton>(this, {1140, 524, 92, 27}, "Bezárás");

    OnShow = Handler(&Tmuvmasolo::FormShow);
    OnClose = Handler(&Tmuvmasolo::FormClose);
    Table1.AfterScroll = [this](db::TDataSet& rows) { Table1AfterScroll(rows); };
    CheckBox1->OnClick = Handler(&Tmuvmasolo::CheckBox1Click);
    Button1->OnClick = Handler(&Tmuvmasolo::Button1Click);
    Button2->OnClick = Handler(&Tmuvmasolo::Button2Click);
    Button3->OnClick = Handler(&Tmuvmasolo::Button3Click);
}

void Tmuvmasolo::FormShow(TObject*) {
    Table1.Open();
    Table3.Open();
    Table1AfterScroll(Table1);
    stockKeeping_ = StockKeepingEnabled();
}

void Tmuvmasolo::FormClose(TObject*, TCloseAction&) {
    Table1.Close();
    Table2.Close();
    Table3.Close();
}

void Tmuvmasolo::Table1AfterScroll(db::TDataSet&) {
    if (!Table1.Active())
        return;
    Table2.Close();
    Table2.SetFilter("Tablakod = " + db::quoteFilterText(Table1.FieldByName("Parckod").AsString()));
    Table2.SetFiltered(true);
    Table2.Open();
}

void Tmuvmasolo::CheckBox1Click(TObject*) {
    if (Table1.Active())
        Table1.SetFiltered(CheckBox1->Checked());
    Table1AfterScroll(Table1);
}

std::string Tmuvmasolo::CopyOperation(bool planned, const std::string& muvkod,
                                      const std::string& targetParckod) {
    if (planned)
        return ops::CopyOperation(session_, true, muvkod, targetParckod, stockKeeping_);
    if (!Table2.Active() || Table2.IsEmpty() || !Table3.Active() || Table3.IsEmpty())
        return {};
    return ops::CopyOperation(session_, false, Table2.FieldByName("Muvkod").AsString(),
                              Table3.FieldByName("Parckod").AsString(), stockKeeping_);
}

bool Tmuvmasolo::HasTargetField() {
    if (Table3.Active() && !Table3.IsEmpty() && !Table3.FieldByName("Parckod").AsString().empty())
        return true;
    ui::MessageDlg("Nincs kiválasztott cél tábla, a másolás nem végezhető el!", ui::mtWarning,
                   ui::mbOK);
    return false;
}

void Tmuvmasolo::AskForMore() {
    if (ui::MessageDlg("A másolás befejeződött. Kér további másolását?", ui::mtConfirmation,
                       ui::mbYesNo) != ui::mrYes)
        Close();
}

void Tmuvmasolo::Button1Click(TObject*) {
    if (ui::MessageDlg("Valóban másolja a kijelölt műveletet a céltábla műveleteihet?",
                       ui::mtConfirmation, ui::mbYesNo) != ui::mrYes)
        return;
    if (!HasTargetField())
        return;
    CopyOperation(false, "100000", "100000");
    AskForMore();
}

void Tmuvmasolo::Button2Click(TObject*) {
    if (ui::MessageDlg("Valóban másolja a kijelölt forrás parcellához tartozó összes műveletet "
                       "a céltábla műveleteihet?",
                       ui::mtConfirmation, ui::mbYesNo) != ui::mrYes)
        return;
    if (!Table2.Active() || Table2.IsEmpty())
        return;
    if (!HasTargetField())
        return;
    ops::CopyAllOperations(session_, Table1.FieldByName("Parckod").AsString(),
                           Table3.FieldByName("Parckod").AsString(), stockKeeping_);
    AskForMore();
}

void Tmuvmasolo::Button3Click(TObject*) {
    Close();
}
