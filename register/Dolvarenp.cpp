#include "Dolvarenp.h"

#include "Ujtulajok.h"
#include "core/Isnuminth.h"
#include "parcel_fields.h"
#include "platform/ui/form_helpers.h"

#include <variant>

TUjtabla* Ujtabla = nullptr;

namespace {

std::string KeyText(const db::Value& key) {
    if (const auto* text = std::get_if<std::string>(&key))
        return *text;
    if (const auto* number = std::get_if<std::int32_t>(&key))
        return std::to_string(*number);
    return {};
}

} // namespace

TUjtabla::TUjtabla(db::Session& session) : session_(session) {
    SetCaption("Új tábla felvitele");
    SetClientSize(470, 420);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("tablak.DB");
    Table2.SetTableName("tulaj.db");
    Table2.SetIndexName("Tulajnevind");
    Table3.SetTableName("Muvelesiag.db");
    Table3.SetIndexFieldNames("Id");
    Table4.SetTableName("Tablak2.db");

    // The labels stand left of their controls, 4 pixels lower to align the texts.
    const int left = 150;
    Label1 = ui::Make<ui::TLabel>(this, {16, 16, 130, 16}, "Helyrajzi szám :");
    Edit1 = ui::Make<ui::TEdit>(this, {left, 12, 200, 22});
    Label2 = ui::Make<ui::TLabel>(this, {16, 46, 130, 16}, "Házi megnevezés :");
    Edit2 = ui::Make<ui::TEdit>(this, {left, 42, 200, 22});
    Label3 = ui::Make<ui::TLabel>(this, {16, 76, 130, 16}, "Blokkazonosító :");
    MaskEdit1 = ui::Make<ui::TMaskEdit>(this, {left, 72, 120, 22});
    MaskEdit1->SetEditMask("aaaaa\\-a\\-aa;1;_");
    Label4 = ui::Make<ui::TLabel>(this, {16, 106, 130, 16}, "Tulajdonos :");
    TulajBox1 = ui::Make<ui::TDBLookupComboBox>(this, {left, 102, 240, 22});
    TulajBox1->SetListSource(&DataSource2);
    TulajBox1->SetKeyField("Tulkod");
    TulajBox1->SetListField("Tulnev");
    Button3 = ui::Make<ui::TButton>(this, {left + 246, 101, 24, 24}, "+");
    Button3->SetHint("Új tulajdonos hozzáadása");
    Label5 = ui::Make<ui::TLabel>(this, {16, 136, 130, 16}, "Művelési ág :");
    DBLookupComboBox1 = ui::Make<ui::TDBLookupComboBox>(this, {left, 132, 200, 22});
    DBLookupComboBox1->SetListSource(&DataSource3);
    DBLookupComboBox1->SetKeyField("Id");
    DBLookupComboBox1->SetListField("Muvag");
    Label6 = ui::Make<ui::TLabel>(this, {16, 166, 130, 16}, "Aranykorona ért. :");
    Edit7 = ui::Make<ui::TEdit>(this, {left, 162, 100, 22});
    Label7 = ui::Make<ui::TLabel>(this, {left + 106, 166, 30, 16}, "AK");
    Label8 = ui::Make<ui::TLabel>(this, {16, 196, 130, 16}, "Bérleti díj :");
    Edit3 = ui::Make<ui::TEdit>(this, {left, 192, 100, 22});
    ComboBox1 = ui::Make<ui::TComboBox>(this, {left + 106, 192, 130, 22});
    ComboBox1->Items().AddStrings(reg::RentUnits());
    ComboBox1->SetText("búza kg/AK");
    CheckBox2 = ui::Make<ui::TCheckBox>(this, {16, 222, 130, 20}, "Szerződés lejárta");
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(this, {left, 222, 130, 22});
    Label9 = ui::Make<ui::TLabel>(this, {16, 256, 130, 16}, "Terület :");
    Edit4 = ui::Make<ui::TEdit>(this, {left, 252, 100, 22});
    Label10 = ui::Make<ui::TLabel>(this, {left + 106, 256, 30, 16}, "m²");
    Label11 = ui::Make<ui::TLabel>(this, {16, 286, 130, 16}, "Használat alapja:");
    ComboBox2 = ui::Make<ui::TComboBox>(this, {left, 282, 240, 22}, ui::csDropDownList);
    ComboBox2->Items().AddStrings(reg::LandUseTexts());
    Label12 = ui::Make<ui::TLabel>(this, {16, 316, 130, 16}, "Öntözhető :");
    CheckBox1 = ui::Make<ui::TCheckBox>(this, {left, 314, 20, 20});
    Label13 = ui::Make<ui::TLabel>(this, {16, 346, 130, 16}, "Talajvizsg. típusa :");
    Edit5 = ui::Make<ui::TEdit>(this, {left, 342, 200, 22});
    Button1 = ui::Make<ui::TButton>(this, {left, 382, 90, 27}, "Rögzítés");
    Button2 = ui::Make<ui::TButton>(this, {left + 100, 382, 90, 27}, "Mégsem");
    SetTabOrder({Edit1, Edit2, MaskEdit1, TulajBox1, Button3, DBLookupComboBox1, Edit7, Edit3,
                 ComboBox1, CheckBox2, DateTimePicker1, Edit4, ComboBox2, CheckBox1, Edit5, Button1,
                 Button2});
    // The box is ticked before its handler is bound: activation sets the date.
    CheckBox2->SetChecked(true);

    OnActivate = Handler(&TUjtabla::FormActivate);
    OnShow = Handler(&TUjtabla::FormShow);
    OnKeyPress = Handler(&TUjtabla::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    CheckBox2->OnClick = Handler(&TUjtabla::CheckBox2Click);
    Button1->OnClick = Handler(&TUjtabla::Button1Click);
    Button2->OnClick = Handler(&TUjtabla::Button2Click);
    Button3->OnClick = Handler(&TUjtabla::Button3Click);
}

// The first activation opens the tables and dates the picker today. The form becomes
// active again after every dialog in front of it; what the user entered stays then.
void TUjtabla::FormActivate(TObject*) {
    if (Table1.Active())
        return;
    ui::OpenOnFirstActivate(this, {&Table2, &Table1, &Table3});
    reg::LimitLandParcelEdits(session_, Edit1, Edit2, ComboBox1, Edit5);
    ui::FitToFields(session_, "Tablak", {{Edit4, "Ter"}, {Edit7, "Arany"}, {Edit3, "Berl"}});
    DateTimePicker1->SetDate(sys::today());
}

void TUjtabla::FormShow(TObject*) {
    ComboBox2->SetItemIndex(0);
}

void TUjtabla::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'R', Button1}, {'X', Button2}});
}

void TUjtabla::CheckBox2Click(TObject*) {
    reg::ExpiryBoxChanged(*CheckBox2, *DateTimePicker1);
}

bool TUjtabla::NumbersValid() {
    return NumericInt->IsValidFor(Edit7->Text(), "Aranykorona érték", "Tablak", "Arany") &&
           NumericInt->IsValidFor(Edit3->Text(), "Bérleti díj", "Tablak", "Berl") &&
           NumericInt->IsValidInteger(Edit4->Text(), "Terület", TNumericInt::Bound::Positive);
}

bool TUjtabla::RequiredGiven() {
    if (!db::isNull(TulajBox1->KeyValue()) && !Edit1->Text().empty() && !Edit2->Text().empty() &&
        !Edit4->Text().empty())
        return true;
    ui::Application->MessageBox(
        "Kérem a következőket megadni: Helyrajzi Szám, Házi Megnevezés, Tulajdonos, Terület!",
        "Hiányzó Adatok!", ui::MB_OK);
    return false;
}

// Every input is read before the first row is begun: the expiry picker refuses a typed
// day that is no date by throwing, and a refused save leaves no row behind.
void TUjtabla::InsertLandParcel() {
    const std::string expiry = reg::ExpiryText(CheckBox2->Checked(), DateTimePicker1->Date());
    Table1.Insert();
    Table1.FieldByName("Tulkod").SetAsString(KeyText(TulajBox1->KeyValue()));
    Table1.FieldByName("Helysz").SetAsString(Edit1->Text());
    Table1.FieldByName("Hazmeg").SetAsString(Edit2->Text());
    Table1.FieldByName("Arany").SetAsString(Edit7->Text());
    Table1.FieldByName("Ter").SetAsString(Edit4->Text());
    Table1.FieldByName("Aktiv").SetAsInteger(1);
    db::Value branch = DBLookupComboBox1->KeyValue();
    Table1.FieldByName("Muvag").SetAsString(db::isNull(branch) ? "" : DBLookupComboBox1->Text());
    Table1.FieldByName("Muvagid").SetAsString(db::isNull(branch) ? "0" : KeyText(branch));
    Table1.FieldByName("Blok").SetAsString(MaskEdit1->Text());
    Table1.FieldByName("Berl").SetAsString(Edit3->Text());
    Table1.FieldByName("Bmert").SetAsString(ComboBox1->Text());
    Table1.FieldByName("Berveg").SetAsString(expiry);
    Table1.FieldByName("Ont").SetAsString(CheckBox1->Checked() ? "1" : "0");
    Table1.FieldByName("Parcella").SetAsString(reg::LandUseCode(ComboBox2->ItemIndex()));
    Table1.Post();
}

// The land parcel and its soil-test type are one save.
void TUjtabla::Button1Click(TObject*) {
    if (!NumbersValid() || !RequiredGiven())
        return;
    {
        db::SessionTransaction transaction(session_);
        InsertLandParcel();
        Table4.Open();
        Table4.Insert();
        Table4.FieldByName("Tablakod").SetAsString(Table1.FieldByName("Tableid").AsString());
        Table4.FieldByName("Talajtip").SetAsString(Edit5->Text());
        Table4.Post();
        Table4.Close();
        transaction.Commit();
    }
    Table1.FlushBuffers();
    Close();
}

void TUjtabla::Button2Click(TObject*) {
    Close();
}

// A new owner can be chosen at once; the current choice stays.
void TUjtabla::Button3Click(TObject*) {
    ui::ShowModalForm(ujtulaj, session_);
    Table2.Refresh();
}
