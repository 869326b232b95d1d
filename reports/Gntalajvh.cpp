#include "Gntalajvh.h"

#include "Gnparszukh.h"
#include "core/Isnuminth.h"
#include "diary_conditions.h"
#include "platform/ui/application.h"
#include "platform/ui/form_helpers.h"

TGNTalajv* GNTalajv = nullptr;

namespace {

// The laboratory results between Labor/Tablakod and the land parcel's block.
const char* const kResults[] = {
    "Mintakod", "Datum", "Ev",     "Mintas",  "PH",       "KA",      "So",   "Mesz", "Hsz",
    "NO3NO2N",  "P2O2",  "K2O",    "Mg",      "Mn",       "Na",      "Zn",   "Cu",   "Fe",
    "Mo",       "B",     "SO4",    "Al",      "Ass",      "Cd",      "Co",   "Cr",   "Hg",
    "Ni",       "Pb",    "Humusz", "Humuszk", "Foszfork", "Kaliumk", "ThKat"};
const char* const kPreviewExtras[] = {"Ocd", "Ocu", "Oni", "Opb", "Ozn", "Ohg", "Ocr", "Oas"};

} // namespace

std::vector<std::string> SoilTestSql(bool preview, const std::string& tail) {
    std::vector<std::string> columns = {"parcellak.Parckod", "parcellak.Parcsor"};
    if (preview) {
        columns.push_back("Talajmintak.Labor");
        columns.push_back("Talajmintak.Tablakod");
    } else {
        columns.push_back("Talajmintak.Tablakod");
        columns.push_back("Talajmintak.Labor");
    }
    for (const char* name : kResults)
        columns.push_back(std::string("Talajmintak.") + name);
    for (const char* name :
         {"tablak.Blok", "parcellak.Agazat", "parcellak.Evj", "parcellak.Aktiv", "parcellak.Ter"})
        columns.push_back(name);
    if (preview)
        for (const char* name : kPreviewExtras)
            columns.push_back(std::string("Talajmintak.") + name);
    std::string select = "SELECT ";
    for (std::size_t i = 0; i < columns.size(); ++i)
        select += (i > 0 ? ", " : "") + columns[i];
    return {select,
            "FROM parcellak",
            "   INNER JOIN Szhelyrajzi",
            "   ON  (parcellak.Parckod = Szhelyrajzi.Parcellakod)",
            "   INNER JOIN tablak",
            "   ON  (Szhelyrajzi.Helysz = tablak.Tableid)",
            "   INNER JOIN Talajmintak",
            "   ON  (tablak.Tableid = Talajmintak.Tablakod)",
            "WHERE  Talajmintak.Mintas = 0" + tail};
}

TGNTalajv::TGNTalajv(db::Session& session) : session_(session) {
    SetCaption("Talaj- illetve növényvizsgálati adatlap");
    SetPosition(ui::poScreenCenter);
    SetClientSize(620, 470);

    Table1.SetTableName("parcellak.DB");
    Table1.SetIndexFieldNames("Evj;Parcsor");
    Table1.SetFilter("Aktiv = 'A'");
    Table1.SetFiltered(true);
    Table2.SetTableName("Talajmintak.DB");
    for (const std::string& line : SoilTestSql(true, ""))
        Query1.SQL().Add(line);
    Query2.SQL().Add("SELECT DISTINCT Evj");
    Query2.SQL().Add("FROM parcellak");
    Query2.SQL().Add("ORDER BY Evj");
    Query3.SQL().Add("SELECT DISTINCT Agazat FROM parcellak");

    const DiaryFieldChoice fields = MakeDiaryFieldChoice(this, &DataSource1, 150, true);
    DBGrid1 = fields.grid;
    CheckBox1 = fields.active;
    ui::Make<ui::TLabel>(this, {8, 314, 200, 16}, "Ágazat :");
    ComboBox1 = ui::Make<ui::TComboBox>(this, {220, 310, 200, 22});
    ui::Make<ui::TLabel>(this, {8, 344, 200, 16}, "Első gazdasági év :");
    ComboBox2 = ui::Make<ui::TComboBox>(this, {220, 340, 100, 22});
    ui::YearBox(ComboBox2);
    ui::Make<ui::TLabel>(this, {8, 374, 200, 16}, "Utolsó gazdasági év :");
    ComboBox3 = ui::Make<ui::TComboBox>(this, {220, 370, 100, 22});
    ui::YearBox(ComboBox3);
    Button2 = ui::Make<ui::TButton>(this, {8, 432, 150, 27}, "Feltételek törlése");
    Button3 = ui::Make<ui::TButton>(this, {282, 432, 100, 27}, "Mégsem");
    Button1 = ui::Make<ui::TButton>(this, {392, 432, 110, 27}, "Nyomtatási kép");
    Button4 = ui::Make<ui::TButton>(this, {512, 432, 100, 27}, "Nyomtatás");
    SetTabOrder(
        {DBGrid1, CheckBox1, ComboBox1, ComboBox2, ComboBox3, Button1, Button4, Button2, Button3});

    PopupMenu1 = new ui::TPopupMenu(this);
    Aktivparcellak1 = PopupMenu1->Add("Aktív parcellák      CTRL+A");
    Aktivparcellak1->SetChecked(true);
    Aktivparcellak1->OnClick = Handler(&TGNTalajv::Aktivparcellak1Click);
    PopupMenu1->Add("Feltételek törlése  CTRL+T")->OnClick = Handler(&TGNTalajv::Button2Click);
    PopupMenu1->Add("Nyomtatás            CTRL+P")->OnClick = Handler(&TGNTalajv::Button4Click);
    PopupMenu1->Add("Nyomtatási kép     CTRL+I")->OnClick = Handler(&TGNTalajv::Button1Click);
    PopupMenu1->Add("Mégsem                CTRL+X")->OnClick = Handler(&TGNTalajv::Button3Click);
    SetPopupMenu(PopupMenu1);

    OnShow = Handler(&TGNTalajv::FormShow);
    OnActivate = Handler(&TGNTalajv::FormActivate);
    OnClose = Handler(&TGNTalajv::FormClose);
    OnKeyPress = Handler(&TGNTalajv::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2, Button3, Button4});
    Button1->OnClick = Handler(&TGNTalajv::Button1Click);
    Button2->OnClick = Handler(&TGNTalajv::Button2Click);
    Button3->OnClick = Handler(&TGNTalajv::Button3Click);
    Button4->OnClick = Handler(&TGNTalajv::Button4Click);
    CheckBox1->OnClick = Handler(&TGNTalajv::CheckBox1Click);
}

void TGNTalajv::FormShow(TObject*) {
    for (db::TDataSet* rows :
         std::initializer_list<db::TDataSet*>{&Query1, &Query2, &Query3, &Table1, &Table2})
        rows->Open();
}

void TGNTalajv::ShowYearRange() {
    if (Query2.IsEmpty())
        return;
    Query2.First();
    ComboBox2->SetText(Query2.FieldByName("Evj").AsString());
    Query2.Last();
    ComboBox3->SetText(Query2.FieldByName("Evj").AsString());
    Query2.Next(); // at its end again, so that an activation adds no year
}

// The lists are filled from where the queries stand, so once; the year texts are set
// again on every activation.
void TGNTalajv::FormActivate(TObject*) {
    for (; !Query3.Eof(); Query3.Next())
        ComboBox1->Items().Add(Query3.FieldByName("Agazat").AsString());
    for (; !Query2.Eof(); Query2.Next()) {
        ComboBox2->Items().Add(Query2.FieldByName("Evj").AsString());
        ComboBox3->Items().Add(Query2.FieldByName("Evj").AsString());
    }
    ShowYearRange();
}

void TGNTalajv::FormClose(TObject*, TCloseAction&) {
    for (db::TDataSet* rows :
         std::initializer_list<db::TDataSet*>{&Query1, &Query2, &Query3, &Table1, &Table2})
        rows->Close();
}

void TGNTalajv::FormKeyPress(TObject*, TKey& Key) {
    if (Key == 1) { // Ctrl+A
        Aktivparcellak1->Click();
        Key = 0;
        return;
    }
    // The keys do not follow the popup's captions: T previews, I clears, P and X close.
    ui::Shortcuts(Key, {{'T', Button1}, {'I', Button2}, {'P', Button3}, {'X', Button3}});
}

void TGNTalajv::CheckBox1Click(TObject*) {
    ActiveFieldBoxClicked(*CheckBox1, *Aktivparcellak1, Table1);
}

void TGNTalajv::Aktivparcellak1Click(TObject*) {
    ActiveFieldItemChosen(*Aktivparcellak1, *CheckBox1);
}

void TGNTalajv::Run(bool preview, const char* emptyText) {
    DiaryFieldConditions c;
    c.firstYear = ComboBox2->Text();
    if (!NumericInt->IsValidInteger(c.firstYear, "Első gazdasági év") ||
        !NumericInt->IsValidYear(c.firstYear, "Első gazdasági év"))
        return;
    c.lastYear = ComboBox3->Text();
    if (!NumericInt->IsValidInteger(c.lastYear, "Utolsó gazdasági év") ||
        !NumericInt->IsValidYear(c.lastYear, "Utolsó gazdasági év"))
        return;
    c.fields = SelectedCodes(*DBGrid1, Table1);
    c.sector = ComboBox1->Text();
    ConditionTail = DiaryConditionTail(c, "Parckod");
    Query1.Close();
    Query1.SQL().Clear();
    for (const std::string& line : SoilTestSql(preview, ConditionTail))
        Query1.SQL().Add(line);
    Query1.Open();
    Query1.First();
    if (Query1.IsEmpty()) {
        ui::Application->MessageBox(emptyText, "A szűkítés eredménye üres!", ui::MB_OK);
        return;
    }
    RvProject1.ExecuteActiveReport();
}

void TGNTalajv::Button1Click(TObject*) {
    Run(true, "Nincs olyan parcella, amelyhez tartozik talajvizsgálat!");
}

void TGNTalajv::Button4Click(TObject*) {
    Run(false, "Nincs olyan tábla, amelyhez tartozik talajvizsgálat! (Nincs táblaátlag.)");
}

void TGNTalajv::Button2Click(TObject*) {
    if (DBGrid1->Focused())
        Button2->SetFocus();
    ComboBox1->SetText("");
    DBGrid1->SelectedRows().Clear();
    ShowYearRange();
}

void TGNTalajv::Button3Click(TObject*) {
    Close();
}

void OpenSoilTestConditions(db::Session& session) {
    ui::ShowModalForm(GNTalajv, session);
}
