#include "Muveleteklist.h"

#include "Elvmuvlista.h"
#include "platform/sys/numbers.h"
#include "platform/ui/form_helpers.h"
#include "report_texts.h"

TMuvList* MuvList = nullptr;

namespace {

struct TotalBox {
    const char* label;
    const char* unit;
};

constexpr TotalBox kTotals[] = {
    {"Műveletek száma :", "db"}, {"Ágazatok :", "db"}, {"Parcellák száma :", "db"},
    {"Gépóra :", "h"},           {"Kézi óra :", "h"},  {"Normálhektár :", ""},
};

} // namespace

TMuvList::TMuvList(db::Session& session) : session_(session) {
    SetCaption("Elvégzett műveletek listája feltételek szerint");
    SetHelpContext(19);
    SetClientSize(900, 560);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("felhanyag.db");
    Table2.SetTableName("Tapanyagok.db");
    Table3.SetTableName("Novenyvedok.db");
    Table4.SetTableName("Vetomagok.db");
    Query1.AddCalcField("EwjW", db::FieldType::Alpha, 30);
    Query1.AddCalcField("Pluss", db::FieldType::Alpha, 60);
    Query1.OnCalcFields = [this](db::TDataSet& rows) { Query1CalcFields(rows); };

    auto* heading = ui::Make<ui::TLabel>(this, {8, 8, 400, 20}, "Elvégzett műveletek");
    heading->SetBold(true);
    ui::Make<ui::TLabel>(this, {8, 32, 200, 16}, "Műveletek listája :");
    DBGrid1 = ui::ListGrid(this, {8, 50, 884, 360}, &DataSource1,
                           {{"Evj", "G. év", 50},
                            {"Parcsor", "S.Sz.", 40},
                            {"Agazat", "Parcella Ágazat", 110},
                            {"Muvnev", "Müvelet megnevezése", 130},
                            {"Datum", "Dátum", 80},
                            {"Ter_1", "Terület", 60},
                            {"Hazmeg", "Hazi megnev", 90},
                            {"Irany", "Irány", 60},
                            {"Gepora", "Gépóra", 50},
                            {"Keziora", "Kézióra", 50},
                            {"Nha", "Nha", 50},
                            {"Szantm", "Mélység cm", 60},
                            {"Hozam", "Hozam t/ha", 60},
                            {"Mellek", "Mellektermény", 90}});
    ui::Make<ui::TLabel>(this, {8, 418, 200, 16}, "Összesítések :");
    ui::TEdit** boxes[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6};
    for (int i = 0; i < 6; ++i) {
        const int left = 8 + (i % 3) * 290, top = 440 + (i / 3) * 30;
        ui::Make<ui::TLabel>(this, {left, top + 4, 120, 16}, kTotals[i].label);
        *boxes[i] = ui::Make<ui::TEdit>(this, {left + 125, top, 110, 22});
        (*boxes[i])->SetReadOnly(true);
        ui::Make<ui::TLabel>(this, {left + 240, top + 4, 30, 16}, kTotals[i].unit);
    }
    Button1 = ui::Make<ui::TButton>(this, {682, 522, 100, 27}, "<< Vissza");
    Button2 = ui::Make<ui::TButton>(this, {792, 522, 100, 27}, "Nyomtatás");

    PopupMenu1 = new ui::TPopupMenu(this);
    PopupMenu1->Add("Nyomtatás         CTRL+P", Button2);
    PopupMenu1->Add("Nyomtatási kép  CTRL+I", Button2);
    PopupMenu1->Add("Vissza                 CTRL+X", Button1);
    SetPopupMenu(PopupMenu1);

    OnShow = Handler(&TMuvList::FormShow);
    OnActivate = Handler(&TMuvList::FormActivate);
    OnKeyPress = Handler(&TMuvList::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2});
    Button1->OnClick = Handler(&TMuvList::Button1Click);
    Button2->OnClick = Handler(&TMuvList::Button2Click);
}

void TMuvList::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Table2, &Table3, &Table4, &FarmRow1.Table});
}

// Both queries are rebuilt on every activation, also after a preview closes.
void TMuvList::FormActivate(TObject*) {
    Query1.Close();
    Query1.SetFilter(elvmuvlist->DateRangeFilter);
    Query1.SetFiltered(true);
    Query1.SQL().Clear();
    Query1.SQL().Add("SELECT * FROM parcellak,ElvMuv");
    Query1.SQL().Add("WHERE (parcellak.Parckod = Tablakod)" + elvmuvlist->ConditionTail);
    Query1.SQL().Add("ORDER BY Evj,Parcsor,Hazmeg,Datum,Muvkod;");
    Query1.Open();

    Query2.Close();
    Query2.SQL().Clear();
    Query2.SQL().Add("SELECT COUNT(ElvMuv.Muvkod),COUNT(DISTINCT Agazat),COUNT(DISTINCT "
                     "Parckod),SUM(Gepora),SUM(Keziora),SUM(Nha) FROM parcellak,ElvMuv");
    Query2.SQL().Add("WHERE (ElvMuv.Tablakod = parcellak.Parckod)" + elvmuvlist->ConditionTail +
                     elvmuvlist->DateRangeTail);
    Query2.Open();
    ShowTotals();

    if (Query1.IsEmpty()) {
        ui::Application->MessageBox("Nincs megjeleníthető művelet!", "Nincs ilyen művelet!",
                                    ui::MB_OK);
        Button2->SetEnabled(false);
    }
}

void TMuvList::ShowTotals() {
    ui::TEdit* boxes[] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6};
    for (int i = 0; i < 6; ++i)
        boxes[i]->SetText(Query2.Fields(i).AsString());
}

void TMuvList::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'I', Button2}, {'P', Button2}, {'X', Button1}});
}

void TMuvList::Button1Click(TObject*) {
    Close();
}

// An empty list prints nothing, also from the pop-up menu and the keys.
void TMuvList::Button2Click(TObject*) {
    report::ExecuteUnlessEmpty(RvProject1, Query1);
}

void TMuvList::Query1CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("EwjW").SetAsString(
        lists::FarmingYearLabel(DataSet.FieldByName("Evj").AsInteger()));
    DataSet.FieldByName("Pluss").SetAsString(lists::DepthAndYieldText(
        DataSet.FieldByName("Szantm").AsString(), DataSet.FieldByName("Hozam").AsFloat(),
        DataSet.FieldByName("Mellek").AsString()));
}
