#include "Felhanymodh.h"

#include "core/Isnuminth.h"
#include "material_controls.h"
#include "platform/db/filter.h"
#include "platform/sys/numbers.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_helpers.h"
#include "recorded_uses.h"
#include "resources/stock.h"

TFelhAnyMod* FelhAnyMod = nullptr;

namespace {

const char* const kNoQuantity = "Mennyiség nélkül a felhasználás nem nyugtázható!";
const char* const kNoMaterial = "Nincs anyag kiválasztva !";

void UseListSql(db::TQuery& query, const char* first, const char* second, const char* on) {
    query.SQL().Add("SELECT *");
    query.SQL().Add(std::string("FROM ") + first);
    query.SQL().Add(std::string("   INNER JOIN ") + second);
    query.SQL().Add(std::string("   ON  (") + on + ")  ");
    query.SQL().Add("Where felhanyag.Muvkod = :mkod");
}

void StockListSql(db::TQuery& query, const std::string& master, const std::string& code,
                  const std::string& columns) {
    query.SQL().Add("SELECT SUM( Raktarmozgas.Menny ) Ossz, " + columns);
    query.SQL().Add("FROM Raktarmozgas");
    query.SQL().Add("   INNER JOIN " + master);
    query.SQL().Add("   ON  (" + master + "." + code + " = Raktarmozgas.Anyagkod)  ");
    query.SQL().Add("WHERE  Raktarmozgas.Datum <= :dat ");
    query.SQL().Add("GROUP BY " + columns);
    ops::AddShownStock(query);
}

// The N, P and K texts of a NutrientPercentText ("X34;0;0;"); "0" three times for any
// other text. A part without its ";" runs to the end of the text.
std::array<std::string, 3> NutrientParts(const std::string& text) {
    if (text.empty() || text[0] != 'X')
        return {"0", "0", "0"};
    std::array<std::string, 3> parts;
    std::size_t from = 1;
    for (std::string& part : parts) {
        const std::size_t end = std::min(text.find(';', from), text.size());
        if (from < text.size())
            part = text.substr(from, end - from);
        from = end + 1;
    }
    return parts;
}

double UnitFactorOf(const std::string& unit) {
    return res::UnitFactor(unit).value_or(1);
}

// Places a box, clears its inputs, shows it over the lists and gives `focus` the focus.
void ShowBox(ui::TPanel& box, int left, int top, std::initializer_list<ui::TEdit*> cleared,
             ui::TControl& focus) {
    box.SetBounds(left, top, box.Width(), box.Height());
    for (ui::TEdit* edit : cleared)
        edit->SetText("");
    box.Show();
    box.BringToFront();
    focus.SetFocus();
}

ui::TPopupMenu* ListMenu(QWidget* owner, ui::TDBGrid* grid, ui::TNotifyEvent remove,
                         ui::TNotifyEvent change, ui::TNotifyEvent add) {
    auto* menu = new ui::TPopupMenu(owner);
    menu->Add("Törlés")->OnClick = std::move(remove);
    menu->Add("Módosítás")->OnClick = std::move(change);
    menu->Add("Hozzáadás")->OnClick = std::move(add);
    grid->SetPopupMenu(menu);
    return menu;
}

} // namespace

// What an add box hands to AddUse once its own checks passed.
struct TFelhAnyMod::AddedUse {
    res::MaterialKind kind;
    UseList* list;
    ui::TPanel* box;
    std::string dose;
    std::string unit;
    std::function<void(ops::MaterialUse&)> details;
};

TFelhAnyMod::TFelhAnyMod(db::Session& session, std::function<sys::DateTime()> operationDate)
    : session_(session), operationDate_(std::move(operationDate)) {
    SetCaption("Művelethez felhasznált anyagok módosítása");
    SetClientSize(640, 560);
    SetPosition(ui::poScreenCenter);

    Table2.SetTableName("felhanyag.db");
    Table3.SetTableName("ElvMuv.DB");
    Table3.SetIndexFieldNames("Muvkod");
    Table6.SetTableName("Magfajtak.DB");
    Table6.SetIndexName("MagfajtakFIdx");
    UseListSql(Query3, "Tapanyagok", "felhanyag", "Felhanyag.Anyagkod = Tapanyagok.Kod");
    UseListSql(Query2, "felhanyag", "Novenyvedok", "felhanyag.Anyagkod = Novenyvedok.Kod");
    UseListSql(Query1, "felhanyag", "Vetomagok", "felhanyag.Anyagkod = Vetomagok.Magkod");
    for (const char* field : {"Nhat", "Phat", "Khat"})
        Query3.AddCalcField(field, db::FieldType::Alpha, 4);
    Query3.OnCalcFields = [this](db::TDataSet& rows) { Query3CalcFields(rows); };
    StockListSql(Query5, "Tapanyagok", "Kod", "Tapanyagok.Kod, Tapanyagok.Nev, Tapanyagok.Mert");
    StockListSql(Query6, "Novenyvedok", "Kod",
                 "Novenyvedok.Kod, Novenyvedok.Nev, Novenyvedok.Mert");
    StockListSql(Query7, "Vetomagok", "Magkod",
                 "Vetomagok.Magkod, Vetomagok.Nev, Vetomagok.Mert,Vetomagok.Magfaj");

    Label1 = ui::Make<ui::TLabel>(this, {8, 4, 400, 20}, " Felhasznált anyagok módosítása ");
    Label1->SetBold(true);
    auto buttonRow = [this](int top,
                            std::initializer_list<std::pair<ui::TButton**, const char*>> buttons) {
        int left = 8;
        for (const auto& [button, caption] : buttons) {
            *button = ui::Make<ui::TButton>(this, {left, top, 150, 26}, caption);
            left += 156;
        }
    };
    ops::Label(this, 8, 24, " Felhasznált termésnövelők : ", 300);
    DBGrid3 = ui::ListGrid(this, {8, 44, 624, 120}, &DataSource3,
                           {{"Nev", "Anyag megnevezése", 260},
                            {"Menny_1", "Menny.", 70},
                            {"Mert_1", "ME/ha", 58},
                            {"Nhat", "N%", 50},
                            {"Phat", "P%", 50},
                            {"Khat", "K%", 50}});
    buttonRow(168, {{&Button1, "Sor törlés"},
                    {&Button2, "Mennyiség módosítása"},
                    {&Button18, "Hatóanyag mód."},
                    {&Button3, "Más anyag"}});
    Button21 = ui::Make<ui::TButton>(this, {8, 196, 306, 22}, "Talajbaművelés időpontja");
    ops::Label(this, 8, 222, " Felhasznált növényvédőszerek : ", 300);
    DBGrid1 = ui::ListGrid(
        this, {8, 242, 624, 74}, &DataSource2,
        {{"Nev", "Anyag megnevezése", 300}, {"Menny", "Menny.", 80}, {"Mert", "ME/ha", 60}});
    buttonRow(320, {{&Button6, "Sor törlés"},
                    {&Button7, "Mennyiség módosítása"},
                    {&Button23, "Tétel módosítása"},
                    {&Button8, "Más anyag"}});
    ops::Label(this, 8, 352, " Felhasznált vetőmagok : ", 300);
    DBGrid2 = ui::ListGrid(
        this, {8, 372, 624, 96}, &DataSource1,
        {{"Nev", "Anyag megnevezése", 300}, {"Menny", "Menny.", 80}, {"Mert", "ME/ha", 60}});
    buttonRow(
        472,
        {{&Button9, "Sor törlés"}, {&Button10, "Mennyiség módosítása"}, {&Button11, "Más anyag"}});
    Button5 = ui::Make<ui::TButton>(this, {522, 522, 110, 30}, "Rendben");

    Panel1 = ui::Make<ui::TPanel>(this, {8, 168, 312, 30});
    Edit1 = ui::Make<ui::TEdit>(Panel1, {4, 4, 200, 22});
    Button4 = ui::Make<ui::TButton>(Panel1, {210, 2, 98, 26}, "OK");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 64, 320, 170}, "Hatóanyag módosítása");
    ops::Label(GroupBox1, 8, 24, "N :", 24);
    Edit6 = ui::Make<ui::TEdit>(GroupBox1, {32, 24, 50, 22});
    ops::Label(GroupBox1, 104, 24, "P :", 24);
    Edit7 = ui::Make<ui::TEdit>(GroupBox1, {128, 24, 50, 22});
    ops::Label(GroupBox1, 200, 24, "K :", 24);
    Edit8 = ui::Make<ui::TEdit>(GroupBox1, {224, 24, 50, 22});
    for (auto [edit, left] : {std::pair{Edit6, 84}, std::pair{Edit7, 180}, std::pair{Edit8, 276}}) {
        edit->SetMaxLength(4);
        ops::Label(GroupBox1, left, 24, "%", 14);
    }
    RadioButton3 = ui::Make<ui::TRadioButton>(GroupBox1, {8, 56, 150, 20}, "Műtrágya");
    RadioButton4 = ui::Make<ui::TRadioButton>(GroupBox1, {8, 78, 150, 20}, "Szervestrágya");
    RadioButton5 = ui::Make<ui::TRadioButton>(GroupBox1, {8, 100, 150, 20}, "Híg szervestrágya");
    RadioButton6 = ui::Make<ui::TRadioButton>(GroupBox1, {8, 122, 180, 20}, "Egyéb trágya féleség");
    Button20 = ui::Make<ui::TButton>(GroupBox1, {220, 100, 90, 26}, "Ok");
    Button19 = ui::Make<ui::TButton>(GroupBox1, {220, 132, 90, 26}, "Mégsem");

    GroupBox2 = ui::Make<ui::TGroupBox>(this, {330, 64, 300, 130}, "Talajbaművelés időpontja");
    CheckBox1 = ui::Make<ui::TCheckBox>(GroupBox2, {8, 22, 200, 20}, "Talajba művelés időpontja");
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(GroupBox2, {8, 46, 120, 22});
    RadioButton1 = ui::Make<ui::TRadioButton>(GroupBox2, {150, 46, 120, 20}, "Összesre");
    RadioButton2 = ui::Make<ui::TRadioButton>(GroupBox2, {150, 70, 120, 20}, "Kijelöltre");
    RadioButton1->SetChecked(true);
    O = ui::Make<ui::TButton>(GroupBox2, {8, 96, 90, 26}, "OK");
    Button22 = ui::Make<ui::TButton>(GroupBox2, {110, 96, 90, 26}, "Mégsem");

    GroupBox3 = ui::Make<ui::TGroupBox>(this, {8, 200, 420, 200}, "Tétel módosítása");
    DBText1 = ui::Make<ui::TDBText>(GroupBox3, {8, 22, 400, 16});
    DBText1->SetDataSource(&DataSource2);
    DBText1->SetDataField("Nev");
    DBText5 = ui::Make<ui::TDBText>(GroupBox3, {8, 42, 80, 16});
    DBText5->SetDataSource(&DataSource2);
    DBText5->SetDataField("Menny");
    DBText6 = ui::Make<ui::TDBText>(GroupBox3, {92, 42, 40, 16});
    DBText6->SetDataSource(&DataSource2);
    DBText6->SetDataField("Mert");
    ops::Label(GroupBox3, 136, 39, "/ha", 30);
    auto itemEdit = [this](int top, const char* caption, const char* field) {
        ops::Label(GroupBox3, 8, top, caption, 160);
        auto* edit = ui::Make<ui::TDBEdit>(GroupBox3, {170, top, 200, 22});
        edit->SetDataSource(&DataSource4);
        edit->SetDataField(field);
        return edit;
    };
    DBEdit4 = itemEdit(64, "Várakozási idő:", "Vido");
    DBEdit5 = itemEdit(90, "Felalős:", "Felelos");
    DBEdit6 = itemEdit(116, "Permetlé mennyisége:", "Permetle");
    ops::Label(GroupBox3, 374, 116, "l/ha", 40);
    ops::Label(GroupBox3, 8, 142, "Bet. időpontja:", 160);
    DateTimePicker3 = ui::Make<ui::TDateTimePicker>(GroupBox3, {170, 142, 140, 22});
    DateTimePicker3->SetShowCheckbox(true);
    Button25 = ui::Make<ui::TButton>(GroupBox3, {220, 168, 90, 26}, "Rögzítés");
    Button24 = ui::Make<ui::TButton>(GroupBox3, {320, 168, 90, 26}, "Mégsem");

    const int x = 170;
    Panel2 = ui::Make<ui::TPanel>(this, {160, 48, 470, 130});
    ops::Label(Panel2, 8, 8, "Anyag neve :");
    DBLookupComboBox1 = ops::Lookup(Panel2, {x, 8, 290, 22}, &DataSource5, "Nev", "Nev");
    ops::Label(Panel2, 8, 36, "Mennyiség :");
    Edit2 = ui::Make<ui::TEdit>(Panel2, {x, 36, 100, 22});
    ComboBox1 =
        ops::UnitCombo(Panel2, {x + 106, 36, 60, 22}, {"g", "kg", "t", "ml", "l", "m3"}, "kg");
    ops::Label(Panel2, x + 170, 36, "/ha", 30);
    ops::Label(Panel2, 8, 64, "Meglévő menny :");
    DBEdit2 = ops::StockEdit(Panel2, {x, 64, 100, 22}, &DataSource5);
    DBText2 = ops::UnitText(Panel2, {x + 106, 67, 40, 16}, &DataSource5);
    Button12 = ui::Make<ui::TButton>(Panel2, {x, 96, 100, 26}, "OK");
    Button17 = ui::Make<ui::TButton>(Panel2, {x + 110, 96, 100, 26}, "Mégsem");

    Panel3 = ui::Make<ui::TPanel>(this, {128, 96, 480, 210});
    ops::Label(Panel3, 8, 8, " Megnevezés :");
    DBLookupComboBox2 = ops::Lookup(Panel3, {x, 8, 300, 22}, &DataSource6, "Nev", "Nev");
    ops::Label(Panel3, 8, 36, " Felhasznált mennyiség :", 170);
    Edit12 = ui::Make<ui::TEdit>(Panel3, {x, 36, 100, 22});
    ComboBox2 =
        ops::UnitCombo(Panel3, {x + 106, 36, 60, 22}, {"g", "kg", "t", "ml", "l", "m3"}, "kg");
    ops::Label(Panel3, x + 170, 36, "/ha", 30);
    ops::Label(Panel3, 8, 64, " Meglévő mennyiség :", 170);
    DBEdit1 = ops::StockEdit(Panel3, {x, 64, 100, 22}, &DataSource6);
    DBText3 = ops::UnitText(Panel3, {x + 106, 67, 40, 16}, &DataSource6);
    ops::Label(Panel3, 8, 92, " Permetlé mennyisége :", 170);
    Edit4 = ui::Make<ui::TEdit>(Panel3, {x, 92, 100, 22});
    Edit4->SetMaxLength(ui::TextFieldWidth(session_, "felhanyag", "Permetle"));
    ops::Label(Panel3, x + 106, 92, "l/ha", 40);
    ops::Label(Panel3, 8, 120, " Betakarítás időpontja :", 170);
    DateTimePicker2 = ui::Make<ui::TDateTimePicker>(Panel3, {x, 120, 120, 22});
    ops::Label(Panel3, 8, 148, " Felelős :", 170);
    Edit3 = ui::Make<ui::TEdit>(Panel3, {x, 148, 250, 22});
    Edit3->SetMaxLength(ui::TextFieldWidth(session_, "felhanyag", "Felelos"));
    Button13 = ui::Make<ui::TButton>(Panel3, {x, 178, 100, 26}, "OK");
    Button15 = ui::Make<ui::TButton>(Panel3, {x + 110, 178, 100, 26}, "Mésem");

    Panel4 = ui::Make<ui::TPanel>(this, {136, 280, 490, 180});
    ops::Label(Panel4, 8, 8, "Növény :");
    DBLookupComboBox4 = ops::Lookup(Panel4, {x, 8, 250, 22}, &DataSource8, "Faj", "Faj");
    DBLookupComboBox4->SetDropDownRows(20);
    ops::Label(Panel4, 8, 36, "Megnevezés :");
    DBLookupComboBox3 = ops::Lookup(Panel4, {x, 36, 310, 22}, &DataSource7, "Nev", "Nev");
    DBLookupComboBox3->SetDropDownRows(16);
    ops::Label(Panel4, 8, 64, "Felhasznált mennyiség :", 160);
    Edit11 = ui::Make<ui::TEdit>(Panel4, {x, 64, 100, 22});
    ComboBox3 = ops::UnitCombo(Panel4, {x + 106, 64, 60, 22}, {"g", "kg", "t", "db"}, "kg");
    ops::Label(Panel4, x + 170, 64, "/ha", 30);
    ops::Label(Panel4, 8, 92, "Meglévő mennyiség :", 160);
    DBEdit3 = ops::StockEdit(Panel4, {x, 92, 100, 22}, &DataSource7);
    DBText4 = ops::UnitText(Panel4, {x + 106, 95, 40, 16}, &DataSource7);
    ops::Label(Panel4, 8, 120, "Kijuttatott csíraszám :", 160);
    Edit5 = ui::Make<ui::TEdit>(Panel4, {x, 120, 100, 22});
    Edit5->SetMaxLength(ui::TextFieldWidth(session_, "felhanyag", "Csira"));
    ops::Label(Panel4, x + 106, 120, "db/ha", 50);
    // A quantity, a spray volume and a germ count are what their fields may hold; an
    // active-substance share is a percentage, as the fertiliser master keeps it.
    ui::FitToFields(session_, "felhanyag",
                    {{Edit1, "Menny"},
                     {Edit2, "Menny"},
                     {Edit12, "Menny"},
                     {Edit11, "Menny"},
                     {ComboBox1, "Mert"},
                     {ComboBox2, "Mert"},
                     {ComboBox3, "Mert"},
                     {Edit4, "Permetle"},
                     {Edit5, "Csira"}});
    ui::FitToFields(session_, "Tapanyagok", {{Edit6, "Nit"}, {Edit7, "Nit"}, {Edit8, "Nit"}});
    Button14 = ui::Make<ui::TButton>(Panel4, {x, 150, 100, 26}, "OK");
    Button16 = ui::Make<ui::TButton>(Panel4, {x + 110, 150, 100, 26}, "Mésem");

    // The boxes stand over the lists: opaque, hidden until their buttons show them, and
    // while one is open the lists and their buttons are inert, so that it writes the row
    // that was current when it opened.
    for (ui::TControl* box : std::initializer_list<ui::TControl*>{
             Panel1, GroupBox1, GroupBox2, GroupBox3, Panel2, Panel3, Panel4}) {
        box->Widget().setAutoFillBackground(true);
        box->Hide();
        ui::EditBoxOverList(&box->Widget());
    }

    lists_[0] = {&Query3, DBGrid3, &Query5, "Kod", "Menny_1", "Mert_1", 168};
    lists_[1] = {&Query2, DBGrid1, &Query6, "Kod", "Menny", "Mert", 320};
    lists_[2] = {&Query1, DBGrid2, &Query7, "Magkod", "Menny", "Mert", 472};

    OnShow = Handler(&TFelhAnyMod::FormShow);
    OnActivate = Handler(&TFelhAnyMod::FormActivate);
    OnClose = [this](TObject*, TCloseAction&) {
        if (Table2.Active())
            Table2.Cancel();
        Table2.Close();
        Table7.Close();
    };
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {DBGrid1, DBGrid2, DBGrid3, Edit1});

    Button1->OnClick = Handler(&TFelhAnyMod::Button1Click);
    Button6->OnClick = Handler(&TFelhAnyMod::Button6Click);
    Button9->OnClick = Handler(&TFelhAnyMod::Button9Click);
    Button2->OnClick = Handler(&TFelhAnyMod::Button2Click);
    Button7->OnClick = Handler(&TFelhAnyMod::Button7Click);
    Button10->OnClick = Handler(&TFelhAnyMod::Button10Click);
    Button3->OnClick = Handler(&TFelhAnyMod::Button3Click);
    Button8->OnClick = Handler(&TFelhAnyMod::Button8Click);
    Button11->OnClick = Handler(&TFelhAnyMod::Button11Click);
    PopupMenu1 = ListMenu(this, DBGrid3, Button1->OnClick, Button2->OnClick, Button3->OnClick);
    PopupMenu2 = ListMenu(this, DBGrid1, Button6->OnClick, Button7->OnClick, Button8->OnClick);
    PopupMenu3 = ListMenu(this, DBGrid2, Button9->OnClick, Button10->OnClick, Button11->OnClick);
    DBGrid3->OnDblClick = Button2->OnClick;
    DBGrid1->OnDblClick = Button7->OnClick;
    DBGrid2->OnDblClick = Button10->OnClick;
    for (auto [grid, change] :
         {std::pair{DBGrid3, Button2}, std::pair{DBGrid1, Button7}, std::pair{DBGrid2, Button10}})
        grid->OnKeyPress = [change = change](TObject*, TKey& key) {
            if (key == ui::keyEnter) {
                key = ui::keyNone;
                change->Click();
            }
        };

    Button4->OnClick = Handler(&TFelhAnyMod::Button4Click);
    Edit1->OnKeyPress = Handler(&TFelhAnyMod::Edit1KeyPress);
    Panel1->OnExit = [this](TObject*) { Panel1->Hide(); };
    Button18->OnClick = Handler(&TFelhAnyMod::Button18Click);
    Button20->OnClick = Handler(&TFelhAnyMod::Button20Click);
    Button19->OnClick = [this](TObject*) { GroupBox1->Hide(); };
    GroupBox1->OnExit = Button19->OnClick;
    Button21->OnClick = Handler(&TFelhAnyMod::Button21Click);
    CheckBox1->OnClick = Handler(&TFelhAnyMod::CheckBox1Click);
    O->OnClick = Handler(&TFelhAnyMod::OClick);
    Button22->OnClick = [this](TObject*) { GroupBox2->Hide(); };
    Button23->OnClick = Handler(&TFelhAnyMod::Button23Click);
    Button25->OnClick = Handler(&TFelhAnyMod::Button25Click);
    Button24->OnClick = Handler(&TFelhAnyMod::Button24Click);
    GroupBox3->OnExit = Button24->OnClick;
    DBLookupComboBox4->OnClick = Handler(&TFelhAnyMod::DBLookupComboBox4Click);
    Button12->OnClick = Handler(&TFelhAnyMod::Button12Click);
    Button13->OnClick = Handler(&TFelhAnyMod::Button13Click);
    Button14->OnClick = Handler(&TFelhAnyMod::Button14Click);
    for (auto [cancel, box] :
         {std::pair{Button17, Panel2}, std::pair{Button15, Panel3}, std::pair{Button16, Panel4}}) {
        cancel->OnClick = [box = box](TObject*) { box->Hide(); };
        box->OnExit = cancel->OnClick;
    }
    Button5->OnClick = Handler(&TFelhAnyMod::Button5Click);
}

void TFelhAnyMod::FormShow(TObject*) {
    StockKeeping = NumericInt->IsStockKeepingEnabled();
}

void TFelhAnyMod::FormActivate(TObject*) {
    if (Query3.Active())
        return;
    res::WriteDateMarker(session_, sys::today());
    DateTimePicker2->SetDate(sys::encodeDate(sys::decodeDate(sys::today()).year, 6, 20));
    for (db::TQuery* uses : {&Query1, &Query2, &Query3})
        uses->ParamByName("mkod").SetAsString(OperationCode);
    for (db::TQuery* stock : {&Query5, &Query6, &Query7})
        stock->ParamByName("dat").SetAsDateTime(operationDate_());
    ui::OpenOnFirstActivate(
        this, {&Table3, &Table6, &Query1, &Query2, &Query3, &Query5, &Query6, &Query7});
    Table3.FindKey({db::Value(OperationCode)});
}

void TFelhAnyMod::Query3CalcFields(db::TDataSet& rows) {
    std::string text = rows.FieldByName("Felelos").AsString();
    if (text.empty())
        text = rows.FieldByName("Csira").AsString();
    const auto parts = NutrientParts(text);
    rows.FieldByName("Nhat").SetAsString(parts[0]);
    rows.FieldByName("Phat").SetAsString(parts[1]);
    rows.FieldByName("Khat").SetAsString(parts[2]);
}

void TFelhAnyMod::Reopen(db::TQuery& query) {
    query.Close();
    query.Open();
}

// The stock lists follow every write, so that an add box never offers a stock that a
// change or a delete has already altered.
void TFelhAnyMod::ReopenStock() {
    for (db::TQuery* stock : {&Query5, &Query6, &Query7})
        Reopen(*stock);
}

bool TFelhAnyMod::OperationFound() {
    return Table3.Active() && !Table3.IsEmpty() &&
           Table3.FieldByName("Muvkod").AsString() == OperationCode;
}

float TFelhAnyMod::Hectares() {
    return OperationFound() ? ops::OperationHectares(Table3.FieldByName("Ter").AsFloat()) : 0.0f;
}

std::optional<std::string> TFelhAnyMod::MaterialUnit(const std::string& code) {
    const auto kind = res::KindOfCode(code);
    if (!kind)
        return std::nullopt;
    const res::MaterialKindInfo& info = res::KindInfo(*kind);
    Table7.Close();
    Table7.SetTableName(info.masterTable);
    Table7.Open();
    if (!Table7.Locate(info.codeField, {db::Value(code)}))
        return std::nullopt;
    return Table7.FieldByName("Mert").AsString();
}

void TFelhAnyMod::DeleteUse(UseList& list) {
    if (!list.uses->Active() || list.uses->IsEmpty())
        return;
    ops::DeleteRecordedUse(session_, list.uses->FieldByName("Felhkod").AsString());
    Reopen(*list.uses);
    ReopenStock();
}

void TFelhAnyMod::Button1Click(TObject*) {
    DeleteUse(lists_[0]);
}

void TFelhAnyMod::Button6Click(TObject*) {
    DeleteUse(lists_[1]);
}

void TFelhAnyMod::Button9Click(TObject*) {
    DeleteUse(lists_[2]);
}

void TFelhAnyMod::OpenQuantityBox(UseList& list) {
    if (!list.uses->Active() || list.uses->IsEmpty())
        return;
    MaterialStockOnDate = static_cast<float>(res::StockOnDate(
        session_, list.uses->FieldByName(list.codeField).AsString(), operationDate_()));
    changing_ = &list;
    Panel1->SetTop(list.boxTop);
    Panel1->Show();
    Panel1->BringToFront();
    Edit1->SetText(sys::floatToText(list.uses->FieldByName(list.dose).AsFloat()));
    Edit1->SetFocus();
}

void TFelhAnyMod::Button2Click(TObject*) {
    OpenQuantityBox(lists_[0]);
}

void TFelhAnyMod::Button7Click(TObject*) {
    OpenQuantityBox(lists_[1]);
}

void TFelhAnyMod::Button10Click(TObject*) {
    OpenQuantityBox(lists_[2]);
}

void TFelhAnyMod::Button4Click(TObject*) {
    if (!changing_ ||
        !NumericInt->IsValidReal(Edit1->Text(), "mennyiség", TNumericInt::Bound::Positive))
        return;
    if (Edit1->Text().empty()) {
        ui::MessageDlg(kNoQuantity, ui::mtError, {ui::mbOK});
        return;
    }
    UseList& list = *changing_;
    db::TQuery& uses = *list.uses;
    const std::string key = uses.FieldByName("Felhkod").AsString();
    const std::string materialCode = uses.FieldByName("Anyagkod").AsString();
    const auto materialUnit = MaterialUnit(materialCode);
    if (!materialUnit) {
        ui::MessageDlg("Az anyag (" + materialCode + ") nem található a törzsadatok között !",
                       ui::mtError, {ui::mbOK});
        return;
    }
    const double dose = sys::parseFloat(Edit1->Text());
    const double useFactor = UnitFactorOf(uses.FieldByName(list.unit).AsString());
    const double materialFactor = UnitFactorOf(*materialUnit);
    const float hectares = Hectares();
    const float added = ops::ChangedDoseBase(dose, useFactor, hectares);
    const float before =
        ops::ChangedDoseBase(uses.FieldByName(list.dose).AsFloat(), useFactor, hectares);
    const float stock = ops::StockBase(MaterialStockOnDate, materialFactor);
    if (StockKeeping && static_cast<float>(double(added) - double(before)) > stock) {
        ui::MessageDlg("Nincs elegendő mennyiség raktáron ! (dátum szerint)", ui::mtError,
                       {ui::mbOK});
        return;
    }
    ops::ChangeRecordedDose(
        session_, key, dose,
        StockKeeping ? std::optional<double>(ops::RecordedWithdrawal(added, materialFactor))
                     : std::nullopt);
    Reopen(uses);
    ReopenStock();
    list.grid->SetFocus();
    Panel1->Hide();
}

void TFelhAnyMod::Edit1KeyPress(TObject*, TKey& key) {
    if (key == ui::keyEnter) {
        key = ui::keyNone;
        Button4->Click();
    } else if (key == ui::keyEscape) {
        key = ui::keyNone;
        Panel1->Hide();
    }
}

void TFelhAnyMod::Button18Click(TObject*) {
    const bool any = Query3.Active() && !Query3.IsEmpty();
    Edit6->SetText(any ? Query3.FieldByName("Nhat").AsString() : "");
    Edit7->SetText(any ? Query3.FieldByName("Phat").AsString() : "");
    Edit8->SetText(any ? Query3.FieldByName("Khat").AsString() : "");
    // The manure kind of the fertiliser's master; a master without one shows the use's
    // own kind, so that "Ok" does not wipe it. Neither keeps the buttons as they are.
    if (any && !CheckManureKind(""))
        CheckManureKind("_1");
    GroupBox1->SetBounds(8, 64, GroupBox1->Width(), GroupBox1->Height());
    GroupBox1->Show();
    GroupBox1->BringToFront();
    Edit6->SetFocus();
}

// Checks the manure button of the flags named with `suffix` in the fertiliser list ("":
// the master's, "_1": the use's); false when none is set.
bool TFelhAnyMod::CheckManureKind(const std::string& suffix) {
    auto flag = [&](const char* name) { return Query3.FieldByName(name + suffix).AsBoolean(); };
    if (flag("Mutr"))
        RadioButton3->SetChecked(true);
    else if (flag("Szervestr"))
        (flag("Higtr") ? RadioButton5 : RadioButton4)->SetChecked(true);
    else if (flag("Egyebtr"))
        RadioButton6->SetChecked(true);
    else
        return false;
    return true;
}

void TFelhAnyMod::Button20Click(TObject*) {
    for (ui::TEdit* edit : {Edit6, Edit7, Edit8})
        if (edit->Text().empty())
            edit->SetText("0");
    if (!NumericInt->IsValidFor(Edit6->Text(), "Nirogén %", "Tapanyagok", "Nit") ||
        !NumericInt->IsValidFor(Edit7->Text(), "Foszfor %", "Tapanyagok", "Nit") ||
        !NumericInt->IsValidFor(Edit8->Text(), "Kálium %", "Tapanyagok", "Nit"))
        return;
    const std::string text = ops::NutrientPercentText(Edit6->Text(), Edit7->Text(), Edit8->Text());
    if (Query3.Active() && !Query3.IsEmpty()) {
        ops::UpdateRecordedUse(
            session_, Query3.FieldByName("Felhkod").AsString(), [&](db::TTable& use) {
                use.FieldByName("Felelos").SetAsString(text);
                use.FieldByName("Mutr").SetAsBoolean(RadioButton3->Checked());
                use.FieldByName("Szervestr")
                    .SetAsBoolean(RadioButton4->Checked() || RadioButton5->Checked());
                use.FieldByName("Higtr").SetAsBoolean(RadioButton5->Checked());
                use.FieldByName("Egyebtr").SetAsBoolean(RadioButton6->Checked());
            });
    }
    Reopen(Query3);
    DBGrid3->SetFocus();
    GroupBox1->Hide();
}

void TFelhAnyMod::Button21Click(TObject*) {
    const bool dated =
        Query3.Active() && !Query3.IsEmpty() && !Query3.FieldByName("Betido").IsNull();
    CheckBox1->SetChecked(dated);
    DateTimePicker1->SetEnabled(dated);
    if (dated)
        DateTimePicker1->SetDate(Query3.FieldByName("Betido").AsDateTime());
    GroupBox2->Show();
    GroupBox2->BringToFront();
}

void TFelhAnyMod::CheckBox1Click(TObject*) {
    DateTimePicker1->SetEnabled(CheckBox1->Checked());
}

void TFelhAnyMod::SetIncorporationDate(const std::string& felhkod,
                                       std::optional<sys::DateTime> day) {
    ops::UpdateRecordedUse(session_, felhkod, [day](db::TTable& use) {
        if (day)
            use.FieldByName("Betido").SetAsDateTime(*day);
        else
            use.FieldByName("Betido").Clear();
    });
}

void TFelhAnyMod::OClick(TObject*) {
    if (Query3.Active() && !Query3.IsEmpty()) {
        const std::optional<sys::DateTime> day =
            CheckBox1->Checked() ? std::optional(DateTimePicker1->Date()) : std::nullopt;
        db::SessionTransaction transaction(session_);
        if (RadioButton1->Checked()) {
            const db::ControlsHeld held(Query3); // the grid stays on its row
            for (Query3.First(); !Query3.Eof(); Query3.Next())
                SetIncorporationDate(Query3.FieldByName("Felhkod").AsString(), day);
        } else {
            SetIncorporationDate(Query3.FieldByName("Felhkod").AsString(), day);
        }
        transaction.Commit();
        Reopen(Query3);
    }
    GroupBox2->Hide();
}

void TFelhAnyMod::Button23Click(TObject*) {
    if (!Query2.Active() || Query2.IsEmpty())
        return;
    Table2.Close();
    Table2.SetFilter("Felhid = " + sys::intToText(Query2.FieldByName("Felhid").AsInteger()));
    Table2.SetFiltered(true);
    Table2.Open();
    if (Table2.IsEmpty()) {
        Table2.Close();
        return;
    }
    // An empty date stays empty unless the user ticks the picker and sets one.
    const bool dated = !Table2.FieldByName("Betido").IsNull();
    DateTimePicker3->SetDate(dated ? Table2.FieldByName("Betido").AsDateTime() : operationDate_());
    DateTimePicker3->SetChecked(dated);
    Table2.Edit();
    GroupBox3->Show();
    GroupBox3->BringToFront();
    DBEdit4->SetFocus();
}

void TFelhAnyMod::Button25Click(TObject*) {
    if (!Table2.Active())
        return;
    if (!NumericInt->IsValidReal(DBEdit6->Text(), "Permetlé mennyisége",
                                 TNumericInt::Bound::Positive))
        return;
    if (DateTimePicker3->Checked())
        Table2.FieldByName("Betido").SetAsDateTime(DateTimePicker3->Date());
    else
        Table2.FieldByName("Betido").Clear();
    Table2.Post();
    Table2.FlushBuffers();
    Table2.Close();
    GroupBox3->Hide();
}

void TFelhAnyMod::Button24Click(TObject*) {
    if (Table2.Active())
        Table2.Cancel();
    Table2.Close();
    GroupBox3->Hide();
}

void TFelhAnyMod::Button3Click(TObject*) {
    ShowBox(*Panel2, 160, 48, {Edit2}, *DBLookupComboBox1);
}

void TFelhAnyMod::Button8Click(TObject*) {
    ShowBox(*Panel3, 128, 96, {Edit12, Edit3}, *DBLookupComboBox2);
}

void TFelhAnyMod::Button11Click(TObject*) {
    ShowBox(*Panel4, 136, 280, {Edit11, Edit5}, *DBLookupComboBox4);
}

void TFelhAnyMod::DBLookupComboBox4Click(TObject*) {
    if (!Table6.Active() || Table6.IsEmpty())
        return;
    Query7.SetFilter("Magfaj = " + db::quoteFilterText(Table6.FieldByName("Fajkod").AsString()));
    Query7.SetFiltered(true);
}

bool TFelhAnyMod::AddUse(const AddedUse& added) {
    db::TQuery& stock = *added.list->stock;
    if (stock.IsEmpty()) {
        ui::MessageDlg(kNoMaterial, ui::mtWarning, {ui::mbOK});
        return false;
    }
    if (added.dose.empty()) {
        ui::MessageDlg(kNoQuantity, ui::mtWarning, {ui::mbOK});
        return false;
    }
    ops::MaterialUse use;
    use.kind = added.kind;
    use.muvkod = OperationCode;
    use.materialCode = stock.FieldByName(added.list->codeField).AsString();
    use.materialUnit = stock.FieldByName("Mert").AsString();
    use.dose = sys::parseFloat(added.dose);
    use.doseUnit = added.unit;
    const double materialFactor = UnitFactorOf(use.materialUnit);
    const float needed = ops::AddedDoseBase(use.dose, Hectares(), UnitFactorOf(use.doseUnit));
    const float available = ops::StockBase(stock.FieldByName("Kossz").AsFloat(), materialFactor);
    if (StockKeeping && available < needed) {
        ui::MessageDlg("Nincs a raktáron elegendő anyag !", ui::mtWarning, {ui::mbOK});
        return false;
    }
    if (added.details)
        added.details(use);
    const std::string field =
        OperationFound() ? Table3.FieldByName("Tablakod").AsString() : std::string();
    ops::AddRecordedUse(session_, use, field, operationDate_(),
                        StockKeeping
                            ? std::optional<double>(ops::RecordedWithdrawal(needed, materialFactor))
                            : std::nullopt);
    added.box->Hide();
    Reopen(*added.list->uses);
    ReopenStock();
    return true;
}

void TFelhAnyMod::Button12Click(TObject*) {
    if (!NumericInt->IsValidReal(Edit2->Text(), "mennyiség", TNumericInt::Bound::Positive))
        return;
    if (Edit2->Text().empty() || DBLookupComboBox1->Text().empty())
        return;
    AddUse({res::MaterialKind::Fertiliser, &lists_[0], Panel2, Edit2->Text(), ComboBox1->Text(),
            nullptr});
}

void TFelhAnyMod::Button13Click(TObject*) {
    if (!NumericInt->IsValidReal(Edit12->Text(), "Felhasznált mennyiség",
                                 TNumericInt::Bound::Positive) ||
        !NumericInt->IsValidReal(Edit4->Text(), "Permetlé mennyisége",
                                 TNumericInt::Bound::Positive))
        return;
    AddUse({res::MaterialKind::Pesticide, &lists_[1], Panel3, Edit12->Text(), ComboBox2->Text(),
            [this](ops::MaterialUse& use) {
                if (!Edit4->Text().empty())
                    use.permetle = sys::parseFloat(Edit4->Text());
                use.betido = DateTimePicker2->Date();
                use.felelos = Edit3->Text();
            }});
}

void TFelhAnyMod::Button14Click(TObject*) {
    if (!NumericInt->IsValidReal(Edit11->Text(), "Felhasznált mennyiség",
                                 TNumericInt::Bound::Positive) ||
        !NumericInt->IsValidReal(Edit5->Text(), "Csíraszám", TNumericInt::Bound::NotNegative))
        return;
    AddUse({res::MaterialKind::Seed, &lists_[2], Panel4, Edit11->Text(), ComboBox3->Text(),
            [this](ops::MaterialUse& use) { use.csira = Edit5->Text(); }});
}

void TFelhAnyMod::Button5Click(TObject*) {
    Close();
}

void OpenMaterialUseModifier(db::Session& session, const std::string& operationCode,
                             std::function<sys::DateTime()> operationDate) {
    ui::OwnedForm<TFelhAnyMod> form(FelhAnyMod, session, std::move(operationDate));
    form->OperationCode = operationCode;
    form->ShowModal();
}
