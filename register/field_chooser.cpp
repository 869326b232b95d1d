#include "field_chooser.h"

#include "platform/db/filter.h"

namespace reg {

FieldChooser::FieldChooser(QWidget* form, db::Session& session, int left, int top)
    : Table(session, "Table1") {
    Table.SetTableName("parcellak.db");
    Table.SetFilter("Aktiv = 'A'");
    Table.SetFiltered(true);
    Table.SetIndexFieldNames("Evj;Parcsor");

    Header = new ui::TGroupBox(form);
    Header->SetBounds(left, top, 600, 44);
    Serial = new ui::TLabel(Header);
    Serial->SetBounds(8, 18, 150, 16);
    Year = new ui::TLabel(Header);
    Year->SetBounds(160, 18, 130, 16);
    Sector = new ui::TLabel(Header);
    Sector->SetBounds(292, 18, 180, 16);
    Area = new ui::TLabel(Header);
    Area->SetBounds(474, 18, 120, 16);

    Panel = new ui::TPanel(form);
    Panel->setAutoFillBackground(true);
    Panel->SetBounds(0, 0, 560, 300);
    Panel->hide();
    auto* title = new ui::TLabel(Panel, "Parcella kiválasztása :");
    title->SetBounds(8, 6, 300, 16);
    Grid = new ui::TDBGrid(Panel);
    Grid->SetBounds(8, 26, 544, 230);
    Grid->SetDataSource(&Source);
    Grid->SetReadOnly(true);
    Grid->SetRowSelect(true);
    Grid->Columns().Add("Evj", "G. év", 50);
    Grid->Columns().Add("Parcsor", "S.Sz.", 50);
    Grid->Columns().Add("Ter", "Terület", 80);
    Grid->Columns().Add("Agazat", "Ágazat", 140);
    Grid->Columns().Add("Hazmeg", "Hazimegnevezés", 140);
    Grid->Columns().Add("Masod", "Másodvetés", 70);
    Choose = new ui::TButton(Panel, "Kiválasztás");
    Choose->SetBounds(452, 264, 100, 27);
}

bool FieldChooser::Find(const std::string& parckod) {
    if (!Table.Active())
        Table.Open();
    bool found = !parckod.empty() && Table.Locate("Parckod", {db::Value(parckod)});
    Header->setVisible(found);
    if (found)
        ShowCurrent();
    return found;
}

std::string FieldChooser::Current() {
    if (!Table.Active())
        Table.Open();
    return Table.IsEmpty() ? std::string() : Table.FieldByName("Parckod").AsString();
}

void FieldChooser::ShowPanel() {
    if (!Table.Active())
        Table.Open();
    Panel->show();
    Panel->raise();
    Grid->setFocus();
}

void FieldChooser::HidePanel() {
    Panel->hide();
}

void FieldChooser::ShowCurrent() {
    if (Table.IsEmpty())
        return;
    auto text = [&](const char* field) { return Table.FieldByName(field).AsString(); };
    Serial->SetCaption("Parcella sorszáma: " + text("Parcsor"));
    Year->SetCaption("Gazdasági év: " + text("Evj"));
    Sector->SetCaption("Ágazat: " + text("Agazat"));
    Area->SetCaption("Terület: " + text("Ter"));
}

} // namespace reg
