#include "Parckeze.h"

#include "cascade_deletes.h"
#include "platform/ui/form_helpers.h"

TParckezeles* Parckezeles = nullptr;

TParckezeles::TParckezeles(db::Session& session) : session_(session) {
    SetCaption("Tábla kezelés");
    SetClientSize(760, 420);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("parcellak.db");
    Table1.SetFilter("Aktiv = 'N'");
    Table1.SetFiltered(true);
    Table1.SetIndexFieldNames("Evj;Parcsor");

    Label1 = new ui::TLabel(this, "Tábla aktiválás / törlés");
    Label1->SetBounds(8, 8, 400, 18);
    Label1->SetBold(true);
    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 32, 744, 340);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Evj", "G. év", 50);
    DBGrid1->Columns().Add("Parcsor", "S. Sz.", 50);
    DBGrid1->Columns().Add("Agazat", "Ágazat", 130);
    DBGrid1->Columns().Add("Ter", "Terület", 80);
    DBGrid1->Columns().Add("Hazmeg", "Házi megnevezés", 150);
    DBGrid1->Columns().Add("Masod", "Másodvetés", 70);
    DBGrid1->Columns().Add("Celp", "Célprogram", 120);
    DBGrid1->Columns().Add("Hasznkod", "Haszn.", 60);
    Button2 = new ui::TButton(this, "Újraaktiválás");
    Button2->SetBounds(8, 384, 120, 27);
    Button3 = new ui::TButton(this, "Törlés");
    Button3->SetBounds(138, 384, 120, 27);
    Button1 = new ui::TButton(this, "Bezárás");
    Button1->SetBounds(632, 384, 120, 27);
    SetTabOrder({DBGrid1, Button2, Button3, Button1});

    OnActivate = Handler(&TParckezeles::FormActivate);
    OnKeyPress = Handler(&TParckezeles::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TParckezeles::Button1Click);
    Button2->OnClick = Handler(&TParckezeles::Button2Click);
    Button3->OnClick = Handler(&TParckezeles::Button3Click);
}

void TParckezeles::DeleteOperation(const std::string& muvkod, bool planned) {
    reg::DeleteOperation(session_, muvkod, planned);
}

void TParckezeles::DeleteMaterialUses(const std::string& muvkod, bool planned) {
    reg::DeleteMaterialUses(session_, muvkod, planned);
}

void TParckezeles::DeleteStockMovements(const std::string& felhkod, bool planned) {
    reg::DeleteStockMovements(session_, felhkod, planned);
}

void TParckezeles::DeleteField(const std::string& parckod) {
    reg::DeleteField(session_, parckod);
    if (Table1.Active())
        Table1.Refresh();
}

void TParckezeles::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1});
}

void TParckezeles::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'X', Button1}});
}

void TParckezeles::Button1Click(TObject*) {
    Close();
}

// The reactivated field leaves the list; nothing else of it changes.
void TParckezeles::Button2Click(TObject*) {
    if (ui::MessageDlg("Biztosan újraaktiválja a kijelölt parcellát?", ui::mtWarning,
                       ui::mbYesNo) != ui::mrYes)
        return;
    if (!Table1.Active() || Table1.IsEmpty())
        return;
    Table1.Edit();
    Table1.FieldByName("Aktiv").SetAsString("A");
    Table1.Post();
    Table1.FlushBuffers();
}

void TParckezeles::Button3Click(TObject*) {
    if (!Table1.Active())
        Table1.Open();
    if (ui::MessageDlg("Egy tábla fizikai törlése egyéb következményekkel jár! pl.: műveletek "
                       "törlődése, felhasznált anyagok raktárba visszakerülése, vetésforgó lánc "
                       "megszakadása stb... Biztosan törölni szeretné a kiválasztott parcellát?",
                       ui::mtWarning, ui::mbYesNo) != ui::mrYes)
        return;
    if (Table1.IsEmpty())
        return;
    DeleteField(Table1.FieldByName("Parckod").AsString());
}
