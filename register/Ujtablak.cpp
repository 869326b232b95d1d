#include "Ujtablak.h"

#include "Ujtulajok.h"
#include "core/Isnuminth.h"
#include "platform/db/filter.h"
#include "platform/ui/form_helpers.h"

TForm2* Form2 = nullptr;

namespace {

std::string TableidFilter(const std::string& tableid) {
    return "Tablakod = " + db::quoteFilterText(tableid);
}

} // namespace

TForm2::TForm2(db::Session& session) : session_(session) {
    SetCaption("Területek módosítása");
    SetClientSize(820, 470);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("tablak.DB");
    Table1.SetIndexName("Tablakhazmind");
    Table1.SetFilter("Aktiv = 1");
    Table1.SetFiltered(true);
    Table3.SetTableName("Tablak2.db");

    DBGrid1 = ui::ListGrid(this, {8, 8, 370, 454}, &DataSource1,
                           {{"Helysz", "Helyrajzi Szám", 110},
                            {"Hazmeg", "Házi Megnevezés", 150},
                            {"Ter", "Terület", 70}});

    // The labels stand left of their controls, 4 pixels lower to align the texts.
    GroupBox1 = ui::Make<ui::TGroupBox>(this, {388, 8, 424, 414}, "Módosítás :");
    const int left = 136;
    Label1 = ui::Make<ui::TLabel>(GroupBox1, {12, 28, 120, 16}, "Helyrajzi szám :");
    Edit1 = ui::Make<ui::TEdit>(GroupBox1, {left, 24, 200, 22});
    Label2 = ui::Make<ui::TLabel>(GroupBox1, {12, 58, 120, 16}, "Házi megnevezés :");
    Edit2 = ui::Make<ui::TEdit>(GroupBox1, {left, 54, 200, 22});
    Label3 = ui::Make<ui::TLabel>(GroupBox1, {12, 88, 120, 16}, "Blokkazonosító :");
    MaskEdit1 = ui::Make<ui::TMaskEdit>(GroupBox1, {left, 84, 120, 22});
    MaskEdit1->SetEditMask("aaaaa\\-a\\-aa;1;_");
    Label4 = ui::Make<ui::TLabel>(GroupBox1, {12, 118, 120, 16}, "Tulajdonos :");
    ComboBox1 = ui::Make<ui::TComboBox>(GroupBox1, {left, 114, 240, 22}, ui::csDropDownList);
    Button4 = ui::Make<ui::TButton>(GroupBox1, {left + 246, 113, 24, 24}, "+");
    Button4->SetHint("Új tulajdonos bevitele");
    Label5 = ui::Make<ui::TLabel>(GroupBox1, {12, 148, 120, 16}, "Terület (m²) :");
    Edit4 = ui::Make<ui::TEdit>(GroupBox1, {left, 144, 100, 22});
    Label6 = ui::Make<ui::TLabel>(GroupBox1, {12, 178, 120, 16}, "Aranykorona ért. :");
    Edit7 = ui::Make<ui::TEdit>(GroupBox1, {left, 174, 100, 22});
    Label7 = ui::Make<ui::TLabel>(GroupBox1, {12, 208, 120, 16}, "Bérleti díj :");
    Edit3 = ui::Make<ui::TEdit>(GroupBox1, {left, 204, 100, 22});
    ComboBox2 = ui::Make<ui::TComboBox>(GroupBox1, {left + 106, 204, 130, 22});
    ComboBox2->Items().AddStrings(reg::RentUnits());
    Label8 = ui::Make<ui::TLabel>(GroupBox1, {12, 238, 120, 16}, "Művelési ág :");
    ComboBox3 = ui::Make<ui::TComboBox>(GroupBox1, {left, 234, 200, 22}, ui::csDropDownList);
    CheckBox2 = ui::Make<ui::TCheckBox>(GroupBox1, {12, 264, 124, 20}, "Szerződés lejárta");
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(GroupBox1, {left, 264, 130, 22});
    CheckBox1 = ui::Make<ui::TCheckBox>(GroupBox1, {12, 294, 124, 20}, "Öntözhető");
    Label9 = ui::Make<ui::TLabel>(GroupBox1, {12, 328, 120, 16}, "Talajvizsg. típusa :");
    Edit5 = ui::Make<ui::TEdit>(GroupBox1, {left, 324, 200, 22});
    Label10 = ui::Make<ui::TLabel>(GroupBox1, {12, 358, 120, 16}, "Használat alapja:");
    ComboBox4 = ui::Make<ui::TComboBox>(GroupBox1, {left, 354, 240, 22}, ui::csDropDownList);
    ComboBox4->Items().AddStrings(reg::LandUseTexts());

    Button1 = ui::Make<ui::TButton>(this, {388, 432, 100, 27}, "Rögzítés");
    Button2 = ui::Make<ui::TButton>(this, {498, 432, 100, 27}, "Tábla törlése");
    Button3 = ui::Make<ui::TButton>(this, {608, 432, 100, 27}, "Mégsem");
    SetTabOrder({DBGrid1, Edit1, Edit2, MaskEdit1, ComboBox1, Button4, Edit4, Edit7, Edit3,
                 ComboBox2, ComboBox3, CheckBox2, DateTimePicker1, CheckBox1, Edit5, ComboBox4,
                 Button1, Button2, Button3});

    PopupMenu1 = new ui::TPopupMenu(this);
    N1 = PopupMenu1->Add("Rögzítés           CTRL+R");
    N2 = PopupMenu1->Add("Törlés               CTRL+T");
    N3 = PopupMenu1->Add("Mégsem            CTRL+X");
    SetPopupMenu(PopupMenu1);

    OnActivate = Handler(&TForm2::FormActivate);
    OnShow = Handler(&TForm2::FormShow);
    OnKeyPress = Handler(&TForm2::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    DBGrid1->OnCellClick = [this](ui::TColumn& column) { DBGrid1CellClick(column); };
    DBGrid1->OnKeyDown = [this](int& key, Qt::KeyboardModifiers shift) {
        DBGrid1KeyDown(key, shift);
    };
    DBGrid1->OnKeyUp = [this](int& key, Qt::KeyboardModifiers shift) { DBGrid1KeyUp(key, shift); };
    CheckBox2->OnClick = Handler(&TForm2::CheckBox2Click);
    Button1->OnClick = Handler(&TForm2::Button1Click);
    Button2->OnClick = Handler(&TForm2::Button2Click);
    Button3->OnClick = Handler(&TForm2::Button3Click);
    Button4->OnClick = Handler(&TForm2::Button4Click);
    N1->OnClick = Handler(&TForm2::Button1Click);
    N2->OnClick = Handler(&TForm2::Button2Click);
    N3->OnClick = Handler(&TForm2::Button3Click);
}

// The first activation opens the list, fills the choice lists and loads the current land
// parcel into the panel, so that a save always has a loaded land parcel to write. The
// form becomes active again after every dialog in front of it; the panel stays then.
void TForm2::FormActivate(TObject*) {
    if (Table1.Active())
        return;
    ui::OpenOnFirstActivate(this, {&Table1});
    reg::LimitLandParcelEdits(session_, Edit1, Edit2, ComboBox2, Edit5);
    ui::FitToFields(session_, "Tablak", {{Edit4, "Ter"}, {Edit7, "Arany"}, {Edit3, "Berl"}});
    DateTimePicker1->SetDate(sys::today());
    FillOwners();
    branches_ = reg::FillChoices(session_, *ComboBox3, "Muvelesiag.db", "Id", "Id", "Muvag");
    bool any = !Table1.IsEmpty();
    Button1->SetEnabled(any);
    Button2->SetEnabled(any);
    N1->SetEnabled(any);
    N2->SetEnabled(any);
    if (any)
        LoadCurrentRow();
}

void TForm2::FormShow(TObject*) {
    ComboBox4->SetItemIndex(0);
}

// Saving and inactivating need a land parcel in the list.
void TForm2::FormKeyPress(TObject*, TKey& Key) {
    const bool any = Table1.Active() && !Table1.IsEmpty();
    ui::Shortcuts(Key,
                  {{'R', any ? Button1 : nullptr}, {'T', any ? Button2 : nullptr}, {'X', Button3}});
}

void TForm2::FillOwners() {
    owners_ = reg::FillChoices(session_, *ComboBox1, "tulaj.db", "Tulkod", "Tulkod", "Tulnev");
}

void TForm2::DBGrid1CellClick(ui::TColumn&) {
    LoadCurrentRow();
}

void TForm2::DBGrid1KeyDown(int&, Qt::KeyboardModifiers) {
    LoadWhenMoved();
}

void TForm2::DBGrid1KeyUp(int&, Qt::KeyboardModifiers) {
    LoadWhenMoved();
}

// A key in the grid loads the row it moved to; the panel's edits of the row still
// current stay.
void TForm2::LoadWhenMoved() {
    if (Table1.IsEmpty())
        return;
    if (!loaded_ || *loaded_ != Table1.FieldByName("Tableid").AsInteger())
        LoadCurrentRow();
}

void TForm2::LoadCurrentRow() {
    if (Table1.IsEmpty())
        return;
    MaskEdit1->SetText(Table1.FieldByName("Blok").AsString());
    Edit1->SetText(Table1.FieldByName("Helysz").AsString());
    Edit2->SetText(Table1.FieldByName("Hazmeg").AsString());
    ComboBox1->SetItemIndex(owners_.PositionOf(Table1.FieldByName("Tulkod").AsString()));
    ComboBox3->SetItemIndex(branches_.PositionOf(Table1.FieldByName("Muvagid").AsString()));
    std::string tableid = Table1.FieldByName("Tableid").AsString();
    Table3.SetFilter(TableidFilter(tableid));
    Table3.SetFiltered(true);
    Table3.Open();
    Edit5->SetText(Table3.IsEmpty() ? "" : Table3.FieldByName("Talajtip").AsString());
    Table3.Close();
    Edit7->SetText(Table1.FieldByName("Arany").AsString());
    Edit3->SetText(Table1.FieldByName("Berl").AsString());
    ComboBox2->SetText(Table1.FieldByName("Bmert").AsString());
    if (auto position = reg::LandUsePosition(Table1.FieldByName("Parcella").AsString()))
        ComboBox4->SetItemIndex(*position);
    reg::ShowExpiry(Table1.FieldByName("Berveg"), *CheckBox2, *DateTimePicker1);
    Edit4->SetText(Table1.FieldByName("Ter").AsString());
    CheckBox1->SetChecked(Table1.FieldByName("Ont").AsInteger() != 0);
    loaded_ = Table1.FieldByName("Tableid").AsInteger();
}

void TForm2::CheckBox2Click(TObject*) {
    reg::ExpiryBoxChanged(*CheckBox2, *DateTimePicker1);
}

bool TForm2::NumbersValid() {
    return NumericInt->IsValidFor(Edit7->Text(), "Aranykorona érték", "Tablak", "Arany") &&
           NumericInt->IsValidInteger(Edit4->Text(), "Terület", TNumericInt::Bound::Positive) &&
           NumericInt->IsValidFor(Edit3->Text(), "Bérleti díj", "Tablak", "Berl");
}

// The expiry picker is read before the row is put in edit: it throws on a typed day that
// is no date, and a refused save leaves the row as it was.
void TForm2::WritePanel() {
    const std::string expiry = reg::ExpiryText(CheckBox2->Checked(), DateTimePicker1->Date());
    Table1.Edit();
    Table1.FieldByName("Helysz").SetAsString(Edit1->Text());
    Table1.FieldByName("Hazmeg").SetAsString(Edit2->Text());
    Table1.FieldByName("Arany").SetAsString(Edit7->Text());
    int branch = ComboBox3->ItemIndex();
    Table1.FieldByName("Muvag").SetAsString(branch < 0 ? "" : ComboBox3->Text());
    Table1.FieldByName("Muvagid").SetAsString(branch < 0 ? "0" : branches_.KeyAt(branch));
    Table1.FieldByName("Tulkod").SetAsString(owners_.KeyAt(ComboBox1->ItemIndex()));
    Table1.FieldByName("Ter").SetAsString(Edit4->Text());
    Table1.FieldByName("Berl").SetAsString(Edit3->Text());
    Table1.FieldByName("Bmert").SetAsString(ComboBox2->Text());
    if (ComboBox4->ItemIndex() >= 0)
        Table1.FieldByName("Parcella").SetAsString(reg::LandUseCode(ComboBox4->ItemIndex()));
    Table1.FieldByName("Berveg").SetAsString(expiry);
    Table1.FieldByName("Blok").SetAsString(MaskEdit1->Text());
    Table1.FieldByName("Ont").SetAsString(CheckBox1->Checked() ? "1" : "0");
    Table1.Post();
}

void TForm2::WriteSoilType(const std::string& tableid) {
    Table3.SetFilter(TableidFilter(tableid));
    Table3.SetFiltered(true);
    Table3.Open();
    if (Table3.IsEmpty()) {
        Table3.Insert();
        Table3.FieldByName("Tablakod").SetAsString(tableid);
    } else {
        Table3.Edit();
    }
    Table3.FieldByName("Talajtip").SetAsString(Edit5->Text());
    Table3.Post();
    Table3.Close();
}

// Saves the panel into the land parcel it was loaded from.
void TForm2::Button1Click(TObject*) {
    if (!loaded_ || !Table1.Locate("Tableid", {db::Value(static_cast<std::int32_t>(*loaded_))})) {
        ui::MessageDlg("Kérem válasszon ki egy táblát a listából!", ui::mtWarning, ui::mbOK);
        return;
    }
    if (!NumbersValid())
        return;
    {
        db::SessionTransaction transaction(session_);
        WritePanel();
        WriteSoilType(Table1.FieldByName("Tableid").AsString());
        transaction.Commit();
    }
    Table1.FlushBuffers();
    Close();
}

// Inactivates the land parcel: it drops out of every list, and keeps its row, owner,
// soil-test type and the fields lying on it.
void TForm2::Button2Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    if (ui::MessageDlg("Valóban törölni szeretné a kijelölt táblát (inaktiválás) ?",
                       ui::mtConfirmation, ui::mbYesNo) != ui::mrYes)
        return;
    Table1.Edit();
    Table1.FieldByName("Aktiv").SetAsInteger(0);
    Table1.Post();
    Table1.FlushBuffers();
    Close();
}

void TForm2::Button3Click(TObject*) {
    Close();
}

// A new owner is chosen at once; a cancelled dialog keeps the owner chosen before.
void TForm2::Button4Click(TObject*) {
    std::string chosen = owners_.KeyAt(ComboBox1->ItemIndex());
    std::string created;
    {
        ui::OwnedForm<Tujtulaj> dialog(ujtulaj, session_);
        dialog->ShowModal();
        NewOwnerName = dialog->CreatedOwnerName;
        created = dialog->CreatedOwnerCode;
    }
    FillOwners();
    ComboBox1->SetItemIndex(owners_.PositionOf(created.empty() ? chosen : created));
}
