#include "Parcmodh.h"

#include "Tapanyaggt.h"
#include "cascade_deletes.h"
#include "core/Isnuminth.h"
#include "form_layout.h"
#include "platform/db/filter.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "platform/ui/form_helpers.h"

TParcmod* Parcmod = nullptr;

namespace {

// A visible grid and its hidden twin: headings in row 0, one row per entry from row 1.
struct GridPair {
    ui::TStringGrid* shown;
    ui::TStringGrid* hidden;

    void Clear(const std::vector<std::string>& headings) const {
        shown->SetRowCount(2);
        hidden->SetRowCount(2);
        shown->SetRows(0, headings);
        shown->SetRows(1, std::vector<std::string>(headings.size()));
        hidden->SetRows(1, {"", ""});
    }
    // The last row is reused while it is empty.
    void Append(const std::vector<std::string>& cells, const std::vector<std::string>& keys) const {
        int row = hidden->RowCount() - 1;
        if (!hidden->Cells(0, row).empty()) {
            ++row;
            shown->SetRowCount(row + 1);
            hidden->SetRowCount(row + 1);
        }
        shown->SetRows(row, cells);
        hidden->SetRows(row, keys);
    }
    void Remove(int row) const {
        if (row < 1 || row >= hidden->RowCount())
            return;
        if (hidden->RowCount() <= 2) {
            shown->SetRows(1,
                           std::vector<std::string>(static_cast<std::size_t>(shown->ColCount())));
            hidden->SetRows(1, {"", ""});
            return;
        }
        shown->DeleteRow(row);
        hidden->DeleteRow(row);
    }
    // The keys of the filled rows.
    std::vector<std::pair<std::string, std::string>> Keys() const {
        std::vector<std::pair<std::string, std::string>> keys;
        for (int row = 1; row < hidden->RowCount(); ++row)
            if (!hidden->Cells(0, row).empty() && !hidden->Cells(1, row).empty())
                keys.emplace_back(hidden->Cells(0, row), hidden->Cells(1, row));
        return keys;
    }
};

const std::vector<std::string> kPredecessorHeadings{"G. év", "S.Sz.", "Ágazat", "Terület",
                                                    "Házi megnevezés"};
const std::vector<std::string> kParcelHeadings{"Helyrajzi sz.", "Terület", "Házi megnevezés"};

ui::TStringGrid* MakeGrid(QWidget* parent, std::vector<int> widths, int left, int top, int width,
                          int height) {
    auto* grid = new ui::TStringGrid(parent);
    grid->SetColCount(static_cast<int>(widths.size()));
    for (std::size_t col = 0; col < widths.size(); ++col)
        grid->SetColWidths(static_cast<int>(col), widths[col]);
    grid->SetRowCount(2);
    grid->SetFixedRows(1);
    grid->SetBounds(left, top, width, height);
    return grid;
}

ui::TDBGrid* PickGrid(QWidget* parent, db::TDataSource* source) {
    auto* grid = new ui::TDBGrid(parent);
    grid->SetBounds(8, 26, 444, 220);
    grid->SetDataSource(source);
    grid->SetReadOnly(true);
    grid->SetRowSelect(true);
    return grid;
}

} // namespace

TParcmod::TParcmod(db::Session& session) : session_(session), Side(this, session, 80, 128) {
    SetCaption("Tábla adatainak módosítása");
    SetClientSize(880, 620);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("parcellak.DB");
    Table1.SetFilter("Aktiv = 'A'");
    Table1.SetFiltered(true);
    Table1.SetIndexFieldNames("Evj;Parcsor");
    Table2.SetTableName("Magfajtak.DB");
    Table2.SetIndexName("MagfajtakFIdx");
    Table3.SetTableName("parcellak.DB");
    Table3.SetIndexFieldNames("Evj;Parcsor");
    Table4.SetTableName("tablak.DB");
    Query1.SQL().Add("SELECT parcellak.Parcsor, parcellak.Ter, parcellak.Agazat, parcellak.Evj, "
                     "parcellak.Hazmeg, parcellak.Parckod, Szparcellak.Parckod");
    Query1.SQL().Add("FROM parcellak");
    Query1.SQL().Add("INNER JOIN Szparcellak ON Szparcellak.Szparckod = parcellak.Parckod");
    Query1.SQL().Add("WHERE Szparcellak.Parckod = :kod");
    Query1.SQL().Add("ORDER BY parcellak.Evj, parcellak.Parcsor");
    Query2.SQL().Add("SELECT Tablak.Helysz, Tablak.Ter, Tablak.Hazmeg, Szhelyrajzi.Parcellakod, "
                     "Tablak.Tableid");
    Query2.SQL().Add("FROM Szhelyrajzi");
    Query2.SQL().Add("INNER JOIN tablak ON Szhelyrajzi.Helysz = tablak.Tableid");
    Query2.SQL().Add("WHERE Szhelyrajzi.Parcellakod = :kod");
    Query4.SQL().Add("SELECT *");
    Query4.SQL().Add("FROM kotegyter");
    Query4.SQL().Add("   INNER JOIN celprogramok");
    Query4.SQL().Add("   ON  (kotegyter.Akgkod = celprogramok.Id)  ");
    Query4.SQL().Add("WHERE kotegyter.Deleted = false");

    Label1 = new ui::TLabel(this, "");
    Label1->SetBounds(8, 4, 400, 18);
    Label1->SetBold(true);
    Label2 = ui::AddLabel(this, "Táblát megelőző táblák :", 8, 24, 300);
    StringGrid1 = MakeGrid(this, {50, 45, 120, 80, 115}, 8, 46, 420, 150);
    StringGrid2 = MakeGrid(this, {60, 60}, 8, 46, 10, 10);
    StringGrid2->hide();
    Button4 = new ui::TButton(this, "Tábla hozzáadása");
    Button4->SetBounds(8, 200, 130, 25);
    Button5 = new ui::TButton(this, "Sor törlése");
    Button5->SetBounds(146, 200, 100, 25);
    Label3 = ui::AddLabel(this, "Táblát befogadó ingatlan (hrsz):", 8, 230, 300);
    StringGrid3 = MakeGrid(this, {120, 90, 200}, 8, 252, 420, 150);
    StringGrid4 = MakeGrid(this, {60, 60}, 8, 252, 10, 10);
    StringGrid4->hide();
    Button6 = new ui::TButton(this, "Más terület hozzáadása");
    Button6->SetBounds(8, 406, 160, 25);
    Button7 = new ui::TButton(this, "Sor törlése");
    Button7->SetBounds(176, 406, 100, 25);

    GroupBox1 = new ui::TGroupBox(this, "Általános adatok");
    GroupBox1->SetBounds(436, 24, 436, 550);
    const int l = 8, x = 200;
    ui::AddLabel(GroupBox1, "Gazdasági év :", l, 20);
    Edit3 = ui::AddEdit(GroupBox1, x, 20, 60, 4);
    ui::AddLabel(GroupBox1, "Tábla sorszám :", l, 46);
    Edit4 = ui::AddEdit(GroupBox1, x, 46, 60, 5);
    ui::AddLabel(GroupBox1, "Házi megnevezés :", l, 72);
    Edit1 = ui::AddEdit(GroupBox1, x, 72, 220, 30);
    ui::AddLabel(GroupBox1, "Ágazat :", l, 98);
    ComboBox2 = new ui::TComboBox(GroupBox1, ui::csDropDownList);
    ComboBox2->SetBounds(x, 98, 220, 22);
    ui::AddLabel(GroupBox1, "Hasznosítási kód :", l, 124);
    Edit8 = ui::AddEdit(GroupBox1, x, 124, 60, 5);
    ui::AddLabel(GroupBox1, "Terület (m²) :", l, 150);
    Edit2 = ui::AddEdit(GroupBox1, x, 150, 100);
    ui::AddLabel(GroupBox1, "Hozamterv (t/ha) :", l, 176);
    Edit9 = ui::AddEdit(GroupBox1, x, 176, 80);
    ui::FitToFields(session, "parcellak",
                    {{Edit3, "Evj"}, {Edit4, "Parcsor"}, {Edit2, "Ter"}, {Edit9, "Tervhozam"}});
    ui::AddLabel(GroupBox1, "Szaporítóanyag típusa :", l, 202, 180);
    ComboBox4 = new ui::TComboBox(GroupBox1);
    ComboBox4->SetBounds(x, 202, 160, 22);
    ComboBox4->Items().AddStrings({"Palánta", "Vetőmag"});
    ComboBox4->SetMaxLength(40);
    CheckBox2 = new ui::TCheckBox(GroupBox1, "Másodvetés :");
    CheckBox2->SetBounds(l, 230, 420, 20);
    CheckBox3 = new ui::TCheckBox(GroupBox1, "Vis major eset :");
    CheckBox3->SetBounds(l, 252, 420, 20);
    CheckBox4 = new ui::TCheckBox(GroupBox1, "Tápanyag-gazd. terv teljesült :");
    CheckBox4->SetBounds(l, 274, 420, 20);
    CheckBox5 = new ui::TCheckBox(GroupBox1, "Melléktermék/zöldtrágya talajba forgatása :");
    CheckBox5->SetBounds(l, 296, 420, 20);
    ui::AddLabel(GroupBox1, "Megjegyzés :", l, 320);
    Edit16 = ui::AddEdit(GroupBox1, x, 320, 220, 100);
    CheckBox10 = new ui::TCheckBox(GroupBox1, "AKG-s tábla (igen/nem)");
    CheckBox10->SetBounds(l, 348, 300, 20);
    Ket = reg::PlaceKetChoice(GroupBox1, &DataSource5, l, 372, 420, 170, " :");
    DBGrid5 = Ket.grid;
    Panel4 = Ket.panel;
    CheckBox6 = Ket.kat;
    CheckBox7 = Ket.natura;
    CheckBox8 = Ket.nitrate;
    CheckBox9 = Ket.slope;
    Edit17 = Ket.katText;
    Edit18 = Ket.naturaText;

    int bx = 8;
    auto command = [&](const std::string& caption, int width) {
        auto* b = new ui::TButton(this, caption);
        b->SetBounds(bx, 584, width, 27);
        bx += width + 8;
        return b;
    };
    Button12 = command("Másik tábla", 100);
    Button13 = command("Ültetvény- gyep adatok", 160);
    Button31 = command("Tápanyag-gazdálkodási terv", 190);
    Button20 = command("Tábla lezárása", 120);
    Button3 = command("Rögzítés", 100);
    Button2 = command("Bezárás", 100);

    Panel2 = new ui::TPanel(this);
    Panel2->setAutoFillBackground(true);
    Panel2->SetBounds(328, 48, 460, 290);
    Panel2->hide();
    ui::AddLabel(Panel2, "Parcellák listája :", 8, 2, 300);
    DBGrid2 = PickGrid(Panel2, &DataSource3);
    DBGrid2->Columns().Add("Evj", "G. év", 50);
    DBGrid2->Columns().Add("Parcsor", "S.sz.", 50);
    DBGrid2->Columns().Add("Agazat", "Ágazat", 120);
    DBGrid2->Columns().Add("Ter", "Terület", 80);
    DBGrid2->Columns().Add("Hazmeg", "Házimegnevezés", 120);
    Button8 = new ui::TButton(Panel2, "Kiválaszt");
    Button8->SetBounds(252, 254, 95, 27);
    Button10 = new ui::TButton(Panel2, "Mégsem");
    Button10->SetBounds(357, 254, 95, 27);
    Panel3 = new ui::TPanel(this);
    Panel3->setAutoFillBackground(true);
    Panel3->SetBounds(328, 200, 460, 290);
    Panel3->hide();
    ui::AddLabel(Panel3, "Táblák listája :", 8, 2, 300);
    DBGrid3 = PickGrid(Panel3, &DataSource4);
    DBGrid3->Columns().Add("Helysz", "Helyrajzi szám", 100);
    DBGrid3->Columns().Add("Hazmeg", "Hazi megnevezés", 120);
    DBGrid3->Columns().Add("Ter", "Terület", 70);
    DBGrid3->Columns().Add("Blok", "Blokkkazonosító", 80);
    DBGrid3->Columns().Add("Muvag", "Muvelési ág", 70);
    Button9 = new ui::TButton(Panel3, "Kiválaszt");
    Button9->SetBounds(252, 254, 95, 27);
    Button11 = new ui::TButton(Panel3, "Mégsem");
    Button11->SetBounds(357, 254, 95, 27);
    // While a list to pick from is open, nothing beside it runs: "Másik tábla" would
    // otherwise change the field the pick is for.
    ui::EditBoxOverList(Panel2);
    ui::EditBoxOverList(Panel3);

    Panel1 = new ui::TPanel(this);
    Panel1->setAutoFillBackground(true);
    Panel1->SetBounds(184, 120, 520, 330);
    Panel1->hide();
    ui::AddLabel(Panel1, "Módosítandó parcella kiválasztása.", 8, 2, 400);
    DBGrid1 = new ui::TDBGrid(Panel1);
    DBGrid1->SetBounds(8, 26, 504, 260);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Evj", "G. év", 50);
    DBGrid1->Columns().Add("Parcsor", "S.Sz.", 50);
    DBGrid1->Columns().Add("Ter", "Terület", 80);
    DBGrid1->Columns().Add("Agazat", "Ágazat", 120);
    DBGrid1->Columns().Add("Hazmeg", "Hazimegnevezés", 120);
    DBGrid1->Columns().Add("Masod", "Másodvetés", 70);
    Button1 = new ui::TButton(Panel1, "Kiválasztás");
    Button1->SetBounds(412, 294, 100, 27);

    OnActivate = Handler(&TParcmod::FormActivate);
    OnClose = Handler(&TParcmod::FormClose);
    OnKeyPress = Handler(&TParcmod::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button4, Button5, Button6, Button7, Button8, Button9,
                                Button10, Button11, Button12});
    DBGrid1->OnDblClick = Handler(&TParcmod::Button1Click);
    DBGrid2->OnDblClick = Handler(&TParcmod::Button8Click);
    StringGrid1->OnDblClick = Handler(&TParcmod::Button4Click);
    StringGrid3->OnDblClick = Handler(&TParcmod::Button6Click);
    DBGrid3->OnDblClick = Handler(&TParcmod::Button9Click);
    DBGrid5->OnCellClick = [this](ui::TColumn&) { ketChosen_ = true; };
    Button1->OnClick = Handler(&TParcmod::Button1Click);
    Button2->OnClick = Handler(&TParcmod::Button2Click);
    Button3->OnClick = Handler(&TParcmod::Button3Click);
    Button4->OnClick = Handler(&TParcmod::Button4Click);
    Button5->OnClick = Handler(&TParcmod::Button5Click);
    Button6->OnClick = Handler(&TParcmod::Button6Click);
    Button7->OnClick = Handler(&TParcmod::Button7Click);
    Button8->OnClick = Handler(&TParcmod::Button8Click);
    Button9->OnClick = Handler(&TParcmod::Button9Click);
    Button10->OnClick = [this](TObject*) { Panel2->hide(); };
    Button11->OnClick = [this](TObject*) { Panel3->hide(); };
    Button12->OnClick = Handler(&TParcmod::Button12Click);
    Button13->OnClick = Handler(&TParcmod::Button13Click);
    Button20->OnClick = Handler(&TParcmod::Button20Click);
    Button31->OnClick = Handler(&TParcmod::Button31Click);
    CheckBox10->OnClick = Handler(&TParcmod::CheckBox10Click);
    GridPair{StringGrid1, StringGrid2}.Clear(kPredecessorHeadings);
    GridPair{StringGrid3, StringGrid4}.Clear(kParcelHeadings);
    EnableEditing(false);
}

// The first activation opens the data sets and shows the chooser; the form becomes
// active again after every dialog and form in front of it, and keeps its state then.
void TParcmod::FormActivate(TObject*) {
    if (activated_)
        return;
    activated_ = true;
    ui::OpenOnFirstActivate(this, {&Table1, &Table2, &Table3, &Table4, &Query4});
    Side.Open();
    if (Table1.IsEmpty()) {
        ui::MessageDlg("Nincs módosítható parcella !", ui::mtError, ui::mbOK);
        Close();
        return;
    }
    for (Table2.First(); !Table2.Eof(); Table2.Next())
        ComboBox2->Items().Add(Table2.FieldByName("Faj").AsString());
    Button12Click(nullptr);
}

void TParcmod::FormClose(TObject*, TCloseAction&) {
    Side.Close();
    Query1.Close();
    Query2.Close();
}

void TParcmod::FormKeyPress(TObject*, TKey& Key) {
    if (Panel1->isVisible())
        return;
    // Ctrl+A adds to and Ctrl+T removes from the grid that has the focus.
    if (ActiveControl() == StringGrid1 && ui::Shortcuts(Key, {{'A', Button4}, {'T', Button5}}))
        return;
    if (ActiveControl() == StringGrid3 && ui::Shortcuts(Key, {{'A', Button6}, {'T', Button7}}))
        return;
    ui::Shortcuts(Key, {{'R', Button3}, {'X', Button2}, {'O', Button12}});
}

void TParcmod::EnableEditing(bool on) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             StringGrid1, StringGrid3, Label2, Label3, GroupBox1, Button2, Button13, Button12,
             Button3, Button20, Button31, Button4, Button5, Button6, Button7})
        control->setEnabled(on);
    Button2->setEnabled(true);
}

void TParcmod::LoadGrids() {
    GridPair predecessors{StringGrid1, StringGrid2};
    predecessors.Clear(kPredecessorHeadings);
    Query1.Close();
    Query1.ParamByName("kod").SetAsString(FieldCode);
    Query1.Open();
    for (Query1.First(); !Query1.Eof(); Query1.Next()) {
        auto text = [&](const char* field) { return Query1.FieldByName(field).AsString(); };
        predecessors.Append(
            {text("Evj"), text("Parcsor"), text("Agazat"), text("Ter"), text("Hazmeg")},
            {text("Parckod"), text("Parckod_1")});
    }
    GridPair parcels{StringGrid3, StringGrid4};
    parcels.Clear(kParcelHeadings);
    Query2.Close();
    Query2.ParamByName("kod").SetAsString(FieldCode);
    Query2.Open();
    for (Query2.First(); !Query2.Eof(); Query2.Next()) {
        auto text = [&](const char* field) { return Query2.FieldByName(field).AsString(); };
        parcels.Append({text("Helysz"), text("Ter"), text("Hazmeg")},
                       {text("Parcellakod"), text("Tableid")});
    }
}

void TParcmod::LoadGeneralData() {
    reg::FieldData d = reg::ReadFieldData(Table1);
    Label1->SetCaption(d.parcsor + "/" + d.evj + " parcella módosítása");
    Edit3->SetText(d.evj);
    Edit4->SetText(d.parcsor);
    Edit1->SetText(d.hazmeg);
    ComboBox2->SetItemIndex(ComboBox2->Items().IndexOf(d.agazat));
    Edit8->SetText(d.hasznkod);
    Edit2->SetText(d.ter);
    Edit9->SetText(d.tervhozam);
    ComboBox4->SetText(d.szaporitotip);
    CheckBox2->SetChecked(d.masod);
    CheckBox3->SetChecked(d.vismajor);
    CheckBox4->SetChecked(d.tapanytelj);
    CheckBox5->SetChecked(d.talajbaszantas);
    Edit16->SetText(d.megjegyzes);
    CheckBox10->SetChecked(d.agrkor);
    CheckBox10Click(nullptr);
    Ket.Load(d);
    ketid_ = d.ketid;
    ketChosen_ = d.ketid && Query4.Locate("Id", {db::Value(static_cast<std::int32_t>(*d.ketid))});
    if (!ketChosen_)
        Query4.First();
}

// Choosing the field under the chooser's cursor loads all it has.
void TParcmod::Button1Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    FieldCode = Table1.FieldByName("Parckod").AsString();
    DBGrid1->SetEnabled(false);
    Side.SetField(FieldCode);
    reg::LoadGrassland(session_, FieldCode, *Side.ComboBox1, *Side.ComboBox3);
    LoadGrids();
    LoadGeneralData();
    EnableEditing(true);
    Panel1->hide();
}

void TParcmod::Button12Click(TObject*) {
    EnableEditing(false);
    DBGrid1->SetEnabled(true);
    GridPair{StringGrid1, StringGrid2}.Clear(kPredecessorHeadings);
    GridPair{StringGrid3, StringGrid4}.Clear(kParcelHeadings);
    Side.HideWindow();
    Panel1->show();
    Panel1->raise();
    DBGrid1->setFocus();
}

// Every value is checked before the field is written.
std::optional<reg::FieldData> TParcmod::ReadGeneralData() {
    std::string year(sys::trim(Edit3->Text()));
    std::string serial(sys::trim(Edit4->Text()));
    if (!NumericInt->IsValidInteger(year, "Gazdasági év") ||
        !NumericInt->IsValidYear(year, "Gazdasági év") ||
        !NumericInt->IsValidFor(serial, "Tábla sorszám", "parcellak", "Parcsor") ||
        !NumericInt->IsValidFor(Edit2->Text(), "Terület", "parcellak", "Ter") ||
        !NumericInt->IsValidFor(Edit9->Text(), "Hozamterv", "parcellak", "Tervhozam"))
        return std::nullopt;
    if (year.empty() || serial.empty()) {
        ui::Application->MessageBox("A tábla sorszámát és a gazdasági évet kérem adja meg!",
                                    "Hiányzó adatok!", ui::MB_OK);
        return std::nullopt;
    }
    if (reg::SerialTaken(session_, sys::parseInt(year), sys::parseInt(serial), FieldCode)) {
        ui::Application->MessageBox("Ez a tábla sorszám már létezik az adott gazdasági évben!",
                                    " Tábla sorszám ütközés!", ui::MB_OK);
        return std::nullopt;
    }
    reg::FieldData d = reg::ReadFieldData(Table1);
    d.evj = year;
    d.parcsor = serial;
    d.hazmeg = Edit1->Text();
    if (ComboBox2->ItemIndex() >= 0)
        d.agazat = ComboBox2->Text();
    d.hasznkod = Edit8->Text();
    d.ter = Edit2->Text();
    d.tervhozam = Edit9->Text();
    d.szaporitotip = ComboBox4->Text();
    d.masod = CheckBox2->Checked();
    d.vismajor = CheckBox3->Checked();
    d.tapanytelj = CheckBox4->Checked();
    d.talajbaszantas = CheckBox5->Checked();
    d.megjegyzes = Edit16->Text();
    d.agrkor = CheckBox10->Checked();
    Ket.Store(d);
    // A KET the list does not show stays the field's until another is chosen.
    d.ketid = ketid_;
    if (ketChosen_ && Query4.Active() && !Query4.IsEmpty())
        d.ketid = Query4.FieldByName("Id").AsInteger();
    return d;
}

void TParcmod::Button3Click(TObject*) {
    if (FieldCode.empty() || !Table1.Locate("Parckod", {db::Value(FieldCode)}))
        return;
    if (ui::MessageDlg("Valóban mentsem a módosításokat ?", ui::mtConfirmation, ui::mbYesNo) !=
        ui::mrYes)
        return;
    std::optional<reg::FieldData> general = ReadGeneralData();
    if (!general)
        return;
    std::vector<std::string> predecessors;
    for (const auto& [predecessor, field] : GridPair{StringGrid1, StringGrid2}.Keys())
        predecessors.push_back(predecessor);
    std::vector<int> parcels;
    for (const auto& [field, tableid] : GridPair{StringGrid3, StringGrid4}.Keys())
        if (auto id = sys::tryParseInt(tableid))
            parcels.push_back(*id);
    // The rule of a new field: no larger than the land parcels it lies on.
    if (!general->ter.empty() && !reg::AreaFitsLandParcels(sys::parseFloat(general->ter),
                                                           reg::LandParcelsArea(session_, parcels)))
        return;
    reg::Grassland grass = reg::ReadGrassland(*Side.ComboBox1, *Side.ComboBox3);
    std::string code = FieldCode;

    db::SessionTransaction transaction(session_);
    Table1.Edit();
    reg::WriteFieldData(Table1, *general);
    Table1.Post();
    Table1.FlushBuffers();
    reg::WriteGrassland(session_, code, grass);
    reg::DeleteRows(session_, "Szparcellak", "Parckod = " + db::quoteFilterText(code));
    reg::InsertPredecessorLinks(session_, code, predecessors);
    reg::DeleteRows(session_, "Szhelyrajzi", "Parcellakod = " + db::quoteFilterText(code));
    reg::InsertLandParcelLinks(session_, code, parcels);
    transaction.Commit();
    Close();
}

void TParcmod::Button2Click(TObject*) {
    Close();
}

// Closes the field as stored; edits not saved are not written.
void TParcmod::Button20Click(TObject*) {
    if (FieldCode.empty() || !Table1.Locate("Parckod", {db::Value(FieldCode)}))
        return;
    if (ui::MessageDlg("Valóban zároljam az aktuális táblát ? Ebben az esetben a tábla nem lesz "
                       "aktív, műveletet és módosítást nem lehet rajta végrehajtani.",
                       ui::mtConfirmation, ui::mbYesNo) != ui::mrYes)
        return;
    Table1.Edit();
    Table1.FieldByName("Aktiv").SetAsString("N");
    Table1.Post();
    Table1.FlushBuffers();
    Close();
}

void TParcmod::Button31Click(TObject*) {
    ui::OwnedForm<TTapterv> plan(Tapterv, session_);
    plan->FieldCode = FieldCode;
    plan->ShowModal();
}

// The active fields not yet listed, the edited one neither.
void TParcmod::Button4Click(TObject*) {
    std::string filter = "Aktiv = 'A' AND Parckod <> " + db::quoteFilterText(FieldCode);
    for (int row = 1; row < StringGrid2->RowCount(); ++row)
        if (!StringGrid2->Cells(0, row).empty())
            filter += " AND Parckod <> " + db::quoteFilterText(StringGrid2->Cells(0, row));
    Table3.Close();
    Table3.SetFilter(filter);
    Table3.SetFiltered(true);
    Table3.Open();
    if (Table3.IsEmpty()) {
        ui::MessageDlg("Nincs a listához hozzáadható parcella!", ui::mtWarning, ui::mbOK);
        return;
    }
    Panel2->show();
    Panel2->raise();
    DBGrid2->setFocus();
}

void TParcmod::Button5Click(TObject*) {
    GridPair{StringGrid1, StringGrid2}.Remove(StringGrid1->Row());
}

void TParcmod::Button6Click(TObject*) {
    std::string filter = "Aktiv = 1";
    for (int row = 1; row < StringGrid4->RowCount(); ++row)
        if (auto id = sys::tryParseInt(StringGrid4->Cells(1, row)))
            filter += " AND Tableid <> " + std::to_string(*id);
    Table4.Close();
    Table4.SetFilter(filter);
    Table4.SetFiltered(true);
    Table4.Open();
    if (Table4.IsEmpty()) {
        ui::MessageDlg("Nincs a listához hozzáadható parcella!", ui::mtWarning, ui::mbOK);
        return;
    }
    Panel3->show();
    Panel3->raise();
    DBGrid3->setFocus();
}

void TParcmod::Button7Click(TObject*) {
    GridPair{StringGrid3, StringGrid4}.Remove(StringGrid3->Row());
}

void TParcmod::Button8Click(TObject*) {
    if (Table3.IsEmpty())
        return;
    auto text = [&](const char* field) { return Table3.FieldByName(field).AsString(); };
    GridPair{StringGrid1, StringGrid2}.Append(
        {text("Evj"), text("Parcsor"), text("Agazat"), text("Ter"), text("Hazmeg")},
        {text("Parckod"), FieldCode});
    Panel2->hide();
}

void TParcmod::Button9Click(TObject*) {
    if (Table4.IsEmpty())
        return;
    auto text = [&](const char* field) { return Table4.FieldByName(field).AsString(); };
    GridPair{StringGrid3, StringGrid4}.Append({text("Helysz"), text("Ter"), text("Hazmeg")},
                                              {FieldCode, text("Tableid")});
    Panel3->hide();
}

void TParcmod::Button13Click(TObject*) {
    Side.ShowWindow();
}

void TParcmod::CheckBox10Click(TObject*) {
    Ket.ShowFor(CheckBox10->Checked());
}
