#include "Dolvarenp.h"

#include "Ujtulajok.h"
#include "core/Isnuminth.h"
#include "parcel_fields.h"

#include <variant>

TUjtabla* Ujtabla = nullptr;

namespace {

ui::TLabel* LabelAt(ui::TForm* form, const std::string& caption, int left, int top) {
    auto* label = new ui::TLabel(form, caption);
    label->SetBounds(left, top + 4, 130, 16);
    return label;
}

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

    const int left = 150;
    Label1 = LabelAt(this, "Helyrajzi szám :", 16, 12);
    Edit1 = new ui::TEdit(this);
    Edit1->SetBounds(left, 12, 200, 22);
    Edit1->SetMaxLength(40);
    Label2 = LabelAt(this, "Házi megnevezés :", 16, 42);
    Edit2 = new ui::TEdit(this);
    Edit2->SetBounds(left, 42, 200, 22);
    Edit2->SetMaxLength(40);
    Label3 = LabelAt(this, "Blokkazonosító :", 16, 72);
    MaskEdit1 = new ui::TMaskEdit(this);
    MaskEdit1->SetBounds(left, 72, 120, 22);
    MaskEdit1->SetEditMask("aaaaa\\-a\\-aa;1;_");
    Label4 = LabelAt(this, "Tulajdonos :", 16, 102);
    TulajBox1 = new ui::TDBLookupComboBox(this);
    TulajBox1->SetBounds(left, 102, 240, 22);
    TulajBox1->SetListSource(&DataSource2);
    TulajBox1->SetKeyField("Tulkod");
    TulajBox1->SetListField("Tulnev");
    Button3 = new ui::TButton(this, "+");
    Button3->SetBounds(left + 246, 101, 24, 24);
    Button3->SetHint("Új tulajdonos hozzáadása");
    Label5 = LabelAt(this, "Művelési ág :", 16, 132);
    DBLookupComboBox1 = new ui::TDBLookupComboBox(this);
    DBLookupComboBox1->SetBounds(left, 132, 200, 22);
    DBLookupComboBox1->SetListSource(&DataSource3);
    DBLookupComboBox1->SetKeyField("Id");
    DBLookupComboBox1->SetListField("Muvag");
    Label6 = LabelAt(this, "Aranykorona ért. :", 16, 162);
    Edit7 = new ui::TEdit(this);
    Edit7->SetBounds(left, 162, 100, 22);
    Label7 = new ui::TLabel(this, "AK");
    Label7->SetBounds(left + 106, 166, 30, 16);
    Label8 = LabelAt(this, "Bérleti díj :", 16, 192);
    Edit3 = new ui::TEdit(this);
    Edit3->SetBounds(left, 192, 100, 22);
    ComboBox1 = new ui::TComboBox(this);
    ComboBox1->SetBounds(left + 106, 192, 130, 22);
    ComboBox1->Items().AddStrings(reg::RentUnits());
    ComboBox1->SetText("búza kg/AK");
    CheckBox2 = new ui::TCheckBox(this, "Szerződés lejárta");
    CheckBox2->SetBounds(16, 222, 130, 20);
    DateTimePicker1 = new ui::TDateTimePicker(this);
    DateTimePicker1->SetBounds(left, 222, 130, 22);
    Label9 = LabelAt(this, "Terület :", 16, 252);
    Edit4 = new ui::TEdit(this);
    Edit4->SetBounds(left, 252, 100, 22);
    Label10 = new ui::TLabel(this, "m²");
    Label10->SetBounds(left + 106, 256, 30, 16);
    Label11 = LabelAt(this, "Használat alapja:", 16, 282);
    ComboBox2 = new ui::TComboBox(this, ui::csDropDownList);
    ComboBox2->SetBounds(left, 282, 240, 22);
    ComboBox2->Items().AddStrings(reg::LandUseTexts());
    Label12 = LabelAt(this, "Öntözhető :", 16, 312);
    CheckBox1 = new ui::TCheckBox(this);
    CheckBox1->SetBounds(left, 314, 20, 20);
    Label13 = LabelAt(this, "Talajvizsg. típusa :", 16, 342);
    Edit5 = new ui::TEdit(this);
    Edit5->SetBounds(left, 342, 200, 22);
    Button1 = new ui::TButton(this, "Rögzítés");
    Button1->SetBounds(left, 382, 90, 27);
    Button2 = new ui::TButton(this, "Mégsem");
    Button2->SetBounds(left + 100, 382, 90, 27);
    SetTabOrder({Edit1, Edit2, MaskEdit1, TulajBox1, Button3, DBLookupComboBox1, Edit7, Edit3,
                 ComboBox1, CheckBox2, DateTimePicker1, Edit4, ComboBox2, CheckBox1, Edit5, Button1,
                 Button2});
    // The box is ticked before its handler is bound: activation sets the date.
    CheckBox2->SetChecked(true);

    OnActivate = Handler(&TUjtabla::FormActivate);
    OnShow = Handler(&TUjtabla::FormShow);
    OnClose = Handler(&TUjtabla::FormClose);
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
    Table2.Open();
    Table1.Open();
    Table3.Open();
    DateTimePicker1->SetDate(sys::today());
}

void TUjtabla::FormShow(TObject*) {
    ComboBox2->SetItemIndex(0);
}

void TUjtabla::FormClose(TObject*, TCloseAction&) {
    Table1.Close();
    Table2.Close();
    Table3.Close();
    Table4.Close();
}

// Ctrl+R saves, Ctrl+X closes, as in every editing form.
void TUjtabla::FormKeyPress(TObject*, TKey& Key) {
    if (Key == ui::ctrlKey('R'))
        Button1->Click();
    else if (Key == ui::ctrlKey('X'))
        Button2->Click();
    else
        return;
    Key = ui::keyNone;
}

void TUjtabla::CheckBox2Click(TObject*) {
    DateTimePicker1->SetEnabled(CheckBox2->Checked());
    if (CheckBox2->Checked())
        DateTimePicker1->SetDate(sys::today());
}

bool TUjtabla::NumbersValid() {
    return NumericInt->IsValidReal(Edit7->Text(), "Aranykorona érték") &&
           NumericInt->IsValidReal(Edit3->Text(), "Bérleti díj") &&
           NumericInt->IsValidInteger(Edit4->Text(), "Terület");
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

void TUjtabla::InsertLandParcel() {
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
    Table1.FieldByName("Berveg").SetAsString(
        reg::ExpiryText(CheckBox2->Checked(), DateTimePicker1->Date()));
    Table1.FieldByName("Ont").SetAsString(CheckBox1->Checked() ? "1" : "0");
    Table1.FieldByName("Parcella").SetAsString(reg::LandUseCode(ComboBox2->ItemIndex()));
    Table1.Post();
    Table1.FlushBuffers();
}

void TUjtabla::Button1Click(TObject*) {
    if (!NumbersValid() || !RequiredGiven())
        return;
    InsertLandParcel();
    Table4.Open();
    Table4.Insert();
    Table4.FieldByName("Tablakod").SetAsString(Table1.FieldByName("Tableid").AsString());
    Table4.FieldByName("Talajtip").SetAsString(Edit5->Text());
    Table4.Post();
    Table4.Close();
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
