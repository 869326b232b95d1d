#include "Ujtablak.h"

#include "Ujtulajok.h"
#include "core/Isnuminth.h"
#include "platform/db/filter.h"

TForm2* Form2 = nullptr;

namespace {

ui::TLabel* PanelLabel(QWidget* panel, const std::string& caption, int left, int top) {
    auto* label = new ui::TLabel(panel, caption);
    label->SetBounds(left, top + 4, 120, 16);
    return label;
}

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

    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 8, 370, 454);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Helysz", "Helyrajzi Szám", 110);
    DBGrid1->Columns().Add("Hazmeg", "Házi Megnevezés", 150);
    DBGrid1->Columns().Add("Ter", "Terület", 70);

    GroupBox1 = new ui::TGroupBox(this, "Módosítás :");
    GroupBox1->SetBounds(388, 8, 424, 414);
    const int left = 136;
    Label1 = PanelLabel(GroupBox1, "Helyrajzi szám :", 12, 24);
    Edit1 = new ui::TEdit(GroupBox1);
    Edit1->SetBounds(left, 24, 200, 22);
    Edit1->SetMaxLength(40);
    Label2 = PanelLabel(GroupBox1, "Házi megnevezés :", 12, 54);
    Edit2 = new ui::TEdit(GroupBox1);
    Edit2->SetBounds(left, 54, 200, 22);
    Edit2->SetMaxLength(40);
    Label3 = PanelLabel(GroupBox1, "Blokkazonosító :", 12, 84);
    MaskEdit1 = new ui::TMaskEdit(GroupBox1);
    MaskEdit1->SetBounds(left, 84, 120, 22);
    MaskEdit1->SetEditMask("aaaaa\\-a\\-aa;1;_");
    Label4 = PanelLabel(GroupBox1, "Tulajdonos :", 12, 114);
    ComboBox1 = new ui::TComboBox(GroupBox1, ui::csDropDownList);
    ComboBox1->SetBounds(left, 114, 240, 22);
    Button4 = new ui::TButton(GroupBox1, "+");
    Button4->SetBounds(left + 246, 113, 24, 24);
    Button4->SetHint("Új tulajdonos bevitele");
    Label5 = PanelLabel(GroupBox1, "Terület (m²) :", 12, 144);
    Edit4 = new ui::TEdit(GroupBox1);
    Edit4->SetBounds(left, 144, 100, 22);
    Label6 = PanelLabel(GroupBox1, "Aranykorona ért. :", 12, 174);
    Edit7 = new ui::TEdit(GroupBox1);
    Edit7->SetBounds(left, 174, 100, 22);
    Label7 = PanelLabel(GroupBox1, "Bérleti díj :", 12, 204);
    Edit3 = new ui::TEdit(GroupBox1);
    Edit3->SetBounds(left, 204, 100, 22);
    ComboBox2 = new ui::TComboBox(GroupBox1);
    ComboBox2->SetBounds(left + 106, 204, 130, 22);
    ComboBox2->Items().AddStrings(reg::RentUnits());
    Label8 = PanelLabel(GroupBox1, "Művelési ág :", 12, 234);
    ComboBox3 = new ui::TComboBox(GroupBox1, ui::csDropDownList);
    ComboBox3->SetBounds(left, 234, 200, 22);
    CheckBox2 = new ui::TCheckBox(GroupBox1, "Szerződés lejárta");
    CheckBox2->SetBounds(12, 264, 124, 20);
    DateTimePicker1 = new ui::TDateTimePicker(GroupBox1);
    DateTimePicker1->SetBounds(left, 264, 130, 22);
    CheckBox1 = new ui::TCheckBox(GroupBox1, "Öntözhető");
    CheckBox1->SetBounds(12, 294, 124, 20);
    Label9 = PanelLabel(GroupBox1, "Talajvizsg. típusa :", 12, 324);
    Edit5 = new ui::TEdit(GroupBox1);
    Edit5->SetBounds(left, 324, 200, 22);
    Label10 = PanelLabel(GroupBox1, "Használat alapja:", 12, 354);
    ComboBox4 = new ui::TComboBox(GroupBox1, ui::csDropDownList);
    ComboBox4->SetBounds(left, 354, 240, 22);
    ComboBox4->Items().AddStrings(reg::LandUseTexts());

    Button1 = new ui::TButton(this, "Rögzítés");
    Button1->SetBounds(388, 432, 100, 27);
    Button2 = new ui::TButton(this, "Tábla törlése");
    Button2->SetBounds(498, 432, 100, 27);
    Button3 = new ui::TButton(this, "Mégsem");
    Button3->SetBounds(608, 432, 100, 27);
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
    OnClose = Handler(&TForm2::FormClose);
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
    Table1.Open();
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

void TForm2::FormClose(TObject*, TCloseAction&) {
    Table1.Close();
    Table3.Close();
}

// Ctrl+R saves and Ctrl+T inactivates while the list holds a land parcel; Ctrl+X closes.
void TForm2::FormKeyPress(TObject*, TKey& Key) {
    bool any = Table1.Active() && !Table1.IsEmpty();
    if (Key == ui::ctrlKey('R')) {
        if (any)
            Button1->Click();
    } else if (Key == ui::ctrlKey('T')) {
        if (any)
            Button2->Click();
    } else if (Key == ui::ctrlKey('X')) {
        Button3->Click();
    } else {
        return;
    }
    Key = ui::keyNone;
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

void TForm2::ShowExpiry(db::TField& berveg) {
    bool expires = !reg::IsNoExpiry(berveg);
    CheckBox2->SetChecked(expires);
    DateTimePicker1->SetEnabled(expires);
    if (expires)
        DateTimePicker1->SetDate(berveg.AsDateTime());
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
    ShowExpiry(Table1.FieldByName("Berveg"));
    Edit4->SetText(Table1.FieldByName("Ter").AsString());
    CheckBox1->SetChecked(Table1.FieldByName("Ont").AsInteger() != 0);
    loaded_ = Table1.FieldByName("Tableid").AsInteger();
}

void TForm2::CheckBox2Click(TObject*) {
    DateTimePicker1->SetEnabled(CheckBox2->Checked());
    if (CheckBox2->Checked())
        DateTimePicker1->SetDate(sys::today());
}

bool TForm2::NumbersValid() {
    return NumericInt->IsValidReal(Edit7->Text(), "Aranykorona érték") &&
           NumericInt->IsValidInteger(Edit4->Text(), "Terület") &&
           NumericInt->IsValidReal(Edit3->Text(), "Bérleti díj");
}

void TForm2::WritePanel() {
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
    Table1.FieldByName("Berveg").SetAsString(
        reg::ExpiryText(CheckBox2->Checked(), DateTimePicker1->Date()));
    Table1.FieldByName("Blok").SetAsString(MaskEdit1->Text());
    Table1.FieldByName("Ont").SetAsString(CheckBox1->Checked() ? "1" : "0");
    Table1.Post();
    Table1.FlushBuffers();
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
    WritePanel();
    WriteSoilType(Table1.FieldByName("Tableid").AsString());
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
