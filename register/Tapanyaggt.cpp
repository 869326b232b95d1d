#include "Tapanyaggt.h"

#include "core/Isnuminth.h"
#include "platform/db/filter.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "platform/ui/form_helpers.h"

TTapterv* Tapterv = nullptr;

namespace reg {

std::optional<double> NutrientAmount(const std::string& percent, const std::string& quantity) {
    auto p = sys::tryParseFloat(sys::trim(percent));
    auto q = sys::tryParseFloat(sys::trim(quantity));
    if (!p || !q)
        return std::nullopt;
    return *p * (*q * 0.01);
}

std::string RecoveredPercent(const db::TField& amount, const db::TField& quantity) {
    if (amount.IsNull() || quantity.IsNull() || quantity.AsFloat() == 0)
        return {};
    return sys::floatToText(amount.AsFloat() / (quantity.AsFloat() * 0.01));
}

} // namespace reg

namespace {

const std::array<const char*, 5> kAmountFields{"N", "P", "K", "E1", "E2"};
const std::array<const char*, 5> kPercentLabels{"Nitrogén", "Foszfor", "Kálium", "Egyéb1",
                                                "Egyéb2"};
// The fertiliser master keeps phosphorus in Kal and potassium in Fos.
const std::array<const char*, 3> kMaterialPercents{"Nit", "Kal", "Fos"};

} // namespace

TTapterv::TTapterv(db::Session& session) : session_(session), Chooser(this, session, 8, 8) {
    SetCaption("Tápanyag-gazdálkodási terv");
    SetClientSize(800, 480);
    SetPosition(ui::poScreenCenter);

    Query1.SQL().Add(
        "SELECT Tapterv.Anyagkod, Tapterv.Tap_id, Tapterv.Parckod, Tapterv.Menny, Tapterv.Me, "
        "Tapterv.N, Tapterv.P, Tapterv.K, Tapterv.Egyeb1, Tapterv.E1, Tapterv.Egyeb2, "
        "Tapterv.E2, Tapterv.Datum, Tapanyagok.Kod, Tapanyagok.Nev, Tapanyagok.Halmaza, "
        "Tapanyagok.Mert, Tapanyagok.Menny, Tapanyagok.Nit, Tapanyagok.Kal, Tapanyagok.Fos");
    Query1.SQL().Add("FROM Tapterv");
    Query1.SQL().Add("LEFT OUTER JOIN Tapanyagok");
    Query1.SQL().Add("ON  (Tapterv.Anyagkod = Tapanyagok.Kod)");
    Table2.SetTableName("Tapterv.db");
    Table3.SetTableName("Tapanyagok.db");
    Table3.SetIndexFieldNames("Nev");

    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 60, 784, 370);
    DBGrid1->SetDataSource(&DataSource2);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Nev", "Anyag megnevezése", 180);
    DBGrid1->Columns().Add("Menny", "Mennyiség", 70);
    DBGrid1->Columns().Add("Me", "M.E.", 40);
    for (const char* field : {"N", "P", "K"})
        DBGrid1->Columns().Add(field, field, 60);
    DBGrid1->Columns().Add("Egyeb1", "Egyéb1", 80);
    DBGrid1->Columns().Add("E1", "E1", 50);
    DBGrid1->Columns().Add("Egyeb2", "Egyéb2", 80);
    DBGrid1->Columns().Add("E2", "E2", 50);
    int x = 8;
    auto button = [&](const std::string& caption) {
        auto* b = new ui::TButton(this, caption);
        b->SetBounds(x, 442, 110, 27);
        x += 120;
        return b;
    };
    Button1 = button("Új tétel");
    Button2 = button("Módosítás");
    Button3 = button("Törlés");
    Button4 = button("Másik parcella");
    Button5 = button("Bezárás");

    GroupBox1 = new ui::TGroupBox(this, "Új tétel");
    GroupBox1->setAutoFillBackground(true);
    GroupBox1->SetBounds(0, 0, 560, 330);
    GroupBox1->hide();
    ui::EditBoxOverList(GroupBox1);
    auto label = [&](const std::string& caption, int left, int top, int width = 200) {
        auto* l = new ui::TLabel(GroupBox1, caption);
        l->SetBounds(left, top + 4, width, 16);
    };
    label("Termésnövelő megnevezése:", 12, 24);
    DBLookupComboBox1 = new ui::TDBLookupComboBox(GroupBox1);
    DBLookupComboBox1->SetBounds(220, 24, 320, 22);
    DBLookupComboBox1->SetListSource(&DataSource3);
    DBLookupComboBox1->SetKeyField("Kod");
    DBLookupComboBox1->SetListField("Nev");
    label("Kijttatásra kerülő mennyiség:", 12, 54);
    Edit1 = new ui::TEdit(GroupBox1);
    Edit1->SetBounds(220, 54, 80, 22);
    ComboBox1 = new ui::TComboBox(GroupBox1);
    ComboBox1->SetBounds(306, 54, 60, 22);
    ComboBox1->Items().AddStrings({"kg", "t", "m3"});
    label("/ha", 372, 54, 40);
    label("%", 220, 86, 60);
    label("mennyiség /ha", 300, 86, 120);
    for (std::size_t i = 0; i < 5; ++i) {
        int top = 108 + static_cast<int>(i) * 30;
        label(std::string(kPercentLabels[i]) + " :", 12, top, 80);
        Percents[i] = new ui::TEdit(GroupBox1);
        Percents[i]->SetBounds(220, top, 70, 22);
        Amounts[i] = new ui::TEdit(GroupBox1);
        Amounts[i]->SetBounds(300, top, 90, 22);
        Amounts[i]->SetReadOnly(true);
        Percents[i]->OnChange = [this, i](TObject*) { Recompute(i); };
    }
    // A share of the material is a percentage, as the fertiliser master keeps it.
    ui::FitToFields(session, "Tapterv", {{Edit1, "Menny"}});
    for (ui::TEdit* percent : Percents)
        ui::FitToFields(session, "Tapanyagok", {{percent, "Nit"}});
    Edit7 = new ui::TEdit(GroupBox1);
    Edit7->SetBounds(96, 198, 116, 22);
    Edit8 = new ui::TEdit(GroupBox1);
    Edit8->SetBounds(96, 228, 116, 22);
    ui::FitToFields(session, "Tapterv", {{ComboBox1, "Me"}, {Edit7, "Egyeb1"}, {Edit8, "Egyeb2"}});
    Button7 = new ui::TButton(GroupBox1, "Rögzítés");
    Button7->SetBounds(330, 292, 100, 27);
    Button8 = new ui::TButton(GroupBox1, "Mégsem");
    Button8->SetBounds(440, 292, 100, 27);

    OnShow = Handler(&TTapterv::FormShow);
    OnClose = Handler(&TTapterv::FormClose);
    OnKeyPress = Handler(&TTapterv::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    DBGrid1->OnDblClick = Handler(&TTapterv::Button2Click);
    Button1->OnClick = Handler(&TTapterv::Button1Click);
    Button2->OnClick = Handler(&TTapterv::Button2Click);
    Button3->OnClick = Handler(&TTapterv::Button3Click);
    Button4->OnClick = Handler(&TTapterv::Button4Click);
    Button5->OnClick = Handler(&TTapterv::Button5Click);
    Chooser.Choose->OnClick = Handler(&TTapterv::Button6Click);
    Button7->OnClick = Handler(&TTapterv::Button7Click);
    Button8->OnClick = Handler(&TTapterv::Button8Click);
    DBLookupComboBox1->OnClick = Handler(&TTapterv::DBLookupComboBox1Click);
    Edit1->OnChange = Handler(&TTapterv::QuantityChange);
}

// From the menu the chooser comes first; while a field is being created ("TEMP") the
// header is hidden and the list waits for the first item.
void TTapterv::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Chooser.Table, &Table3});
    if (FieldCode.empty()) {
        Chooser.Header->hide();
        Chooser.ShowPanel();
    } else if (FieldCode == "TEMP") {
        Chooser.Header->hide();
    } else {
        Chooser.Find(FieldCode);
        ShowPlan(FieldCode);
    }
}

void TTapterv::FormClose(TObject*, TCloseAction&) {
    Query1.Close();
    Table2.Close();
}

void TTapterv::FormKeyPress(TObject*, TKey& Key) {
    if (GroupBox1->isVisible())
        ui::Shortcuts(Key, {{'R', Button7}, {'X', Button8}});
    else
        ui::Shortcuts(Key, {{'T', Button3}, {'X', Button5}});
}

void TTapterv::ShowPlan(const std::string& code) {
    Query1.Close();
    Query1.SetFilter("Parckod = " + db::quoteFilterText(code));
    Query1.SetFiltered(true);
    Query1.Open();
}

void TTapterv::ShowEditor(const std::string& caption) {
    GroupBox1->SetCaption(caption);
    GroupBox1->show();
    GroupBox1->raise();
}

void TTapterv::HideEditor() {
    GroupBox1->hide();
    edited_.reset();
}

void TTapterv::Recompute(std::size_t which) {
    if (!GroupBox1->isVisible() || sys::trim(Edit1->Text()).empty())
        return;
    if (auto amount = reg::NutrientAmount(Percents[which]->Text(), Edit1->Text()))
        Amounts[which]->SetText(sys::floatToText(*amount));
}

void TTapterv::QuantityChange(TObject*) {
    for (std::size_t i = 0; i < Percents.size(); ++i)
        Recompute(i);
}

// The chosen material's percentages fill the boxes it has values for.
void TTapterv::DBLookupComboBox1Click(TObject*) {
    if (Table3.IsEmpty())
        return;
    for (std::size_t i = 0; i < kMaterialPercents.size(); ++i) {
        db::TField& percent = Table3.FieldByName(kMaterialPercents[i]);
        if (!percent.IsNull())
            Percents[i]->SetText(percent.AsString());
    }
}

void TTapterv::Button1Click(TObject*) {
    edited_.reset();
    DBLookupComboBox1->SetKeyValue(db::Null{});
    Edit1->Clear();
    ComboBox1->SetText("kg");
    for (std::size_t i = 0; i < 5; ++i) {
        Percents[i]->Clear();
        Amounts[i]->Clear();
    }
    Edit7->Clear();
    Edit8->Clear();
    ShowEditor("Új tétel");
}

void TTapterv::Button2Click(TObject*) {
    if (!Query1.Active() || Query1.IsEmpty() || Query1.FieldByName("Tap_id").IsNull())
        return;
    if (!Table2.Active())
        Table2.Open();
    int id = Query1.FieldByName("Tap_id").AsInteger();
    if (!Table2.Locate("Tap_id", {db::Value(static_cast<std::int32_t>(id))}))
        return;
    // The editor shows first, so that filling the boxes computes nothing.
    edited_.reset();
    GroupBox1->hide();
    DBLookupComboBox1->SetKeyValue(Table2.FieldByName("Anyagkod").AsValue());
    Edit1->SetText(Table2.FieldByName("Menny").AsString());
    ComboBox1->SetText(Table2.FieldByName("Me").AsString());
    for (std::size_t i = 0; i < 5; ++i) {
        Amounts[i]->SetText(Table2.FieldByName(kAmountFields[i]).AsString());
        Percents[i]->SetText(reg::RecoveredPercent(Table2.FieldByName(kAmountFields[i]),
                                                   Table2.FieldByName("Menny")));
    }
    Edit7->SetText(Table2.FieldByName("Egyeb1").AsString());
    Edit8->SetText(Table2.FieldByName("Egyeb2").AsString());
    edited_ = id;
    ShowEditor("Módosítás");
}

void TTapterv::Button3Click(TObject*) {
    if (!Query1.Active() || Query1.IsEmpty() || Query1.FieldByName("Tap_id").IsNull())
        return;
    if (!Table2.Active())
        Table2.Open();
    int id = Query1.FieldByName("Tap_id").AsInteger();
    if (Table2.Locate("Tap_id", {db::Value(static_cast<std::int32_t>(id))})) {
        Table2.Delete();
        Table2.FlushBuffers();
    }
    ShowPlan(FieldCode);
}

void TTapterv::Button4Click(TObject*) {
    Chooser.ShowPanel();
}

void TTapterv::Button5Click(TObject*) {
    Close();
}

void TTapterv::Button6Click(TObject*) {
    FieldCode = Chooser.Current();
    if (FieldCode.empty())
        return;
    Chooser.Find(FieldCode);
    ShowPlan(FieldCode);
    Chooser.HidePanel();
}

// An item belongs to a field: without one it is refused, and so are texts that are no
// numbers.
void TTapterv::Button7Click(TObject*) {
    if (FieldCode.empty()) {
        ui::MessageDlg("Kérem előbb válassza ki a parcellát (Másik parcella)!", ui::mtWarning,
                       ui::mbOK);
        return;
    }
    if (!NumericInt->IsValidReal(Edit1->Text(), "Mennyiség", TNumericInt::Bound::Positive))
        return;
    for (std::size_t i = 0; i < 5; ++i)
        if (!NumericInt->IsValidFor(Percents[i]->Text(), kPercentLabels[i], "Tapanyagok", "Nit"))
            return;
    QuantityChange(nullptr);
    if (!Table2.Active())
        Table2.Open();
    if (edited_) {
        if (!Table2.Locate("Tap_id", {db::Value(static_cast<std::int32_t>(*edited_))}))
            return;
        Table2.Edit();
    } else {
        Table2.Insert();
    }
    Table2.FieldByName("Parckod").SetAsString(FieldCode);
    Table2.FieldByName("Anyagkod").SetAsValue(DBLookupComboBox1->KeyValue());
    Table2.FieldByName("Menny").SetAsString(Edit1->Text());
    Table2.FieldByName("Me").SetAsString(ComboBox1->Text());
    for (std::size_t i = 0; i < 5; ++i)
        Table2.FieldByName(kAmountFields[i]).SetAsString(Amounts[i]->Text());
    Table2.FieldByName("Egyeb1").SetAsString(Edit7->Text());
    Table2.FieldByName("Egyeb2").SetAsString(Edit8->Text());
    Table2.Post();
    Table2.FlushBuffers();
    HideEditor();
    ShowPlan(FieldCode);
}

void TTapterv::Button8Click(TObject*) {
    HideEditor();
}
