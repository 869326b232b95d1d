#include "Agazatimuvadath.h"

#include "Ujmuvh.h"
#include "core/Isnuminth.h"
#include "operation_form_parts.h"
#include "platform/db/filter.h"
#include "platform/sys/numbers.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_helpers.h"
#include "register/codes.h"

#include <cmath>

TAgazatimuvadat* Agazatimuvadat = nullptr;

namespace ops {

double SectorNha(double factor, double terM2) {
    return sys::roundUp(factor * static_cast<double>(std::llround(terM2)) * 0.0001, 2);
}

int RecordSectorOperation(db::Session& session, const SectorOperation& run) {
    db::TTable fields(session, "Fields");
    fields.SetTableName("parcellak");
    fields.SetFilter("Agazat = " + db::quoteFilterText(run.agazat) +
                     " AND Evj = " + std::to_string(run.evj) + " AND Aktiv = 'A'");
    fields.SetFiltered(true);
    fields.Open();
    if (fields.IsEmpty())
        return 0;
    db::SessionTransaction transaction(session);
    long long code = std::stoll(reg::NextSequentialCode(session, {{"ElvMuv", "Muvkod"}}));
    db::TTable operations(session, "Operations");
    operations.SetTableName("ElvMuv");
    operations.Open();
    int written = 0;
    for (fields.First(); !fields.Eof(); fields.Next(), ++written) {
        const double ter = fields.FieldByName("Ter").AsFloat();
        operations.Append();
        operations.FieldByName("Muvkod").SetAsString(std::to_string(code++));
        operations.FieldByName("Tablakod").SetAsString(fields.FieldByName("Parckod").AsString());
        operations.FieldByName("Datum").SetAsDateTime(run.datum);
        operations.FieldByName("Muvnev").SetAsString(run.muvnev);
        operations.FieldByName("Muvid").SetAsString(run.muvid);
        operations.FieldByName("Irany").SetAsString("");
        operations.FieldByName("Erogepkod").SetAsString(run.erogepkod);
        operations.FieldByName("Munkagepkod").SetAsString(run.munkagepkod);
        if (run.gepora)
            operations.FieldByName("Gepora").SetAsFloat(*run.gepora);
        if (run.keziora)
            operations.FieldByName("Keziora").SetAsFloat(*run.keziora);
        operations.FieldByName("Ter").SetAsFloat(static_cast<double>(std::llround(ter)));
        operations.FieldByName("Nha").SetAsFloat(SectorNha(run.factor, ter));
        if (run.extra == 1)
            operations.FieldByName("Szantm").SetAsString(run.szantm);
        if ((run.extra == 2 || run.extra == 3) && run.hozam)
            operations.FieldByName("Hozam").SetAsFloat(*run.hozam);
        if (run.extra == 2)
            operations.FieldByName("Mellek").SetAsString(run.mellek);
        operations.FieldByName("Szolg").SetAsString(run.szolg ? "IGEN" : "NEM");
        operations.Post();
    }
    operations.FlushBuffers();
    transaction.Commit();
    return written;
}

} // namespace ops

namespace {

const char* const kCategories[] = {"Talajelőkészítés", "Vetés",       "Talajerőgazdálkodás",
                                   "Növényápolás",     "Betakarítás", "Egyéb"};

ui::TLabel* AddLabel(QWidget* parent, int left, int top, int width, const std::string& text) {
    return ui::Make<ui::TLabel>(parent, {left, top, width, 20}, text);
}

// A number typed into an edit, checked with the program's message; nothing for an empty
// text, false after a bad or negative one (hours and yields are never below zero).
bool ReadNumber(const ui::TEdit* edit, const std::string& label, std::optional<double>& value) {
    const std::string text = edit->Text();
    if (NumericInt && !NumericInt->IsValidReal(text, label, TNumericInt::Bound::NotNegative))
        return false;
    value = text.empty() ? std::nullopt : sys::tryParseFloat(text);
    return text.empty() || value.has_value();
}

} // namespace

TAgazatimuvadat::TAgazatimuvadat(db::Session& session) : session_(session) {
    SetCaption("Ágazadi művelet felvitele");
    SetClientSize(800, 520);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("Normalhektar.db");
    Table1.SetIndexFieldNames("Muv");
    Table2.SetTableName("Erogepek.db");
    Table2.SetFilter("Tul = 0");
    Table2.SetFiltered(true);
    Table3.SetTableName("Munkagepek.db");
    Table3.SetFilter("Tul = 0");
    Table3.SetFiltered(true);
    Query1.SQL().Add("SELECT DISTINCT Agazat FROM parcellak");
    Query2.SQL().Add("SELECT DISTINCT Evj FROM parcellak");

    auto* heading = AddLabel(this, 8, 8, 360, "Ágazati művelet felvitele");
    heading->SetBold(true);
    AddLabel(this, 8, 30, 360, "(Egyszerű műveletekhez)");
    AddLabel(this, 8, 56, 110, "Ágazat:");
    ComboBox1 = ui::Make<ui::TComboBox>(this, {120, 54, 220, 24}, ui::csDropDownList);
    AddLabel(this, 8, 86, 110, "Gazd. év:");
    ComboBox2 = ui::Make<ui::TComboBox>(this, {120, 84, 100, 24}, ui::csDropDownList);
    AddLabel(this, 8, 116, 110, "Művelet típusa:");
    ComboBox3 = ui::Make<ui::TComboBox>(this, {120, 114, 190, 24}, ui::csDropDownList);
    for (const char* category : kCategories)
        ComboBox3->Items().Add(category);
    SpeedButton1 = ui::Make<ui::TButton>(this, {316, 114, 24, 24}, "+");
    AddLabel(this, 8, 146, 110, "Megnevezése:");
    DBLookupListBox1 = ui::Make<ui::TDBLookupListBox>(this, {120, 146, 220, 130});
    DBLookupListBox1->SetListSource(&DataSource1);
    DBLookupListBox1->SetKeyField("Kod");
    DBLookupListBox1->SetListField("Muv");
    AddLabel(this, 8, 286, 110, "Dátum :");
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(this, {120, 284, 120, 24});
    AddLabel(this, 8, 316, 110, "Gépóra:");
    Edit1 = ui::Make<ui::TEdit>(this, {120, 314, 70, 24});
    AddLabel(this, 196, 316, 60, "óra/ha");
    AddLabel(this, 8, 346, 110, "Kézióra:");
    Edit2 = ui::Make<ui::TEdit>(this, {120, 344, 70, 24});
    AddLabel(this, 196, 346, 60, "óra/ha");
    Label9 = AddLabel(this, 8, 376, 110, "Hozam :");
    Edit3 = ui::Make<ui::TEdit>(this, {120, 374, 70, 24});
    Label10 = AddLabel(this, 196, 376, 60, "t/ha");
    Label11 = AddLabel(this, 8, 406, 110, "Melléktermék:");
    Edit4 = ui::Make<ui::TEdit>(this, {120, 404, 220, 24});
    ui::FitToFields(session, "ElvMuv",
                    {{Edit1, "Gepora"}, {Edit2, "Keziora"}, {Edit3, "Hozam"}, {Edit4, "Mellek"}});
    ShowExtra(0);

    AddLabel(this, 360, 56, 200, "Erőgép megnevezése:");
    DBGrid1 = ui::ListGrid(
        this, {360, 78, 430, 150}, &DataSource2,
        {{"Geptip", "Típus", 160}, {"Haziszam", "Háziszám", 100}, {"Kategoria", "Kategória", 120}});
    AddLabel(this, 360, 236, 200, "Munkagép megnevezése:");
    DBGrid2 = ui::ListGrid(
        this, {360, 258, 430, 150}, &DataSource3,
        {{"Gepnev", "Megnevezés", 160}, {"Hazisz", "Háziszám", 100}, {"Tipus", "Típus", 120}});
    CheckBox1 = ui::Make<ui::TCheckBox>(this, {360, 416, 200, 20}, "Szolgáltató végezte");
    Button1 = ui::Make<ui::TButton>(this, {600, 480, 90, 30}, "Rögzítés");
    Button2 = ui::Make<ui::TButton>(this, {700, 480, 90, 30}, "Mégsem");

    OnShow = Handler(&TAgazatimuvadat::FormShow);
    OnClose = Handler(&TAgazatimuvadat::FormClose);
    ComboBox3->OnChange = Handler(&TAgazatimuvadat::ComboBox3Change);
    DBLookupListBox1->OnClick = Handler(&TAgazatimuvadat::DBLookupListBox1Click);
    SpeedButton1->OnClick = Handler(&TAgazatimuvadat::SpeedButton1Click);
    Button1->OnClick = Handler(&TAgazatimuvadat::Button1Click);
    Button2->OnClick = Handler(&TAgazatimuvadat::Button2Click);
}

void TAgazatimuvadat::FormShow(TObject*) {
    DateTimePicker1->SetDate(sys::today());
    Table2.Open();
    Table3.Open();
    Query1.Open();
    for (Query1.First(); !Query1.Eof(); Query1.Next())
        ComboBox1->Items().Add(Query1.FieldByName("Agazat").AsString());
    Query1.Close();
    Query2.Open();
    for (Query2.First(); !Query2.Eof(); Query2.Next())
        ComboBox2->Items().Add(Query2.FieldByName("Evj").AsString());
    Query2.Close();
    if (ComboBox1->Items().Count() > 0)
        ComboBox1->SetItemIndex(0);
    if (ComboBox2->Items().Count() > 0)
        ComboBox2->SetItemIndex(ComboBox2->Items().Count() - 1);
    ComboBox3->SetItemIndex(0);
    ComboBox3Change(ComboBox3);
}

void TAgazatimuvadat::FormClose(TObject*, TCloseAction&) {
    Table1.Close();
    Table2.Close();
    Table3.Close();
}

void TAgazatimuvadat::ComboBox3Change(TObject*) {
    Table1.Close();
    Table1.SetFilter("Muvid = " + std::to_string(std::max(ComboBox3->ItemIndex(), 0)));
    Table1.SetFiltered(true);
    Table1.Open();
    ShowExtra(0);
}

void TAgazatimuvadat::ShowExtra(int extra) {
    ops::ShowExtraValue({Label9, Edit3, Label10, Label11, Edit4}, extra);
}

void TAgazatimuvadat::DBLookupListBox1Click(TObject*) {
    if (Table1.Active() && !Table1.IsEmpty())
        ShowExtra(Table1.FieldByName("Extra").AsInteger());
}

// A new operation type, then the type list read again so that it is offered.
void TAgazatimuvadat::SpeedButton1Click(TObject*) {
    ui::ShowModalForm(Ujmuv, session_);
    ComboBox3Change(ComboBox3);
}

std::optional<ops::SectorOperation> TAgazatimuvadat::ReadInput() {
    // 1. Without a sector or a year nothing happens.
    if (ComboBox1->ItemIndex() < 0 || ComboBox2->ItemIndex() < 0)
        return std::nullopt;
    ops::SectorOperation run;
    run.agazat = ComboBox1->Text();
    run.evj = std::stoi(ComboBox2->Text());
    // The type the user picked, found by its key: the list's cursor alone stands on the
    // first type also when none was picked.
    const db::Value picked = DBLookupListBox1->KeyValue();
    if (!Table1.Active() || db::isNull(picked) || !Table1.Locate("Kod", {picked})) {
        ui::MessageDlg("Nincs kiválasztott művelet! Válasszon művelet típust és megnevezést.",
                       ui::mtWarning, ui::mbOK);
        return std::nullopt;
    }
    if (Table2.IsEmpty() || Table3.IsEmpty()) {
        ui::MessageDlg("Nincs kiválasztott erőgép vagy munkagép! Válasszon mindkettőből.",
                       ui::mtWarning, ui::mbOK);
        return std::nullopt;
    }
    if (!ReadNumber(Edit1, "Gépóra", run.gepora) || !ReadNumber(Edit2, "Kézióra", run.keziora))
        return std::nullopt;
    run.extra = Table1.FieldByName("Extra").AsInteger();
    if ((run.extra == 2 || run.extra == 3) && !ReadNumber(Edit3, "Hozam", run.hozam))
        return std::nullopt;
    if (run.extra == 1 && !ui::TypedValuesValid(*Edit3))
        return std::nullopt;
    if (run.extra == 1)
        run.szantm = Edit3->Text();
    if (run.extra == 2)
        run.mellek = Edit4->Text();
    run.datum = DateTimePicker1->Date();
    run.muvnev = Table1.FieldByName("Muv").AsString();
    run.muvid = Table1.FieldByName("Kod").AsString();
    run.factor = Table1.FieldByName("Nha").AsFloat();
    run.erogepkod = Table2.FieldByName("Gepkod").AsString();
    run.munkagepkod = Table3.FieldByName("Gepkod").AsString();
    run.szolg = CheckBox1->Checked();
    return run;
}

void TAgazatimuvadat::Button1Click(TObject*) {
    const std::optional<ops::SectorOperation> run = ReadInput();
    if (!run)
        return;
    // 2.-4. One row per active field of the sector and year, in one transaction.
    ops::RecordSectorOperation(session_, *run);
    // 5. The form ends after one run.
    Close();
}

void TAgazatimuvadat::Button2Click(TObject*) {
    Close();
}
