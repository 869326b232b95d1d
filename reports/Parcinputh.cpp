#include "Parcinputh.h"

#include "diary_conditions.h"
#include "platform/sys/numbers.h"
#include "platform/ui/form_helpers.h"
#include "register/single_row.h"
#include "report_texts.h"

TParcInput* ParcInput = nullptr;

namespace {

void AddLines(db::TQuery& query, std::initializer_list<const char*> lines) {
    for (const char* line : lines)
        query.SQL().Add(line);
}

} // namespace

TParcInput::TParcInput(db::Session& session) : session_(session) {
    SetCaption("Input kimutatás");
    SetHelpContext(51);
    SetClientSize(720, 460);
    SetPosition(ui::poScreenCenter);

    Table2.SetTableName("parcellak.DB");
    Table2.SetIndexFieldNames("Evj;Parcsor");
    Table2.SetFilter("Aktiv = 'A'");
    Table2.SetFiltered(true);

    // Beside the average dose and the summed area each material query sums dose × area
    // (Dter): the quantity is that sum, not the average dose times the summed area.
    AddLines(Query1,
             {"SELECT Tapanyagok.Nev, AVG( felhanyag.Menny ) Menny, felhanyag.Mert, "
              "felhanyag.Tablakod, SUM( ElvMuv.Ter ) Ter, "
              "SUM( felhanyag.Menny * ElvMuv.Ter ) Dter",
              "FROM felhanyag", "   INNER JOIN Tapanyagok",
              "   ON  (felhanyag.Anyagkod = Tapanyagok.Kod)  ", "   INNER JOIN ElvMuv",
              "   ON  (ElvMuv.Muvkod = felhanyag.Muvkod)  ", "WHERE  ElvMuv.Tablakod = :pkod",
              "GROUP BY Tapanyagok.Nev, felhanyag.Mert, felhanyag.Tablakod"});
    AddLines(Query2,
             {"SELECT Novenyvedok.Nev, AVG( felhanyag.Menny ) Menny, felhanyag.Mert, "
              "Novenyvedok.Kod, SUM( ElvMuv.Ter ) Ter, "
              "SUM( felhanyag.Menny * ElvMuv.Ter ) Dter",
              "FROM felhanyag", "   INNER JOIN Novenyvedok",
              "   ON  (felhanyag.Anyagkod = Novenyvedok.Kod)  ", "   INNER JOIN ElvMuv",
              "   ON  (Elvmuv.Muvkod = felhanyag.Muvkod)  ", "WHERE  Elvmuv.Tablakod = :pkod ",
              "GROUP BY Novenyvedok.Kod, Novenyvedok.Nev, felhanyag.Mert"});
    AddLines(Query3,
             {"SELECT Vetomagok.Nev, AVG( felhanyag.Menny) Menny, SUM( Elvmuv.Ter ) Ter, "
              "felhanyag.Mert, felhanyag.Anyagkod, "
              "SUM( felhanyag.Menny * Elvmuv.Ter ) Dter",
              "FROM ElvMuv", "   INNER JOIN felhanyag",
              "   ON  (Elvmuv.Muvkod = felhanyag.Muvkod)  ", "   INNER JOIN Vetomagok",
              "   ON  (felhanyag.Anyagkod = Vetomagok.Magkod)  ", "WHERE  Elvmuv.Tablakod = :pkod ",
              "GROUP BY felhanyag.Anyagkod, Vetomagok.Nev, felhanyag.Mert"});
    AddLines(Query4,
             {"SELECT SUM( Keziora ) OszKeziora, SUM( Gepora ) OszGepora, SUM( Nha ) OszNha",
              "FROM ElvMuv", "WHERE  Tablakod = :pkod"});
    for (db::TQuery* query : {&Query1, &Query2, &Query3}) {
        query->AddCalcField("Tmenny", db::FieldType::Number);
        query->OnCalcFields = [this](db::TDataSet& rows) { MaterialCalcFields(rows); };
    }

    auto* heading =
        ui::Make<ui::TLabel>(this, {8, 8, 400, 20}, "Input kimutatás a kijelölt parcellára");
    heading->SetBold(true);
    ui::Make<ui::TLabel>(this, {8, 34, 260, 16}, "Gazd. év / P.S.Sz.           Ágazat");
    DBCtrlGrid1 = ui::ListGrid(
        this, {8, 52, 260, 330}, &DataSource2,
        {{"Evj", "Gazd. év", 60}, {"Parcsor", "P.S.Sz.", 50}, {"Agazat", "Ágazat", 130}});
    CheckBox1 = ui::Make<ui::TCheckBox>(this, {8, 390, 200, 20}, "Aktív parcellák");
    CheckBox1->SetChecked(true);
    PageControl1 = ui::Make<ui::TPageControl>(this, {276, 34, 436, 348});
    const std::initializer_list<ui::GridColumn> materialColumns{
        {"Nev", "Megnevezés", 220}, {"Tmenny", "Mennyiség", 100}, {"Mert", "M.E.", 60}};
    auto page = [&](const char* caption, db::TDataSource* source,
                    std::initializer_list<ui::GridColumn> columns) {
        auto* sheet = new ui::TTabSheet(PageControl1, caption);
        return ui::ListGrid(sheet, {4, 4, 420, 310}, source, columns);
    };
    DBGrid1 = page("Termésnövelő", &DataSource1, materialColumns);
    DBGrid2 = page("Növényvédőszer", &DataSource3, materialColumns);
    DBGrid3 = page("Vetőmag", &DataSource4, materialColumns);
    DBGrid4 = page("Munka", &DataSource5,
                   {{"OszKeziora", "Kézióra", 100},
                    {"OszGepora", "Gépóra", 100},
                    {"OszNha", "Normál ha.", 100}});
    Button4 = ui::Make<ui::TButton>(this, {392, 424, 100, 27}, "Lekérés");
    Button2 = ui::Make<ui::TButton>(this, {502, 424, 100, 27}, "Nyomtatás");
    Button1 = ui::Make<ui::TButton>(this, {612, 424, 100, 27}, "Bezárás");

    PopupMenu1 = new ui::TPopupMenu(this);
    Aktvparcellk1 = PopupMenu1->Add("Aktív parcellák     CTRL+A");
    Aktvparcellk1->SetChecked(true);
    Aktvparcellk1->OnClick = Handler(&TParcInput::Aktvparcellk1Click);
    PopupMenu1->Add("Nyomtatási kép    CTRL+I", Button2);
    PopupMenu1->Add("Nyomtatás           CTRL+P", Button2);
    PopupMenu1->Add("Bezár                   CTRL+X", Button1);
    SetPopupMenu(PopupMenu1);

    // The header of the printout: the field the pages describe.
    reg::MakeSingleRowConnection(
        RvCustomInputConnection1, {"Parcs", "Evj", "Hazim", "Ter", "Agaz"}, [this] {
            return std::vector<std::string>{
                Table2.FieldByName("Parcsor").AsString(),
                lists::FarmingYearLabel(Table2.FieldByName("Evj").AsInteger()),
                Table2.FieldByName("Hazmeg").AsString(),
                sys::floatToText(Table2.FieldByName("Ter").AsFloat()),
                Table2.FieldByName("Agazat").AsString()};
        });

    OnShow = Handler(&TParcInput::FormShow);
    OnKeyPress = Handler(&TParcInput::FormKeyPress);
    SetKeyPreview(true);
    Button1->OnClick = Handler(&TParcInput::Button1Click);
    Button2->OnClick = Handler(&TParcInput::Button2Click);
    Button4->OnClick = Handler(&TParcInput::Button4Click);
    CheckBox1->OnClick = Handler(&TParcInput::CheckBox1Click);
}

void TParcInput::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table2, &Query1, &Query2, &Query3, &Query4, &FarmRow1.Table});
    LoadField();
}

void TParcInput::LoadField() {
    const std::string code = Table2.IsEmpty() ? "" : Table2.FieldByName("Parckod").AsString();
    for (db::TQuery* query : {&Query1, &Query2, &Query3, &Query4}) {
        query->Close();
        query->ParamByName("pkod").SetAsString(code);
        query->Open();
    }
}

void TParcInput::FormKeyPress(TObject*, TKey& Key) {
    if (Key == ui::ctrlKey('A')) { // the popup's check item
        Aktvparcellk1->Click();
        Key = ui::keyNone;
    }
    ui::Shortcuts(Key, {{'I', Button2}, {'P', Button2}, {'X', Button1}});
}

void TParcInput::Button4Click(TObject*) {
    LoadField();
}

// The pages are loaded for the current field first, so they match the printed header.
void TParcInput::Button2Click(TObject*) {
    LoadField();
    RvProject1.ExecuteActiveReport();
}

void TParcInput::Button1Click(TObject*) {
    Close();
}

void TParcInput::CheckBox1Click(TObject*) {
    ActiveFieldBoxClicked(*CheckBox1, *Aktvparcellk1, Table2);
}

void TParcInput::Aktvparcellk1Click(TObject*) {
    ActiveFieldItemChosen(*Aktvparcellk1, *CheckBox1);
}

void TParcInput::MaterialCalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("Tmenny").SetAsFloat(
        lists::InputQuantity(DataSet.FieldByName("Dter").AsFloat()));
}
