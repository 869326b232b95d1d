#include "Parcinaktiv.h"

#include "platform/db/filter.h"
#include "platform/ui/form_helpers.h"

TParcinak* Parcinak = nullptr;

namespace reg {

std::string FieldCodesFilter(const std::vector<std::string>& codes) {
    std::string filter;
    for (const std::string& code : codes)
        filter += (filter.empty() ? "" : " OR ") + ("Parckod = " + db::quoteFilterText(code));
    return filter;
}

} // namespace reg

TParcinak::TParcinak(db::Session& session) : session_(session) {
    SetCaption("Táblák inaktiválása");
    SetClientSize(560, 360);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("parcellak.db");
    Table1.SetIndexFieldNames("Evj;Parcsor");

    Label1 = new ui::TLabel(this, "A megelőző táblák inaktiválása");
    Label1->SetBounds(8, 8, 400, 18);
    Label1->SetBold(true);
    Label2 = new ui::TLabel(this, "( A kijelöletlenek aktívak maradnak ! )");
    Label2->SetBounds(8, 28, 400, 16);
    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 50, 544, 260);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->SetMultiSelect(true);
    DBGrid1->setToolTip("CTRL-al több is jelölhető.");
    DBGrid1->Columns().Add("Evj", "G. év", 50);
    DBGrid1->Columns().Add("Parcsor", "S.Sz.", 50);
    DBGrid1->Columns().Add("Agazat", "Ágazat", 140);
    DBGrid1->Columns().Add("Ter", "Terület", 80);
    DBGrid1->Columns().Add("Hazmeg", "Házi megnevezés", 180);
    Button1 = new ui::TButton(this, "Kijelölések megszüntetése");
    Button1->SetBounds(8, 322, 190, 27);
    Button2 = new ui::TButton(this, "Rendben");
    Button2->SetBounds(452, 322, 100, 27);

    OnActivate = Handler(&TParcinak::FormActivate);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TParcinak::Button1Click);
    Button2->OnClick = Handler(&TParcinak::Button2Click);
}

void TParcinak::FormActivate(TObject*) {
    if (Table1.Active())
        return;
    Table1.SetFilter(reg::FieldCodesFilter(Predecessors));
    Table1.SetFiltered(true);
    ui::OpenOnFirstActivate(this, {&Table1});
    DBGrid1->SelectedRows().Clear();
}

void TParcinak::Button1Click(TObject*) {
    DBGrid1->SelectedRows().Clear();
}

// Closes the marked predecessors; with none marked nothing is written.
void TParcinak::Button2Click(TObject*) {
    std::vector<std::string> marked;
    {
        const db::ControlsHeld held(Table1); // the grid stays on its row
        for (int i = 0; i < DBGrid1->SelectedRows().Count(); ++i) {
            Table1.GotoBookmark(DBGrid1->SelectedRows()[i]);
            marked.push_back(Table1.FieldByName("Parckod").AsString());
        }
    }
    if (!marked.empty()) {
        db::SessionTransaction transaction(session_);
        db::TTable rows(session_, "Close");
        rows.SetTableName("parcellak.db");
        rows.SetFilter(reg::FieldCodesFilter(marked));
        rows.SetFiltered(true);
        rows.Open();
        for (rows.First(); !rows.Eof(); rows.Next()) {
            rows.Edit();
            rows.FieldByName("Aktiv").SetAsString("N");
            rows.Post();
        }
        rows.FlushBuffers();
        transaction.Commit();
    }
    Close();
}
