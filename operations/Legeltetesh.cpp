#include "Legeltetesh.h"

#include "core/Isnuminth.h"
#include "platform/db/filter.h"
#include "platform/sys/numbers.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_helpers.h"
#include "resources/Allatfajtah.h"
#include "resources/Korcsoportszh.h"
#include "resources/list_box.h"

TLegeltetes* Legeltetes = nullptr;

using res::AddDBEdit;
using res::AddLabel;

TLegeltetes::TLegeltetes(db::Session& session) : session_(session) {
    SetCaption("Legeltetések naplózása");
    SetClientSize(820, 520);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("parcellak.db");
    Table1.SetIndexFieldNames("Evj;Parcsor");
    Table1.SetFilter("Aktiv = 'A'");
    Table1.SetFiltered(true);
    Table2.SetTableName("legnaplo.db");
    Table4.SetTableName("Allatfajok.db");
    Table4.SetFilter("Deleted = False");
    Table4.SetFiltered(true);
    Table5.SetTableName("Korcsoport.db");
    Table5.SetFilter("Deleted = False");
    Table5.SetFiltered(true);
    for (const char* line :
         {"SELECT legnaplo.Legnapid, parcellak.Parcsor, parcellak.Agazat, legnaplo.Legkezd, "
          "legnaplo.Ter, legnaplo.Darab, legnaplo.Napok, legnaplo.Ae, Allatfajok.Megnev, "
          "Korcsoport.Korcs, legnaplo.Parcid",
          "FROM legnaplo", "   INNER JOIN Allatfajok", "   ON  (legnaplo.Allid = Allatfajok.Id)  ",
          "   INNER JOIN parcellak", "   ON  (parcellak.Parckod = legnaplo.Parcid)  ",
          "   INNER JOIN Korcsoport", "   ON  (legnaplo.Kor_id = Korcsoport.Id)  ",
          "Where legnaplo.Deleted <> True"})
        Query1.SQL().Add(line);

    auto* title = AddLabel(this, "Legeltetések naplózása", 8, 8, 400);
    title->SetBold(true);
    Label1 = AddLabel(this, "", 8, 32, 600);
    DBGrid1 = ui::ListGrid(this, {8, 56, 700, 400}, &DataSource3,
                           {{"Legkezd", "kezdete", 75},
                            {"Napok", "nap", 40},
                            {"Parcsor", "T.s.sz.", 50},
                            {"Agazat", "Ágazat", 90},
                            {"Megnev", "Faj", 90},
                            {"Korcs", "Korcsoport", 90},
                            {"Darab", "Db", 50},
                            {"Ae", "ÁE", 60},
                            {"Ter", "Terület", 70}});
    Button2 = ui::Make<ui::TButton>(this, {716, 56, 96, 27}, "Más parcella");
    Button3 = ui::Make<ui::TButton>(this, {716, 90, 96, 27}, "Új sor");
    Button4 = ui::Make<ui::TButton>(this, {716, 124, 96, 27}, "Módosítás");
    Button5 = ui::Make<ui::TButton>(this, {716, 158, 96, 27}, "Törlés");
    Button6 = ui::Make<ui::TButton>(this, {716, 484, 96, 27}, "Bezárás");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 56, 700, 400}, "Legelő kiválasztása");
    AddLabel(GroupBox1, "Táblák :", 8, 20);
    DBGrid2 = ui::ListGrid(GroupBox1, {8, 42, 560, 348}, &DataSource1,
                           {{"Parcsor", "S.sz.", 45},
                            {"Evj", "G. év.", 50},
                            {"Agazat", "Ágazat", 110},
                            {"Hazmeg", "Házi megnevezés", 150},
                            {"Ter", "Terület", 80},
                            {"Masod", "Másod.", 50}});
    Button1 = ui::Make<ui::TButton>(GroupBox1, {580, 42, 100, 27}, "Kiválasztás");

    GroupBox2 = ui::Make<ui::TGroupBox>(this, {8, 56, 700, 400}, "Legeltetés");
    AddLabel(GroupBox2, "Kezdete :", 12, 28);
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(GroupBox2, {160, 26, 120, 24});
    AddLabel(GroupBox2, "Napok száma :", 12, 60);
    DBEdit1 = AddDBEdit(GroupBox2, &DataSource2, "Napok", 160, 58, 80);
    AddLabel(GroupBox2, "Terület :", 12, 92);
    DBEdit2 = AddDBEdit(GroupBox2, &DataSource2, "Ter", 160, 90, 100);
    AddLabel(GroupBox2, "m²", 264, 92, 30);
    AddLabel(GroupBox2, "Legeltetés módja:", 12, 124);
    Edit1 = ui::Make<ui::TEdit>(GroupBox2, {160, 122, 400, 24});
    Edit1->SetMaxLength(100);
    AddLabel(GroupBox2, "Megjegyzés:", 12, 156);
    DBEdit3 = AddDBEdit(GroupBox2, &DataSource2, "Megjegy", 160, 154, 400);
    AddLabel(GroupBox2, "Állatfaj :", 12, 188);
    DBLookupComboBox1 = ui::Make<ui::TDBLookupComboBox>(GroupBox2, {160, 186, 200, 24});
    DBLookupComboBox1->SetDataSource(&DataSource2);
    DBLookupComboBox1->SetDataField("Allid");
    DBLookupComboBox1->SetListSource(&DataSource4);
    DBLookupComboBox1->SetKeyField("Id");
    DBLookupComboBox1->SetListField("Megnev");
    SpeedButton1 = ui::Make<ui::TButton>(GroupBox2, {366, 186, 24, 24}, "+");
    AddLabel(GroupBox2, "Korcsoport :", 12, 220);
    DBLookupComboBox2 = ui::Make<ui::TDBLookupComboBox>(GroupBox2, {160, 218, 200, 24});
    DBLookupComboBox2->SetDataSource(&DataSource2);
    DBLookupComboBox2->SetDataField("Kor_id");
    DBLookupComboBox2->SetListSource(&DataSource5);
    DBLookupComboBox2->SetKeyField("Id");
    DBLookupComboBox2->SetListField("Korcs");
    SpeedButton2 = ui::Make<ui::TButton>(GroupBox2, {366, 218, 24, 24}, "+");
    AddLabel(GroupBox2, "Darabszám :", 12, 252);
    Edit2 = ui::Make<ui::TEdit>(GroupBox2, {160, 250, 80, 24});
    ui::FitToFields(session, "legnaplo", {{Edit1, "Legmod"}, {Edit2, "Darab"}});
    AddLabel(GroupBox2, "ÁE :", 12, 284);
    DBEdit4 = AddDBEdit(GroupBox2, &DataSource2, "Ae", 160, 282, 100);
    AddLabel(GroupBox2, "ÁE szorzó :", 280, 284, 90);
    DBText1 = ui::Make<ui::TDBText>(GroupBox2, {374, 284, 80, 20});
    DBText1->SetDataSource(&DataSource5);
    DBText1->SetDataField("Aepdb");
    Button7 = ui::Make<ui::TButton>(GroupBox2, {480, 350, 96, 27}, "Mégsem");
    Button8 = ui::Make<ui::TButton>(GroupBox2, {584, 350, 96, 27}, "Rögzítés");
    GroupBox2->Hide();
    ui::EditBoxOverList(GroupBox2);

    OnShow = Handler(&TLegeltetes::FormShow);
    OnClose = Handler(&TLegeltetes::FormClose);
    Button1->OnClick = Handler(&TLegeltetes::Button1Click);
    Button2->OnClick = Handler(&TLegeltetes::Button2Click);
    Button3->OnClick = Handler(&TLegeltetes::Button3Click);
    Button4->OnClick = Handler(&TLegeltetes::Button4Click);
    Button5->OnClick = Handler(&TLegeltetes::Button5Click);
    Button6->OnClick = Handler(&TLegeltetes::Button6Click);
    Button7->OnClick = Handler(&TLegeltetes::Button7Click);
    Button8->OnClick = Handler(&TLegeltetes::Button8Click);
    SpeedButton1->OnClick = Handler(&TLegeltetes::SpeedButton1Click);
    SpeedButton2->OnClick = Handler(&TLegeltetes::SpeedButton2Click);
    Edit2->OnChange = Handler(&TLegeltetes::Edit2Change);
    DBLookupComboBox1->OnClick = Handler(&TLegeltetes::DBLookupComboBox1Click);
    DBLookupComboBox2->OnClick = Handler(&TLegeltetes::DBLookupComboBox2Click);
}

void TLegeltetes::FormShow(TObject*) {
    Table1.Open();
    Table2.Open();
    Table4.Open();
    Table5.Open();
    Query1.Open();
    res::ShowBox(GroupBox1, 8, 56, "Legelő kiválasztása");
}

void TLegeltetes::FormClose(TObject*, TCloseAction&) {
    Table2.Cancel();
    for (db::TDataSet* dataSet :
         std::initializer_list<db::TDataSet*>{&Query1, &Table1, &Table2, &Table4, &Table5})
        dataSet->Close();
}

void TLegeltetes::ReopenList() {
    Query1.Close();
    Query1.SetFilter(parckod_.empty() ? std::string()
                                      : "Parcid = " + db::quoteFilterText(parckod_));
    Query1.SetFiltered(!parckod_.empty());
    Query1.Open();
}

// 1. The current field of the selection grid becomes the pasture.
void TLegeltetes::Button1Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    parckod_ = Table1.FieldByName("Parckod").AsString();
    fieldTer_ = Table1.FieldByName("Ter").AsFloat();
    Label1->SetCaption("Tábla : " + Table1.FieldByName("Agazat").AsString() + "/" +
                       Table1.FieldByName("Evj").AsString() + ", " +
                       Table1.FieldByName("Hazmeg").AsString());
    ReopenList();
    GroupBox1->Hide();
    Button3->SetFocus();
}

void TLegeltetes::Button2Click(TObject*) {
    res::ShowBox(GroupBox1, 8, 56, "Legelő kiválasztása");
}

// 2. A new row starts with today and the whole field's area.
void TLegeltetes::Button3Click(TObject*) {
    if (parckod_.empty())
        return;
    DateTimePicker1->SetDate(sys::today());
    Table2.Insert();
    Edit1->SetText("");
    Edit2->SetText("");
    Table2.FieldByName("Ter").SetAsInteger(std::llround(fieldTer_));
    res::ShowBox(GroupBox2, 8, 56, "Legeltetés");
}

bool TLegeltetes::LocateChosenRow() {
    if (!Query1.Active() || Query1.IsEmpty())
        return false;
    return Table2.Locate("Legnapid", {Query1.FieldByName("Legnapid").AsValue()});
}

// 3. The chosen row is edited; its stored livestock units stay until the count changes.
void TLegeltetes::Button4Click(TObject*) {
    if (!LocateChosenRow())
        return;
    res::ShowDate(DateTimePicker1, Table2.FieldByName("Legkezd"));
    Table2.Edit();
    Edit1->SetText(Table2.FieldByName("Legmod").AsString());
    Edit2->SetText(Table2.FieldByName("Darab").AsString());
    res::ShowBox(GroupBox2, 8, 56, "Legeltetés");
}

// 5. Rows are only marked deleted.
void TLegeltetes::Button5Click(TObject*) {
    if (!LocateChosenRow())
        return;
    if (ui::MessageDlg("Valóban töröljem a kiválasztott legeltetést ?", ui::mtError, ui::mbYesNo) !=
        ui::mrYes)
        return;
    Table2.Edit();
    Table2.FieldByName("Deleted").SetAsBoolean(true);
    Table2.Post();
    Table2.FlushBuffers();
    ReopenList();
}

void TLegeltetes::Button6Click(TObject*) {
    Close();
}

void TLegeltetes::CloseEditing() {
    GroupBox2->Hide();
}

void TLegeltetes::Button7Click(TObject*) {
    Table2.Cancel();
    Edit2->SetText("");
    CloseEditing();
}

// 4. A row without its species or age group would vanish from the list (which joins
// both), so it is refused.
void TLegeltetes::Button8Click(TObject*) {
    if (Table2.FieldByName("Allid").IsNull() || Table2.FieldByName("Kor_id").IsNull()) {
        ui::MessageDlg("Kérem, adja meg az állatfajt és a korcsoportot!", ui::mtWarning, ui::mbOK);
        return;
    }
    // The grazed area is a part of the field; a grazing lasts days.
    const std::string area = DBEdit2->Text();
    if (!NumericInt->IsValidReal(DBEdit1->Text(), "Napok száma", TNumericInt::Bound::Positive) ||
        !NumericInt->IsValidReal(area, "Terület", TNumericInt::Bound::Positive) ||
        !NumericInt->IsValidFor(Edit2->Text(), "Darabszám", "legnaplo", "Darab") ||
        (!area.empty() && !res::AreaFitsField(sys::parseFloat(area), fieldTer_)))
        return;
    Table2.FieldByName("Legkezd").SetAsDateTime(DateTimePicker1->Date());
    Table2.FieldByName("Parcid").SetAsString(parckod_);
    Table2.FieldByName("Legmod").SetAsString(Edit1->Text());
    Table2.FieldByName("Darab").SetAsString(Edit2->Text());
    Table2.FieldByName("Deleted").SetAsBoolean(false);
    Table2.Post();
    Table2.FlushBuffers();
    ReopenList();
    CloseEditing();
}

// The species and age groups added there are offered at once.
void TLegeltetes::SpeedButton1Click(TObject*) {
    ui::ShowModalForm(Allatfajta, session_);
    if (Table4.Active())
        Table4.Refresh();
}

void TLegeltetes::SpeedButton2Click(TObject*) {
    ui::ShowModalForm(Korcsoportok, session_);
    if (Table5.Active())
        Table5.Refresh();
}

// 6.
void TLegeltetes::ComputeLivestockUnits() {
    if (GroupBox2->isHidden() || Edit2->Text().empty() ||
        Table2.State() == db::DataSetState::Browse)
        return;
    const std::optional<double> count = sys::tryParseFloat(Edit2->Text());
    if (!count) {
        ui::MessageDlg("Az állategység számítás nem sikerült. Valószínűleg a darabszám "
                       "helytelenül lett megadva.",
                       ui::mtError, ui::mbOK);
        Table2.FieldByName("Ae").SetAsFloat(0);
        return;
    }
    const double factor = Table5.IsEmpty() ? 0 : Table5.FieldByName("Aepdb").AsFloat();
    Table2.FieldByName("Ae").SetAsFloat(*count * factor);
}

void TLegeltetes::Edit2Change(TObject*) {
    ComputeLivestockUnits();
}

void TLegeltetes::DBLookupComboBox2Click(TObject*) {
    ComputeLivestockUnits();
}

// 7. The age groups of the chosen species.
void TLegeltetes::DBLookupComboBox1Click(TObject*) {
    if (Table4.IsEmpty())
        return;
    Table5.Close();
    Table5.SetFilter("Deleted = False AND Allid = " + Table4.FieldByName("Id").AsString());
    Table5.SetFiltered(true);
    Table5.Open();
}
