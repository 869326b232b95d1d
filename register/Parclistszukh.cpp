#include "Parclistszukh.h"

#include "Parclisth.h"
#include "Tablaleker.h"
#include "core/Isnuminth.h"
#include "platform/db/filter.h"
#include "platform/db/sql/sql.h"
#include "platform/ui/form_helpers.h"

TParcListSzuk* ParcListSzuk = nullptr;

namespace {

// "A" + " AND " + "B": appends a condition to a filter that may be empty.
void AndTo(std::string& filter, const std::string& condition) {
    if (!filter.empty())
        filter += " AND ";
    filter += condition;
}

} // namespace

FieldListConditions BuildFieldListConditions(const FieldListChoices& choices) {
    FieldListConditions c;
    c.LandParcelFilter = "Aktiv = 1";
    if (!choices.landParcels.empty()) {
        c.FieldWhereTail += " AND (";
        c.LandParcelFilter += " AND (";
        for (std::size_t i = 0; i < choices.landParcels.size(); ++i) {
            if (i > 0) {
                c.FieldWhereTail += " OR ";
                c.LandParcelFilter += " OR ";
            }
            const std::string id = std::to_string(choices.landParcels[i]);
            c.FieldWhereTail += "Helysz = '" + id + "'";
            c.LandParcelFilter += "Tableid = " + id;
        }
        c.FieldWhereTail += ")";
        c.LandParcelFilter += ")";
    }
    if (!choices.houseNames.empty()) {
        c.HouseNameFilter = "(";
        for (std::size_t i = 0; i < choices.houseNames.size(); ++i) {
            if (i > 0)
                c.HouseNameFilter += " OR ";
            c.HouseNameFilter += "Hazmeg = " + db::quoteFilterText(choices.houseNames[i]);
        }
        c.HouseNameFilter += ")";
    }
    if (!choices.year.empty()) {
        // The year is a whole number by now; it keeps the quotes of the stored filters.
        const std::string year = db::sql::sqlInteger(choices.year);
        c.FieldWhereTail += " AND Evj = '" + year + "'";
        c.FieldFilter = "Evj = '" + year + "'";
    }
    if (!choices.crop.empty()) {
        c.FieldWhereTail += " AND Agazat = " + db::sql::quoteSqlText(choices.crop);
        AndTo(c.FieldFilter, "Agazat = " + db::quoteFilterText(choices.crop));
    }
    if (choices.activeOnly) {
        c.FieldWhereTail += " AND Aktiv = 'A'";
        AndTo(c.FieldFilter, "Aktiv = 'A'");
    }
    c.YearText = choices.year;
    c.CropText = choices.crop;
    return c;
}

TParcListSzuk::TParcListSzuk(db::Session& session) : session_(session) {
    SetCaption("Táblák listájának szűkítése");
    SetClientSize(560, 470);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("tablak.DB");
    Table1.SetFilter("Aktiv = 1");
    Table1.SetFiltered(true);
    Table1.SetIndexFieldNames("Helysz");
    Table2.SetTableName("Szhelyrajzi.db");
    Query1.SQL().Add("SELECT DISTINCT Evj");
    Query1.SQL().Add("FROM parcellak");
    Query1.SQL().Add("ORDER BY Evj");
    Query2.SQL().Add("SELECT DISTINCT Agazat");
    Query2.SQL().Add("FROM parcellak");
    Query2.SQL().Add("ORDER BY Agazat");
    Query3.SQL().Add("SELECT DISTINCT Hazmeg");
    Query3.SQL().Add("FROM Tablak");
    Query3.SQL().Add("ORDER BY Hazmeg");

    Label1 = new ui::TLabel(this, "Táblák lekérdezése");
    Label1->SetBounds(8, 8, 400, 20);
    Label1->SetBold(true);
    Label2 = new ui::TLabel(this, "CTRL-al több tábla is kijelölhető.");
    Label2->SetBounds(8, 32, 300, 16);

    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 52, 544, 250);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->SetMultiSelect(true);
    DBGrid1->Columns().Add("Helysz", "Helyrajzi szám", 120);
    DBGrid1->Columns().Add("Hazmeg", "Hazi megnevezés", 180);
    DBGrid1->Columns().Add("Ter", "Terület", 90);
    DBGrid1->Columns().Add("Blok", "Blokk", 100);

    DBGrid2 = new ui::TDBGrid(this);
    DBGrid2->SetBounds(8, 52, 544, 250);
    DBGrid2->SetDataSource(&DataSource3);
    DBGrid2->SetReadOnly(true);
    DBGrid2->SetRowSelect(true);
    DBGrid2->SetMultiSelect(true);
    DBGrid2->Columns().Add("Hazmeg", "Házi megnevezés (tábla)", 228);
    DBGrid2->SetVisible(false);

    (new ui::TLabel(this, "Gazdasági év :"))->SetBounds(8, 318, 120, 16);
    ComboBox1 = new ui::TComboBox(this);
    ComboBox1->SetBounds(140, 314, 100, 22);
    ui::YearBox(ComboBox1);
    (new ui::TLabel(this, "Ágazat :"))->SetBounds(8, 348, 120, 16);
    ComboBox2 = new ui::TComboBox(this);
    ComboBox2->SetBounds(140, 344, 200, 22);
    ui::FitToFields(session, "parcellak", {{ComboBox2, "Agazat"}});
    CheckBox1 = new ui::TCheckBox(this, "Csak az aktív táblák :");
    CheckBox1->SetBounds(8, 376, 200, 20);
    CheckBox1->setLayoutDirection(Qt::RightToLeft);

    Button1 = new ui::TButton(this, "Összes feltétel törlése");
    Button1->SetBounds(8, 432, 170, 27);
    Button2 = new ui::TButton(this, "Bezárás");
    Button2->SetBounds(362, 432, 90, 27);
    Button3 = new ui::TButton(this, "Rendben");
    Button3->SetBounds(462, 432, 90, 27);
    SetTabOrder({DBGrid1, DBGrid2, ComboBox1, ComboBox2, CheckBox1, Button3, Button1, Button2});

    PopupMenu1 = new ui::TPopupMenu(this);
    PopupMenu1->Add("Tovább >>           CTRL+N")->OnClick = Handler(&TParcListSzuk::Button3Click);
    PopupMenu1->Add("Összes feltétel törlése  CTRL+T")->OnClick =
        Handler(&TParcListSzuk::Button1Click);
    PopupMenu1->Add("Bezárás             CTRL+X")->OnClick = Handler(&TParcListSzuk::Button2Click);
    SetPopupMenu(PopupMenu1);

    OnShow = Handler(&TParcListSzuk::FormShow);
    OnActivate = Handler(&TParcListSzuk::FormActivate);
    OnClose = Handler(&TParcListSzuk::FormClose);
    OnKeyPress = Handler(&TParcListSzuk::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2, Button3});
    Button1->OnClick = Handler(&TParcListSzuk::Button1Click);
    Button2->OnClick = Handler(&TParcListSzuk::Button2Click);
    Button3->OnClick = Handler(&TParcListSzuk::Button3Click);
}

void TParcListSzuk::FormShow(TObject*) {
    if (FieldListMode != 1)
        return;
    SetCaption("Táblák szerinti műveletlekérdezés");
    Label1->SetCaption("Műveletlekérdezés");
    // The house names stand beside the land parcels: both narrow the printout.
    SetClientSize(820, ClientHeight());
    DBGrid2->SetBounds(560, 52, 252, 250);
    DBGrid2->Show();
}

// The boxes are filled on the first activation only: a list or a message closing in
// front of the dialog activates it again, and the choices made must stay.
void TParcListSzuk::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Query1, &Query2, &Table1, &Table2, &Query3});
    if (activated_)
        return;
    activated_ = true;
    for (Query1.First(); !Query1.Eof(); Query1.Next())
        ComboBox1->Items().Add(Query1.FieldByName("Evj").AsString());
    for (Query2.First(); !Query2.Eof(); Query2.Next())
        ComboBox2->Items().Add(Query2.FieldByName("Agazat").AsString());
    ComboBox1->SetText("");
    ComboBox2->SetText("");
}

void TParcListSzuk::FormClose(TObject*, TCloseAction&) {}

void TParcListSzuk::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'N', Button3}, {'T', Button1}, {'X', Button2}});
}

void TParcListSzuk::Button1Click(TObject*) {
    DBGrid1->SelectedRows().Clear();
    DBGrid2->SelectedRows().Clear();
    ComboBox1->SetText("");
    ComboBox2->SetText("");
}

void TParcListSzuk::Button2Click(TObject*) {
    Close();
}

std::vector<int> TParcListSzuk::MarkedLandParcels() {
    std::vector<int> ids;
    const db::ControlsHeld held(Table1); // the grid stays on its row
    ui::TBookmarkList& marks = DBGrid1->SelectedRows();
    for (int i = 0; i < marks.Count(); ++i) {
        Table1.GotoBookmark(marks[i]);
        ids.push_back(Table1.FieldByName("Tableid").AsInteger());
    }
    return ids;
}

std::vector<std::string> TParcListSzuk::MarkedHouseNames() {
    std::vector<std::string> names;
    const db::ControlsHeld held(Query3); // the grid stays on its row
    ui::TBookmarkList& marks = DBGrid2->SelectedRows();
    for (int i = 0; i < marks.Count(); ++i) {
        Query3.GotoBookmark(marks[i]);
        names.push_back(Query3.FieldByName("Hazmeg").AsString());
    }
    return names;
}

void TParcListSzuk::Button3Click(TObject*) {
    const std::string year = ComboBox1->Text();
    if (!NumericInt->IsValidInteger(year, "Gazdasági év") ||
        !NumericInt->IsValidYear(year, "Gazdasági év"))
        return;
    FieldListChoices choices;
    choices.landParcels = MarkedLandParcels();
    if (FieldListMode == 1)
        choices.houseNames = MarkedHouseNames();
    choices.year = year;
    choices.crop = ComboBox2->Text();
    choices.activeOnly = CheckBox1->Checked();
    const FieldListConditions c = BuildFieldListConditions(choices);
    FieldWhereTail = c.FieldWhereTail;
    YearText = c.YearText;
    CropText = c.CropText;
    LandParcelFilter = c.LandParcelFilter;
    FieldFilter = c.FieldFilter;
    HouseNameFilter = c.HouseNameFilter;
    if (FieldListMode == 1) {
        ui::OwnedForm<TTablalekerdez> holder(Tablalekerdez, session_);
        holder->RvProject1.ExecuteActiveReport();
    } else {
        ui::ShowModalForm(ParcList, session_);
    }
}

void OpenFieldListFilter(db::Session& session, int mode) {
    ui::OwnedForm<TParcListSzuk> dialog(ParcListSzuk, session);
    dialog->FieldListMode = mode;
    dialog->ShowModal();
}
