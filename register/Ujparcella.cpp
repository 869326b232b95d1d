#include "Ujparcella.h"

#include "Egyebfajh.h"
#include "Parcinaktiv.h"
#include "Tapanyaggt.h"
#include "codes.h"
#include "core/Isnuminth.h"
#include "form_layout.h"
#include "platform/db/filter.h"
#include "platform/sys/datetime.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "platform/ui/form_helpers.h"

#include <algorithm>
#include <set>

TUjparcellaF* UjparcellaF = nullptr;

namespace {

// Walks the marked rows of a multi-select grid, the grid held still and the cursor back
// where it was afterwards.
template <class Visit>
void ForEachMarked(ui::TDBGrid& grid, db::TDataSet& rows, Visit visit) {
    if (!rows.Active() || rows.IsEmpty())
        return;
    const db::ControlsHeld held(rows);
    for (int i = 0; i < grid.SelectedRows().Count(); ++i) {
        const db::TBookmark& mark = grid.SelectedRows()[i];
        if (!rows.BookmarkValid(mark))
            continue;
        rows.GotoBookmark(mark);
        visit(rows);
    }
}

const char* const kMissingData = "A tábla sorszámát, területét, a gazdasági évet, és a helyrajzi "
                                 "számo(ka)t kérem adja meg!";

} // namespace

TUjparcellaF::TUjparcellaF(db::Session& session) : session_(session), Side(this, session, 80, 60) {
    SetCaption("Új tábla kialakítása");
    SetClientSize(820, 600);
    SetPosition(ui::poScreenCenter);

    Table2.SetTableName("tablak.DB");
    Table2.SetFilter("Aktiv = 1");
    Table2.SetFiltered(true);
    Table2.SetIndexName("TablakHelyszind");
    Table3.SetTableName("parcellak.db");
    Table3.SetFilter("Aktiv = 'A'");
    Table3.SetFiltered(true);
    Table3.SetIndexFieldNames("Parc_id;Parckod");
    Table8.SetTableName("Szhelyrajzi.DB");
    Table1.SetTableName("Magfajtak.db");
    Table1.SetIndexName("MagfajtakFIdx");
    Query2.SQL().Add("SELECT *");
    Query2.SQL().Add("FROM kotegyter");
    Query2.SQL().Add("   INNER JOIN celprogramok");
    Query2.SQL().Add("   ON  (kotegyter.Akgkod = celprogramok.Id)  ");
    Query2.SQL().Add("WHERE kotegyter.Deleted = false");

    ui::AddLabel(this, "Helyrajzi számok (CTRL-al több is jelölhető) :", 8, 4, 360);
    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 24, 380, 200);
    DBGrid1->SetDataSource(&DataSource2);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->SetMultiSelect(true);
    DBGrid1->Columns().Add("Helysz", "Helyrajzi szám", 100);
    DBGrid1->Columns().Add("Ter", "Terület", 70);
    DBGrid1->Columns().Add("Hazmeg", "Házi megnevezés", 110);
    DBGrid1->Columns().Add("Blok", "Blokkazonosító", 90);
    Button4 = new ui::TButton(this, "Kijelölés visszavonása");
    Button4->SetBounds(8, 228, 160, 25);
    ui::AddLabel(this, "Megelőző táblák (CTRL-al több is jelölhető) :", 8, 258, 360);
    DBGrid2 = new ui::TDBGrid(this);
    DBGrid2->SetBounds(8, 278, 380, 200);
    DBGrid2->SetDataSource(&DataSource3);
    DBGrid2->SetReadOnly(true);
    DBGrid2->SetRowSelect(true);
    DBGrid2->SetMultiSelect(true);
    DBGrid2->Columns().Add("Evj", "G. év", 45);
    DBGrid2->Columns().Add("Parcsor", "S.Sz.", 40);
    DBGrid2->Columns().Add("Agazat", "Ágazat", 110);
    DBGrid2->Columns().Add("Ter", "Terület", 70);
    DBGrid2->Columns().Add("Hazmeg", "Házi megnevezés", 100);
    Button5 = new ui::TButton(this, "Kijelölés visszavonása");
    Button5->SetBounds(8, 482, 160, 25);

    const int l = 400, x = 560;
    ui::AddLabel(this, "Gazdasági év", l, 8);
    Edit4 = ui::AddEdit(this, x, 8, 60, 4);
    ui::AddLabel(this, "Tábla sorszám", l, 36);
    Edit1 = ui::AddEdit(this, x, 36, 60, 5);
    ui::AddLabel(this, "Házi megnevezés", l, 64);
    Edit2 = ui::AddEdit(this, x, 64, 240, 30);
    ui::AddLabel(this, "Ágazat", l, 92);
    DBLookupComboBox1 = new ui::TDBLookupComboBox(this);
    DBLookupComboBox1->SetBounds(x, 92, 210, 22);
    DBLookupComboBox1->SetListSource(&DataSource1);
    DBLookupComboBox1->SetKeyField("Faj");
    DBLookupComboBox1->SetListField("Faj");
    Button3 = new ui::TButton(this, "+");
    Button3->SetBounds(x + 216, 91, 24, 24);
    ui::AddLabel(this, "Hasznosítási kód", l, 120);
    Edit9 = ui::AddEdit(this, x, 120, 60, 5);
    ui::AddLabel(this, "Az új tábla területe (m²)", l, 148);
    Edit3 = ui::AddEdit(this, x, 148, 100);
    ui::AddLabel(this, "Hozamterv (t/ha)", l, 176);
    Edit8 = ui::AddEdit(this, x, 176, 80);
    ui::FitToFields(session, "parcellak",
                    {{Edit4, "Evj"}, {Edit1, "Parcsor"}, {Edit3, "Ter"}, {Edit8, "Tervhozam"}});
    ui::AddLabel(this, "Szaporítóanyag típusa", l, 204);
    ComboBox2 = new ui::TComboBox(this);
    ComboBox2->SetBounds(x, 204, 160, 22);
    ComboBox2->Items().AddStrings({"Palánta", "Vetőmag"});
    ComboBox2->SetMaxLength(40);
    CheckBox1 = new ui::TCheckBox(this, "Másodvetés");
    CheckBox1->SetBounds(l, 232, 180, 20);
    CheckBox2 = new ui::TCheckBox(this, "Vis major eset");
    CheckBox2->SetBounds(x + 30, 232, 200, 20);
    CheckBox3 = new ui::TCheckBox(this, "Tápanyag-gazd. terv teljesült");
    CheckBox3->SetBounds(l, 254, 400, 20);
    CheckBox4 = new ui::TCheckBox(this, "Melléktermék/zöldtrágya talajba forgatása");
    CheckBox4->SetBounds(l, 276, 400, 20);
    ui::AddLabel(this, "Megjegyzés", l, 300);
    Edit16 = ui::AddEdit(this, x, 300, 240, 100);
    CheckBox5 = new ui::TCheckBox(this, "AKG-s tábla (igen/nem)");
    CheckBox5->SetBounds(l, 330, 300, 20);
    Ket = reg::PlaceKetChoice(this, &DataSource4, l, 354, 412, 150);
    DBGrid4 = Ket.grid;
    Panel2 = Ket.panel;
    CheckBox6 = Ket.kat;
    CheckBox7 = Ket.natura;
    CheckBox8 = Ket.nitrate;
    CheckBox9 = Ket.slope;
    Edit17 = Ket.katText;
    Edit18 = Ket.naturaText;

    Button6 = new ui::TButton(this, "Tápanyag-gazdálkodási terv készítése");
    Button6->SetBounds(8, 520, 250, 27);
    Button7 = new ui::TButton(this, "Ültetvény - gyep adatok");
    Button7->SetBounds(268, 520, 180, 27);
    Button1 = new ui::TButton(this, "Rögzítés");
    Button1->SetBounds(600, 560, 100, 27);
    Button2 = new ui::TButton(this, "Mégsem");
    Button2->SetBounds(712, 560, 100, 27);
    SetTabOrder({DBGrid1,   Button4,           DBGrid2,   Button5,   Edit4,     Edit1,
                 Edit2,     DBLookupComboBox1, Button3,   Edit9,     Edit3,     Edit8,
                 ComboBox2, CheckBox1,         CheckBox2, CheckBox3, CheckBox4, Edit16,
                 CheckBox5, DBGrid4,           Button6,   Button7,   Button1,   Button2});

    OnShow = Handler(&TUjparcellaF::FormShow);
    OnActivate = Handler(&TUjparcellaF::FormActivate);
    OnClose = Handler(&TUjparcellaF::FormClose);
    OnKeyPress = Handler(&TUjparcellaF::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button4, Button5});
    DBGrid1->OnCellClick = [this](ui::TColumn& column) { DBGrid1CellClick(column); };
    Edit4->OnExit = Handler(&TUjparcellaF::Edit4Exit);
    DBLookupComboBox1->OnClick = Handler(&TUjparcellaF::DBLookupComboBox1Click);
    CheckBox5->OnClick = Handler(&TUjparcellaF::CheckBox5Click);
    Button1->OnClick = Handler(&TUjparcellaF::Button1Click);
    Button2->OnClick = Handler(&TUjparcellaF::Button2Click);
    Button3->OnClick = Handler(&TUjparcellaF::Button3Click);
    Button4->OnClick = Handler(&TUjparcellaF::Button4Click);
    Button5->OnClick = Handler(&TUjparcellaF::Button5Click);
    Button6->OnClick = Handler(&TUjparcellaF::Button6Click);
    Button7->OnClick = Handler(&TUjparcellaF::Button7Click);
    CheckBox5->SetChecked(true);
}

// Rows left with an empty or "TEMP" code by a form that never ended belong to no field:
// they go, so that this field does not adopt them.
void TUjparcellaF::FormShow(TObject*) {
    SetWindowState(NumericInt->GetOptionFlag("_UjParcState") ? ui::wsMaximized : ui::wsNormal);
    reg::DiscardProvisionalRows(session_);
    ui::OpenOnFirstActivate(this, {&Table2, &Table3, &Table8, &Table1, &Query2});
    Side.SetField("");
    DBGrid2->SelectedRows().Clear();
}

// The first activation only: the form becomes active again after every dialog.
void TUjparcellaF::FormActivate(TObject*) {
    if (activated_)
        return;
    activated_ = true;
    Side.ComboBox1->SetItemIndex(-1);
    Side.ComboBox3->SetItemIndex(-1);
    Side.ComboBox3->SetText("");
    Edit4->SetText(std::to_string(sys::decodeDate(sys::today()).year));
    DBGrid2->SelectedRows().Clear();
    if (Table2.IsEmpty()) {
        ui::MessageDlg("Nincsenek táblák rögzítve! Táblák nélkül nem lehet parcellát létrhozni!",
                       ui::mtError, ui::mbOK);
        Button1->SetEnabled(false);
        Button7->SetEnabled(false);
    }
}

void TUjparcellaF::FormClose(TObject*, TCloseAction&) {
    if (!saved_)
        reg::DiscardProvisionalRows(session_);
    Side.Close();
}

void TUjparcellaF::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'R', Button1}, {'X', Button2}});
}

TUjparcellaF::Marked TUjparcellaF::MarkedParcels() {
    Marked marked;
    ForEachMarked(*DBGrid1, Table2, [&](db::TDataSet& row) {
        marked.tableids.push_back(row.FieldByName("Tableid").AsInteger());
        marked.area += row.FieldByName("Ter").AsInteger();
    });
    return marked;
}

// The marked predecessors; only those of the chosen sector when `sameSector`.
std::vector<std::string> TUjparcellaF::MarkedPredecessors(bool sameSector) {
    std::vector<std::string> codes;
    std::string sector = DBLookupComboBox1->Text();
    ForEachMarked(*DBGrid2, Table3, [&](db::TDataSet& row) {
        if (!sameSector || row.FieldByName("Agazat").AsString() == sector)
            codes.push_back(row.FieldByName("Parckod").AsString());
    });
    return codes;
}

// The predecessors offered are the active fields on the marked land parcels (on any land
// parcel when none is marked); the area proposed is what the fields of the year leave.
void TUjparcellaF::DBGrid1CellClick(ui::TColumn&) {
    Marked marked = MarkedParcels();
    std::string parcels;
    for (int tableid : marked.tableids)
        parcels += (parcels.empty() ? "" : " OR ") + ("Helysz = " + std::to_string(tableid));
    Table8.Close();
    Table8.SetFilter(parcels);
    Table8.SetFiltered(!parcels.empty());
    Table8.Open();
    std::set<std::string> fields;
    for (Table8.First(); !Table8.Eof(); Table8.Next())
        fields.insert(Table8.FieldByName("Parcellakod").AsString());
    Table8.Close();
    std::string filter;
    for (const std::string& code : fields)
        filter += (filter.empty() ? "" : " OR ") + ("Parckod = " + db::quoteFilterText(code));
    DBGrid2->SelectedRows().Clear();
    Table3.Close();
    double used = 0;
    if (!fields.empty()) {
        Table3.SetFilter("Aktiv = 'A' AND (" + filter + ")");
        Table3.Open();
        const db::ControlsHeld held(Table3, db::ControlsHeld::KeepRow::No); // shown on the first
        for (Table3.First(); !Table3.Eof(); Table3.Next())
            if (Table3.FieldByName("Evj").AsString() == sys::trim(Edit4->Text()))
                used += Table3.FieldByName("Ter").AsFloat();
        Table3.First();
    }
    double left = static_cast<double>(marked.area) - used;
    Edit3->SetText(left > 0 ? sys::floatToText(left) : "0");
}

// The serial proposed is one above the year's highest.
void TUjparcellaF::Edit4Exit(TObject*) {
    std::string year(sys::trim(Edit4->Text()));
    if (!NumericInt->IsValidInteger(year, "gazdasági év") || year.empty())
        return;
    db::TTable fields(session_, "Table7");
    fields.SetTableName("parcellak.DB");
    fields.SetIndexName("Parcsorszind");
    fields.SetFilter("Evj = " + year);
    fields.SetFiltered(true);
    fields.Open();
    if (fields.IsEmpty()) {
        Edit1->SetText("1");
        return;
    }
    fields.Last();
    Edit1->SetText(std::to_string(fields.FieldByName("Parcsor").AsInteger() + 1));
}

void TUjparcellaF::DBLookupComboBox1Click(TObject*) {
    if (!Table1.IsEmpty())
        Edit9->SetText(Table1.FieldByName("Hasznkod").AsString());
}

void TUjparcellaF::CheckBox5Click(TObject*) {
    Ket.ShowFor(CheckBox5->Checked());
}

void TUjparcellaF::MissingData() {
    ui::Application->MessageBox(kMissingData, "Hiányzó adatok!", ui::MB_OK);
}

// Every input is read and checked before anything is written.
std::optional<TUjparcellaF::Input> TUjparcellaF::ReadInput() {
    std::string area(sys::trim(Edit3->Text()));
    std::string year(sys::trim(Edit4->Text()));
    std::string serial(sys::trim(Edit1->Text()));
    if (!NumericInt->IsValidInteger(area, "Terület", TNumericInt::Bound::Positive))
        return std::nullopt;
    if (area.empty()) {
        MissingData();
        return std::nullopt;
    }
    if (!NumericInt->IsValidInteger(year, "Gazdasági év") ||
        !NumericInt->IsValidYear(year, "Gazdasági év"))
        return std::nullopt;
    Marked marked = MarkedParcels();
    if (!year.empty() && !reg::AreaFitsLandParcels(sys::parseInt(area), marked.area))
        return std::nullopt;
    if (serial.empty() || year.empty() || marked.tableids.empty()) {
        MissingData();
        return std::nullopt;
    }
    if (!NumericInt->IsValidFor(serial, "Tábla sorszám", "parcellak", "Parcsor") ||
        !NumericInt->IsValidFor(Edit8->Text(), "Hozamterv", "parcellak", "Tervhozam"))
        return std::nullopt;
    Input in;
    in.evj = sys::parseInt(year);
    in.parcsor = sys::parseInt(serial);
    if (reg::SerialTaken(session_, in.evj, in.parcsor)) {
        ui::Application->MessageBox("Ez a tábla sorszám már létezik az adott gazdasági évben!",
                                    " Tábla sorszám ütközés!", ui::MB_OK);
        Edit1->Clear();
        return std::nullopt;
    }
    if (!MarkedPredecessors(true).empty() &&
        ui::Application->MessageBox(
            "Figyelem ! Monokultúra kialakulásának veszéje áll fenn! Folytatja ?", "Monokultúra !",
            ui::MB_OKCANCEL) != ui::IDOK)
        return std::nullopt;

    reg::FieldData& d = in.data;
    d.evj = std::to_string(in.evj);
    d.parcsor = std::to_string(in.parcsor);
    d.ter = area;
    d.tervhozam = Edit8->Text();
    d.agazat = DBLookupComboBox1->Text();
    d.hazmeg = Edit2->Text();
    d.hasznkod = Edit9->Text();
    d.szaporitotip = ComboBox2->Text();
    d.megjegyzes = Edit16->Text();
    d.masod = CheckBox1->Checked();
    d.vismajor = CheckBox2->Checked();
    d.tapanytelj = CheckBox3->Checked();
    d.talajbaszantas = CheckBox4->Checked();
    d.agrkor = CheckBox5->Checked();
    // A field under no commitment belongs to no KET; the flags stand for it instead.
    if (d.agrkor && Query2.Active() && !Query2.IsEmpty())
        d.ketid = Query2.FieldByName("Id").AsInteger();
    Ket.Store(d);
    in.parcels = marked.tableids;
    in.predecessors = MarkedPredecessors(false);
    in.grass = reg::ReadGrassland(*Side.ComboBox1, *Side.ComboBox3);
    if (!d.agazat.empty() && !Table1.IsEmpty() && Table1.FieldByName("Faj").AsString() == d.agazat)
        in.speciesCode = Table1.FieldByName("Fajkod").AsString();
    return in;
}

void TUjparcellaF::Write(const Input& in, const std::string& code) {
    db::SessionTransaction transaction(session_);
    // Land-parcel and predecessor links.
    reg::InsertLandParcelLinks(session_, code, in.parcels);
    reg::InsertPredecessorLinks(session_, code, in.predecessors);
    // The field itself.
    db::TTable fields(session_, "Table4");
    fields.SetTableName("parcellak.db");
    fields.Open();
    fields.Insert();
    fields.FieldByName("Parckod").SetAsString(code);
    fields.FieldByName("Aktiv").SetAsString("A");
    reg::WriteFieldData(fields, in.data);
    fields.Post();
    fields.FlushBuffers();
    // The side rows, plan items and factors entered for it; its grassland use.
    reg::AdoptProvisionalRows(session_, code);
    if (!in.grass.Empty())
        reg::WriteGrassland(session_, code, in.grass);
    // The usage code typed becomes the species' own.
    if (!in.speciesCode.empty() && !in.data.hasznkod.empty() &&
        Table1.Locate("Fajkod", {db::Value(in.speciesCode)}) &&
        Table1.FieldByName("Hasznkod").AsString() != in.data.hasznkod) {
        Table1.Edit();
        Table1.FieldByName("Hasznkod").SetAsString(in.data.hasznkod);
        Table1.Post();
        Table1.FlushBuffers();
    }
    reg::InsertSoilTestType(session_, code, "");
    transaction.Commit();
}

void TUjparcellaF::Button1Click(TObject*) {
    std::optional<Input> input = ReadInput();
    if (!input)
        return;
    std::string code = reg::NextFieldCode(session_);
    Write(*input, code);
    saved_ = true;
    CreatedFieldCode = code;
    if (!input->predecessors.empty()) {
        ui::OwnedForm<TParcinak> inactivate(Parcinak, session_);
        inactivate->Predecessors = input->predecessors;
        inactivate->ShowModal();
    }
    Close();
}

void TUjparcellaF::Button2Click(TObject*) {
    Close();
}

void TUjparcellaF::Button3Click(TObject*) {
    {
        ui::OwnedForm<TEgyebFaj> dialog(EgyebFaj, session_);
        dialog->ShowModal();
    }
    Table1.Refresh();
}

void TUjparcellaF::Button4Click(TObject*) {
    DBGrid1->SelectedRows().Clear();
}

void TUjparcellaF::Button5Click(TObject*) {
    DBGrid2->SelectedRows().Clear();
}

void TUjparcellaF::Button6Click(TObject*) {
    ui::OwnedForm<TTapterv> plan(Tapterv, session_);
    plan->FieldCode = "TEMP";
    plan->ShowModal();
}

void TUjparcellaF::Button7Click(TObject*) {
    Side.ShowWindow();
}
