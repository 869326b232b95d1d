#include "Parcaktivh.h"

#include "Egyebfajh.h"
#include "Parcbeftenyh.h"
#include "Tapanyaggt.h"
#include "codes.h"
#include "core/Isnuminth.h"
#include "field_rows.h"
#include "form_layout.h"
#include "platform/db/filter.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "platform/ui/form_helpers.h"
#include "side_data.h"

#include <algorithm>

TParcAktiv* ParcAktiv = nullptr;

namespace reg {

std::string SoilTestTypeCode(int itemIndex) {
    switch (itemIndex) {
    case 0:
        return "SZ";
    case 1:
        return "B";
    default:
        return "T";
    }
}

int CarriedSerial(db::Session& session, int evj, int parcsor) {
    if (!SerialTaken(session, evj, parcsor))
        return parcsor;
    db::TTable fields(session, "Table7");
    fields.SetTableName("parcellak.db");
    fields.SetFilter("Evj = " + std::to_string(evj));
    fields.SetFiltered(true);
    fields.Open();
    int highest = parcsor;
    for (fields.First(); !fields.Eof(); fields.Next())
        highest = std::max(highest, fields.FieldByName("Parcsor").AsInteger());
    return highest + 1;
}

} // namespace reg

namespace {

// Copies the old field's plantation rows, each with its variety rows, to the new field.
void CopyPlantations(db::Session& session, const std::string& from, const std::string& to) {
    db::TTable old(session, "Table8");
    old.SetTableName("Parckiegadat.db");
    old.SetFilter("Parckod = " + db::quoteFilterText(from));
    old.SetFiltered(true);
    old.Open();
    db::TTable copy(session, "Table9");
    copy.SetTableName("Parckiegadat.db");
    copy.Open();
    db::TTable varieties(session, "Table10");
    varieties.SetTableName("Ultkieg02.db");
    db::TTable varietyCopy(session, "Table11");
    varietyCopy.SetTableName("Ultkieg02.db");
    varietyCopy.Open();
    for (old.First(); !old.Eof(); old.Next()) {
        copy.Insert();
        copy.FieldByName("Parckod").SetAsString(to);
        for (const char* field : {"Tokedb", "Sort", "Fajta", "Tot", "Teve", "Tereve", "Muvmod"})
            copy.FieldByName(field).SetAsValue(old.FieldByName(field).AsValue());
        copy.Post();
        int kiegid = copy.FieldByName("Kiegid").AsInteger();
        varieties.Close();
        varieties.SetFilter("Ultkod = " + old.FieldByName("Kiegid").AsString());
        varieties.SetFiltered(true);
        varieties.Open();
        for (varieties.First(); !varieties.Eof(); varieties.Next()) {
            varietyCopy.Insert();
            varietyCopy.FieldByName("Parckod").SetAsString(to);
            varietyCopy.FieldByName("Ultkod").SetAsInteger(kiegid);
            for (const char* field : {"Alanynev", "Reszarany", "Faj", "Hozam"})
                varietyCopy.FieldByName(field).SetAsValue(varieties.FieldByName(field).AsValue());
            varietyCopy.Post();
        }
    }
    copy.FlushBuffers();
    varietyCopy.FlushBuffers();
}

} // namespace

TParcAktiv::TParcAktiv(db::Session& session) : session_(session) {
    SetCaption("Új tábla meglévő tábla alapján");
    SetClientSize(820, 480);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("parcellak.db");
    Table1.SetFilter("Aktiv = 'A'");
    Table1.SetFiltered(true);
    Table1.SetIndexFieldNames("Evj;Parcsor");
    Table2.SetTableName("Magfajtak.db");
    Table2.SetIndexFieldNames("Faj");

    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 8, 380, 420);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Evj", "G. év", 45);
    DBGrid1->Columns().Add("Parcsor", "S.Sz.", 40);
    DBGrid1->Columns().Add("Agazat", "Ágazat", 110);
    DBGrid1->Columns().Add("Ter", "Terület", 70);
    DBGrid1->Columns().Add("Hazmeg", "Házi megnevezés", 100);

    GroupBox1 = new ui::TGroupBox(this, "Általános adatok");
    GroupBox1->SetBounds(396, 8, 416, 420);
    const int l = 10, x = 190;
    ui::AddLabel(GroupBox1, "Ágazat :", l, 24);
    DBLookupComboBox1 = new ui::TDBLookupComboBox(GroupBox1);
    DBLookupComboBox1->SetBounds(x, 24, 180, 22);
    DBLookupComboBox1->SetListSource(&DataSource2);
    DBLookupComboBox1->SetKeyField("Faj");
    DBLookupComboBox1->SetListField("Faj");
    Button3 = new ui::TButton(GroupBox1, "+");
    Button3->SetBounds(x + 186, 23, 24, 24);
    ui::AddLabel(GroupBox1, "Gazdasági év :", l, 54);
    ComboBox1 = new ui::TComboBox(GroupBox1);
    ComboBox1->SetBounds(x, 54, 80, 22);
    ui::YearBox(ComboBox1);
    ComboBox1->SetMaxLength(4);
    ui::AddLabel(GroupBox1, "Házi megnevezés :", l, 84);
    Edit1 = ui::AddEdit(GroupBox1, x, 84, 210, 30);
    ui::AddLabel(GroupBox1, "Hasznosítási kód :", l, 114);
    Edit2 = ui::AddEdit(GroupBox1, x, 114, 60, 5);
    ui::AddLabel(GroupBox1, "Talajvizsgálat típusa :", l, 144, 170);
    ComboBox2 = new ui::TComboBox(GroupBox1);
    ComboBox2->SetBounds(x, 144, 120, 22);
    ComboBox2->Items().AddStrings({"szűkített", "bővített", "teljes"});
    ComboBox2->SetText("teljes");
    ComboBox2->SetMaxLength(20); // Parclellak02.db Tvizsgtip
    ui::AddLabel(GroupBox1, "Szaporítóanyag típusa :", l, 174, 170);
    ComboBox3 = new ui::TComboBox(GroupBox1);
    ComboBox3->SetBounds(x, 174, 120, 22);
    ComboBox3->Items().AddStrings({"Palánta", "Vetőmag"});
    ComboBox3->SetMaxLength(40);
    ui::AddLabel(GroupBox1, "Hozamterv :", l, 204);
    Edit3 = ui::AddEdit(GroupBox1, x, 204, 80);
    ui::FitToFields(session, "parcellak", {{Edit3, "Tervhozam"}});
    ui::AddLabel(GroupBox1, "t/ha", x + 86, 204, 40);
    CheckBox1 = new ui::TCheckBox(GroupBox1, "Másodvetés :");
    CheckBox1->SetBounds(l, 234, 390, 20);
    CheckBox2 = new ui::TCheckBox(GroupBox1, "Vis major eset :");
    CheckBox2->SetBounds(l, 256, 390, 20);
    CheckBox3 = new ui::TCheckBox(GroupBox1, "Tápanyag-gazd. terv teljesült :");
    CheckBox3->SetBounds(l, 278, 390, 20);
    CheckBox4 = new ui::TCheckBox(GroupBox1, "Melléktermék/zöldtrágya talajba forgatása :");
    CheckBox4->SetBounds(l, 300, 390, 20);
    ui::AddLabel(GroupBox1, "Megjegyzés :", l, 326);
    Edit4 = ui::AddEdit(GroupBox1, x, 326, 210, 100);
    Button4 = new ui::TButton(GroupBox1, "Tápanyag-gazdálkodási terv");
    Button4->SetBounds(l, 370, 190, 27);
    Button5 = new ui::TButton(GroupBox1, "Termelést befolyásoló tényezők");
    Button5->SetBounds(206, 370, 200, 27);
    Button2 = new ui::TButton(this, "Rögzítés");
    Button2->SetBounds(600, 440, 100, 27);
    Button1 = new ui::TButton(this, "Mégsem");
    Button1->SetBounds(712, 440, 100, 27);

    auto* popup = new ui::TPopupMenu(this);
    popup->Add("Rögzítés      CTRL+S")->OnClick = Handler(&TParcAktiv::Button2Click);
    popup->Add("Mégsem       CTRL+X")->OnClick = Handler(&TParcAktiv::Button1Click);
    SetPopupMenu(popup);

    OnActivate = Handler(&TParcAktiv::FormActivate);
    OnClose = Handler(&TParcAktiv::FormClose);
    OnKeyPress = Handler(&TParcAktiv::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    DBGrid1->OnCellClick = [this](ui::TColumn& column) { DBGrid1CellClick(column); };
    DBGrid1->OnKeyUp = [this](int&, Qt::KeyboardModifiers) {
        DBGrid1CellClick(DBGrid1->Columns()[0]);
    };
    Button1->OnClick = Handler(&TParcAktiv::Button1Click);
    Button2->OnClick = Handler(&TParcAktiv::Button2Click);
    Button3->OnClick = Handler(&TParcAktiv::Button3Click);
    Button4->OnClick = Handler(&TParcAktiv::Button4Click);
    Button5->OnClick = Handler(&TParcAktiv::Button5Click);
}

// Rows a form that never ended left with "TEMP" belong to no field: they go first.
void TParcAktiv::FormActivate(TObject*) {
    if (activated_)
        return;
    activated_ = true;
    reg::DiscardProvisionalRows(session_);
    ui::OpenOnFirstActivate(this, {&Table1, &Table2});
    if (Table1.IsEmpty()) {
        ui::Application->MessageBox("Nem léteznek meglévő aktív parcellák !",
                                    "Nincsenek parcellák !", ui::MB_OK);
        Button2->SetEnabled(false);
    }
}

void TParcAktiv::FormClose(TObject*, TCloseAction&) {
    if (!saved_)
        reg::DiscardProvisionalRows(session_);
}

void TParcAktiv::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'S', Button2}, {'X', Button1}});
}

// The years offered are the selected field's own and the three after it.
void TParcAktiv::DBGrid1CellClick(ui::TColumn&) {
    if (Table1.IsEmpty())
        return;
    int evj = Table1.FieldByName("Evj").AsInteger();
    ComboBox1->Items().Clear();
    for (int year = evj; year <= evj + 3; ++year)
        ComboBox1->Items().Add(std::to_string(year));
    ComboBox1->SetText(std::to_string(evj));
}

void TParcAktiv::Button1Click(TObject*) {
    Close();
}

// Every input is checked before the old field is touched; the old field is closed only
// together with the new field's save.
void TParcAktiv::Button2Click(TObject*) {
    std::string year(sys::trim(ComboBox1->Text()));
    if (DBLookupComboBox1->Text().empty() || year.empty()) {
        ui::Application->MessageBox("Ágazat és a gazdasági év kötelező !", "Hiányzó adatok !",
                                    ui::MB_OK);
        return;
    }
    if (!NumericInt->IsValidInteger(year, "Gazdasági év") ||
        !NumericInt->IsValidYear(year, "Gazdasági év") ||
        !NumericInt->IsValidFor(Edit3->Text(), "Hozamterv", "parcellak", "Tervhozam"))
        return;
    if (Table1.IsEmpty())
        return;
    std::string code = reg::NextFieldCode(session_);
    const int oldSerial = Table1.FieldByName("Parcsor").AsInteger();
    const int serial = Carry(code, sys::parseInt(year));
    if (serial != oldSerial)
        ui::MessageDlg("A(z) " + year + ". évben a(z) " + std::to_string(oldSerial) +
                           ". sorszám már foglalt: az új tábla a(z) " + std::to_string(serial) +
                           ". sorszámot kapta.",
                       ui::mtInformation, ui::mbOK);
    saved_ = true;
    CreatedFieldCode = code;
    Close();
}

int TParcAktiv::Carry(const std::string& code, int evj) {
    std::string old = Table1.FieldByName("Parckod").AsString();
    reg::FieldData field = reg::ReadFieldData(Table1);
    const int serial = reg::CarriedSerial(session_, evj, sys::parseInt(field.parcsor));
    field.parcsor = std::to_string(serial);
    field.evj = std::to_string(evj);
    field.agazat = DBLookupComboBox1->Text();
    field.hazmeg = Edit1->Text();
    field.hasznkod = Edit2->Text();
    field.szaporitotip = ComboBox3->Text();
    field.tervhozam = Edit3->Text();
    field.megjegyzes = Edit4->Text();
    field.masod = CheckBox1->Checked();
    field.vismajor = CheckBox2->Checked();
    field.tapanytelj = CheckBox3->Checked();
    field.talajbaszantas = CheckBox4->Checked();
    field.kattam.clear();
    field.nattam.clear();

    db::SessionTransaction transaction(session_);
    // The new field on the old one's land parcels, continuing it.
    reg::InsertLandParcelLinks(session_, code, reg::LandParcelsOf(session_, old));
    reg::InsertPredecessorLinks(session_, code, {old});
    CopyPlantations(session_, old, code);
    db::TTable fields(session_, "Table1");
    fields.SetTableName("parcellak.db");
    fields.Open();
    fields.Insert();
    fields.FieldByName("Parckod").SetAsString(code);
    fields.FieldByName("Aktiv").SetAsString("A");
    reg::WriteFieldData(fields, field);
    fields.Post();
    fields.FlushBuffers();
    reg::InsertSoilTestType(session_, code, reg::SoilTestTypeCode(ComboBox2->ItemIndex()));
    // The plan items and factors entered for it.
    reg::AdoptProvisionalRows(session_, code);
    // The old field is closed last, so that a save that fails leaves it open.
    if (Table1.Locate("Parckod", {db::Value(old)})) {
        Table1.Edit();
        Table1.FieldByName("Aktiv").SetAsString("N");
        Table1.Post();
        Table1.FlushBuffers();
    }
    transaction.Commit();
    return serial;
}

void TParcAktiv::Button3Click(TObject*) {
    {
        ui::OwnedForm<TEgyebFaj> dialog(EgyebFaj, session_);
        dialog->ShowModal();
    }
    Table2.Refresh();
}

void TParcAktiv::Button4Click(TObject*) {
    ui::OwnedForm<TTapterv> plan(Tapterv, session_);
    plan->FieldCode = "TEMP";
    plan->ShowModal();
}

void TParcAktiv::Button5Click(TObject*) {
    ui::OwnedForm<TParcBefTeny> factors(ParcBefTeny, session_);
    factors->FieldCode = "TEMP";
    factors->ShowModal();
}
