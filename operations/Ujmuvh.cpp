#include "Ujmuvh.h"

#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_helpers.h"
#include "register/codes.h"

#include <fstream>
#include <sstream>

TUjmuv* Ujmuv = nullptr;
TNormalhek* Normalhek = nullptr;

TUjmuv::TUjmuv(db::Session& session) : session_(session) {
    SetCaption("Új művelet meghatározása");
    SetClientSize(470, 300);
    SetPosition(ui::poScreenCenter);
    SetHelpContext(47);
    Table1.SetTableName("Normalhektar.db");
    Table1.SetIndexFieldNames("Muv");

    ui::Make<ui::TLabel>(this, {8, 8, 200, 20}, "Új művelet");
    ui::Make<ui::TLabel>(this, {8, 43, 180, 16}, "Művelet megnevezése :");
    Edit1 = ui::Make<ui::TComboBox>(this, {190, 40, 270, 22});
    Edit1->SetDropDownCount(20);
    Edit1->SetMaxLength(ui::TextFieldWidth(session, "Normalhektar", "Muv"));
    ui::Make<ui::TLabel>(this, {8, 73, 180, 16}, "Kategória :");
    ComboBox1 = ui::Make<ui::TComboBox>(this, {190, 70, 200, 22});
    ComboBox1->Items().AddStrings({"Talajelőkészítés", "Vetés", "Talajerőgazdálkodás",
                                   "Növényápolás", "Betakarítás", "Egyéb"});
    ui::Make<ui::TLabel>(this, {8, 103, 180, 16}, "Traktormunka normálhektár :");
    Edit2 = ui::Make<ui::TEdit>(this, {190, 100, 90, 22});
    ComboBox2 = ui::Make<ui::TComboBox>(this, {286, 100, 100, 22});
    ComboBox2->Items().AddStrings({"nha/ha", "nha/t", "nha/ór", "nha/km"});
    ui::FitToFields(session, "Normalhektar", {{Edit1, "Muv"}, {Edit2, "Nha"}, {ComboBox2, "Tip"}});
    CheckBox1 = ui::Make<ui::TCheckBox>(this, {8, 134, 200, 20}, "Extra adatok :");
    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 158, 452, 90}, "");
    RadioButton1 = ui::Make<ui::TRadioButton>(GroupBox1, {10, 10, 300, 20}, "Hozam");
    RadioButton2 = ui::Make<ui::TRadioButton>(GroupBox1, {10, 34, 300, 20}, "Mélység");
    RadioButton3 =
        ui::Make<ui::TRadioButton>(GroupBox1, {10, 58, 300, 20}, "Hozam és melléktermény neve");
    RadioButton1->SetChecked(true);
    Button1 = ui::Make<ui::TButton>(this, {250, 262, 100, 30}, "Bezár");
    Button2 = ui::Make<ui::TButton>(this, {360, 262, 100, 30}, "Rögzít");

    OnActivate = Handler(&TUjmuv::FormActivate);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    CheckBox1->OnClick = Handler(&TUjmuv::CheckBox1Click);
    ComboBox1->OnChange = Handler(&TUjmuv::ComboBox1Change);
    Edit1->OnClick = Handler(&TUjmuv::Edit1Click);
    Button1->OnClick = Handler(&TUjmuv::Button1Click);
    Button2->OnClick = Handler(&TUjmuv::Button2Click);
    CheckBox1Click(CheckBox1);
}

// The starting category and unit are set once: the form is activated again after each of
// its messages, which must not change what the user chose.
void TUjmuv::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1});
    if (activated_)
        return;
    activated_ = true;
    ComboBox1->SetItemIndex(0);
    ComboBox2->SetItemIndex(0);
    ComboBox1Change(ComboBox1);
}

// The current row is a type of the category that is not deleted.
bool TUjmuv::InCategory(int category) {
    const db::TField* deleted = Table1.FindField("Deleted");
    return Table1.FieldByName("Muvid").AsInteger() == category &&
           !(deleted && deleted->AsBoolean());
}

// The type of the category with this name (blanks and case aside), the table's cursor on
// it; false when there is none.
bool TUjmuv::FindType(const std::string& name, int category) {
    const std::string_view wanted = sys::trim(name);
    for (Table1.First(); !Table1.Eof(); Table1.Next())
        if (InCategory(category) &&
            sys::equalsNoCase(sys::trim(Table1.FieldByName("Muv").AsString()), wanted))
            return true;
    return false;
}

// The name list offers the category's types, so that one of them can get its factor.
void TUjmuv::ComboBox1Change(TObject*) {
    const std::string typed = Edit1->Text();
    Edit1->Items().Clear();
    const int category = ComboBox1->ItemIndex();
    if (Table1.Active() && category >= 0)
        for (Table1.First(); !Table1.Eof(); Table1.Next())
            if (InCategory(category))
                Edit1->Items().Add(Table1.FieldByName("Muv").AsString());
    Edit1->SetText(typed);
}

// A type picked from the list shows its factor, unit and extra value, to be changed.
void TUjmuv::Edit1Click(TObject*) {
    if (!Table1.Active() || !FindType(Edit1->Text(), ComboBox1->ItemIndex()))
        return;
    const bool factorGiven = !Table1.FieldByName("Tip").AsString().empty();
    Edit2->SetText(factorGiven ? Table1.FieldByName("Nha").AsString() : std::string());
    if (factorGiven)
        ComboBox2->SetItemIndex(static_cast<int>(Table1.FieldByName("Mtip").AsInteger()));
    const int extra = static_cast<int>(Table1.FieldByName("Extra").AsInteger());
    CheckBox1->SetChecked(extra != 0);
    CheckBox1Click(CheckBox1);
    (extra == 1 ? RadioButton2 : extra == 2 ? RadioButton3 : RadioButton1)->SetChecked(true);
}

void TUjmuv::CheckBox1Click(TObject*) {
    GroupBox1->SetEnabled(CheckBox1->Checked());
}

void TUjmuv::Button1Click(TObject*) {
    Close();
}

void TUjmuv::Button2Click(TObject*) {
    const int category = ComboBox1->ItemIndex();
    const std::string unit = ComboBox2->Text();
    const int unitIndex = ComboBox2->ItemIndex();
    if (Edit1->Text().empty() || category < 0)
        return;
    const bool factorGiven = !Edit2->Text().empty();
    const auto factor = factorGiven ? sys::tryParseFloat(Edit2->Text()) : std::optional<double>(0);
    if (!factor) {
        ui::MessageDlg("A(z) '" + Edit2->Text() + "' nem érvényes szám.", ui::mtError, ui::mbOK);
        return;
    }
    // A factor below nothing, or a name longer than an operation keeps, is refused.
    if (!ui::TypedValuesValid(*this))
        return;
    // Two types of one category never share a name: the name of an existing type
    // gives that type the factor and extra value shown.
    const bool existing = FindType(Edit1->Text(), category);
    const db::TBookmark found = Table1.GetBookmark();
    if (existing && ui::MessageDlg("A(z) \"" + Table1.FieldByName("Muv").AsString() +
                                       "\" művelet már szerepel ebben a kategóriában. Módosítja a "
                                       "normálhektár-szorzóját és az extra adatát?",
                                   ui::mtConfirmation, ui::mbYesNo) != ui::mrYes)
        return;
    if (!factorGiven)
        Edit2->SetText("0");
    if (existing) {
        Table1.GotoBookmark(found); // wherever the question left the cursor
        Table1.Edit();
    } else {
        Table1.Append();
        Table1.FieldByName("Kod").SetAsString(
            reg::NextSequentialCode(session_, {{"Normalhektar", "Kod"}}));
        Table1.FieldByName("Muv").SetAsString(Edit1->Text());
        Table1.FieldByName("Muvid").SetAsInteger(category);
    }
    if (factorGiven) {
        Table1.FieldByName("Tip").SetAsString(unit);
        Table1.FieldByName("Mtip").SetAsInteger(unitIndex);
    } else {
        Table1.FieldByName("Tip").SetAsValue(db::Value{});
        Table1.FieldByName("Mtip").SetAsValue(db::Value{});
    }
    Table1.FieldByName("Nha").SetAsFloat(*factor);
    int extra = 0;
    if (CheckBox1->Checked())
        extra = RadioButton1->Checked() ? 3 : RadioButton2->Checked() ? 1 : 2;
    Table1.FieldByName("Extra").SetAsInteger(extra);
    Table1.Post();
    Table1.FlushBuffers();
    Close();
}

TNormalhek::TNormalhek(db::Session& session) : session_(session) {
    SetCaption("Normálhektár átszámítási tényezők");
    SetBorderStyle(ui::bsSingle);
    SetClientSize(800, 600);
    RichEdit1 = ui::Make<ui::TRichEdit>(this, {0, 0, 800, 600});
    RichEdit1->SetReadOnly(true);
    OnActivate = Handler(&TNormalhek::FormActivate);
}

void TNormalhek::FormActivate(TObject*) {
    SetWindowState(ui::wsMaximized);
    RichEdit1->SetBounds(0, 0, ClientWidth(), ui::Screen::Height() - 60);
    const auto path = session_.directory() / "normalhektar.txt";
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        ui::MessageDlg("A(z) \"" + path.string() + "\" fájl nem nyitható meg.", ui::mtError,
                       ui::mbOK);
        return;
    }
    std::ostringstream text;
    text << file.rdbuf();
    RichEdit1->SetText(text.str());
}
