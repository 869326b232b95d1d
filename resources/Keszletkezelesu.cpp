#include "Keszletkezelesu.h"

#include "Egyebnovvedh.h"
#include "Egyebternovh.h"
#include "Egyebvetmagh.h"
#include "core/Isnuminth.h"
#include "material_dialogs.h"
#include "platform/sys/numbers.h"
#include "platform/ui/form_helpers.h"
#include "register/Egyebfajh.h"
#include "stock.h"

Tkeszletkezeles* keszletkezeles = nullptr;

namespace {

const char* const kQuantityLabel = "Vásárlás, eladás";

ui::TDBText* FieldText(QWidget* parent, db::TDataSource* source, const std::string& field, int left,
                       int top, int width) {
    auto* text = new ui::TDBText(parent);
    text->SetBounds(left, top + 3, width, 16);
    text->SetDataSource(source);
    text->SetDataField(field);
    return text;
}

ui::TDBLookupComboBox* Lookup(QWidget* parent, db::TDataSource* source, const std::string& key,
                              const std::string& list, int rows, int left, int top) {
    auto* lookup = new ui::TDBLookupComboBox(parent);
    lookup->SetBounds(left, top, 300, 22);
    lookup->SetListSource(source);
    lookup->SetKeyField(key);
    lookup->SetListField(list);
    lookup->SetDropDownRows(rows);
    return lookup;
}

// The quantity edit, its unit combo and the stock line of a tab, at `top`.
void QuantityLine(QWidget* page, int top, ui::TEdit*& edit, ui::TComboBox*& units,
                  const std::vector<std::string>& items, ui::TLabel*& stock) {
    ui::AddLabel(page, "Vásárlás, eladás(-) :", 12, top);
    edit = new ui::TEdit(page);
    edit->SetBounds(170, top, 110, 22);
    edit->SetDomain(res::MovementQuantity(kQuantityLabel));
    units = res::UnitCombo(page, items);
    units->SetBounds(286, top, 60, 22);
    ui::AddLabel(page, "Raktáron lévő mennyiség :", 12, top + 32, 185);
    stock = new ui::TLabel(page);
    stock->SetBounds(200, top + 35, 200, 16);
    stock->SetBold(true);
}

} // namespace

bool AskForFurtherStockChange() {
    return ui::Application->MessageBox("További készletmódosítás ?", "További készlet.",
                                       ui::MB_YESNO) == ui::IDYES;
}

void OfferFurtherStockChange() {
    if (!AskForFurtherStockChange() && keszletkezeles)
        keszletkezeles->Close();
}

Tkeszletkezeles::Tkeszletkezeles(db::Session& session) : session_(session) {
    SetCaption("Raktármozgások kezelése");
    SetHelpContext(25);
    SetClientSize(560, 420);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("Tapanyagok.DB");
    Table1.SetIndexName("TapanyID");
    Table2.SetTableName("Novenyvedok.DB");
    Table2.SetIndexName("NovvedokID");
    Table3.SetTableName("Vetomagok.DB");
    Table3.SetIndexName("VetMagNevInd");
    Table4.SetTableName("Magfajtak.db");
    Table4.SetIndexName("MagfajtakFIdx");
    Table1.AfterScroll = [this](db::TDataSet& d) { Table1AfterScroll(d); };
    Table2.AfterScroll = [this](db::TDataSet& d) { Table2AfterScroll(d); };
    Table3.AfterScroll = [this](db::TDataSet& d) { Table3AfterScroll(d); };
    Table3.OnFilterRecord = [this](db::TDataSet& d, bool& accept) {
        Table3FilterRecord(d, accept);
    };

    Label1 = new ui::TLabel(this, "Készletkezelés");
    Label1->SetBounds(12, 8, 300, 22);
    Label1->SetBold(true);
    PageControl1 = new ui::TPageControl(this);
    PageControl1->SetBounds(8, 36, 544, 300);
    BuildFertiliserTab();
    BuildPesticideTab();
    BuildSeedTab();

    ui::AddLabel(this, "Készletváltozás dátuma :", 16, 346, 160);
    DateTimePicker4 = new ui::TDateTimePicker(this);
    DateTimePicker4->SetBounds(180, 346, 130, 22);
    ui::FitToFields(session, "Raktarmozgas", {{DateTimePicker4, "Datum"}});
    Button1 = new ui::TButton(this, "Változás rögzítése ");
    Button1->SetBounds(300, 384, 140, 27);
    Button2 = new ui::TButton(this, "Mégsem");
    Button2->SetBounds(450, 384, 100, 27);
    SetTabOrder({PageControl1, DBLookupComboBox1, Edit10, ComboBox3, Button3, DBLookupComboBox2,
                 Edit12, ComboBox1, Button4, DBLookupComboBox4, DBLookupComboBox3, Edit13,
                 ComboBox2, Button6, Button5, DateTimePicker4, Button1, Button2});

    OnShow = Handler(&Tkeszletkezeles::FormShow);
    OnActivate = Handler(&Tkeszletkezeles::FormActivate);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    PageControl1->OnChange = Handler(&Tkeszletkezeles::PageControl1Change);
    DateTimePicker4->OnExit = Handler(&Tkeszletkezeles::DateTimePicker4Exit);
    DBLookupComboBox1->OnClick = Handler(&Tkeszletkezeles::DBLookupComboBox1Click);
    DBLookupComboBox4->OnClick = Handler(&Tkeszletkezeles::DBLookupComboBox4Click);
    Button1->OnClick = Handler(&Tkeszletkezeles::Button1Click);
    Button2->OnClick = Handler(&Tkeszletkezeles::Button2Click);
    Button3->OnClick = Handler(&Tkeszletkezeles::Button3Click);
    Button4->OnClick = Handler(&Tkeszletkezeles::Button4Click);
    Button5->OnClick = Handler(&Tkeszletkezeles::Button5Click);
    Button6->OnClick = Handler(&Tkeszletkezeles::Button6Click);
}

void Tkeszletkezeles::BuildFertiliserTab() {
    TabSheet1 = new ui::TTabSheet(PageControl1, "Termésnövelő");
    ui::AddLabel(TabSheet1, "Megnevezés :", 12, 16);
    DBLookupComboBox1 = Lookup(TabSheet1, &DataSource1, "Kod", "Nev", 12, 170, 16);
    ui::AddLabel(TabSheet1, "Hatóanyag összetétel :", 12, 52);
    const std::pair<const char*, const char*> nutrients[] = {
        {"N :", "Nit"}, {"P :", "Kal"}, {"K :", "Fos"}};
    ui::TDBText** texts[] = {&DBText1, &DBText2, &DBText3};
    for (int i = 0; i < 3; ++i) {
        const int left = 170 + i * 110;
        ui::AddLabel(TabSheet1, nutrients[i].first, left, 52, 24);
        *texts[i] = FieldText(TabSheet1, &DataSource1, nutrients[i].second, left + 26, 52, 50);
        ui::AddLabel(TabSheet1, "%", left + 78, 52, 16);
    }
    RadioButton1 = new ui::TRadioButton(TabSheet1, "Szilárd, granulált");
    RadioButton1->SetBounds(170, 84, 160, 20);
    RadioButton2 = new ui::TRadioButton(TabSheet1, "Folyékony");
    RadioButton2->SetBounds(340, 84, 120, 20);
    RadioButton1->SetEnabled(false);
    RadioButton2->SetEnabled(false);
    QuantityLine(TabSheet1, 130, Edit10, ComboBox3,
                 res::KindInfo(res::MaterialKind::Fertiliser).entryUnits, StockText1);
    Button3 = new ui::TButton(TabSheet1, "Egyéb termésnövelő anyag");
    Button3->SetBounds(12, 226, 200, 27);
}

void Tkeszletkezeles::BuildPesticideTab() {
    TabSheet2 = new ui::TTabSheet(PageControl1, "Növényvédő");
    ui::AddLabel(TabSheet2, "Megnevezés :", 12, 16);
    DBLookupComboBox2 = Lookup(TabSheet2, &DataSource2, "Kod", "Nev", 12, 170, 16);
    DBLookupComboBox2->SetHint("SIHIFT+ key -> keresés");
    ui::AddLabel(TabSheet2, "Alkalmazás :", 12, 52);
    DBText4 = FieldText(TabSheet2, &DataSource2, "Szertip", 170, 52, 300);
    ui::AddLabel(TabSheet2, "Hatóanyag :", 12, 80);
    DBText5 = FieldText(TabSheet2, &DataSource2, "Hata", 170, 80, 300);
    QuantityLine(TabSheet2, 130, Edit12, ComboBox1,
                 res::KindInfo(res::MaterialKind::Pesticide).entryUnits, StockText2);
    Button4 = new ui::TButton(TabSheet2, "Egyéb növényvédőszer");
    Button4->SetBounds(12, 226, 200, 27);
}

void Tkeszletkezeles::BuildSeedTab() {
    TabSheet3 = new ui::TTabSheet(PageControl1, "Vetőmag");
    ui::AddLabel(TabSheet3, "Növényfaj :", 12, 16);
    DBLookupComboBox4 = Lookup(TabSheet3, &DataSource4, "Fajkod", "Faj", 20, 170, 16);
    ui::AddLabel(TabSheet3, "Fajta :", 12, 52);
    DBLookupComboBox3 = Lookup(TabSheet3, &DataSource3, "Magkod", "Nev", 16, 170, 52);
    QuantityLine(TabSheet3, 130, Edit13, ComboBox2,
                 res::KindInfo(res::MaterialKind::Seed).entryUnits, StockText3);
    Button6 = new ui::TButton(TabSheet3, "Egyéb növényfaj");
    Button6->SetBounds(12, 226, 150, 27);
    Button5 = new ui::TButton(TabSheet3, "Egyéb fajta");
    Button5->SetBounds(172, 226, 150, 27);
}

Tkeszletkezeles::Tab Tkeszletkezeles::ActiveTab() {
    switch (PageControl1->ActivePageIndex()) {
    case 1:
        return {res::MaterialKind::Pesticide, &Table2, Edit12, ComboBox1, StockText2};
    case 2:
        return {res::MaterialKind::Seed, &Table3, Edit13, ComboBox2, StockText3};
    default:
        return {res::MaterialKind::Fertiliser, &Table1, Edit10, ComboBox3, StockText1};
    }
}

void Tkeszletkezeles::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Table2, &Table3, &Table4});
    ShowCurrent();
}

// Every activation, also after an add dialog closes: one date marker dated today, and
// the stock of today.
void Tkeszletkezeles::FormActivate(TObject*) {
    const sys::DateTime today = sys::today();
    res::WriteDateMarker(session_, today);
    DateTimePicker4->SetDate(today);
    stockDay_ = today;
    ShowStock();
}

// What is shown follows the choice, by mouse or by key.
void Tkeszletkezeles::Table1AfterScroll(db::TDataSet&) {
    ShowCurrent();
}

void Tkeszletkezeles::Table2AfterScroll(db::TDataSet&) {
    ShowCurrent();
}

void Tkeszletkezeles::Table3AfterScroll(db::TDataSet&) {
    ShowCurrent();
}

void Tkeszletkezeles::ShowCurrent() {
    if (!PageControl1)
        return; // still being built
    const std::pair<db::TTable*, ui::TDBLookupComboBox*> boxes[] = {
        {&Table1, DBLookupComboBox1}, {&Table2, DBLookupComboBox2}, {&Table3, DBLookupComboBox3}};
    for (const auto& [table, box] : boxes) {
        const bool none = !table->Active() || table->IsEmpty();
        box->SetKeyValue(none ? db::Value{} : table->FieldByName(box->KeyField()).AsValue());
    }
    ShowState();
    ShowStock();
}

void Tkeszletkezeles::PageControl1Change(TObject*) {
    ShowStock();
}

void Tkeszletkezeles::DateTimePicker4Exit(TObject*) {
    stockDay_ = DateTimePicker4->Date();
    ShowStock();
}

void Tkeszletkezeles::ShowStock() {
    if (!PageControl1)
        return;
    Tab tab = ActiveTab();
    for (ui::TLabel* line : {StockText1, StockText2, StockText3})
        line->SetCaption("");
    stock_ = 0;
    if (!tab.table->Active() || tab.table->IsEmpty())
        return;
    const res::MaterialKindInfo& info = res::KindInfo(tab.kind);
    stock_ =
        res::StockOnDate(session_, tab.table->FieldByName(info.codeField).AsString(), stockDay_);
    tab.stock->SetCaption(sys::floatToText(res::ShownStock(stock_)) + " " +
                          tab.table->FieldByName("Mert").AsString());
}

void Tkeszletkezeles::ShowState() {
    const bool solid =
        Table1.Active() && !Table1.IsEmpty() && Table1.FieldByName("Halmaza").AsString() == "S";
    RadioButton1->SetChecked(solid);
    RadioButton2->SetChecked(!solid);
}

void Tkeszletkezeles::DBLookupComboBox1Click(TObject*) {
    ShowState();
}

// The variety list shows the chosen species' varieties until another is chosen; a species
// without a code has none.
void Tkeszletkezeles::DBLookupComboBox4Click(TObject*) {
    speciesCode_ = Table4.IsEmpty() ? "" : Table4.FieldByName("Fajkod").AsString();
    Table3.SetFiltered(false);
    Table3.SetFiltered(true);
    ShowCurrent();
}

void Tkeszletkezeles::Table3FilterRecord(db::TDataSet& DataSet, bool& Accept) {
    Accept = !speciesCode_.empty() && DataSet.FieldByName("Magfaj").AsString() == speciesCode_;
}

// Books the movement of the active tab: the quantity checked and converted to base
// units, a sale checked against the stock of StockDay, the row in the material's unit.
void Tkeszletkezeles::Button1Click(TObject*) {
    Tab tab = ActiveTab();
    const res::MaterialKindInfo& info = res::KindInfo(tab.kind);
    const std::string text = tab.quantity->Text();
    if (!NumericInt->IsValidReal(text, kQuantityLabel, TNumericInt::Bound::NotZero) ||
        text.empty() || !ui::TypedValuesValid(*tab.quantity) ||
        !ui::TypedValuesValid(*DateTimePicker4))
        return;
    if (tab.table->IsEmpty()) {
        ui::MessageDlg("Kérem válassza ki az anyagot!", ui::mtWarning, ui::mbOK);
        return;
    }
    const std::optional<double> entered = res::EntryUnitFactor(tab.kind, tab.units->Text());
    if (!entered) {
        ui::MessageDlg("Ismeretlen mértékegység: '" + tab.units->Text() +
                           "'. Kérem válasszon a listából!",
                       ui::mtWarning, ui::mbOK);
        return;
    }
    const std::string unit = tab.table->FieldByName("Mert").AsString();
    const std::optional<double> kept = res::MaterialUnitFactor(tab.kind, unit);
    if (!kept) {
        ui::MessageDlg("Az anyag mértékegysége ('" + unit +
                           "') ismeretlen, a készlete nem számolható!",
                       ui::mtWarning, ui::mbOK);
        return;
    }
    const std::string code = tab.table->FieldByName(info.codeField).AsString();
    const double base = sys::parseFloat(text) * *entered;
    stock_ = res::StockOnDate(session_, code, stockDay_);
    if (!res::MovementAllowed(base, stock_ * *kept)) {
        ui::Application->MessageBox("Nincs ekkora mennyiség készleten! Túl sok kiadás!",
                                    "Sok kiadás", ui::MB_OK);
        return;
    }
    // A sale of less than one base unit moves towards zero, to nothing: no row of nothing.
    const double booked = res::BookedQuantity(base, *kept);
    if (booked == 0) {
        ui::MessageDlg(std::string("A(z) '") + kQuantityLabel +
                           "' értéke kisebb a legkisebb könyvelhető mennyiségnél (1 g, 1 ml, "
                           "1 db) !",
                       ui::mtWarning, ui::mbOK);
        return;
    }
    res::BookMovement(session_, code, DateTimePicker4->Date(), booked);
    tab.quantity->Clear();
    if (AskForFurtherStockChange())
        ShowStock();
    else
        Close();
}

void Tkeszletkezeles::Button2Click(TObject*) {
    Close();
}

void Tkeszletkezeles::Button3Click(TObject*) {
    ui::ShowModalForm(EgyebTerNov, session_);
    Table1.Refresh();
    ShowCurrent();
}

void Tkeszletkezeles::Button4Click(TObject*) {
    ui::ShowModalForm(EgyebNovVed, session_);
    Table2.Refresh();
    ShowCurrent();
}

void Tkeszletkezeles::Button5Click(TObject*) {
    ui::ShowModalForm(EgyebVetMag, session_);
    Table3.Refresh();
    ShowCurrent();
}

void Tkeszletkezeles::Button6Click(TObject*) {
    ui::ShowModalForm(EgyebFaj, session_);
    Table4.Refresh();
    Table3.Refresh();
    ShowCurrent();
}
