#include "Vismajoru.h"

#include "core/Isnuminth.h"
#include "list_box.h"
#include "platform/sys/numbers.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_helpers.h"

Tvismajor* vismajor = nullptr;

using res::AddDBEdit;
using res::AddLabel;

namespace {

void OfferActiveFieldsOnly(db::TTable& fields, bool activeOnly) {
    fields.SetFilter(activeOnly ? "Aktiv = 'A'" : "");
    fields.SetFiltered(activeOnly);
}

} // namespace

Tvismajor::Tvismajor(db::Session& session) : session_(session) {
    SetCaption("vismajor");
    SetClientSize(640, 440);
    SetPosition(ui::poScreenCenter);

    Query1.SQL().Add("SELECT parcellak.Parckod,parcellak.Evj,parcellak.Parcsor, parcellak.Ter, "
                     "Vismajor.Parcid, Vismajor.Id, Vismajor.Vister, Vismajor.Bejido, "
                     "Vismajor.Visok, Vismajor.Megjegy, Vismajor.Deleted");
    Query1.SQL().Add("FROM Vismajor");
    Query1.SQL().Add("   INNER JOIN parcellak");
    Query1.SQL().Add("   ON  (Vismajor.Parcid = parcellak.Parckod)  ");
    Query1.SQL().Add("ORDER BY parcellak.Evj,parcellak.Parcsor,Vismajor.Bejido");
    Query1.SetFilter("Deleted = false");
    Query1.SetFiltered(true);
    Table1.SetTableName("Vismajor.db");
    Table1.SetIndexFieldNames("Id");
    Table1.SetMasterSource(&DataSource1);
    Table1.SetMasterFields("Id");
    Table2.SetTableName("parcellak.DB");
    OfferActiveFieldsOnly(Table2, true);

    Label1 = ui::Make<ui::TLabel>(this, {8, 8, 300, 24}, "Vis major esetek");
    Label1->SetBold(true);
    DBGrid1 = ui::ListGrid(this, {8, 40, 624, 350}, &DataSource1,
                           {{"Evj", "G.év", 50},
                            {"Parcsor", "T.sorsz.", 60},
                            {"Bejido", "Bej.időp.", 80},
                            {"Ter", "Terület", 80},
                            {"Vister", "Vis major ter.", 90},
                            {"Visok", "ok", 220}});
    Button4 = ui::Make<ui::TButton>(this, {8, 402, 110, 27}, "új vis major");
    Button2 = ui::Make<ui::TButton>(this, {126, 402, 100, 27}, "módosítás");
    Button3 = ui::Make<ui::TButton>(this, {234, 402, 100, 27}, "törlés");
    Button1 = ui::Make<ui::TButton>(this, {532, 402, 100, 27}, "bezárás");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 48, 600, 350}, "Új Vis major eset feljegyzése");
    AddLabel(GroupBox1, "érintett tábla:", 12, 24);
    DBGrid2 = ui::ListGrid(GroupBox1, {12, 46, 576, 150}, &DataSource3,
                           {{"Evj", "G.év", 50},
                            {"Parcsor", "T.sorsz.", 60},
                            {"Ter", "Terület", 80},
                            {"Agazat", "Ágazat", 150},
                            {"Hazmeg", "Hazi megnev.", 150}});
    AddLabel(GroupBox1, "vismajor ok megnevezése :", 12, 206, 180);
    DBEdit2 = AddDBEdit(GroupBox1, &DataSource2, "Visok", 200, 206, 380);
    AddLabel(GroupBox1, "megjegyzés :", 12, 234, 180);
    DBEdit3 = AddDBEdit(GroupBox1, &DataSource2, "Megjegy", 200, 234, 380);
    AddLabel(GroupBox1, "érintett terület nagysága :", 12, 262, 180);
    DBEdit1 = AddDBEdit(GroupBox1, &DataSource2, "Vister", 200, 262, 80);
    AddLabel(GroupBox1, "ha", 286, 262, 30);
    AddLabel(GroupBox1, "bejelenté sidőpontja :", 12, 290, 180);
    DateTimePicker1 = ui::Make<ui::TDateTimePicker>(GroupBox1, {200, 290, 120, 22});
    Button6 = ui::Make<ui::TButton>(GroupBox1, {380, 312, 100, 27}, "rögzítés");
    Button5 = ui::Make<ui::TButton>(GroupBox1, {488, 312, 100, 27}, "mégsem");
    GroupBox1->Hide();
    ui::EditBoxOverList(GroupBox1);
    ui::FitToFields(session, "Vismajor", {{DateTimePicker1, "Bejido"}});

    OnShow = Handler(&Tvismajor::FormShow);
    OnClose = Handler(&Tvismajor::FormClose);
    Button1->OnClick = Handler(&Tvismajor::Button1Click);
    Button2->OnClick = Handler(&Tvismajor::Button2Click);
    Button3->OnClick = Handler(&Tvismajor::Button3Click);
    Button4->OnClick = Handler(&Tvismajor::Button4Click);
    Button5->OnClick = Handler(&Tvismajor::Button5Click);
    Button6->OnClick = Handler(&Tvismajor::Button6Click);
}

void Tvismajor::FormShow(TObject*) {
    DateTimePicker1->SetDate(sys::today());
    ui::OpenOnFirstActivate(this, {&Query1, &Table1, &Table2});
}

void Tvismajor::FormClose(TObject*, TCloseAction&) {
    Table1.Cancel();
}

void Tvismajor::Button1Click(TObject*) {
    Close();
}

// Opens the box on the list's case, its own field chosen. A case may belong to a field
// no longer active, so while a case is modified every field is offered.
void Tvismajor::Button2Click(TObject*) {
    if (Query1.IsEmpty() || Table1.IsEmpty())
        return;
    OfferActiveFieldsOnly(Table2, false);
    const std::string field = Query1.FieldByName("Parckod").AsString();
    {
        // The field box shows the case's field once it is found, not every row on the way.
        const db::ControlsHeld held(Table2, db::ControlsHeld::KeepRow::No);
        for (Table2.First(); !Table2.Eof(); Table2.Next())
            if (Table2.FieldByName("Parckod").AsString() == field)
                break;
    }
    res::ShowDate(DateTimePicker1, Table1.FieldByName("Bejido"));
    Table1.Edit();
    res::ShowBox(GroupBox1, 8, 48, "Új Vis major eset módosítása");
}

// Deletes the list's case at once.
void Tvismajor::Button3Click(TObject*) {
    if (Query1.IsEmpty() || Table1.IsEmpty())
        return;
    Table1.Delete();
    Query1.Close();
    Query1.Open();
}

// A new case: the list closes while it is entered, and the case table leaves it.
void Tvismajor::Button4Click(TObject*) {
    Query1.Close();
    Table1.SetMasterSource(nullptr);
    res::ShowBox(GroupBox1, 8, 48, "Új Vis major eset feljegyzése");
    DateTimePicker1->SetDate(sys::today());
    Table1.Insert();
}

void Tvismajor::EndEntry() {
    Table1.SetMasterSource(&DataSource1);
    Query1.Close();
    Query1.Open();
    OfferActiveFieldsOnly(Table2, true);
    GroupBox1->Hide();
}

void Tvismajor::Button5Click(TObject*) {
    Table1.Cancel();
    EndEntry();
}

// A case without a field would never be listed again, so it is refused; the area struck
// (hectares) is a part of the field's (square metres).
void Tvismajor::Button6Click(TObject*) {
    if (Table2.IsEmpty()) {
        ui::MessageDlg("Kérem, válassza ki az érintett táblát! Tábla nélkül a vis major eset "
                       "nem rögzíthető.",
                       ui::mtWarning, ui::mbOK);
        return;
    }
    const std::string area = DBEdit1->Text();
    if (!NumericInt->IsValidFor(area, "érintett terület nagysága", "Vismajor", "Vister") ||
        !ui::TypedValuesValid(*GroupBox1))
        return;
    if (!area.empty() &&
        !res::AreaFitsField(sys::parseFloat(area) * 10000, Table2.FieldByName("Ter").AsFloat()))
        return;
    const sys::DateTime day = DateTimePicker1->Date();
    Table1.FieldByName("Deleted").SetAsBoolean(false);
    Table1.FieldByName("Parcid").SetAsString(Table2.FieldByName("Parckod").AsString());
    Table1.FieldByName("Bejido").SetAsDateTime(day);
    Table1.Post();
    EndEntry();
}
