#include "Elvmuvlista.h"

#include "Muveleteklist.h"
#include "condition_controls.h"
#include "core/Isnuminth.h"
#include "diary_conditions.h"
#include "platform/ui/form_helpers.h"
#include "report_texts.h"

Telvmuvlist* elvmuvlist = nullptr;

Telvmuvlist::Telvmuvlist(db::Session& session) : session_(session) {
    SetCaption("Elvégzett műveletek listázása");
    SetHelpContext(18);
    SetClientSize(620, 520);
    SetPosition(ui::poScreenCenter);

    Query4.SQL().Add("SELECT *");
    Query4.SQL().Add("FROM parcellak");
    Query4.SQL().Add("ORDER BY Evj,Parcsor");
    Query4.SetFilter("Aktiv = 'A'");
    Query4.SetFiltered(true);
    Query3.SQL().Add("SELECT DISTINCT Agazat FROM parcellak");
    Query2.SQL().Add("SELECT DISTINCT Evj FROM parcellak");
    Query1.SQL().Add("SELECT DISTINCT Datum");
    Query1.SQL().Add("FROM ElvMuv");
    Query1.SQL().Add("ORDER BY Datum");

    const lists::ConditionControls c = lists::MakeConditionControls(
        this, &DataSource1, &Query4, {"Aklív táblák", "Ágazat :", "Tovább >>"},
        {{"Evj", "G. év", 60},
         {"Parcsor", "S. Sz.", 60},
         {"Agazat", "Ágazat", 160},
         {"Hazmeg", "Hazi megnevezés", 150},
         {"Ter", "Terület", 80},
         {"Masod", "Másodvetés", 70}});
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
    const lists::ConditionMenu menu = lists::MakeConditionMenu(
        this, Handler(&Telvmuvlist::Aktvparcellk1Click), Handler(&Telvmuvlist::Button1Click),
        Handler(&Telvmuvlist::Button2Click), Handler(&Telvmuvlist::Button3Click));
    PopupMenu1 = menu.menu;
    Aktvparcellk1 = menu.active;

    OnActivate = Handler(&Telvmuvlist::FormActivate);
    OnKeyPress = Handler(&Telvmuvlist::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2, Button3});
    Button1->OnClick = Handler(&Telvmuvlist::Button1Click);
    Button2->OnClick = Handler(&Telvmuvlist::Button2Click);
    Button3->OnClick = Handler(&Telvmuvlist::Button3Click);
    CheckBox1->OnClick = Handler(&Telvmuvlist::CheckBox1Click);
}

lists::ConditionControls Telvmuvlist::Controls() {
    return {DBGrid1,         &Query4, ComboBox1, ComboBox2, DateTimePicker1,
            DateTimePicker2, Button1, CheckBox1, Button2,   Button3};
}

// The box items are appended from where each cursor stands, so they are filled once.
void Telvmuvlist::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Query1, &Query2, &Query3, &Query4});
    lists::ActivateConditions(this, Query1, Query3, Query2, Controls(), Button2);
}

void Telvmuvlist::FormKeyPress(TObject*, TKey& Key) {
    if (Key == 1) {
        Aktvparcellk1->Click();
        Key = 0;
        return;
    }
    ui::Shortcuts(Key, {{'N', Button2}, {'T', Button1}, {'X', Button3}});
}

void Telvmuvlist::Button1Click(TObject*) {
    lists::ClearConditions(Query1, Controls());
}

// The year is checked before the texts are built: it enters the SQL as a whole number.
void Telvmuvlist::Button2Click(TObject*) {
    const std::string year = ComboBox2->Text();
    if (!NumericInt->IsValidInteger(year, "betakarítás éve") ||
        !NumericInt->IsValidYear(year, "betakarítás éve"))
        return;
    const lists::OperationChoices choices = lists::ReadChoices(Controls());
    const lists::OperationConditions c = lists::BuildOperationConditions(choices);
    ConditionTail = c.ConditionTail;
    DateRangeFilter = c.DateRangeFilter;
    DateRangeTail = c.DateRangeTail;
    ui::ShowModalForm(MuvList, session_);
}

void Telvmuvlist::Button3Click(TObject*) {
    Close();
}

void Telvmuvlist::CheckBox1Click(TObject*) {
    ActiveFieldBoxClicked(*CheckBox1, *Aktvparcellk1, Query4);
}

void Telvmuvlist::Aktvparcellk1Click(TObject*) {
    ActiveFieldItemChosen(*Aktvparcellk1, *CheckBox1);
}
