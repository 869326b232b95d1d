#include "Gnnovvedmegfh.h"

#include "Gnparszukh.h"
#include "core/Isnuminth.h"
#include "diary_conditions.h"
#include "platform/ui/application.h"
#include "platform/ui/form_helpers.h"

TGNNovVedMegf* GNNovVedMegf = nullptr;

std::vector<std::string> ObservationSheetSql(const std::string& tail) {
    return {"SELECT *",
            "FROM parcellak",
            "  INNER JOIN Novvedmegf",
            "  ON  (Novvedmegf.Parc_id = parcellak.Parckod)",
            "  LEFT OUTER JOIN Novvedmeg2",
            "  ON  (Novvedmegf.Id = Novvedmeg2.Megfid)",
            "\tLEFT OUTER JOIN muv_novmegf",
            "\tON Novvedmegf.Id = muv_novmegf.Megfid",
            " LEFT OUTER JOIN ElvMuv",
            " ON muv_novmegf.Muvid = ElvMuv.Muvkod",
            "WHERE 1 = 1 " + tail,
            "ORDER BY Novvedmegf.Datum"};
}

TGNNovVedMegf::TGNNovVedMegf(db::Session& session) : session_(session) {
    SetCaption("Parcellák szűkítése listázáshoz");
    SetClientSize(620, 440);
    SetPosition(ui::poScreenCenter);

    SetUpConditionSets(Table2, Query3, Query1);
    Table1.SetTableName("Megffej.db");

    const DiaryFieldChoice fields = MakeDiaryFieldChoice(this, &DataSource1, 140, true);
    DBGrid1 = fields.grid;
    CheckBox1 = fields.active;
    ui::Make<ui::TLabel>(this, {8, 312, 200, 16}, "Ágazat :");
    ComboBox1 = ui::Make<ui::TComboBox>(this, {220, 308, 200, 22});
    ui::FitToFields(session, "parcellak", {{ComboBox1, "Agazat"}});
    ui::Make<ui::TLabel>(this, {8, 340, 210, 16}, "Első gazdasági év :");
    ComboBox2 = ui::Make<ui::TComboBox>(this, {220, 336, 100, 22});
    ui::YearBox(ComboBox2);
    ui::Make<ui::TLabel>(this, {8, 368, 210, 16}, "Utolsó gazdasági év :");
    ComboBox3 = ui::Make<ui::TComboBox>(this, {220, 364, 100, 22});
    ui::YearBox(ComboBox3);
    Button2 = ui::Make<ui::TButton>(this, {8, 404, 150, 27}, "Feltételek törlése");
    Button3 = ui::Make<ui::TButton>(this, {422, 404, 90, 27}, "Mégsem");
    Button1 = ui::Make<ui::TButton>(this, {522, 404, 90, 27}, "Nyomtatás");
    SetTabOrder({DBGrid1, CheckBox1, ComboBox1, ComboBox2, ComboBox3, Button1, Button2, Button3});

    PopupMenu1 = new ui::TPopupMenu(this);
    Aktivparcellak1 = PopupMenu1->Add("Aktív parcellák      CTRL+A");
    Aktivparcellak1->SetChecked(true);
    Aktivparcellak1->OnClick = Handler(&TGNNovVedMegf::Aktivparcellak1Click);
    // The captions name the keys that do what the items do.
    PopupMenu1->Add("Feltételek törlése  CTRL+I", Button2);
    PopupMenu1->Add("Nyomtatás");
    PopupMenu1->Add("Nyomtatási kép     CTRL+T", Button1);
    PopupMenu1->Add("Mégsem                CTRL+X", Button3);
    SetPopupMenu(PopupMenu1);

    OnShow = Handler(&TGNNovVedMegf::FormShow);
    OnActivate = Handler(&TGNNovVedMegf::FormActivate);
    OnKeyPress = Handler(&TGNNovVedMegf::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2, Button3});
    Button1->OnClick = Handler(&TGNNovVedMegf::Button1Click);
    Button2->OnClick = Handler(&TGNNovVedMegf::Button2Click);
    Button3->OnClick = Handler(&TGNNovVedMegf::Button3Click);
    CheckBox1->OnClick = Handler(&TGNNovVedMegf::CheckBox1Click);
    CloseOnClose(&Query2);
}

// Query2 gets its statement at the first print; it is opened then.
void TGNNovVedMegf::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Query1, &Query3, &Table2, &Table1, &FarmRow1.Table});
}

// The lists are filled once; every activation (a report or a message closing in front of
// the form) sets the year texts to the first and last year again.
void TGNNovVedMegf::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Query1, &Query3, &Table2, &Table1, &FarmRow1.Table});
    if (!activated_)
        for (Query3.First(); !Query3.Eof(); Query3.Next())
            ComboBox1->Items().Add(Query3.FieldByName("Agazat").AsString());
    ShowConditionYears(Query1, *ComboBox2, *ComboBox3, !activated_);
    activated_ = true;
}

// Control characters only: a digit typed into a year box is never a command.
void TGNNovVedMegf::FormKeyPress(TObject*, TKey& Key) {
    if (Key == ui::ctrlKey('A')) {
        Key = ui::keyNone;
        Aktivparcellak1->Click();
        return;
    }
    // T prints, I clears, P and X close.
    ui::Shortcuts(Key, {{'T', Button1}, {'I', Button2}, {'P', Button3}, {'X', Button3}});
}

void TGNNovVedMegf::CheckBox1Click(TObject*) {
    ActiveFieldBoxClicked(*CheckBox1, *Aktivparcellak1, Table2);
}

void TGNNovVedMegf::Aktivparcellak1Click(TObject*) {
    ActiveFieldItemChosen(*Aktivparcellak1, *CheckBox1);
}

void TGNNovVedMegf::Button2Click(TObject*) {
    if (DBGrid1->Focused())
        Button2->SetFocus();
    ComboBox1->SetText("");
    DBGrid1->SelectedRows().Clear();
    ShowConditionYears(Query1, *ComboBox2, *ComboBox3, false);
}

void TGNNovVedMegf::Button3Click(TObject*) {
    Close();
}

void TGNNovVedMegf::Button1Click(TObject*) {
    // 1. The years first: nothing is built from a year that is no number.
    DiaryFieldConditions c;
    c.firstYear = ComboBox2->Text();
    c.lastYear = ComboBox3->Text();
    if (!NumericInt->IsValidInteger(c.firstYear, "Első gazdasági év") ||
        !NumericInt->IsValidYear(c.firstYear, "Első gazdasági év") ||
        !NumericInt->IsValidInteger(c.lastYear, "Utolsó gazdasági év") ||
        !NumericInt->IsValidYear(c.lastYear, "Utolsó gazdasági év"))
        return;
    // 2-5. The selected fields, the sector and the years.
    c.fields = SelectedCodes(*DBGrid1, Table2);
    c.sector = ComboBox1->Text();
    // 6-7. The rows, and the sheet when there is one.
    Query2.Close();
    Query2.SQL().Clear();
    for (const std::string& line : ObservationSheetSql(DiaryConditionTail(c, "Parckod")))
        Query2.SQL().Add(line);
    Query2.Open();
    Query2.First();
    if (Query2.IsEmpty()) {
        ui::Application->MessageBox(
            "Nincs olyan tábla, amelyhez tartozik növényvédelmi mefigyelés!",
            "A szűkítés eredménye üres!", ui::MB_OK);
        return;
    }
    RvProject1.ExecuteActiveReport();
}

void OpenObservationSheet(db::Session& session, const std::string& projectFile) {
    ui::OwnedForm<TGNNovVedMegf> form(GNNovVedMegf, session);
    if (!projectFile.empty())
        form->RvProject1.SetProjectFile(projectFile);
    form->ShowModal();
}
