#include "Muvadatf.h"

#include "Anyagfelv.h"
#include "Felhaszneh.h"
#include "Ujmuvh.h"
#include "core/Folap.h"
#include "core/Isnuminth.h"
#include "operation_form_parts.h"
#include "platform/db/filter.h"
#include "platform/sys/numbers.h"
#include "platform/ui/application.h"
#include "platform/ui/db_controls.h"
#include "platform/ui/form_helpers.h"
#include "resources/Szemelyh.h"

#include <cmath>

TMuvadat* Muvadat = nullptr;

namespace {

const char* const kMissing = "Hiányzó Adatok!";
const char* const kNoField = "Nincs tábla kijelölve !";
const char* const kNoType = "A művelet típusát és a megnevezést kérem megadni !";
const char* const kNoArea = "A kijelölt táblák területe 0, a művelet nem rögzíthető!";
const char* const kLoseMaterials =
    "A felvitt anyagfelhasználások elvesznek, ha a művelet rögzítése nélkül kilép. Kilép?";
const char* const kNoFieldCode = "xxxxxx";
const int kNarrowWidth = 619;
const int kWideWidth = 971;

double Number(const std::string& text) {
    return text.empty() ? 0 : sys::parseFloat(text);
}

} // namespace

TMuvadat::TMuvadat(db::Session& session) : session_(session) {
    SetCaption("Műveleti adatok");
    // Narrow, with the done-operations grid hidden: every input and button lies in the
    // left 619 pixels, so the form works in either width.
    SetClientSize(kNarrowWidth, 650);
    SetPosition(ui::poScreenCenter);

    Table8.SetTableName("parcellak.db");
    Table8.SetFilter("Aktiv = 'A'");
    Table8.SetFiltered(true);
    Table8.SetIndexFieldNames("Evj;Parcsor");
    Table2.SetTableName("Normalhektar.DB");
    Table2.SetFilter("Muvid = 0");
    Table2.SetFiltered(true);
    Table2.SetIndexFieldNames("Muv");
    Table5.SetTableName("ElvMuv.db");
    Table5.SetIndexName("ElvMuvDatumInd");
    Table5.SetFilter("Tablakod = 'x'");
    Table5.SetFiltered(true);
    Table11.SetTableName("Munkavegz.db");
    Table12.SetTableName("Szemely.DB");
    Table12.SetFilter("Deleted = false");
    Table12.SetFiltered(true);
    Table12.SetIndexName("AlkNevInd");
    Table13.SetTableName("vizkivet.db");
    Table13.SetFilter("Deleted = false");
    Table13.SetFiltered(true);
    Table14.SetTableName("Novvedmegf.DB");
    Query1.SQL().Add("SELECT DISTINCT Agazat");
    Query1.SQL().Add("FROM Parcellak");
    Query1.SQL().Add("WHERE Aktiv = 'A'");
    Query1.SQL().Add("ORDER BY Agazat");

    Label2 = ui::Make<ui::TLabel>(this, {8, 4, 400, 20}, "Elvégzett művelet rögzítése");
    DBGrid2 = ui::ListGrid(this, {8, 28, 600, 200}, &DataSource8,
                           {{"Evj", "G. év", 45},
                            {"Parcsor", "S. Sz.", 45},
                            {"Agazat", "Ágazat", 120},
                            {"Ter", "Terület", 70},
                            {"Hazmeg", "Hazi megnevezés", 130},
                            {"Masod", "Másodvetés", 70},
                            {"Celp", "Célprogram", 100}});
    DBGrid2->SetMultiSelect(true);
    Button8 = ui::Make<ui::TButton>(this, {8, 232, 90, 25}, "Szűkítés");
    Button11 = ui::Make<ui::TButton>(this, {570, 232, 38, 25}, ">>");
    Button11->Tag = 0;
    Panel2 = ui::Make<ui::TPanel>(this, {104, 232, 300, 30});
    ComboBox3 = ui::Make<ui::TComboBox>(Panel2, {4, 4, 150, 22});
    ui::FitToFields(session, "parcellak", {{ComboBox3, "Agazat"}});
    Button9 = ui::Make<ui::TButton>(Panel2, {160, 3, 60, 24}, "Ok");
    Button10 = ui::Make<ui::TButton>(Panel2, {226, 3, 70, 24}, "Mégsem");
    Panel2->Hide();
    ui::EditBoxOverList(Panel2);
    Label20 =
        ui::Make<ui::TLabel>(this, {620, 8, 340, 16}, "Kijelölt pacellán elvégzett műveletek:");
    DBGrid1 = ui::ListGrid(this, {620, 28, 340, 230}, &DataSource5,
                           {{"Datum", "Dátum", 70},
                            {"Muvnev", "Művelet megnevezése", 120},
                            {"Ter", "Terület", 60},
                            {"Irany", "Irány", 50},
                            {"Gepora", "Gépóra", 50},
                            {"Keziora", "Kézióra", 50},
                            {"Nha", "Nha", 50}});
    Label20->Hide();
    DBGrid1->Hide();

    ComboBox2 = ui::Make<ui::TComboBox>(this, {8, 268, 200, 22});
    ComboBox2->Items().AddStrings({"Talajelőkészítés", "Vetés", "Talajerőgazdálkodás",
                                   "Növényápolás", "Betakarítás", "Egyéb"});
    ComboBox2->SetItemIndex(0);
    DBLookupListBox1 = ui::Make<ui::TDBLookupListBox>(this, {8, 294, 236, 200});
    DBLookupListBox1->SetListSource(&DataSource2);
    DBLookupListBox1->SetKeyField("Kod");
    DBLookupListBox1->SetListField("Muv");
    Button5 = ui::Make<ui::TButton>(this, {212, 268, 24, 24}, "+");

    const int x = 250;
    Edit15 = ui::CaptionedEdit(this, "Sorszám :", x, 268, 90, 60);
    ui::Make<ui::TLabel>(this, {x, 299, 90, 16}, "Kezdete :");
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(this, {x + 90, 296, 110, 22});
    ui::Make<ui::TLabel>(this, {x + 204, 299, 44, 16}, "Vége :");
    DateTimePicker2 = ui::Make<ui::TDateTimePicker>(this, {x + 248, 296, 110, 22});
    ui::Make<ui::TLabel>(this, {x, 327, 110, 16}, "Művelet iránya :");
    ComboBox1 = ui::Make<ui::TComboBox>(this, {x + 110, 324, 100, 22});
    ComboBox1->Items().AddStrings({"É-D", "K-NY", "ÉK-DNY", "ÉNY-DK"});
    ComboBox1->SetText("É-D");
    Edit2 = ui::CaptionedEdit(this, "Gépóra :", x, 352, 90, 60);
    Edit3 = ui::CaptionedEdit(this, "Kézióra :", x + 170, 352, 70, 60);
    Edit5 = ui::CaptionedEdit(this, "Terület :", x, 380, 90, 90);
    ui::FitToFields(session, "ElvMuv",
                    {{Edit15, "Sorsz"},
                     {ComboBox1, "Irany"},

                     {Edit2, "Gepora"},
                     {Edit3, "Keziora"},
                     {Edit5, "Ter"}});
    Edit5->SetEnabled(false);
    Label13 = ui::Make<ui::TLabel>(this, {x + 190, 383, 120, 16}, "");
    CheckBox1 = ui::Make<ui::TCheckBox>(this, {x, 408, 200, 20}, "Szolgáltató végezte :");
    Label3 = ui::Make<ui::TLabel>(this, {x, 439, 90, 16}, "Mélység : ");
    Edit1 = ui::Make<ui::TEdit>(this, {x + 90, 436, 60, 22});
    Label10 = ui::Make<ui::TLabel>(this, {x + 154, 439, 30, 16}, "cm");
    Button6 = ui::Make<ui::TButton>(this, {x + 190, 435, 120, 25}, "Összes megadása");
    GroupBox1 = ui::Make<ui::TGroupBox>(this, {x + 158, 462, 200, 60}, "Összes hozam :");
    Edit6 = ui::Make<ui::TEdit>(GroupBox1, {8, 24, 80, 22});
    ui::Make<ui::TLabel>(GroupBox1, {92, 27, 20, 16}, "t");
    Button7 = ui::Make<ui::TButton>(GroupBox1, {120, 22, 60, 25}, "Ok");
    GroupBox1->Hide();
    Label12 = ui::Make<ui::TLabel>(this, {x, 467, 140, 16}, "Melléktermény neve : ");
    Edit4 = ui::Make<ui::TEdit>(this, {x + 140, 464, 170, 22});
    Edit4->SetMaxLength(25);
    Edit14 = ui::CaptionedEdit(this, "Megjegyzés :", x, 492, 90, 268);
    CheckBox2 = ui::Make<ui::TCheckBox>(this, {8, 500, 236, 20}, "bejelentésköteles művelet");
    Label16 = ui::Make<ui::TLabel>(this, {8, 527, 80, 16}, "megnev. :");
    Edit16 = ui::Make<ui::TEdit>(this, {88, 524, 156, 22});
    ui::FitToFields(session, "ElvMuv",
                    {{Edit1, "Hozam"}, {Edit6, "Hozam"}, {Edit16, "Tajkotmegnev"}});
    Label17 = ui::Make<ui::TLabel>(this, {8, 555, 80, 16}, "bejel. időp.:");
    DateTimePicker3 = ui::Make<ui::TDateTimePicker>(this, {88, 552, 110, 22});
    Edit14->SetMaxLength(100);

    Button27 = ui::Make<ui::TButton>(this, {8, 580, 160, 27}, "Megfigyelés kapcsolása");
    Button12 = ui::Make<ui::TButton>(this, {174, 580, 130, 27}, "Öntözés adatai");
    Button15 = ui::Make<ui::TButton>(this, {310, 580, 150, 27}, "Munkavégző személy");
    Button1 = ui::Make<ui::TButton>(this, {466, 580, 142, 27}, "Anyagfelhasználás");
    Button4 = ui::Make<ui::TButton>(this, {8, 614, 160, 30}, "Felhasznált gépek");
    Button3 = ui::Make<ui::TButton>(this, {358, 614, 120, 30}, "Mégsem");
    Button2 = ui::Make<ui::TButton>(this, {484, 614, 124, 30}, "Rendben");

    GroupBox6 = ui::Make<ui::TGroupBox>(this, {8, 268, 600, 280},
                                        "Művelethez tartozó növényvédelmi megfigyelés megjelölése");
    CheckBox3 =
        ui::Make<ui::TCheckBox>(GroupBox6, {8, 20, 300, 20}, "Művelethez megfigyelés kapcsolása");
    DBGrid6 = ui::ListGrid(GroupBox6, {8, 44, 584, 196}, &DataSource14,
                           {{"Sorsz", "Sorsz.", 50},
                            {"Datum", "Dátum", 70},
                            {"Novfejl", "Növény fejl.", 100},
                            {"Karfejl", "Károsító fejl.", 100},
                            {"Fertmert", "Fertőzés mért.", 100},
                            {"Jav", "Javaslat", 150}});
    DBGrid6->SetEnabled(false);
    Button28 = ui::Make<ui::TButton>(GroupBox6, {8, 246, 60, 25}, "ok");
    GroupBox6->Hide();

    GroupBox2 = ui::Make<ui::TGroupBox>(this, {8, 268, 600, 280}, "Öntözés adatai");
    ui::Make<ui::TLabel>(GroupBox2, {8, 27, 60, 16}, "Kezdete:");
    Edit7 = ui::Make<ui::TEdit>(GroupBox2, {80, 24, 40, 22});
    Edit8 = ui::Make<ui::TEdit>(GroupBox2, {124, 24, 40, 22});
    ui::Make<ui::TLabel>(GroupBox2, {180, 27, 40, 16}, "Vége:");
    Edit9 = ui::Make<ui::TEdit>(GroupBox2, {224, 24, 40, 22});
    Edit10 = ui::Make<ui::TEdit>(GroupBox2, {268, 24, 40, 22});
    Edit11 = ui::CaptionedEdit(GroupBox2, "Üzemóra:", 8, 54, 72, 80);
    Edit12 = ui::CaptionedEdit(GroupBox2, "Mennyiség:", 8, 82, 72, 80);
    ui::FitToFields(session, "Ontozes",
                    {{Edit7, "Ko"},
                     {Edit8, "Kp"},
                     {Edit9, "Vo"},
                     {Edit10, "Vp"},
                     {Edit11, "Uora"},
                     {Edit12, "Menny"}});
    ui::Make<ui::TLabel>(GroupBox2, {166, 85, 30, 16}, "m³");
    Edit13 = ui::CaptionedEdit(GroupBox2, "Megjegyzés:", 8, 110, 72, 400);
    Edit13->SetMaxLength(60);
    ui::Make<ui::TLabel>(GroupBox2, {8, 141, 120, 16}, "Vízkivétel helye :");
    DBLookupComboBox1 = ui::Make<ui::TDBLookupComboBox>(GroupBox2, {130, 138, 250, 22});
    DBLookupComboBox1->SetListSource(&DataSource13);
    DBLookupComboBox1->SetKeyField("Nev");
    DBLookupComboBox1->SetListField("Nev");
    Button20 = ui::Make<ui::TButton>(GroupBox2, {386, 137, 24, 24}, "+");
    Button13 = ui::Make<ui::TButton>(GroupBox2, {8, 240, 80, 27}, "Ok");
    Button14 = ui::Make<ui::TButton>(GroupBox2, {96, 240, 110, 27}, "Nem öntözés");
    GroupBox4 =
        ui::Make<ui::TGroupBox>(GroupBox2, {4, 16, 592, 260}, "Vízkivételi helyek kezelése");
    DBGrid5 = ui::ListGrid(GroupBox4, {8, 20, 440, 230}, &DataSource13,
                           {{"Nev", "házi megnevezés", 160},
                            {"Hely", "Vízkiv. helye", 160},
                            {"Engsz", "Engedély sz.", 100}});
    Button21 = ui::Make<ui::TButton>(GroupBox4, {456, 20, 128, 27}, "új vízkiv.");
    Button22 = ui::Make<ui::TButton>(GroupBox4, {456, 54, 128, 27}, "módosítás");
    Button23 = ui::Make<ui::TButton>(GroupBox4, {456, 88, 128, 27}, "törlés");
    Button24 = ui::Make<ui::TButton>(GroupBox4, {456, 222, 128, 27}, "vissza");
    GroupBox5 =
        ui::Make<ui::TGroupBox>(GroupBox4, {8, 20, 440, 230}, "Vízkivételi hely létrehozása");
    const char* pointFields[] = {"Nev", "Hely", "Engsz", "Ontmod"};
    const char* pointLabels[] = {
        "Megnevezés :", "Vízkivétel helye :", "Engedély száma :", "Öntözés módja :"};
    ui::TDBEdit** pointEdits[] = {&DBEdit1, &DBEdit2, &DBEdit3, &DBEdit4};
    for (int i = 0; i < 4; ++i) {
        ui::Make<ui::TLabel>(GroupBox5, {8, 27 + 30 * i, 120, 16}, pointLabels[i]);
        *pointEdits[i] = ui::Make<ui::TDBEdit>(GroupBox5, {130, 24 + 30 * i, 300, 22});
        (*pointEdits[i])->SetDataSource(&DataSource13);
        (*pointEdits[i])->SetDataField(pointFields[i]);
    }
    Button25 = ui::Make<ui::TButton>(GroupBox5, {130, 190, 90, 27}, "rögzítés");
    Button26 = ui::Make<ui::TButton>(GroupBox5, {230, 190, 90, 27}, "mégsem");
    GroupBox5->Hide();
    GroupBox4->Hide();
    GroupBox2->Hide();
    // Each box, and the boxes opened from inside it, keep what lies beside them inert.
    for (ui::TGroupBox* box : {GroupBox2, GroupBox4, GroupBox5})
        ui::EditBoxOverList(box);

    GroupBox3 = ui::Make<ui::TGroupBox>(this, {8, 268, 600, 280}, "Személyi adatok:");
    DBGrid3 = ui::ListGrid(GroupBox3, {8, 20, 240, 220}, &DataSourceQ2,
                           {{"Sznev", "Munkavégző neve", 200}});
    Button16 = ui::Make<ui::TButton>(GroupBox3, {256, 60, 80, 27}, "<<<");
    Button17 = ui::Make<ui::TButton>(GroupBox3, {256, 96, 80, 27}, "---");
    DBGrid4 = ui::ListGrid(GroupBox3, {344, 20, 248, 220}, &DataSource12,
                           {{"Sznev", "Név", 140}, {"Tel", "Telefonszám", 90}});
    Button18 = ui::Make<ui::TButton>(GroupBox3, {8, 246, 80, 27}, "Rendben");
    Button19 = ui::Make<ui::TButton>(GroupBox3, {344, 246, 160, 27}, "További alkalmazottak");
    GroupBox3->Hide();

    OnShow = Handler(&TMuvadat::FormShow);
    OnActivate = Handler(&TMuvadat::FormActivate);
    OnCloseQuery = Handler(&TMuvadat::FormCloseQuery);
    OnClose = Handler(&TMuvadat::FormClose);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    DBGrid2->OnCellClick = [this](ui::TColumn& column) { DBGrid2CellClick(column); };
    Edit5->OnChange = Handler(&TMuvadat::Edit5Change);
    ComboBox2->OnChange = Handler(&TMuvadat::ComboBox2Change);
    DBLookupListBox1->OnClick = Handler(&TMuvadat::DBLookupListBox1Click);
    DateTimePicker1->OnChange = Handler(&TMuvadat::DateTimePicker1Change);
    CheckBox2->OnClick = Handler(&TMuvadat::CheckBox2Click);
    CheckBox3->OnClick = [this](TObject*) { DBGrid6->SetEnabled(CheckBox3->Checked()); };
    for (auto [button, handler] :
         std::initializer_list<std::pair<ui::TButton*, void (TMuvadat::*)(TObject*)>>{
             {Button1, &TMuvadat::Button1Click},   {Button2, &TMuvadat::Button2Click},
             {Button3, &TMuvadat::Button3Click},   {Button4, &TMuvadat::Button4Click},
             {Button5, &TMuvadat::Button5Click},   {Button6, &TMuvadat::Button6Click},
             {Button7, &TMuvadat::Button7Click},   {Button8, &TMuvadat::Button8Click},
             {Button9, &TMuvadat::Button9Click},   {Button10, &TMuvadat::Button10Click},
             {Button11, &TMuvadat::Button11Click}, {Button12, &TMuvadat::Button12Click},
             {Button13, &TMuvadat::Button13Click}, {Button14, &TMuvadat::Button14Click},
             {Button15, &TMuvadat::Button15Click}, {Button16, &TMuvadat::Button16Click},
             {Button17, &TMuvadat::Button17Click}, {Button18, &TMuvadat::Button18Click},
             {Button19, &TMuvadat::Button19Click}, {Button20, &TMuvadat::Button20Click},
             {Button21, &TMuvadat::Button21Click}, {Button22, &TMuvadat::Button22Click},
             {Button23, &TMuvadat::Button23Click}, {Button24, &TMuvadat::Button24Click},
             {Button25, &TMuvadat::Button25Click}, {Button26, &TMuvadat::Button26Click},
             {Button27, &TMuvadat::Button27Click}, {Button28, &TMuvadat::Button28Click}})
        button->OnClick = Handler(handler);

    DateTimePicker1->SetDate(sys::today());
    DateTimePicker2->SetDate(sys::today());
    DateTimePicker3->SetDate(sys::today());
    CheckBox2Click(CheckBox2);
}

void TMuvadat::FormShow(TObject*) {
    const ops::OperationTables& tables = ops::TablesFor(Planned());
    Query2.SQL().Clear();
    Query2.SQL().Add(std::string("SELECT Szemely.Sznev, ") + tables.workers + ".Munk_id");
    Query2.SQL().Add(std::string("FROM ") + tables.workers);
    Query2.SQL().Add("INNER JOIN Szemely");
    Query2.SQL().Add(std::string("ON  (") + tables.workers + ".Szemkod = Szemely.Szid)");
    Query2.SQL().Add("WHERE Muvkod = ''");
    Query2.SQL().Add("ORDER BY Szemely.Sznev");
    Table11.SetTableName(tables.workers);
    if (Planned()) {
        Button11->SetEnabled(false);
        SetCaption("Elvégzendő Művelte Tervezése");
        Label2->SetCaption("Elvégzendő Művelte Tervezése");
    }
    IrrigationEntered = false;
    // Rows left pending by an entry that ended without its form (a crash) belong to no
    // operation: they are removed before this one starts.
    ops::DropPendingRows(session_, Planned(), true);
    if (NumericInt->GetOptionFlag("_MuvFormEddig"))
        Button11Click(Button11);
    db::TQuery serial(session_, "Query3");
    serial.SQL().Add("SELECT MAX(Sorsz) sor");
    serial.SQL().Add("FROM ElvMuv");
    serial.Open();
    Edit15->SetText(sys::intToText(serial.FieldByName("sor").AsInteger() + 1));
    serial.Close();
    SetWindowState(NumericInt->GetOptionFlag("_MuvFormState") ? ui::wsMaximized : ui::wsNormal);
    for (ui::TEdit* edit : {Edit7, Edit8, Edit9, Edit10, Edit11, Edit12, Edit13})
        edit->SetText("");
    Table8.Open();
    Table2.Open();
    Table5.Open();
    Table14.Open();
    const std::string last = Folap1 ? Folap1->LastFieldCode() : kNoFieldCode;
    if (!NumericInt->GetOptionFlag("_ElozoParc") && last != kNoFieldCode &&
        !Table8.Locate("Parckod", {db::Value(last)}))
        Table8.First();
    ComboBox3->Items().Clear();
    ComboBox3->Items().Add("összes");
    Query1.Open();
    for (Query1.First(); !Query1.Eof(); Query1.Next())
        ComboBox3->Items().Add(Query1.FieldByName("Agazat").AsString());
    Query1.Close();
    for (ui::TControl* extra :
         std::initializer_list<ui::TControl*>{Label3, Edit1, Label10, Label12, Edit4, Button6})
        extra->Hide();
    TractorCode = ImplementCode = "100000";
}

void TMuvadat::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table8, &Table2, &Table5, &Table14});
}

// Posted materials would be dropped: the close box asks first.
void TMuvadat::FormCloseQuery(TObject*, bool& CanClose) {
    if (saved_ || !ops::HasPendingUses(session_, Planned()))
        return;
    CanClose = ui::MessageDlg(kLoseMaterials, ui::mtConfirmation, ui::mbYesNo) == ui::mrYes;
}

// However the form ends, nothing stays pending.
void TMuvadat::FormClose(TObject*, TCloseAction&) {
    Query2.Close();
    Table11.Close();
    Table12.Close();
    Table13.Close();
    ops::DropPendingRows(session_, Planned(), true);
}

std::vector<ops::FieldPick> TMuvadat::ChosenFields() {
    std::vector<ops::FieldPick> fields;
    if (!Table8.Active() || Table8.IsEmpty())
        return fields;
    const db::ControlsHeld held(Table8); // the grid stays on its row
    for (int i = 0; i < DBGrid2->SelectedRows().Count(); ++i) {
        if (!Table8.BookmarkValid(DBGrid2->SelectedRows()[i]))
            continue;
        Table8.GotoBookmark(DBGrid2->SelectedRows()[i]);
        fields.push_back({Table8.FieldByName("Parckod").AsString(),
                          std::llround(Table8.FieldByName("Ter").AsFloat())});
    }
    return fields;
}

void TMuvadat::DBGrid2CellClick(ui::TColumn&) {
    if (materialsLocked_ || Table8.IsEmpty())
        return;
    const auto fields = ChosenFields();
    if (fields.size() < 2) {
        Edit5->SetEnabled(true);
        Edit5->SetText(sys::intToText(std::llround(Table8.FieldByName("Ter").AsFloat())));
        Table5.SetFilter("Tablakod = " +
                         db::quoteFilterText(Table8.FieldByName("Parckod").AsString()));
        return;
    }
    long long sum = 0;
    for (const auto& field : fields)
        sum += field.area;
    Edit5->SetText(sys::intToText(sum));
    Edit5->SetEnabled(false);
}

void TMuvadat::ShowNormalHectares() {
    if (Edit5->Text().empty() || !NumericInt->IsValidInteger(Edit5->Text(), "Trület"))
        return;
    const double factor =
        Table2.Active() && !Table2.IsEmpty() ? Table2.FieldByName("Nha").AsFloat() : 0;
    Label13->SetCaption(
        sys::floatToText(sys::roundUp(sys::parseFloat(Edit5->Text()) * factor * 0.0001, 4)));
}

void TMuvadat::Edit5Change(TObject*) {
    ShowNormalHectares();
}

void TMuvadat::ComboBox2Change(TObject*) {
    Table2.Close();
    Table2.SetFilter("Muvid = " + std::to_string(ComboBox2->ItemIndex()));
    Table2.Open();
}

void TMuvadat::DBLookupListBox1Click(TObject*) {
    ShowNormalHectares();
    if (Table2.IsEmpty())
        return;
    Edit16->SetText(Table2.FieldByName("Muv").AsString());
    const int extra = static_cast<int>(Table2.FieldByName("Extra").AsInteger());
    ops::ShowExtraValue({Label3, Edit1, Label10, Label12, Edit4}, extra);
    Button6->SetVisible(extra == 2 || extra == 3);
}

void TMuvadat::Button5Click(TObject*) {
    ui::ShowModalForm(Ujmuv, session_);
    Table2.Refresh();
}

void TMuvadat::Button6Click(TObject*) {
    GroupBox1->Show();
    GroupBox1->BringToFront();
}

void TMuvadat::Button7Click(TObject*) {
    if (NumericInt->IsValidInteger(Edit5->Text(), "Terület") &&
        NumericInt->IsValidFor(Edit6->Text(), "Hozam", "ElvMuv", "Hozam") &&
        !Edit5->Text().empty() && !Edit6->Text().empty()) {
        const double area = sys::parseFloat(Edit5->Text());
        if (area > 0) {
            Edit1->SetText(
                sys::floatToText(sys::roundUp(Number(Edit6->Text()) / (area * 0.0001), 3)));
        }
    }
    GroupBox1->Hide();
}

void TMuvadat::DateTimePicker1Change(TObject*) {
    DateTimePicker2->SetDate(DateTimePicker1->Date());
}

void TMuvadat::CheckBox2Click(TObject*) {
    const bool on = CheckBox2->Checked();
    for (ui::TControl* control :
         std::initializer_list<ui::TControl*>{Label16, Edit16, Label17, DateTimePicker3}) {
        control->SetVisible(on);
        control->SetEnabled(on);
    }
}

void TMuvadat::Button1Click(TObject*) {
    const auto fields = ChosenFields();
    SelectedFieldCodes.assign(100, "");
    SelectedFieldAreas.clear();
    if (fields.empty()) {
        ui::Application->MessageBox(kNoField, kMissing);
        return;
    }
    if (fields.size() == 1 && (!NumericInt->IsValidFor(Edit5->Text(), "Terület", "ElvMuv", "Ter") ||
                               (!Edit5->Text().empty() &&
                                !NumericInt->IsNotAbove(sys::parseInt(Edit5->Text()),
                                                        static_cast<double>(fields.front().area),
                                                        "Terület", "ElvMuv", "Ter"))))
        return;
    SelectedFieldCodes.resize(std::max<std::size_t>(100, fields.size()));
    for (std::size_t i = 0; i < fields.size(); ++i) {
        SelectedFieldCodes[i] = fields[i].parckod;
        SelectedFieldAreas.push_back(fields.size() == 1 ? Number(Edit5->Text())
                                                        : static_cast<double>(fields[i].area));
    }
    SelectedFieldCount = static_cast<int>(fields.size());
    bool posted = false;
    {
        ui::OwnedForm<TAnyagfel> dialog(Anyagfel, session_);
        dialog->PlanMode = PlanMode;
        dialog->ShowModal();
        posted = dialog->MaterialsPosted;
    }
    if (posted || ops::HasPendingUses(session_, Planned())) {
        materialsLocked_ = true;
        DBGrid2->SetEnabled(false);
        DateTimePicker1->SetEnabled(false);
        Edit5->SetEnabled(false);
    }
}

void TMuvadat::Button4Click(TObject*) {
    ui::OwnedForm<TFelhaszE> dialog(FelhaszE, session_);
    dialog->ShowModal();
    if (dialog->MachinesChosen) {
        TractorCode = dialog->TractorCode;
        ImplementCode = dialog->ImplementCode;
    }
}

void TMuvadat::ReopenWorkers() {
    Query2.Close();
    Query2.Open();
}

void TMuvadat::Button15Click(TObject*) {
    Table11.Open();
    Table12.Open();
    Query2.Open();
    GroupBox3->Show();
    GroupBox3->BringToFront();
    Button16->SetFocus();
}

void TMuvadat::Button16Click(TObject*) {
    if (ops::AddChosenWorker(Table11, Table12, ""))
        ReopenWorkers();
}

void TMuvadat::Button17Click(TObject*) {
    if (ops::RemoveChosenWorker(Table11, Query2))
        ReopenWorkers();
}

void TMuvadat::Button18Click(TObject*) {
    Query2.Close();
    Table11.Close();
    Table12.Close();
    GroupBox3->Hide();
}

void TMuvadat::Button19Click(TObject*) {
    ops::AddEmployees(session_, Table12);
}

void TMuvadat::Button20Click(TObject*) {
    GroupBox4->Show();
    GroupBox4->BringToFront();
}

void TMuvadat::Button21Click(TObject*) {
    ops::StartNewWaterPoint(Table13, *GroupBox5);
}

void TMuvadat::Button22Click(TObject*) {
    ops::StartWaterPointEdit(Table13, *GroupBox5);
}

void TMuvadat::Button23Click(TObject*) {
    ops::RemoveWaterPoint(Table13);
}

void TMuvadat::Button24Click(TObject*) {
    GroupBox4->Hide();
}

void TMuvadat::Button25Click(TObject*) {
    ops::PostWaterPoint(Table13, *GroupBox5, {DBEdit1, DBEdit2, DBEdit3, DBEdit4});
}

void TMuvadat::Button26Click(TObject*) {
    ops::CancelWaterPoint(Table13, *GroupBox5);
}

void TMuvadat::Button12Click(TObject*) {
    Table13.Open();
    GroupBox2->Show();
    GroupBox2->BringToFront();
}

void TMuvadat::Button13Click(TObject*) {
    if (!ui::TypedValuesValid(*GroupBox2))
        return;
    IrrigationEntered = true;
    GroupBox2->Hide();
}

void TMuvadat::Button14Click(TObject*) {
    IrrigationEntered = false;
    GroupBox2->Hide();
    Table13.Close();
}

void TMuvadat::Button27Click(TObject*) {
    Table14.SetFilter("Parc_id = " +
                      db::quoteFilterText(Table8.Active() && !Table8.IsEmpty()
                                              ? Table8.FieldByName("Parckod").AsString()
                                              : std::string()));
    Table14.SetFiltered(true);
    GroupBox6->Show();
    GroupBox6->BringToFront();
}

void TMuvadat::Button28Click(TObject*) {
    GroupBox6->Hide();
}

void TMuvadat::Button8Click(TObject*) {
    Panel2->Show();
    Panel2->BringToFront();
    ComboBox3->SetFocus();
}

// The sector is quoted into the filter, so a sector with an apostrophe filters too.
void TMuvadat::Button9Click(TObject*) {
    const std::string sector = ComboBox3->Text();
    if (!sector.empty()) {
        Table8.Close();
        Table8.SetFilter(sector == "összes"
                             ? std::string("Aktiv = 'A'")
                             : "Aktiv = 'A' AND Agazat = " + db::quoteFilterText(sector));
        Table8.Open();
    }
    Panel2->Hide();
}

void TMuvadat::Button10Click(TObject*) {
    Panel2->Hide();
}

void TMuvadat::Button11Click(TObject*) {
    const bool shown = Button11->Tag == 1;
    Button11->Tag = shown ? 0 : 1;
    Button11->SetCaption(shown ? ">>" : "<<");
    DBGrid1->SetVisible(!shown);
    Label20->SetVisible(!shown);
    SetClientSize(shown ? kNarrowWidth : kWideWidth, ClientHeight());
    SetLeft(ui::Screen::Width() / 2 - Width() / 2);
}

std::optional<ops::OperationEntry> TMuvadat::ReadEntry() {
    // Every number is checked before anything is written.
    if (!NumericInt->IsValidFor(Edit2->Text(), "Gépóra", "ElvMuv", "Gepora") ||
        !NumericInt->IsValidFor(Edit3->Text(), "Kézióra", "ElvMuv", "Keziora") ||
        !ui::TypedValuesValid(*Edit1))
        return std::nullopt;
    if (GroupBox1->Visible())
        Button7Click(Button7);
    ops::OperationEntry entry;
    entry.fields = ChosenFields();
    if (entry.fields.empty()) {
        ui::Application->MessageBox(kNoField, kMissing);
        return std::nullopt;
    }
    // The type picked in the list, found by its key: after a change of category the
    // list's cursor stands on the new category's first type, which nobody picked.
    const db::Value picked = DBLookupListBox1->KeyValue();
    if (!Table2.Active() || db::isNull(picked) || !Table2.Locate("Kod", {picked}) ||
        Table2.FieldByName("Muv").AsString().empty()) {
        ui::Application->MessageBox(kNoType, kMissing);
        return std::nullopt;
    }
    // One field's operation covers at most the field; several fields' cover each whole.
    if (entry.fields.size() == 1 &&
        (!NumericInt->IsValidFor(Edit5->Text(), "Terület", "ElvMuv", "Ter") ||
         Edit5->Text().empty() ||
         !NumericInt->IsNotAbove(sys::parseInt(Edit5->Text()),
                                 static_cast<double>(entry.fields.front().area), "Terület",
                                 "ElvMuv", "Ter")))
        return std::nullopt;
    if (!NumericInt->IsValidFor(Edit15->Text(), "Sorszám", "ElvMuv", "Sorsz"))
        return std::nullopt;
    if (IrrigationEntered && !ui::TypedValuesValid(*GroupBox2))
        return std::nullopt;
    if (!NumericInt->IsNotBefore(DateTimePicker2->Date(), DateTimePicker1->Date(), "Vége", "ElvMuv",
                                 "Muvveg"))
        return std::nullopt;
    long long total = 0;
    for (const auto& field : entry.fields)
        total += field.area;
    if (total <= 0) {
        ui::Application->MessageBox(kNoArea, kMissing);
        return std::nullopt;
    }
    entry.type = {Table2.FieldByName("Kod").AsString(), Table2.FieldByName("Muv").AsString(),
                  Table2.FieldByName("Nha").AsFloat(),
                  static_cast<int>(Table2.FieldByName("Extra").AsInteger())};
    entry.date = DateTimePicker1->Date();
    entry.endDate = DateTimePicker2->Date();
    entry.serial = Edit15->Text().empty() ? 0 : sys::parseInt(Edit15->Text());
    entry.singleArea = entry.fields.size() == 1 ? sys::parseInt(Edit5->Text()) : 0;
    entry.machineHours = Number(Edit2->Text());
    entry.manualHours = Number(Edit3->Text());
    entry.extraValue = Edit1->Text();
    entry.byProduct = Edit4->Text();
    entry.direction = ComboBox1->Text();
    entry.serviceProvider = CheckBox1->Checked();
    entry.notifiable = CheckBox2->Checked();
    entry.notifiedName = Edit16->Text();
    entry.notifiedOn = DateTimePicker3->Date();
    entry.remark = Edit14->Text();
    entry.tractor = TractorCode;
    entry.implement = ImplementCode;
    if (IrrigationEntered) {
        ops::Irrigation irrigation{
            Edit7->Text(),          Edit8->Text(),          Edit9->Text(),  Edit10->Text(),
            Number(Edit11->Text()), Number(Edit12->Text()), Edit13->Text(), {}};
        if (Table13.Active() && !Table13.IsEmpty())
            irrigation.vizkivid = static_cast<int>(Table13.FieldByName("Id").AsInteger());
        entry.irrigation = irrigation;
    }
    if (CheckBox3->Checked() && Table14.Active() && !Table14.IsEmpty() && !Planned())
        entry.observation = static_cast<int>(Table14.FieldByName("Id").AsInteger());
    return entry;
}

void TMuvadat::Button2Click(TObject*) {
    const auto entry = ReadEntry();
    if (!entry)
        return;
    ops::SaveOperation(session_, *entry, Planned());
    saved_ = true;
    if (Folap1)
        Folap1->SetLastFieldCode(entry->fields.back().parckod);
    Close();
}

void TMuvadat::Button3Click(TObject*) {
    ops::DropPendingRows(session_, Planned(), true);
    saved_ = true; // nothing is left to lose
    Close();
}
