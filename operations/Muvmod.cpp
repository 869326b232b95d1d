#include "Muvmod.h"

#include "Felhanymodh.h"
#include "Felhaszneh.h"
#include "Muvmodvalh.h"
#include "Ujmuvh.h"
#include "core/Isnuminth.h"
#include "operation_form_parts.h"
#include "platform/db/filter.h"
#include "platform/sys/numbers.h"
#include "platform/ui/application.h"
#include "platform/ui/db_controls.h"
#include "platform/ui/db_lookup.h"
#include "platform/ui/form_helpers.h"
#include "resources/Szemelyh.h"

#include <cmath>
#include <cstdint>

TMuvModo* MuvModo = nullptr;

namespace {

const char* const kNoMachine = "100000";
const char* const kCheckTable = "Kérem ellenőrizze a tábla helyességét !";
const char* const kGone = "A módosítandó művelet már nem létezik, a módosítás nem rögzíthető !";
const char* const kNoArea = "Kérem a 'Terület' értékét megadni !";
const char* const kShortOfStock = "Nincs elegendő mennyiség raktáron ! (dátum szerint)";

// The load statement: the operation with its field, machines and type. A column name an
// earlier table already carries gets "_1" (Ter_1, Agazat_1, Evj_1, Gepkod_1, Nha_1,
// Muvid_1 ...).
const char* const kLoadStatement[] = {
    "SELECT DISTINCT ElvMuv.Muvveg, ElvMuv.Tajkotmegnev, ElvMuv.Bejelkot, ElvMuv.Megjegyzes, "
    "ElvMuv.Bejelido, ElvMuv.Sorsz, ElvMuv.Muvkod, ElvMuv.Tablakod, ElvMuv.Datum, ElvMuv.Muvnev, "
    "ElvMuv.Irany, ElvMuv.Evj, ElvMuv.Agazat, ElvMuv.Munkagepkod, ElvMuv.Erogepkod, "
    "ElvMuv.Gepora, ElvMuv.Keziora, ElvMuv.Szantm, ElvMuv.Hozam, ElvMuv.Mellek, ElvMuv.Masod, "
    "ElvMuv.Ter, ElvMuv.Nha, ElvMuv.Muvid, ElvMuv.Szolg, parcellak.Parc_id, parcellak.Parckod, "
    "parcellak.Parcsor, parcellak.Ter, parcellak.Agazat, parcellak.Evj, parcellak.Aktiv, "
    "parcellak.Hazmeg, parcellak.Masod, parcellak.N, parcellak.P, parcellak.K, "
    "parcellak.Agrkor, parcellak.Tertam, parcellak.Kiegtam, parcellak.Kat19, parcellak.Kat20, "
    "parcellak.Celp, parcellak.Hasznkod, parcellak.Saps, parcellak.Kat, parcellak.Akg, "
    "Erogepek.Egepid, Erogepek.Gepkod, Erogepek.Gepnev, Erogepek.Geptip, Erogepek.Haziszam, "
    "Erogepek.Kategoria, Erogepek.Tul, Erogepek.Beszev, Munkagepek.Mgepid, Munkagepek.Gepkod, "
    "Munkagepek.Gepnev, Munkagepek.Hazisz, Munkagepek.Tipus, Munkagepek.Felh, Munkagepek.Tul, "
    "Munkagepek.Beszev, Normalhektar.Kod, Normalhektar.Muv, Normalhektar.Tip, "
    "Normalhektar.Nha, Normalhektar.Muvid, Normalhektar.Extra, Normalhektar.Mtip",
    "FROM ElvMuv",
    "   LEFT OUTER JOIN parcellak",
    "   ON  (ElvMuv.Tablakod = parcellak.Parckod)  ",
    "   LEFT OUTER JOIN Erogepek",
    "   ON  (ElvMuv.Erogepkod = Erogepek.Gepkod)  ",
    "   LEFT OUTER JOIN Munkagepek",
    "   ON  (ElvMuv.Munkagepkod = Munkagepek.Gepkod)  ",
    "   LEFT OUTER JOIN Normalhektar",
    "   ON  (ElvMuv.Muvid = Normalhektar.Kod)  ",
    "WHERE  ElvMuv.Muvkod = :id ",
    "ORDER BY ElvMuv.Tablakod, ElvMuv.Evj, ElvMuv.Datum",
};

ui::TDateTimePicker* PlacePicker(QWidget* parent, const char* label, int left, int top,
                                 int labelWidth = 80) {
    ui::Make<ui::TLabel>(parent, {left, top + 3, labelWidth, 16}, label);
    return ui::Make<ui::TDateTimePicker>(parent, {left + labelWidth, top, 110, 22});
}

std::string FieldText(db::TDataSet& rows, const char* field) {
    return rows.Active() && !rows.IsEmpty() ? rows.FieldByName(field).AsString() : std::string();
}

std::optional<double> OptionalNumber(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    return sys::parseFloat(text);
}

std::optional<sys::DateTime> OptionalDate(db::TDataSet& rows, const char* field) {
    db::TField& value = rows.FieldByName(field);
    if (value.IsNull())
        return std::nullopt;
    return value.AsDateTime();
}

// A date the row lacked stays empty unless the user set one (the picker cannot be empty).
std::optional<sys::DateTime> KeptDate(const std::optional<sys::DateTime>& stored,
                                      sys::DateTime shown, sys::DateTime now) {
    if (!stored && now == shown)
        return std::nullopt;
    return now;
}

} // namespace

TMuvModo::TMuvModo(db::Session& session) : session_(session) {
    SetCaption("Kiválasztott művelet módosítása");
    SetClientSize(990, 490);
    SetPosition(ui::poScreenCenter);
    SetKeyPreview(true);

    for (const char* line : kLoadStatement)
        Query1.SQL().Add(line);
    Table1.SetTableName("parcellak.DB");
    Table1.SetFilter("Aktiv = 'A'");
    Table1.SetFiltered(true);
    Table3.SetTableName("Normalhektar.DB");
    Table3.SetFilter("Muvid = 0");
    Table3.SetFiltered(true);
    Table3.SetIndexFieldNames("Muv");
    Query4.SQL().SetText("SELECT Geptip,Gepkod\nFROM Erogepek\nWHERE Gepkod = :kod\n"
                         "ORDER BY Geptip");
    Query5.SQL().SetText("SELECT Gepnev,Gepkod\nFROM Munkagepek\nWhere Gepkod = :kod\n"
                         "ORDER BY Gepnev");
    Table6.SetTableName("Ontozes.DB");
    Table7.SetTableName("vizkivet.DB");
    Table7.SetFilter("Deleted = false");
    Table7.SetFiltered(true);
    Table8.SetTableName("Novvedmegf.DB");
    Table11.SetTableName("Munkavegz.db");
    Table12.SetTableName("Szemely.DB");
    Table12.SetFilter("Deleted = false");
    Table12.SetFiltered(true);
    Table12.SetIndexName("AlkNevInd");
    Query2.SQL().SetText("SELECT Szemely.Sznev, Munkavegz.Munk_id\nFROM Munkavegz\n"
                         "   INNER JOIN Szemely\n   ON  (Munkavegz.Szemkod = Szemely.Szid) \n"
                         "WHERE Muvkod = :mk \nORDER BY Szemely.Sznev");
    // The code goes in as a parameter, never as text.
    Query3.SQL().SetText("SELECT Sorsz,Datum\nFROM Novvedmegf\nINNER JOIN muv_novmegf\n"
                         " ON muv_novmegf.Megfid = Novvedmegf.Id\nWHERE muv_novmegf.Muvid = :id");

    ui::Make<ui::TLabel>(this, {8, 4, 300, 20}, "Művelet módosítása")->SetBold(true);
    Label18 = ui::Make<ui::TLabel>(this, {8, 28, 480, 20}, "");
    Label19 = ui::Make<ui::TLabel>(this, {522, 28, 460, 20}, "");
    for (ui::TLabel* heading : {Label18, Label19}) {
        heading->SetBold(true);
        heading->setAlignment(Qt::AlignCenter);
    }
    ui::Make<ui::TLabel>(this, {8, 52, 100, 16}, "Tábla :");
    DBGrid1 = ui::ListGrid(this, {8, 70, 506, 196}, &DataSource1,
                           {{"Parcsor", "S. Sz.", 52},
                            {"Agazat", "Ágazat", 90},
                            {"Evj", "Gazd. év", 72},
                            {"Ter", "Terület", 60},
                            {"Hazmeg", "Hazi megnevezés", 132},
                            {"Masod", "Másodvetés", 96}});

    ui::Make<ui::TLabel>(this, {522, 52, 100, 16}, "Művelet :");
    ComboBox3 = ui::Make<ui::TComboBox>(this, {522, 70, 200, 22});
    ComboBox3->Items().AddStrings({"Talajelőkészítés", "Vetés", "Talajerőgazdálkodás",
                                   "Növényápolás", "Betakarítás", "Egyéb"});
    Button4 = ui::Make<ui::TButton>(this, {726, 69, 24, 24}, "+");
    DBLookupListBox1 = ui::Make<ui::TDBLookupListBox>(this, {522, 96, 228, 170});
    DBLookupListBox1->SetListSource(&DataSource3);
    DBLookupListBox1->SetKeyField("Kod");
    DBLookupListBox1->SetListField("Muv");
    Label20 = ui::Make<ui::TLabel>(this, {522, 268, 80, 16}, "");
    Label20->Hide();

    const int x = 760;
    Edit15 = ui::CaptionedEdit(this, "Sorszám :", x, 70, 80, 80);
    DateTimePicker1 = PlacePicker(this, "Kezdete :", x, 98);
    DateTimePicker2 = PlacePicker(this, "Vége :", x, 126);
    ui::Make<ui::TLabel>(this, {x, 157, 80, 16}, "Irány :");
    ComboBox4 = ui::Make<ui::TComboBox>(this, {x + 80, 154, 110, 22});
    ComboBox4->Items().AddStrings({"É-D", "ÉK-DNY", "ÉNY-DK", "K-NY"});
    Edit3 = ui::CaptionedEdit(this, "Gépóra :", x, 182, 80, 80);
    Edit4 = ui::CaptionedEdit(this, "Kézi óra :", x, 210, 80, 80);

    Edit7 = ui::CaptionedEdit(this, "Terület :", 8, 282, 80, 100);
    ui::FitToFields(session, "ElvMuv",
                    {{ComboBox4, "Irany"},
                     {Edit3, "Gepora"},
                     {Edit4, "Keziora"},
                     {Edit15, "Sorsz"},
                     {Edit7, "Ter"}});
    ui::Make<ui::TLabel>(this, {192, 285, 30, 16}, "m²");
    Label11 = ui::Make<ui::TLabel>(this, {250, 285, 80, 16}, "Hozam :");
    Edit5 = ui::Make<ui::TEdit>(this, {330, 282, 70, 22});
    Label13 = ui::Make<ui::TLabel>(this, {404, 285, 40, 16}, "t/ha");
    Label12 = ui::Make<ui::TLabel>(this, {460, 285, 110, 16}, "Melléktermény :");
    Edit6 = ui::Make<ui::TEdit>(this, {570, 282, 180, 22});
    Edit6->SetMaxLength(25);
    ui::FitToFields(session, "ElvMuv", {{Edit5, "Hozam"}});
    ui::Make<ui::TLabel>(this, {8, 315, 80, 16}, "Erőgép :");
    DBText1 = ui::Make<ui::TDBText>(this, {88, 315, 200, 16});
    DBText1->SetDataSource(&DataSource4);
    DBText1->SetDataField("Geptip");
    ui::Make<ui::TLabel>(this, {300, 315, 80, 16}, "Munkagép :");
    DBText2 = ui::Make<ui::TDBText>(this, {380, 315, 250, 16});
    DBText2->SetDataSource(&DataSource5);
    DBText2->SetDataField("Gepnev");
    CheckBox2 = ui::Make<ui::TCheckBox>(this, {8, 340, 200, 20}, "bejelentésköteles művelet");
    Label16 = ui::Make<ui::TLabel>(this, {216, 343, 60, 16}, "megnev. :");
    Edit16 = ui::Make<ui::TEdit>(this, {276, 340, 220, 22});
    Edit16->SetMaxLength(50);
    Label17 = ui::Make<ui::TLabel>(this, {506, 343, 80, 16}, "bejel. időp.:");
    DateTimePicker3 = ui::Make<ui::TDateTimePicker>(this, {586, 340, 110, 22});
    Edit14 = ui::CaptionedEdit(this, "Megjegyzés :", 8, 370, 100, 600);
    Edit14->SetMaxLength(100);

    Button3 = ui::Make<ui::TButton>(this, {8, 410, 200, 28}, "Felhasznált gépek módosítása");
    Button5 = ui::Make<ui::TButton>(this, {214, 410, 210, 28}, "Felhasznált anyagok módosítása");
    Button6 = ui::Make<ui::TButton>(this, {430, 410, 130, 28}, "Öntözési adatok");
    Button8 = ui::Make<ui::TButton>(this, {566, 410, 170, 28}, "Munkavégző személyek");
    Button9 = ui::Make<ui::TButton>(this, {742, 410, 200, 28}, "Növényvédelmi megfigyelés");
    Button2 = ui::Make<ui::TButton>(this, {716, 452, 130, 30}, "Rögzítés");
    Button1 = ui::Make<ui::TButton>(this, {852, 452, 130, 30}, "Mégsem");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 136, 600, 300}, "Öntözési adatok");
    ui::Make<ui::TLabel>(GroupBox1, {8, 27, 70, 16}, "Kezdete:");
    Edit1 = ui::Make<ui::TEdit>(GroupBox1, {94, 24, 40, 22});
    ui::Make<ui::TLabel>(GroupBox1, {138, 27, 30, 16}, "óra");
    Edit8 = ui::Make<ui::TEdit>(GroupBox1, {170, 24, 40, 22});
    ui::Make<ui::TLabel>(GroupBox1, {214, 27, 30, 16}, "perc");
    ui::Make<ui::TLabel>(GroupBox1, {250, 27, 40, 16}, "Vége:");
    Edit9 = ui::Make<ui::TEdit>(GroupBox1, {292, 24, 40, 22});
    ui::Make<ui::TLabel>(GroupBox1, {336, 27, 30, 16}, "óra");
    Edit10 = ui::Make<ui::TEdit>(GroupBox1, {368, 24, 40, 22});
    ui::Make<ui::TLabel>(GroupBox1, {412, 27, 30, 16}, "perc");
    Edit11 = ui::CaptionedEdit(GroupBox1, "Üzemóra:", 8, 54, 86, 70);
    ui::Make<ui::TLabel>(GroupBox1, {168, 57, 30, 16}, "óra");
    Edit12 = ui::CaptionedEdit(GroupBox1, "Mennyiség:", 8, 82, 86, 70);
    ui::FitToFields(session, "Ontozes",
                    {{Edit1, "Ko"},
                     {Edit8, "Kp"},
                     {Edit9, "Vo"},
                     {Edit10, "Vp"},
                     {Edit11, "Uora"},
                     {Edit12, "Menny"}});
    ui::Make<ui::TLabel>(GroupBox1, {168, 85, 30, 16}, "m³");
    ui::Make<ui::TLabel>(GroupBox1, {8, 113, 120, 16}, "Vízkivétel helye :");
    DBLookupComboBox1 = ui::Make<ui::TDBLookupComboBox>(GroupBox1, {130, 110, 250, 22});
    DBLookupComboBox1->SetListSource(&DataSource7);
    DBLookupComboBox1->SetKeyField("Id");
    DBLookupComboBox1->SetListField("Nev");
    Button20 = ui::Make<ui::TButton>(GroupBox1, {386, 109, 24, 24}, "+");
    Edit13 = ui::CaptionedEdit(GroupBox1, "Megjegyzés:", 8, 140, 86, 400);
    Edit13->SetMaxLength(60);
    CheckBox1 = ui::Make<ui::TCheckBox>(GroupBox1, {8, 172, 250, 20}, "Ez a művelet nem öntözés");
    Button7 = ui::Make<ui::TButton>(GroupBox1, {8, 262, 80, 27}, "Ok");
    GroupBox4 =
        ui::Make<ui::TGroupBox>(GroupBox1, {8, 16, 584, 276}, "Vízkivételi helyek kezelése");
    DBGrid5 = ui::ListGrid(GroupBox4, {8, 20, 430, 246}, &DataSource7,
                           {{"Nev", "házi megnevezés", 160},
                            {"Hely", "Vízkiv. helye", 150},
                            {"Engsz", "Engedély sz.", 100}});
    Button23 = ui::Make<ui::TButton>(GroupBox4, {446, 20, 130, 27}, "új vízkiv.");
    Button22 = ui::Make<ui::TButton>(GroupBox4, {446, 54, 130, 27}, "módosítás");
    Button24 = ui::Make<ui::TButton>(GroupBox4, {446, 88, 130, 27}, "törlés");
    Button21 = ui::Make<ui::TButton>(GroupBox4, {446, 239, 130, 27}, "vissza");
    GroupBox5 = ui::Make<ui::TGroupBox>(GroupBox4, {0, 0, 584, 276}, "");
    const char* pointLabels[] = {"Vízkivételi hely házi megnevezése :", "Vízkivétel helye :",
                                 "Engedély száma :", "Öntözési mód :"};
    const char* pointFields[] = {"Nev", "Hely", "Engsz", "Ontmod"};
    ui::TDBEdit** pointEdits[] = {&DBEdit1, &DBEdit2, &DBEdit3, &DBEdit4};
    for (int i = 0; i < 4; ++i) {
        ui::Make<ui::TLabel>(GroupBox5, {8, 30 + 30 * i, 230, 16}, pointLabels[i]);
        *pointEdits[i] = ui::Make<ui::TDBEdit>(GroupBox5, {240, 27 + 30 * i, 330, 22});
        (*pointEdits[i])->SetDataSource(&DataSource7);
        (*pointEdits[i])->SetDataField(pointFields[i]);
    }
    Button26 = ui::Make<ui::TButton>(GroupBox5, {240, 160, 90, 27}, "rögzítés");
    Button25 = ui::Make<ui::TButton>(GroupBox5, {340, 160, 90, 27}, "mégsem");
    GroupBox5->Hide();
    GroupBox4->Hide();
    GroupBox1->Hide();
    // Each box, and the boxes opened from inside it, keep what lies beside them inert.
    for (ui::TGroupBox* box : {GroupBox1, GroupBox4, GroupBox5})
        ui::EditBoxOverList(box);

    GroupBox3 = ui::Make<ui::TGroupBox>(this, {8, 136, 600, 300}, "Személyi adatok:");
    ui::Make<ui::TLabel>(GroupBox3, {8, 20, 240, 16}, "Műveletet végző személyek.");
    DBGrid3 = ui::ListGrid(GroupBox3, {8, 40, 240, 218}, &DataSourceQ2,
                           {{"Sznev", "Munkavégző neve", 200}});
    Button16 = ui::Make<ui::TButton>(GroupBox3, {256, 80, 80, 27}, "<<<");
    Button17 = ui::Make<ui::TButton>(GroupBox3, {256, 116, 80, 27}, "---");
    DBGrid4 = ui::ListGrid(GroupBox3, {344, 40, 248, 218}, &DataSource12,
                           {{"Sznev", "Név", 140}, {"Tel", "Telefonszám", 100}});
    Button18 = ui::Make<ui::TButton>(GroupBox3, {8, 264, 80, 27}, "Rendben");
    Button19 = ui::Make<ui::TButton>(GroupBox3, {344, 264, 170, 27}, "További alkalmazottak");
    GroupBox3->Hide();
    ui::EditBoxOverList(GroupBox3);

    GroupBox6 = ui::Make<ui::TGroupBox>(this, {102, 66, 640, 300},
                                        "Művelethez tartozó növényvédelmi megfigyelés megjelölése");
    ui::Make<ui::TLabel>(GroupBox6, {8, 22, 200, 16}, "Kapcsolt mefigyelés sorszáma :");
    Label15 = ui::Make<ui::TLabel>(GroupBox6, {210, 22, 200, 16}, "nincs kapcsolva");
    CheckBox3 =
        ui::Make<ui::TCheckBox>(GroupBox6, {8, 42, 300, 20}, "Művelethez megfigyelés kiválasztása");
    DBGrid6 = ui::ListGrid(GroupBox6, {8, 66, 624, 192}, &DataSource8,
                           {{"Sorsz", "Sorsz.", 56},
                            {"Datum", "Dátum", 92},
                            {"Novfejl", "Növény fejl.", 110},
                            {"Karfejl", "Károsító fejl.", 110},
                            {"Fertmert", "Fertőzés mért.", 116},
                            {"Jav", "Javaslat", 130}});
    DBGrid6->SetEnabled(false);
    Button28 = ui::Make<ui::TButton>(GroupBox6, {8, 264, 60, 27}, "ok");
    GroupBox6->Hide();
    ui::EditBoxOverList(GroupBox6);

    SetEnterMovesLikeTab(true);
    OnShow = Handler(&TMuvModo::FormShow);
    OnActivate = Handler(&TMuvModo::FormActivate);
    OnClose = Handler(&TMuvModo::FormClose);
    Table1.AfterScroll = [this](db::TDataSet& rows) { Table1AfterScroll(rows); };
    Table8.AfterScroll = [this](db::TDataSet& rows) { Table8AfterScroll(rows); };
    DBGrid1->OnCellClick = [this](ui::TColumn& column) { DBGrid1CellClick(column); };
    ComboBox3->OnChange = Handler(&TMuvModo::ComboBox3Change);
    DBLookupListBox1->OnClick = Handler(&TMuvModo::DBLookupListBox1Click);
    DBLookupComboBox1->OnClick = Handler(&TMuvModo::DBLookupComboBox1Click);
    CheckBox2->OnClick = Handler(&TMuvModo::CheckBox2Click);
    CheckBox3->OnClick = Handler(&TMuvModo::CheckBox3Click);
    for (auto [button, handler] :
         std::initializer_list<std::pair<ui::TButton*, void (TMuvModo::*)(TObject*)>>{
             {Button1, &TMuvModo::Button1Click},   {Button2, &TMuvModo::Button2Click},
             {Button3, &TMuvModo::Button3Click},   {Button4, &TMuvModo::Button4Click},
             {Button5, &TMuvModo::Button5Click},   {Button6, &TMuvModo::Button6Click},
             {Button7, &TMuvModo::Button7Click},   {Button8, &TMuvModo::Button8Click},
             {Button9, &TMuvModo::Button9Click},   {Button16, &TMuvModo::Button16Click},
             {Button17, &TMuvModo::Button17Click}, {Button18, &TMuvModo::Button18Click},
             {Button19, &TMuvModo::Button19Click}, {Button20, &TMuvModo::Button20Click},
             {Button21, &TMuvModo::Button21Click}, {Button22, &TMuvModo::Button22Click},
             {Button23, &TMuvModo::Button23Click}, {Button24, &TMuvModo::Button24Click},
             {Button25, &TMuvModo::Button25Click}, {Button26, &TMuvModo::Button26Click},
             {Button28, &TMuvModo::Button28Click}})
        button->OnClick = Handler(handler);
    DateTimePicker1->SetDate(sys::today());
    CheckBox2Click(CheckBox2);
}

std::string TMuvModo::OperationCode() const {
    return MuvModVal ? MuvModVal->SelectedOperationCode : std::string();
}

// L2 and L3: the linked observation and the operation.
void TMuvModo::FormShow(TObject*) {
    Query3.ParamByName("id").SetAsString(OperationCode());
    Query3.Open();
    Label15->SetCaption(Query3.IsEmpty() ? std::string("nincs kapcsolva")
                                         : Query3.FieldByName("Sorsz").AsString() + " / " +
                                               Query3.FieldByName("Datum").AsString());
    Query3.Close();
    Query1.Close();
    Query1.ParamByName("id").SetAsString(OperationCode());
    Query1.Open();
}

// L1 and L4 onwards, once: the fields, the types and the observations, then the
// operation's values into the controls.
void TMuvModo::FormActivate(TObject*) {
    if (activated_)
        return;
    activated_ = true;
    loading_ = true;
    ui::OpenOnFirstActivate(this, {&Table1, &Table3, &Table8});
    LoadOperation();
    loading_ = false;
}

// L4 to L16.
void TMuvModo::LoadOperation() {
    TypeChanged = false;
    if (Query1.IsEmpty() || Query1.FieldByName("Muvkod").AsString() != OperationCode())
        ui::MessageDlg(kCheckTable, ui::mtWarning, {ui::mbOK});
    auto text = [this](const char* field) { return FieldText(Query1, field); };
    Label18->SetCaption(text("Muvnev"));
    Edit3->SetText(text("Gepora"));
    Edit4->SetText(text("Keziora"));
    Edit5->SetText(text("Szantm") + text("Hozam"));
    Edit6->SetText(text("Mellek"));
    Edit15->SetText(text("Sorsz"));
    Edit14->SetText(text("Megjegyzes"));
    Edit16->SetText(text("Tajkotmegnev"));
    if (!Query1.IsEmpty()) {
        CheckBox2->SetChecked(Query1.FieldByName("Bejelkot").AsBoolean());
        storedNotifiedOn_ = OptionalDate(Query1, "Bejelido");
        storedEndDate_ = OptionalDate(Query1, "Muvveg");
        storedDate_ = OptionalDate(Query1, "Datum");
        if (storedDate_)
            DateTimePicker1->SetDate(*storedDate_);
    }
    CheckBox2Click(CheckBox2);
    DateTimePicker3->SetDate(storedNotifiedOn_.value_or(DateTimePicker1->Date()));
    DateTimePicker2->SetDate(storedEndDate_.value_or(DateTimePicker1->Date()));
    shownNotifiedOn_ = DateTimePicker3->Date();
    shownEndDate_ = DateTimePicker2->Date();
    // The field grid goes to the operation's field; the area shown stays the stored one.
    if (!Query1.IsEmpty())
        Table1.Locate("Parckod", {db::Value(text("Tablakod"))});
    Edit7->SetText(text("Ter"));
    OperationFieldCode = text("Tablakod");
    ComboBox4->SetText(text("Irany"));
    // A machine code that names no machine row any more is kept, not replaced by the
    // no-machine row.
    auto machine = [&](const char* joined, const char* stored) {
        if (!text(joined).empty())
            return text(joined);
        return text(stored).empty() ? std::string(kNoMachine) : text(stored);
    };
    storedTractor_ = machine("Gepkod", "Erogepkod");
    storedImplement_ = machine("Gepkod_1", "Munkagepkod");
    tractor_ = storedTractor_;
    implement_ = storedImplement_;
    OpenMachine(Query4, tractor_);
    OpenMachine(Query5, implement_);
    if (!Query1.IsEmpty())
        Label19->SetCaption(text("Parcsor") + ". " + text("Agazat_1") + "/" + text("Evj_1") + ".");
    Button6Click(Button6);
    GroupBox1->Hide();
    ShowStoredWaterPoint();
    LoadType();
}

// An irrigation's stored water point is the one shown and saved until the user picks
// another, so that a save that changes something else keeps it.
void TMuvModo::ShowStoredWaterPoint() {
    unlistedWaterPoint_.reset();
    if (Query1.IsEmpty() || CheckBox1->Checked())
        return;
    db::TTable stored(session_, "Stored");
    stored.SetTableName("ElvMuv");
    stored.SetFilter("Muvkod = " + db::quoteFilterText(OperationCode()));
    stored.SetFiltered(true);
    stored.Open();
    if (stored.IsEmpty() || stored.FieldByName("Vizkivid").IsNull())
        return;
    const auto id = static_cast<std::int32_t>(stored.FieldByName("Vizkivid").AsInteger());
    if (Table7.Active() && Table7.Locate("Id", {db::Value(id)}))
        DBLookupComboBox1->SetKeyValue(Table7.FieldByName("Id").AsValue());
    else if (id != 0)
        unlistedWaterPoint_ = id;
}

// L14 to L16: the stored type is the current row of the type list, its factor kept.
void TMuvModo::LoadType() {
    if (Query1.IsEmpty() || Query1.FieldByName("Kod").IsNull())
        return;
    const int extra = static_cast<int>(Query1.FieldByName("Extra").AsInteger());
    ShowExtraControls(extra);
    ExtraKind = extra;
    const int category = static_cast<int>(Query1.FieldByName("Muvid_1").AsInteger());
    ComboBox3->SetItemIndex(category);
    Table3.Close();
    Table3.SetFilter("Muvid = " + sys::intToText(category));
    Table3.Open();
    if (Table3.Locate("Kod", {db::Value(Query1.FieldByName("Muvid").AsString())}))
        DBLookupListBox1->SetKeyValue(Table3.FieldByName("Kod").AsValue());
    if (!Query1.FieldByName("Nha_1").IsNull())
        storedFactor_ = Query1.FieldByName("Nha_1").AsFloat();
}

void TMuvModo::ShowExtraControls(int extra) {
    ops::ShowExtraValue({Label11, Edit5, Label13, Label12, Edit6, "Mélység :"}, extra);
}

void TMuvModo::OpenMachine(db::TQuery& query, const std::string& code) {
    query.Close();
    query.ParamByName("kod").SetAsString(code);
    query.Open();
}

void TMuvModo::FormClose(TObject*, TCloseAction&) {
    if (usesChanged_ && !saved_ && storedDate_) {
        db::SessionTransaction transaction(session_);
        ops::RedateWithdrawals(session_, OperationCode(), *storedDate_);
        transaction.Commit();
    }
    for (db::TDataSet* rows : std::initializer_list<db::TDataSet*>{
             &Query1, &Query4, &Query5, &Table6, &Table7, &Query2, &Table11, &Table12})
        rows->Close();
}

// F: the current field becomes the operation's field. While the material uses have been
// changed with the area as it stood, the area stays.
void TMuvModo::Table1AfterScroll(db::TDataSet&) {
    if (!Table1.Active() || Table1.IsEmpty())
        return;
    Label19->SetCaption(Table1.FieldByName("Parcsor").AsString() + " " +
                        Table1.FieldByName("Agazat").AsString() + "/" +
                        Table1.FieldByName("Evj").AsString() + ".");
    OperationFieldCode = Table1.FieldByName("Parckod").AsString();
    if (Edit7->Enabled())
        Edit7->SetText(sys::intToText(std::llround(Table1.FieldByName("Ter").AsFloat())));
}

void TMuvModo::DBGrid1CellClick(ui::TColumn&) {
    Table1AfterScroll(Table1);
}

// T1: the types of the category; the current row moves, the factor used does not.
void TMuvModo::ComboBox3Change(TObject*) {
    if (loading_)
        return;
    const int category = ComboBox3->ItemIndex();
    if (category < 0) {
        ui::Application->MessageBox("A műveletek kategóriáit nem lehet módosítani !",
                                    "Helytelen kategóriaszűrés!");
        return;
    }
    Table3.Close();
    Table3.SetFilter("Muvid = " + sys::intToText(category));
    Table3.SetFiltered(true);
    Table3.Open();
}

// T2: the picked type, found by its code (two types may share a name).
void TMuvModo::DBLookupListBox1Click(TObject*) {
    const db::Value code = DBLookupListBox1->KeyValue();
    if (db::isNull(code) || !Table3.Locate("Kod", {code}))
        return;
    Label18->SetCaption(Table3.FieldByName("Muv").AsString());
    Label20->SetCaption(Table3.FieldByName("Kod").AsString());
    ExtraKind = static_cast<int>(Table3.FieldByName("Extra").AsInteger());
    pickedType_ = ops::OperationType{Label20->Caption(), Label18->Caption(),
                                     Table3.FieldByName("Nha").AsFloat(), ExtraKind};
    TypeChanged = true;
    ShowExtraControls(ExtraKind);
}

void TMuvModo::CheckBox2Click(TObject*) {
    const bool on = CheckBox2->Checked();
    for (ui::TControl* control :
         std::initializer_list<ui::TControl*>{Label16, Edit16, Label17, DateTimePicker3}) {
        control->SetVisible(on);
        control->SetEnabled(on);
    }
}

// I1: the stored irrigation row, or none ("Ez a művelet nem öntözés" ticked).
void TMuvModo::Button6Click(TObject*) {
    Table7.Open();
    Table6.Close();
    Table6.SetFilter("Muvkod = " + db::quoteFilterText(OperationCode()));
    Table6.SetFiltered(true);
    Table6.Open();
    const bool none = Table6.IsEmpty();
    const std::pair<ui::TEdit*, const char*> fields[] = {
        {Edit1, "Ko"},    {Edit8, "Kp"},     {Edit9, "Vo"},   {Edit10, "Vp"},
        {Edit11, "Uora"}, {Edit12, "Menny"}, {Edit13, "Megj"}};
    for (auto [edit, field] : fields)
        edit->SetText(none ? std::string() : Table6.FieldByName(field).AsString());
    CheckBox1->SetChecked(none);
    GroupBox1->Show();
    GroupBox1->BringToFront();
}

void TMuvModo::Button7Click(TObject*) {
    if (ui::TypedValuesValid(*GroupBox1))
        GroupBox1->Hide();
}

void TMuvModo::DBLookupComboBox1Click(TObject*) {
    const db::Value id = DBLookupComboBox1->KeyValue();
    if (!db::isNull(id) && Table7.Locate("Id", {id}))
        unlistedWaterPoint_.reset();
}

void TMuvModo::Button20Click(TObject*) {
    GroupBox4->Show();
    GroupBox4->BringToFront();
}

void TMuvModo::Button21Click(TObject*) {
    GroupBox4->Hide();
}

void TMuvModo::Button22Click(TObject*) {
    ops::StartWaterPointEdit(Table7, *GroupBox5);
}

void TMuvModo::Button23Click(TObject*) {
    ops::StartNewWaterPoint(Table7, *GroupBox5);
}

void TMuvModo::Button24Click(TObject*) {
    ops::RemoveWaterPoint(Table7);
}

void TMuvModo::Button25Click(TObject*) {
    ops::CancelWaterPoint(Table7, *GroupBox5);
}

void TMuvModo::Button26Click(TObject*) {
    unlistedWaterPoint_.reset(); // the point just kept is the current one
    ops::PostWaterPoint(Table7, *GroupBox5, {DBEdit1, DBEdit2, DBEdit3, DBEdit4});
}

void TMuvModo::ReopenWorkers() {
    Query2.Close();
    Query2.ParamByName("mk").SetAsString(OperationCode());
    Query2.Open();
}

// P1 to P4: the operation's workers, written at once.
void TMuvModo::Button8Click(TObject*) {
    Table11.Open();
    Table12.Open();
    ReopenWorkers();
    GroupBox3->Show();
    GroupBox3->BringToFront();
    Button16->SetFocus();
}

void TMuvModo::Button16Click(TObject*) {
    if (ops::AddChosenWorker(Table11, Table12, OperationCode()))
        ReopenWorkers();
}

void TMuvModo::Button17Click(TObject*) {
    if (ops::RemoveChosenWorker(Table11, Query2))
        ReopenWorkers();
}

void TMuvModo::Button18Click(TObject*) {
    Query2.Close();
    Table11.Close();
    Table12.Close();
    GroupBox3->Hide();
}

// The persons added there are offered at once.
void TMuvModo::Button19Click(TObject*) {
    ops::AddEmployees(session_, Table12);
}

// O1 to O4: the observations of the operation's field.
void TMuvModo::Button9Click(TObject*) {
    Table8.SetFilter("Parc_id = " + db::quoteFilterText(OperationFieldCode));
    Table8.SetFiltered(true);
    GroupBox6->Show();
    GroupBox6->BringToFront();
}

void TMuvModo::CheckBox3Click(TObject*) {
    DBGrid6->SetEnabled(CheckBox3->Checked());
    Table8AfterScroll(Table8);
}

void TMuvModo::Table8AfterScroll(db::TDataSet&) {
    if (CheckBox3->Checked() && Table8.Active() && !Table8.IsEmpty())
        Label15->SetCaption(Table8.FieldByName("Sorsz").AsString() + " / " +
                            Table8.FieldByName("Datum").AsString());
}

void TMuvModo::Button28Click(TObject*) {
    GroupBox6->Hide();
}

// The machine dialog starts from the machines stored with the operation.
void TMuvModo::Button3Click(TObject*) {
    ui::OwnedForm<TFelhaszE> dialog(FelhaszE, session_);
    dialog->TractorCode = storedTractor_;
    dialog->ImplementCode = storedImplement_;
    dialog->ShowModal();
    if (!dialog->MachinesChosen)
        return;
    tractor_ = dialog->TractorCode;
    implement_ = dialog->ImplementCode;
    OpenMachine(Query4, tractor_);
    OpenMachine(Query5, implement_);
}

void TMuvModo::Button4Click(TObject*) {
    ui::ShowModalForm(Ujmuv, session_);
    Table3.Refresh();
}

// The uses were changed for the area as it stands: the area is locked from now on.
void TMuvModo::Button5Click(TObject*) {
    usesChanged_ = true;
    OpenMaterialUseModifier(session_, OperationCode(), [this] { return DateTimePicker1->Date(); });
    Edit7->SetEnabled(false);
}

std::optional<ops::OperationChange> TMuvModo::ReadChange() {
    const bool irrigation = !CheckBox1->Checked();
    const bool yield = ExtraKind == 2 || ExtraKind == 3;
    if (!NumericInt->IsValidFor(Edit3->Text(), "Gépóra", "ElvMuv", "Gepora") ||
        !NumericInt->IsValidFor(Edit4->Text(), "Kézi óra", "ElvMuv", "Keziora") ||
        !NumericInt->IsValidFor(Edit15->Text(), "Sorszám", "ElvMuv", "Sorsz") ||
        !NumericInt->IsValidFor(Edit7->Text(), "Terület", "ElvMuv", "Ter") ||
        ((yield || ExtraKind == 1) && !ui::TypedValuesValid(*Edit5)) ||
        (irrigation && !ui::TypedValuesValid(*GroupBox1)))
        return std::nullopt;
    if (Edit7->Text().empty()) {
        ui::MessageDlg(kNoArea, ui::mtWarning, {ui::mbOK});
        return std::nullopt;
    }
    // The operation covers at most its field, and ends no earlier than it starts.
    const std::optional<double> fieldArea = ops::FieldArea(session_, OperationFieldCode);
    if (fieldArea && !NumericInt->IsNotAbove(sys::parseInt(Edit7->Text()), *fieldArea, "Terület",
                                             "ElvMuv", "Ter"))
        return std::nullopt;
    const std::optional<sys::DateTime> end =
        KeptDate(storedEndDate_, shownEndDate_, DateTimePicker2->Date());
    if (end && !NumericInt->IsNotBefore(*end, DateTimePicker1->Date(), "Vége", "ElvMuv", "Muvveg"))
        return std::nullopt;
    ops::OperationChange change;
    change.muvkod = OperationCode();
    change.factor = storedFactor_;
    if (TypeChanged && pickedType_) {
        change.newType = pickedType_;
        change.factor = pickedType_->nha;
    }
    change.field = OperationFieldCode;
    change.direction = ComboBox4->Text();
    change.date = DateTimePicker1->Date();
    change.endDate = end;
    change.machineHours = OptionalNumber(Edit3->Text());
    change.manualHours = OptionalNumber(Edit4->Text());
    if (!Edit15->Text().empty())
        change.serial = sys::parseInt(Edit15->Text());
    change.tractor = tractor_;
    change.implement = implement_;
    change.notifiable = CheckBox2->Checked();
    change.notifiedName = Edit16->Text();
    change.notifiedOn =
        change.notifiable ? DateTimePicker3->Date()
                          : KeptDate(storedNotifiedOn_, shownNotifiedOn_, DateTimePicker3->Date());
    change.remark = Edit14->Text();
    change.area = sys::parseInt(Edit7->Text());
    change.extraKind = ExtraKind;
    change.depth = Edit5->Text();
    if (yield)
        change.yield = OptionalNumber(Edit5->Text());
    change.byProduct = Edit6->Text();
    if (irrigation) {
        ops::Irrigation row{Edit1->Text(),
                            Edit8->Text(),
                            Edit9->Text(),
                            Edit10->Text(),
                            OptionalNumber(Edit11->Text()).value_or(0),
                            OptionalNumber(Edit12->Text()).value_or(0),
                            Edit13->Text(),
                            0};
        if (unlistedWaterPoint_)
            row.vizkivid = *unlistedWaterPoint_;
        else if (Table7.Active() && !Table7.IsEmpty())
            row.vizkivid = static_cast<int>(Table7.FieldByName("Id").AsInteger());
        change.irrigation = row;
    }
    if (CheckBox3->Checked() && Table8.Active() && !Table8.IsEmpty())
        change.observation = static_cast<int>(Table8.FieldByName("Id").AsInteger());
    return change;
}

// "Rögzítés": every value is checked first, then the operation is written whole or not
// at all.
void TMuvModo::Button2Click(TObject*) {
    auto change = ReadChange();
    if (!change)
        return;
    // The doses per hectare stay, so a new area takes more or less of each material; without
    // stock keeping the withdrawals stay as they are, as a changed dose leaves them.
    const bool stockKept = NumericInt->IsStockKeepingEnabled();
    if (stockKept)
        change->withdrawals = ops::WithdrawalsForArea(session_, change->muvkod, change->area);
    if (stockKept && ops::MaterialShortOfArea(session_, change->withdrawals, change->date)) {
        ui::MessageDlg(kShortOfStock, ui::mtError, {ui::mbOK});
        return;
    }
    saved_ = ops::SaveOperationChange(session_, *change);
    if (!saved_)
        ui::MessageDlg(kGone, ui::mtWarning, {ui::mbOK});
    Close();
}

void TMuvModo::Button1Click(TObject*) {
    Close();
}
