#include "Permnaploszukh.h"

#include "Permnaploh.h"
#include "core/Isnuminth.h"
#include "diary_conditions.h"
#include "platform/ui/form_helpers.h"

Tpermnaploszuk* permnaploszuk = nullptr;

Tpermnaploszuk::Tpermnaploszuk(db::Session& session) : session_(session) {
    SetCaption("Permetezési napló feltételei");
    SetHelpContext(22);
    SetClientSize(620, 520);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("parcellak.DB");
    Table1.SetIndexFieldNames("Evj;Parcsor");
    Table1.SetFilter("Aktiv = 'A'");
    Table1.SetFiltered(true);
    Query3.SQL().Add("SELECT DISTINCT Agazat FROM parcellak");
    Query2.SQL().Add("SELECT DISTINCT Evj FROM parcellak");
    Query1.SQL().Add("SELECT Datum");
    Query1.SQL().Add("FROM ElvMuv");
    Query1.SQL().Add("ORDER BY Datum");
    Query4.AddCalcField("Terha", db::FieldType::Alpha, 20);
    Query4.AddCalcField("Agrotechssz", db::FieldType::Alpha, 10);
    Query4.OnCalcFields = [this](db::TDataSet& rows) { Query4CalcFields(rows); };

    const lists::ConditionControls c = lists::MakeConditionControls(
        this, &DataSource1, &Table1, {"Aktív táblák", "Ágazatok :", "Nyomtatás"},
        {{"Evj", "G. év", 60},
         {"Parcsor", "S.Sz.", 60},
         {"Agazat", "Ágazat", 170},
         {"Ter", "Terület", 90},
         {"Hazmeg", "Házimegnevezés", 190}});
    DBGrid1 = c.grid;
    CheckBox1 = c.active;
    ComboBox1 = c.sector;
    ui::FitToFields(session, "parcellak", {{ComboBox1, "Agazat"}});
    ComboBox2 = c.year;
    DateTimePicker1 = c.from;
    DateTimePicker2 = c.to;
    Button1 = c.clearButton;
    Button2 = c.next;
    Button3 = c.back;
    Button4 = ui::Make<ui::TButton>(this, {168, 480, 120, 27}, "GN10 nyomtatás");
    SetTabOrder({DBGrid1, CheckBox1, ComboBox1, ComboBox2, DateTimePicker1, DateTimePicker2,
                 Button2, Button4, Button1, Button3});
    const lists::ConditionMenu menu = lists::MakeConditionMenu(
        this, Handler(&Tpermnaploszuk::Aktvparcellk1Click), Handler(&Tpermnaploszuk::Button1Click),
        Handler(&Tpermnaploszuk::Button2Click), Handler(&Tpermnaploszuk::Button3Click));
    PopupMenu1 = menu.menu;
    Aktvparcellk1 = menu.active;

    OnActivate = Handler(&Tpermnaploszuk::FormActivate);
    OnKeyPress = Handler(&Tpermnaploszuk::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2, Button3});
    Button1->OnClick = Handler(&Tpermnaploszuk::Button1Click);
    Button2->OnClick = Handler(&Tpermnaploszuk::Button2Click);
    Button3->OnClick = Handler(&Tpermnaploszuk::Button3Click);
    Button4->OnClick = Handler(&Tpermnaploszuk::Button4Click);
    CheckBox1->OnClick = Handler(&Tpermnaploszuk::CheckBox1Click);
}

lists::ConditionControls Tpermnaploszuk::Controls() {
    return {DBGrid1,         &Table1, ComboBox1, ComboBox2, DateTimePicker1,
            DateTimePicker2, Button1, CheckBox1, Button2,   Button3};
}

void Tpermnaploszuk::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Query1, &Query2, &Query3, &Table1, &FarmRow1.Table});
    lists::ActivateConditions(this, Query1, Query3, Query2, Controls(), Button2);
}

// Only Ctrl+A toggles the active fields: a year typed with a 9 in it leaves them alone.
void Tpermnaploszuk::FormKeyPress(TObject*, TKey& Key) {
    if (Key == ui::ctrlKey('A')) {
        Aktvparcellk1->Click();
        Key = ui::keyNone;
        return;
    }
    ui::Shortcuts(Key, {{'N', Button2}, {'T', Button1}, {'X', Button3}});
}

void Tpermnaploszuk::Button1Click(TObject*) {
    lists::ClearConditions(Query1, Controls());
}

// The year is checked first; the tail and the date range are built only for a year (or
// an empty box).
bool Tpermnaploszuk::BuildConditions() {
    if (!NumericInt->IsValidInteger(ComboBox2->Text(), "Betakarítás éve") ||
        !NumericInt->IsValidYear(ComboBox2->Text(), "Betakarítás éve"))
        return false;
    const lists::OperationChoices choices = lists::ReadChoices(Controls());
    ConditionTail = spray::SprayConditionTail(choices);
    DateRangeFilter = lists::BuildOperationConditions(choices).DateRangeFilter;
    return true;
}

void Tpermnaploszuk::Button2Click(TObject*) {
    if (!BuildConditions())
        return;
    ui::ShowModalForm(PermNaplo, session_);
}

void Tpermnaploszuk::Button3Click(TObject*) {
    Close();
}

// The sheet is printed from whatever the conditions give, also when that is nothing.
void Tpermnaploszuk::Button4Click(TObject*) {
    if (!BuildConditions())
        return;
    Lookups.Load(session_);
    Query4.Close();
    Query4.SetFilter(DateRangeFilter);
    Query4.SetFiltered(true);
    Query4.SQL().Clear();
    for (const std::string& line : spray::SprayLogSql(ConditionTail))
        Query4.SQL().Add(line);
    Query4.Open();
    RvProject1.ExecuteActiveReport();
    Query4.Close();
}

void Tpermnaploszuk::CheckBox1Click(TObject*) {
    ActiveFieldBoxClicked(*CheckBox1, *Aktvparcellk1, Table1);
}

void Tpermnaploszuk::Aktvparcellk1Click(TObject*) {
    ActiveFieldItemChosen(*Aktvparcellk1, *CheckBox1);
}

void Tpermnaploszuk::Query4CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("Terha").SetAsString(
        spray::HectaresText(DataSet.FieldByName("Ter_1").AsInteger()));
    DataSet.FieldByName("Agrotechssz")
        .SetAsString(Lookups.ObservationSerial(DataSet.FieldByName("Muvkod").AsString()));
}

void OpenSprayLogConditions(db::Session& session, const std::string& projectFile) {
    ui::OwnedForm<Tpermnaploszuk> form(permnaploszuk, session);
    if (!projectFile.empty())
        form->RvProject1.SetProjectFile(projectFile);
    form->ShowModal();
}
