#include "Talajmintalisth.h"

#include "core/Isnuminth.h"
#include "platform/sys/datetime.h"
#include "platform/ui/form_helpers.h"

TTalajmintalist* Talajmintalist = nullptr;

namespace reg {

std::string SoilTestListCondition(const std::vector<int>& landParcels, const std::string& year,
                                  bool averagesOnly) {
    std::string condition;
    if (!landParcels.empty()) {
        condition += " And (";
        for (std::size_t i = 0; i < landParcels.size(); ++i) {
            if (i > 0)
                condition += " Or ";
            condition += "Tablakod = '" + std::to_string(landParcels[i]) + "'";
        }
        condition += ")";
    }
    if (!year.empty())
        condition += " And (Ev = " + year + ")";
    condition += averagesOnly ? " And (Mintas = 0)" : " And (Mintas != 0)";
    return condition;
}
} // namespace reg

TTalajmintalist::TTalajmintalist(db::Session& session) : session_(session) {
    SetCaption("Talajvizsgálatok listázása");
    SetClientSize(900, 620);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("tablak.DB");
    Table1.SetFilter("Aktiv = 1");
    Table1.SetFiltered(true);
    Table1.SetIndexFieldNames("Helysz");
    Table2.SetTableName("Talajmintak.DB");
    Query2.SQL().Add("SELECT DISTINCT Ev");
    Query2.SQL().Add("FROM Talajmintak");
    Query2.SQL().Add("ORDER BY Ev");
    reg::SetSamplingPlaceQuery(Query3);

    Label1 = new ui::TLabel(this, "Talajvizsgálatok lekérdezése");
    Label1->SetBounds(8, 4, 300, 20);
    Label1->SetBold(true);
    (new ui::TLabel(this, "Táblák :"))->SetBounds(8, 26, 100, 16);
    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 44, 400, 150);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->SetMultiSelect(true);
    DBGrid1->Columns().Add("Helysz", "Helyrajzi szám", 110);
    DBGrid1->Columns().Add("Hazmeg", "Hazi megnevezés", 160);
    DBGrid1->Columns().Add("Ter", "Terület", 80);
    (new ui::TLabel(this, "Év :"))->SetBounds(420, 47, 60, 16);
    ComboBox1 = new ui::TComboBox(this);
    ComboBox1->SetBounds(480, 44, 90, 22);
    ui::YearBox(ComboBox1);
    CheckBox1 = new ui::TCheckBox(this, "Táblaátlagok :");
    CheckBox1->SetBounds(420, 74, 150, 20);
    CheckBox1->setToolTip(QString::fromUtf8("Kipipálva csak az átlagok jelennek meg"));
    Button1 = new ui::TButton(this, "Szűrés");
    Button1->SetBounds(420, 104, 120, 27);
    Button2 = new ui::TButton(this, "Szűrők törlése");
    Button2->SetBounds(420, 138, 120, 27);

    (new ui::TLabel(this, "Laboreredmények :"))->SetBounds(8, 202, 150, 16);
    (new ui::TLabel(this, "Ha a s.sz. 0 akkor a tábla átlagáról van szó."))
        ->SetBounds(160, 202, 400, 16);
    DBGrid2 = new ui::TDBGrid(this);
    DBGrid2->SetBounds(8, 220, 884, 350);
    DBGrid2->SetDataSource(&DataSource2);
    DBGrid2->SetReadOnly(true);
    DBGrid2->SetRowSelect(true);
    DBGrid2->Columns().Add("Helysz", "Helyrajzi szám", 90);
    DBGrid2->Columns().Add("Datum", "Dátum", 80);
    DBGrid2->Columns().Add("Ev", "Év", 45);
    DBGrid2->Columns().Add("Mintas", "Sorsz.", 45);
    DBGrid2->Columns().Add("Mintajel", "Mintajel", 70);
    DBGrid2->Columns().Add("Melyseg", "Mélység", 60);
    const char* captions[] = {"pH (kémhatás)",
                              "KA (kötöttség)",
                              "Só",
                              "Mész",
                              "H% (humusz)",
                              "NO3+NO2-N",
                              "P2O5",
                              "K2O",
                              "Mg",
                              "Mn",
                              "Na",
                              "Zn",
                              "Cu",
                              "Fe",
                              "Mo",
                              "B",
                              "SO4 (kén)",
                              "Al",
                              "As",
                              "Cd",
                              "Co",
                              "Cr",
                              "Hg",
                              "Ni",
                              "Pb"};
    for (std::size_t i = 0; i < reg::kSoilElements; ++i)
        DBGrid2->Columns().Add(reg::SoilAnalytes()[i].column, captions[i], 55);
    DBGrid2->Columns().Add("Humuszk", "Nitrogén ellátottság", 110);
    DBGrid2->Columns().Add("Foszfork", "Foszfor ellátottság", 110);
    DBGrid2->Columns().Add("Kaliumk", "Kalium ellátottság", 110);

    auto button = [this](const char* caption, int left) {
        auto* b = new ui::TButton(this, caption);
        b->SetBounds(left, 582, 120, 27);
        return b;
    };
    Button4 = button("Nyomtatási kép", 8);
    Button3 = button("Nyomtatás", 134);
    Button5 = button("Módosítás", 260);
    Button6 = button("Törlés", 386);
    Button7 = button("Bezárás", 772);

    GroupBox1 = new ui::TGroupBox(this, "Eredmények módosítása");
    GroupBox1->SetBounds(8, 8, 884, 400);
    Label2 = new ui::TLabel(GroupBox1, "Terület (Hrsz):");
    Label2->SetBounds(12, 24, 300, 16);
    Edit1 = ui::CaptionedEdit(GroupBox1, "Vizsgló labor neve :", 320, 20, 122, 120);
    (new ui::TLabel(GroupBox1, "Dátum :"))->SetBounds(12, 51, 120, 16);
    DateTimePicker1 = new ui::TDateTimePicker(GroupBox1);
    DateTimePicker1->SetBounds(134, 48, 120, 22);
    Edit2 = ui::CaptionedEdit(GroupBox1, "Minta sorszáma :", 12, 76, 122, 120);
    Edit3 = ui::CaptionedEdit(GroupBox1, "Mintajel :", 320, 76, 122, 120);
    Edit4 = ui::CaptionedEdit(GroupBox1, "Mélység :", 600, 76, 122, 120);
    AnalyteEdits = reg::MakeAnalyteEdits(GroupBox1, 12, 110, 0);
    for (std::size_t i = 0; i < AnalyteEdits.size(); ++i)
        ui::FitToFields(session, "Talajmintak", {{AnalyteEdits[i], reg::SoilAnalytes()[i].column}});
    ComboBox2 = reg::SupplyClassBox(GroupBox1, 12, 330, "Nitrogén :");
    ComboBox3 = reg::SupplyClassBox(GroupBox1, 210, 330, "Foszfor :");
    ComboBox4 = reg::SupplyClassBox(GroupBox1, 408, 330, "Kálium :");
    ui::FitToFields(session, "Talajmintak",
                    {{Edit1, "Labor"},
                     {Edit2, "Mintas"},
                     {Edit3, "Mintajel"},
                     {Edit4, "Melyseg"},
                     {ComboBox2, "Humuszk"},
                     {ComboBox3, "Foszfork"},
                     {ComboBox4, "Kaliumk"}});
    Button8 = new ui::TButton(GroupBox1, "Mintahely megadása/megváltoztatása");
    Button8->SetBounds(12, 364, 250, 27);
    Button9 = new ui::TButton(GroupBox1, "Mégsem");
    Button9->SetBounds(690, 364, 85, 27);
    Button10 = new ui::TButton(GroupBox1, "Rögzít");
    Button10->SetBounds(785, 364, 85, 27);
    GroupBox1->SetVisible(false);
    ui::EditBoxOverList(GroupBox1);
    PlaceBox = std::make_unique<reg::SamplingPlaceBox>(this, &DataSource3, "megváltoztat");

    PopupMenu1 = ui::ButtonMenu(this, {{"Nyomtatás         CTRL+P", Button3},
                                       {"Nyomtatási kép  CTRL+I", Button4},
                                       {"Módosítás           CTRL+M", Button5},
                                       {"Törlés                 CTRL+T", Button6},
                                       {"Bezárás              CTRL+X", Button7}});
    SetPopupMenu(PopupMenu1);

    OnShow = Handler(&TTalajmintalist::FormShow);
    OnActivate = Handler(&TTalajmintalist::FormActivate);
    OnClose = Handler(&TTalajmintalist::FormClose);
    OnKeyPress = Handler(&TTalajmintalist::FormKeyPress);
    SetKeyPreview(true);
    // Enter on the result list modifies (its own handler below).
    SetEnterMovesLikeTab(true, {Button1, Button2, Button3, Button4, Button5, Button6, Button7,
                                Button9, Button10, DBGrid2});
    DBGrid2->OnDblClick = Handler(&TTalajmintalist::Button5Click);
    DBGrid2->OnKeyPress = [this](TObject*, TKey& key) { // Enter on the list modifies
        if (key != ui::keyEnter)
            return;
        key = ui::keyNone;
        if (Button5->isEnabled())
            Button5Click(Button5);
    };
    Button1->OnClick = Handler(&TTalajmintalist::Button1Click);
    Button2->OnClick = Handler(&TTalajmintalist::Button2Click);
    Button3->OnClick = Handler(&TTalajmintalist::Button3Click);
    Button4->OnClick = Handler(&TTalajmintalist::Button4Click);
    Button5->OnClick = Handler(&TTalajmintalist::Button5Click);
    Button6->OnClick = Handler(&TTalajmintalist::Button6Click);
    Button7->OnClick = Handler(&TTalajmintalist::Button7Click);
    Button8->OnClick = Handler(&TTalajmintalist::Button8Click);
    Button9->OnClick = Handler(&TTalajmintalist::Button9Click);
    Button10->OnClick = Handler(&TTalajmintalist::Button10Click);
    PlaceBox->OkButton->OnClick = Handler(&TTalajmintalist::PlaceChangeClick);
    PlaceBox->CancelButton->OnClick = Handler(&TTalajmintalist::PlaceCancelClick);
}

void TTalajmintalist::FormShow(TObject*) {
    Query3.Open();
    ChosenPlace = -1;
}

void TTalajmintalist::FormActivate(TObject*) {
    const bool first = !Table1.Active();
    ui::OpenOnFirstActivate(this, {&Table1, &Table2, &Query3});
    if (!first)
        return;
    if (Table1.IsEmpty()) {
        ui::MessageDlg("Nincsenek táblák rögzítve ! Nem lehetséges talajvizsgálatok lekérdezése.",
                       ui::mtWarning, ui::mbOK);
        for (ui::TButton* b : {Button3, Button4, Button5, Button6})
            b->SetEnabled(false);
    }
    Query2.Open();
    ComboBox1->Items().Clear();
    for (Query2.First(); !Query2.Eof(); Query2.Next())
        ComboBox1->Items().Add(Query2.FieldByName("Ev").AsString());
    Query2.Close();
    ComboBox1->SetText("");
    BuildList();
}

void TTalajmintalist::FormClose(TObject*, TCloseAction&) {
    Query1.Close();
}

// Ctrl+P prints, Ctrl+I previews, Ctrl+M modifies,
// Ctrl+T deletes, Ctrl+X closes; a disabled command stays disabled from the keys too.
void TTalajmintalist::FormKeyPress(TObject*, TKey& Key) {
    if (GroupBox1->isVisible() || PlaceBox->GroupBox->isVisible())
        return;
    auto enabled = [](ui::TButton* button) { return button->isEnabled() ? button : nullptr; };
    ui::Shortcuts(Key, {{'P', enabled(Button3)},
                        {'I', enabled(Button4)},
                        {'M', enabled(Button5)},
                        {'T', enabled(Button6)},
                        {'X', Button7}});
}

std::vector<int> TTalajmintalist::MarkedLandParcels() {
    std::vector<int> ids;
    const db::ControlsHeld held(Table1); // the grid stays on its row
    ui::TBookmarkList& marks = DBGrid1->SelectedRows();
    for (int i = 0; i < marks.Count(); ++i) {
        Table1.GotoBookmark(marks[i]);
        ids.push_back(Table1.FieldByName("Tableid").AsInteger());
    }
    return ids;
}

bool TTalajmintalist::BuildList() {
    const std::string year = ComboBox1->Text();
    if (!NumericInt->IsValidInteger(year, "Év") || !NumericInt->IsValidYear(year, "Év"))
        return false;
    Query1.Close();
    Query1.SQL().Clear();
    Query1.SQL().Add("SELECT *");
    Query1.SQL().Add("FROM Talajmintak,tablak");
    Query1.SQL().Add("WHERE (Talajmintak.Tablakod = tablak.Tableid)" +
                     reg::SoilTestListCondition(MarkedLandParcels(), year, CheckBox1->Checked()));
    Query1.SQL().Add("ORDER BY Helysz,Datum,Mintas");
    Query1.Open();
    return true;
}

void TTalajmintalist::Button1Click(TObject*) {
    BuildList();
}

void TTalajmintalist::Button2Click(TObject*) {
    DBGrid1->SelectedRows().Clear();
    ComboBox1->SetText("");
    CheckBox1->SetChecked(true);
}

void TTalajmintalist::Button3Click(TObject*) {
    BuildList();
}

void TTalajmintalist::Button4Click(TObject*) {
    RvProject1.ExecuteActiveReport();
}

bool TTalajmintalist::LocateCurrentResult() {
    if (!Query1.Active() || Query1.IsEmpty())
        return false;
    return Table2.Locate("Mintakod", {db::Value(Query1.FieldByName("Mintakod").AsString())});
}

// The box shows the located result; what is typed is written only by "Rögzít".
void TTalajmintalist::Button5Click(TObject*) {
    if (!LocateCurrentResult())
        return;
    editedCode_ = Table2.FieldByName("Mintakod").AsString();
    Label2->SetCaption("Terület (Hrsz): " + Query1.FieldByName("Helysz").AsString());
    Edit1->SetText(Table2.FieldByName("Labor").AsString());
    DateTimePicker1->SetDate(Table2.FieldByName("Datum").AsDateTime());
    Edit2->SetText(Table2.FieldByName("Mintas").AsString());
    Edit2->SetEnabled(Table2.FieldByName("Mintas").AsInteger() != 0);
    Edit3->SetText(Table2.FieldByName("Mintajel").AsString());
    Edit4->SetText(Table2.FieldByName("Melyseg").AsString());
    const auto& analytes = reg::SoilAnalytes();
    for (std::size_t i = 0; i < analytes.size(); ++i)
        AnalyteEdits[i]->SetText(Table2.FieldByName(analytes[i].column).AsString());
    ComboBox2->SetText(Table2.FieldByName("Humuszk").AsString());
    ComboBox3->SetText(Table2.FieldByName("Foszfork").AsString());
    ComboBox4->SetText(Table2.FieldByName("Kaliumk").AsString());
    GroupBox1->Show();
    GroupBox1->BringToFront();
}

void TTalajmintalist::Button6Click(TObject*) {
    if (!LocateCurrentResult())
        return;
    const std::string code = Table2.FieldByName("Mintakod").AsString();
    if (ui::MessageDlg("Valóban tötöljem a kiválasztott laboreredményt?", ui::mtConfirmation,
                       ui::mbYesNo) != ui::mrYes)
        return;
    if (!Table2.Locate("Mintakod", {db::Value(code)}))
        return;
    {
        db::SessionTransaction transaction(session_);
        Table2.Delete();
        reg::UnlinkResult(session_, code);
        transaction.Commit();
    }
    Table2.FlushBuffers();
    Table2.Refresh();
    BuildList();
}

void TTalajmintalist::Button7Click(TObject*) {
    Close();
}

void TTalajmintalist::Button8Click(TObject*) {
    PlaceBox->Show(8, 8);
}

// "Mégsem" drops what was typed and the sampling place chosen for this result.
void TTalajmintalist::Button9Click(TObject*) {
    ChosenPlace = -1;
    GroupBox1->Hide();
}

void TTalajmintalist::Button10Click(TObject*) {
    const auto& analytes = reg::SoilAnalytes();
    for (std::size_t i = 0; i < analytes.size(); ++i)
        if (!NumericInt->IsValidFor(AnalyteEdits[i]->Text(), analytes[i].label, "Talajmintak",
                                    analytes[i].column))
            return;
    if (!NumericInt->IsValidFor(Edit2->Text(), "mintasorszám", "Talajmintak", "Mintas"))
        return;
    if (Edit2->isEnabled() && Edit2->Text().empty()) {
        ui::MessageDlg("Kérem adja meg a minta sorszámát!", ui::mtWarning, ui::mbOK);
        return;
    }
    const sys::DateTime day = DateTimePicker1->Date();
    if (!Table2.Locate("Mintakod", {db::Value(editedCode_)})) {
        GroupBox1->Hide(); // the result is gone
        ChosenPlace = -1;
        return;
    }
    {
        db::SessionTransaction transaction(session_);
        if (ChosenPlace != -1)
            reg::LinkResultToPlace(session_, editedCode_, ChosenPlace);
        Table2.Edit();
        // The year filter, the list and the diary sheets read Ev: it follows the date.
        Table2.FieldByName("Datum").SetAsDateTime(day);
        Table2.FieldByName("Ev").SetAsInteger(sys::decodeDate(day).year);
        Table2.FieldByName("Labor").SetAsString(Edit1->Text());
        Table2.FieldByName("Mintas").SetAsString(Edit2->Text());
        Table2.FieldByName("Mintajel").SetAsString(Edit3->Text());
        Table2.FieldByName("Melyseg").SetAsString(Edit4->Text());
        for (std::size_t i = 0; i < analytes.size(); ++i)
            Table2.FieldByName(analytes[i].column).SetAsString(AnalyteEdits[i]->Text());
        Table2.FieldByName("Humuszk").SetAsString(ComboBox2->Text());
        Table2.FieldByName("Foszfork").SetAsString(ComboBox3->Text());
        Table2.FieldByName("Kaliumk").SetAsString(ComboBox4->Text());
        Table2.Post();
        transaction.Commit();
    }
    Table2.FlushBuffers();
    ChosenPlace = -1;
    Table2.Refresh();
    BuildList();
    GroupBox1->Hide();
}

void TTalajmintalist::PlaceChangeClick(TObject*) {
    if (!Query3.IsEmpty())
        ChosenPlace = Query3.FieldByName("Id").AsInteger();
    PlaceBox->GroupBox->Hide();
}

void TTalajmintalist::PlaceCancelClick(TObject*) {
    ChosenPlace = -1;
    PlaceBox->GroupBox->Hide();
}
