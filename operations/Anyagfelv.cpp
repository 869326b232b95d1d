#include "Anyagfelv.h"

#include "Muvadatf.h"
#include "Tovabbiaf.h"
#include "core/Isnuminth.h"
#include "core/farm_row.h"
#include "material_controls.h"
#include "platform/sys/numbers.h"
#include "platform/ui/application.h"
#include "platform/ui/form_helpers.h"
#include "resources/Keszletkezelesu.h"

#include <cmath>

TAnyagfel* Anyagfel = nullptr;

namespace ops {

std::vector<std::string> StockQuerySql(res::MaterialKind kind, sys::DateTime day) {
    const std::string where = "WHERE Raktarmozgas.Datum <= '" + sys::monthDayYearText(day) + "'";
    const std::string having = "HAVING SUM( Raktarmozgas.Menny ) > 0.0000001";
    switch (kind) {
    case res::MaterialKind::Fertiliser:
        return {"SELECT Tapanyagok.Nev, SUM( Raktarmozgas.Menny ) Ossz, Tapanyagok.Mert, "
                "Tapanyagok.Nit, Tapanyagok.Kal, Tapanyagok.Fos, "
                "Tapanyagok.Halmaza,Tapanyagok.Kod,Tapanyagok.Szervestr,Tapanyagok.Higtr",
                "FROM Tapanyagok",
                "INNER JOIN Raktarmozgas",
                "ON (Tapanyagok.Kod = Raktarmozgas.Anyagkod)",
                where,
                "GROUP BY Tapanyagok.Nev, Tapanyagok.Mert, Tapanyagok.Nit, Tapanyagok.Kal, "
                "Tapanyagok.Fos, Tapanyagok.Halmaza, Tapanyagok.Mert,Tapanyagok.Kod,"
                "Tapanyagok.Szervestr,Tapanyagok.Higtr",
                having,
                "ORDER BY Tapanyagok.Nev"};
    case res::MaterialKind::Pesticide:
        return {"SELECT SUM( Raktarmozgas.Menny ) Ossz, Novenyvedok.Nev, Novenyvedok.Mert, "
                "Novenyvedok.Szertip, Novenyvedok.Vido, Novenyvedok.Kod",
                "FROM Novenyvedok",
                "INNER JOIN Raktarmozgas",
                "ON (Raktarmozgas.Anyagkod = Novenyvedok.Kod)",
                where,
                "GROUP BY Novenyvedok.Nev, Novenyvedok.Mert, Novenyvedok.Szertip, "
                "Novenyvedok.Vido, Novenyvedok.Kod",
                having,
                "ORDER BY Novenyvedok.Nev"};
    case res::MaterialKind::Seed:
        break;
    }
    return {"SELECT SUM( Raktarmozgas.Menny ) Ossz, Vetomagok.Magkod, Vetomagok.Nev, "
            "Vetomagok.Mert, Vetomagok.Magfaj",
            "FROM Raktarmozgas",
            "INNER JOIN Vetomagok",
            "ON (Vetomagok.Magkod = Raktarmozgas.Anyagkod)",
            where,
            "GROUP BY Vetomagok.Magkod, Vetomagok.Nev, Vetomagok.Mert, Vetomagok.Magfaj",
            having};
}

} // namespace ops

namespace {

const char* const kMissing = "Hiányzó Adatok!";
const char* const kNoQuantity = "Mennyiség nélkül a felhasználás nem nyugtázható!";
// A dose of a kind whose list is empty: nothing of it is in stock on the operation's date.
const char* const kNothingInStock = "A művelethez szükséges anyagmennyiség nincsen készleten!";
const char* const kLowStock = "Kevés készlet!";

void Say(const std::string& text, const std::string& caption = kMissing) {
    ui::Application->MessageBox(text, caption);
}

double Number(const std::string& text) {
    return text.empty() ? 0 : sys::parseFloat(text);
}

} // namespace

using ops::Label;
using ops::Lookup;
using ops::StockEdit;
using ops::UnitCombo;
using ops::UnitText;

TAnyagfel::TAnyagfel(db::Session& session) : session_(session) {
    SetCaption("Felhasznált anyagok");
    SetClientSize(640, 470);
    SetPosition(ui::poScreenCenter);
    Table1.SetTableName("Alapadatok.db");
    core::FilterFarmRow(Table1); // "Felelős :" comes from the farm row, not an option row
    Magfajtak.SetTableName("Magfajtak.db");
    Magfajtak.SetIndexName("MagfajtakFIdx");
    for (db::TQuery* query : {&Query1, &Query2, &Query3})
        ops::AddShownStock(*query);

    Label24 = ui::Make<ui::TLabel>(this, {8, 6, 400, 20}, "Művelethez felhasznált anyagok");
    PageControl1 = ui::Make<ui::TPageControl>(this, {8, 30, 624, 390});
    auto* fertiliser = new ui::TTabSheet(PageControl1, "Növekedés elősegítő");
    auto* pesticide = new ui::TTabSheet(PageControl1, "Növényvédő");
    auto* seed = new ui::TTabSheet(PageControl1, "Vetőmag");
    const int x = 170;

    Label(fertiliser, 8, 12, "Megnevezés :");
    DBLookupComboBox1 = Lookup(fertiliser, {x, 12, 300, 22}, &DataSource1, "Kod", "Nev");
    Label(fertiliser, 8, 42, "Meglévő mennyiség :");
    DBEdit2 = StockEdit(fertiliser, {x, 42, 100, 22}, &DataSource1);
    DBText1 = UnitText(fertiliser, {x + 106, 45, 40, 16}, &DataSource1);
    Label(fertiliser, 8, 72, "Felhasznált mennyiség :");
    Edit10 = ui::Make<ui::TEdit>(fertiliser, {x, 72, 100, 22});
    ComboBox1 =
        UnitCombo(fertiliser, {x + 106, 72, 60, 22}, {"g", "kg", "t", "ml", "l", "m3", "db"}, "kg");
    Label(fertiliser, x + 170, 72, "/ha", 30);
    Button4 = ui::Make<ui::TButton>(fertiliser, {x + 210, 70, 170, 25}, "Összes felhasznált anyag");
    CheckBox1 = ui::Make<ui::TCheckBox>(fertiliser, {8, 104, 200, 20}, "Hatóanyag összetétel :");
    Label(fertiliser, 8, 130, "Nitrogén :", 70);
    Edit8 = ui::Make<ui::TEdit>(fertiliser, {80, 130, 50, 22});
    Label(fertiliser, 140, 130, "Foszfor :", 60);
    Edit9 = ui::Make<ui::TEdit>(fertiliser, {200, 130, 50, 22});
    Label(fertiliser, 260, 130, "Kálium :", 60);
    Edit13 = ui::Make<ui::TEdit>(fertiliser, {320, 130, 50, 22});
    for (ui::TEdit* edit : {Edit8, Edit9, Edit13}) {
        edit->SetMaxLength(4);
        edit->SetEnabled(false);
    }
    RadioButton1 = ui::Make<ui::TRadioButton>(fertiliser, {8, 164, 150, 20}, "Műtrágya");
    RadioButton2 = ui::Make<ui::TRadioButton>(fertiliser, {8, 188, 150, 20}, "Szervestrágya");
    RadioButton3 = ui::Make<ui::TRadioButton>(fertiliser, {8, 212, 150, 20}, "Híg szervestrágya");
    RadioButton4 =
        ui::Make<ui::TRadioButton>(fertiliser, {8, 236, 200, 20}, "Egyéb trágya féleség");
    RadioButton1->SetChecked(true);
    CheckBox2 =
        ui::Make<ui::TCheckBox>(fertiliser, {8, 270, 200, 20}, "Talajba művelés időpontja:");
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(fertiliser, {220, 268, 110, 22});
    DateTimePicker1->SetEnabled(false);

    Label(pesticide, 8, 12, "Megnevezés :");
    DBLookupComboBox2 = Lookup(pesticide, {x, 12, 300, 22}, &DataSource2, "Kod", "Nev");
    Label(pesticide, 8, 42, "Meglévő mennyiség :");
    DBEdit1 = StockEdit(pesticide, {x, 42, 100, 22}, &DataSource2);
    DBText2 = UnitText(pesticide, {x + 106, 45, 40, 16}, &DataSource2);
    Label(pesticide, 8, 72, "Felhasznált mennyiség :");
    Edit12 = ui::Make<ui::TEdit>(pesticide, {x, 72, 100, 22});
    ComboBox2 =
        UnitCombo(pesticide, {x + 106, 72, 60, 22}, {"g", "kg", "t", "ml", "l", "m3", "db"}, "l");
    Label(pesticide, x + 170, 72, "/ha", 30);
    Button5 = ui::Make<ui::TButton>(pesticide, {x + 210, 70, 170, 25}, "Összes felhasznált anyag");
    Label(pesticide, 8, 102, "Alkalmazás :");
    DBEdit6 = ui::Make<ui::TDBEdit>(pesticide, {x, 102, 250, 22});
    DBEdit6->SetDataSource(&DataSource2);
    DBEdit6->SetDataField("Szertip");
    DBEdit6->SetReadOnly(true);
    Label(pesticide, 8, 132, "Sorszám :");
    Edit14 = ui::Make<ui::TEdit>(pesticide, {x, 132, 60, 22});
    Label(pesticide, 8, 162, "Várakozási idő :");
    Edit7 = ui::Make<ui::TEdit>(pesticide, {x, 162, 60, 22});
    Label(pesticide, x + 66, 162, "nap", 40);
    Label(pesticide, 8, 192, "Permetlé mennyisége :");
    Edit2 = ui::Make<ui::TEdit>(pesticide, {x, 192, 80, 22});
    Label(pesticide, x + 86, 192, "l/ha", 40);
    Label(pesticide, 8, 222, "Betakarítás időpontja :");
    DateTimePicker2 = ui::Make<ui::TDateTimePicker>(pesticide, {x, 222, 110, 22});
    Label(pesticide, 8, 252, "Felelős :");
    Edit3 = ui::Make<ui::TEdit>(pesticide, {x, 252, 250, 22});

    Label(seed, 8, 12, "Növény :");
    DBLookupComboBox4 = Lookup(seed, {x, 12, 250, 22}, &DataSourceM, "Fajkod", "Faj");
    Label(seed, 8, 42, "Megnevezés :");
    DBLookupComboBox3 = Lookup(seed, {x, 42, 300, 22}, &DataSource3, "Magkod", "Nev");
    DBLookupComboBox3->SetDropDownRows(16);
    Label(seed, 8, 72, "Felhasznált mennyiség :");
    Edit11 = ui::Make<ui::TEdit>(seed, {x, 72, 100, 22});
    ComboBox3 = UnitCombo(seed, {x + 106, 72, 60, 22}, {"g", "kg", "t", "db"}, "kg");
    Label(seed, x + 170, 72, "/ha", 30);
    Button6 = ui::Make<ui::TButton>(seed, {x + 210, 70, 170, 25}, "Összes felhasznált anyag");
    Label(seed, 8, 102, "Meglévő mennyiség :");
    DBEdit3 = StockEdit(seed, {x, 102, 100, 22}, &DataSource3);
    DBText3 = UnitText(seed, {x + 106, 105, 40, 16}, &DataSource3);
    Label(seed, 8, 132, "Kijuttatott csíraszám :");
    Edit4 = ui::Make<ui::TEdit>(seed, {x, 132, 100, 22});
    Label(seed, x + 106, 132, "db/ha", 50);

    auto totalGroup = [this](ui::Bounds at, ui::TEdit*& edit, ui::TComboBox*& unit,
                             std::initializer_list<const char*> units, ui::TButton*& max,
                             ui::TButton*& ok) {
        auto* group = ui::Make<ui::TGroupBox>(this, at, "Összesen");
        edit = ui::Make<ui::TEdit>(group, {8, 22, 90, 22});
        unit = UnitCombo(group, {104, 22, 60, 22}, units, "kg");
        max = ui::Make<ui::TButton>(group, {8, 52, 60, 25}, "Max");
        ok = ui::Make<ui::TButton>(group, {104, 52, 60, 25}, "Ok");
        group->Hide();
        return group;
    };
    GroupBox1 = totalGroup({212, 112, 180, 88}, Edit1, ComboBox4,
                           {"kg", "g", "t", "l", "ml", "m3", "db"}, Button7, Button8);
    GroupBox2 = totalGroup({212, 136, 180, 88}, Edit5, ComboBox5,
                           {"kg", "g", "t", "l", "ml", "m3", "db"}, Button9, Button10);
    GroupBox3 = totalGroup({212, 142, 180, 88}, Edit6, ComboBox6, {"g", "kg", "t", "db"}, Button11,
                           Button12);

    // A dose, a spray volume, a germ count, a spray serial and a date are what the use
    // row's fields may hold; an active-substance share is a percentage, as the fertiliser
    // master keeps it; a total is a quantity of the material, more than nothing.
    ui::FitToFields(session_, "felhanyag",
                    {{Edit10, "Menny"},
                     {Edit12, "Menny"},
                     {Edit11, "Menny"},
                     {ComboBox1, "Mert"},
                     {ComboBox2, "Mert"},
                     {ComboBox3, "Mert"},
                     {ComboBox4, "Mert"},
                     {ComboBox5, "Mert"},
                     {ComboBox6, "Mert"},
                     {DateTimePicker1, "Betido"},
                     {DateTimePicker2, "Betido"},
                     {Edit14, "Sorsz"},
                     {Edit7, "Vido"},
                     {Edit2, "Permetle"},
                     {Edit3, "Felelos"},
                     {Edit4, "Csira"}});
    ui::FitToFields(session_, "Tapanyagok", {{Edit8, "Nit"}, {Edit9, "Nit"}, {Edit13, "Nit"}});
    db::Domain total;
    total.label = "Megadott mennyiség";
    total.sign = db::Domain::Sign::Positive;
    for (ui::TEdit* edit : {Edit1, Edit5, Edit6})
        edit->SetDomain(total);

    Button1 = ui::Make<ui::TButton>(this, {8, 430, 110, 30}, "<< Vissza");
    Button3 = ui::Make<ui::TButton>(this, {260, 430, 120, 30}, "Készletkezelés");
    Button2 = ui::Make<ui::TButton>(this, {520, 430, 110, 30}, "Rendben >>");

    tabs_ = {
        Tab{res::MaterialKind::Fertiliser,
            &Query1,
            Edit10,
            ComboBox1,
            GroupBox1,
            Edit1,
            ComboBox4,
            {}},
        Tab{res::MaterialKind::Pesticide,
            &Query2,
            Edit12,
            ComboBox2,
            GroupBox2,
            Edit5,
            ComboBox5,
            {}},
        Tab{res::MaterialKind::Seed, &Query3, Edit11, ComboBox3, GroupBox3, Edit6, ComboBox6, {}}};
    ui::TButton* opens[] = {Button4, Button5, Button6};
    ui::TButton* maxes[] = {Button7, Button9, Button11};
    ui::TButton* oks[] = {Button8, Button10, Button12};
    for (int i = 0; i < 3; ++i) {
        Tab* tab = &tabs_[static_cast<std::size_t>(i)];
        opens[i]->OnClick = [this, tab](TObject*) { OpenTotal(*tab); };
        maxes[i]->OnClick = [this, tab](TObject*) { TakeMax(*tab); };
        oks[i]->OnClick = [this, tab](TObject*) { ApplyTotal(*tab); };
        // A total counts only while the dose and its unit are the ones it gave.
        tab->dose->OnChange = [tab](TObject*) {
            if (tab->dose->Text() != tab->computedDose)
                tab->total->SetText("");
        };
        tab->doseUnit->OnChange = [tab](TObject*) {
            if (tab->doseUnit->Text() != tab->totalUnit->Text())
                tab->total->SetText("");
        };
    }

    OnShow = Handler(&TAnyagfel::FormShow);
    OnActivate = Handler(&TAnyagfel::FormActivate);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    DBLookupComboBox1->OnClick = Handler(&TAnyagfel::DBLookupComboBox1Click);
    DBLookupComboBox2->OnClick = Handler(&TAnyagfel::DBLookupComboBox2Click);
    DBLookupComboBox4->OnClick = Handler(&TAnyagfel::DBLookupComboBox4Click);
    CheckBox1->OnClick = Handler(&TAnyagfel::CheckBox1Click);
    CheckBox2->OnClick = Handler(&TAnyagfel::CheckBox2Click);
    Button1->OnClick = Handler(&TAnyagfel::Button1Click);
    Button2->OnClick = Handler(&TAnyagfel::Button2Click);
    Button3->OnClick = Handler(&TAnyagfel::Button3Click);
    PageControl1->SetActivePageIndex(0);
}

void TAnyagfel::FormShow(TObject*) {
    db::TQuery serial(session_, "Query4");
    serial.SQL().Add("SELECT MAX(Sorsz) sor");
    serial.SQL().Add("FROM felhanyag");
    serial.Open();
    Edit14->SetText(sys::intToText(serial.FieldByName("sor").AsInteger() + 1));
    serial.Close();
    if (Planned()) {
        Label24->SetCaption("Tervezett anyagfelhasználás");
        SetCaption("Tervezett anyagfelhasználás");
    }
    stockKeeping_ = NumericInt->IsStockKeepingEnabled();
}

void TAnyagfel::RebuildStockQueries() {
    const sys::DateTime day = Muvadat ? Muvadat->DateTimePicker1->Date() : sys::today();
    for (Tab& tab : tabs_) {
        tab.query->Close();
        tab.query->SQL().Clear();
        for (const std::string& line : ops::StockQuerySql(tab.kind, day))
            tab.query->SQL().Add(line);
        tab.query->Open();
    }
}

void TAnyagfel::FormActivate(TObject*) {
    if (Query1.Active())
        return;
    GroupBox1->Hide();
    GroupBox2->Hide();
    Edit1->SetText("");
    DateTimePicker1->SetDate(sys::today());
    RebuildStockQueries();
    ui::OpenOnFirstActivate(this, {&Query1, &Query2, &Query3, &Magfajtak, &Table1});
    res::WriteDateMarker(session_, sys::today(), ops::TablesFor(Planned()).stock);
    DateTimePicker2->SetDate(sys::encodeDate(sys::decodeDate(sys::today()).year, 6, 20));
    Edit3->SetText(Table1.IsEmpty() ? std::string() : Table1.FieldByName("Fnev").AsString());
    // The lists show the material the cursor is on, the one a posting would use.
    if (!Query1.IsEmpty())
        DBLookupComboBox1->SetKeyValue(Query1.FieldByName("Kod").AsValue());
    if (!Query2.IsEmpty())
        DBLookupComboBox2->SetKeyValue(Query2.FieldByName("Kod").AsValue());
    DBLookupComboBox1Click(DBLookupComboBox1);
    DBLookupComboBox2Click(DBLookupComboBox2);
}

void TAnyagfel::DBLookupComboBox1Click(TObject*) {
    if (Query1.IsEmpty())
        return;
    Edit8->SetText(sys::floatToText(Query1.FieldByName("Nit").AsFloat()));
    Edit9->SetText(sys::floatToText(Query1.FieldByName("Kal").AsFloat()));
    Edit13->SetText(sys::floatToText(Query1.FieldByName("Fos").AsFloat()));
}

void TAnyagfel::DBLookupComboBox2Click(TObject*) {
    if (!Query2.IsEmpty())
        Edit7->SetText(Query2.FieldByName("Vido").AsString());
}

void TAnyagfel::DBLookupComboBox4Click(TObject*) {
    if (Magfajtak.IsEmpty())
        return;
    Query3.SetFilter("Magfaj =" + db::quoteFilterText(Magfajtak.FieldByName("Fajkod").AsString()));
    Query3.SetFiltered(true);
}

void TAnyagfel::CheckBox1Click(TObject*) {
    for (ui::TEdit* edit : {Edit8, Edit9, Edit13})
        edit->SetEnabled(CheckBox1->Checked());
}

void TAnyagfel::CheckBox2Click(TObject*) {
    DateTimePicker1->SetEnabled(CheckBox2->Checked());
}

TAnyagfel::Tab& TAnyagfel::ActiveTab() {
    return tabs_[static_cast<std::size_t>(std::max(0, PageControl1->ActivePageIndex()))];
}

void TAnyagfel::OpenTotal(Tab& tab) {
    tab.group->Show();
    tab.group->BringToFront();
    PageControl1->SetEnabled(false);
}

void TAnyagfel::TakeMax(Tab& tab) {
    if (tab.query->IsEmpty())
        return;
    tab.total->SetText(sys::floatToText(tab.query->FieldByName("Kossz").AsFloat()));
    tab.totalUnit->SetText(tab.query->FieldByName("Mert").AsString());
}

void TAnyagfel::ApplyTotal(Tab& tab) {
    const double area = OperationArea();
    if (!tab.total->Text().empty() && ui::TypedValuesValid(*tab.total) && area > 0) {
        const double perHa =
            std::round(Number(tab.total->Text()) / area * 10000 * 1000 * 1e6) / 1e6;
        tab.computedDose = sys::floatToText(std::floor(perHa) * 0.001);
        const std::string total = tab.total->Text();
        tab.dose->SetText(tab.computedDose);
        tab.doseUnit->SetText(tab.totalUnit->Text());
        tab.total->SetText(total);
    }
    tab.group->Hide();
    PageControl1->SetEnabled(true);
}

double TAnyagfel::OperationArea() const {
    const auto area = Muvadat ? sys::tryParseFloat(Muvadat->Edit5->Text()) : std::nullopt;
    return area.value_or(0);
}

std::vector<ops::UseField> TAnyagfel::Fields() const {
    std::vector<ops::UseField> fields;
    if (!Muvadat)
        return fields;
    for (int i = 0; i < Muvadat->SelectedFieldCount; ++i)
        fields.push_back({Muvadat->SelectedFieldCodes[static_cast<std::size_t>(i)],
                          Muvadat->SelectedFieldAreas[static_cast<std::size_t>(i)]});
    return fields;
}

// A total refused by the number check counts as none: the dose gives the withdrawal.
std::optional<double> TAnyagfel::TotalBase(Tab& tab) {
    if (tab.total->Text().empty() || !ui::TypedValuesValid(*tab.total))
        return std::nullopt;
    const auto factor = res::UnitFactor(tab.totalUnit->Text());
    return static_cast<double>(static_cast<float>(Number(tab.total->Text()) * factor.value_or(1)));
}

std::optional<ops::MaterialUse> TAnyagfel::ReadUse(Tab& tab, double area) {
    ops::MaterialUse use;
    use.kind = tab.kind;
    use.doseUnit = tab.doseUnit->Text();
    const std::string dose = tab.dose->Text();
    bool refused = false;
    switch (tab.kind) {
    case res::MaterialKind::Fertiliser:
        if (!NumericInt->IsValidReal(dose, "Vásárolt mennyiség", TNumericInt::Bound::Positive) ||
            (CheckBox1->Checked() &&
             (!NumericInt->IsValidReal(Edit8->Text(), "Nitrogén",
                                       TNumericInt::Bound::NotNegative) ||
              !NumericInt->IsValidReal(Edit9->Text(), "Foszfor", TNumericInt::Bound::NotNegative) ||
              !NumericInt->IsValidReal(Edit13->Text(), "Kálium", TNumericInt::Bound::NotNegative))))
            return std::nullopt;
        if (dose.empty() || Query1.IsEmpty()) {
            dose.empty() ? Say(kNoQuantity) : Say(kNothingInStock, kLowStock);
            return std::nullopt;
        }
        break;
    case res::MaterialKind::Pesticide:
        if (!NumericInt->IsValidReal(dose, "Felhasznált mennyiség", TNumericInt::Bound::Positive) ||
            !NumericInt->IsValidReal(Edit2->Text(), "Permetlé mennyisége",
                                     TNumericInt::Bound::Positive) ||
            !NumericInt->IsValidInteger(Edit14->Text(), "Sorszám"))
            return std::nullopt;
        if (dose.empty() || Query2.IsEmpty()) {
            dose.empty() ? Say(kNoQuantity) : Say(kNothingInStock, kLowStock);
            return std::nullopt;
        }
        if (Edit2->Text().empty()) {
            Say("Permetlé mennyiség nélkül a felhasználás nem nyugtázható!");
            refused = true;
        }
        if (Edit3->Text().empty()) {
            Say("Kérem adja meg a felelőst!");
            refused = true;
        }
        break;
    case res::MaterialKind::Seed:
        if (!NumericInt->IsValidReal(dose, "Felhasznált mennyiség", TNumericInt::Bound::Positive) ||
            !NumericInt->IsValidReal(Edit4->Text(), "Kijuttatott csíraszám",
                                     TNumericInt::Bound::NotNegative))
            return std::nullopt;
        if (Query3.IsEmpty() && !dose.empty()) {
            Say(kNothingInStock, kLowStock);
            return std::nullopt;
        }
        if (db::isNull(DBLookupComboBox3->KeyValue()) || Query3.IsEmpty()) {
            Say(kNoQuantity);
            refused = true;
        }
        if (dose.empty()) {
            if (!refused)
                Say(kNoQuantity);
            return std::nullopt;
        }
        break;
    }
    // Every box of the tab within what its field may hold (a serial, a share, a date).
    if (!ui::TypedValuesValid(*tab.dose->parentWidget()))
        return std::nullopt;
    if (!ops::DoseUnitFactor(tab.kind, use.doseUnit)) {
        Say("Ismeretlen mértékegység: " + use.doseUnit);
        return std::nullopt;
    }
    db::TQuery& material = *tab.query;
    if (!material.IsEmpty()) {
        use.materialCode =
            material.FieldByName(tab.kind == res::MaterialKind::Seed ? "Magkod" : "Kod").AsString();
        use.materialUnit = material.FieldByName("Mert").AsString();
        if (!ops::MaterialFactor(tab.kind, use.materialUnit)) {
            Say("Az anyag mértékegysége ismeretlen: " + use.materialUnit);
            return std::nullopt;
        }
    }
    use.dose = Number(dose);
    // Tested against the stock less what this entry already withdrew of the material.
    if (stockKeeping_ && !material.IsEmpty() &&
        ops::AvailableBase(session_, use, material.FieldByName("Kossz").AsFloat(), Planned()) <
            ops::NeededBase(use, area) - 1e-9) {
        switch (tab.kind) {
        case res::MaterialKind::Fertiliser:
            Say("A felhasznált mennyiség nogyobb mint a rendelkezésre álló!");
            break;
        case res::MaterialKind::Pesticide:
            Say("A kijuttatott mennyiséghez kevés anyag van készleten!", "Kevés anyag készleten!");
            break;
        case res::MaterialKind::Seed:
            Say(kNothingInStock, kLowStock);
            break;
        }
        refused = true;
    }
    if (refused)
        return std::nullopt;
    use.totalBase = TotalBase(tab);
    switch (tab.kind) {
    case res::MaterialKind::Fertiliser:
        if (CheckBox2->Checked())
            use.betido = DateTimePicker1->Date();
        if (CheckBox1->Checked()) {
            for (ui::TEdit* edit : {Edit8, Edit9, Edit13})
                if (edit->Text().empty())
                    edit->SetText("0");
            use.felelos = ops::NutrientPercentText(Edit8->Text(), Edit9->Text(), Edit13->Text());
        }
        use.mutr = RadioButton1->Checked();
        use.egyebtr = RadioButton4->Checked();
        use.szervestr = RadioButton2->Checked() || RadioButton3->Checked();
        use.higtr = RadioButton3->Checked();
        break;
    case res::MaterialKind::Pesticide:
        use.betido = DateTimePicker2->Date();
        use.felelos = Edit3->Text();
        use.vido = Edit7->Text();
        use.permetle = Number(Edit2->Text());
        if (!Edit14->Text().empty())
            use.sorsz = sys::parseInt(Edit14->Text());
        break;
    case res::MaterialKind::Seed:
        use.csira = Edit4->Text();
        break;
    }
    return use;
}

void TAnyagfel::Button1Click(TObject*) {
    Close();
}

void TAnyagfel::Button2Click(TObject*) {
    MaterialsPosted = false;
    const auto fields = Fields();
    const double area = OperationArea();
    Tab& tab = ActiveTab();
    // Every field would run the same checks on the same inputs: they run once, and all
    // fields get their row or none does; a refusal is told once.
    std::optional<ops::MaterialUse> use;
    if (!fields.empty())
        use = ReadUse(tab, area);
    if (!use)
        return;
    ops::PostMaterialUse(session_, *use, fields, area, stockKeeping_, Planned());
    MaterialsPosted = true;
    const bool more = ui::ShowModalForm(Tovabbia) == ui::mrYes;
    db::TQuery serial(session_, "Query4");
    serial.SQL().Add("SELECT MAX(Sorsz) sor");
    serial.SQL().Add("FROM felhanyag");
    serial.Open();
    Edit14->SetText(sys::intToText(serial.FieldByName("sor").AsInteger() + 1));
    if (!more)
        Close();
}

void TAnyagfel::Button3Click(TObject*) {
    ui::ShowModalForm(keszletkezeles, session_);
    for (db::TDataSet* rows :
         std::initializer_list<db::TDataSet*>{&Query1, &Query2, &Query3, &Magfajtak}) {
        rows->Close();
        rows->Open();
    }
}
