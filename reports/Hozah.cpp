#include "Hozah.h"

#include "core/Isnuminth.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "platform/ui/form_helpers.h"
#include "register/single_row.h"
#include "report_texts.h"

THozam* Hozam = nullptr;

THozam::THozam(db::Session& session) : session_(session) {
    SetCaption("Éves hozam");
    SetHelpContext(36);
    SetClientSize(420, 420);
    SetPosition(ui::poScreenCenter);

    Query1.SQL().Add("SELECT Parcellak.Agazat, SUM(   (Elvmuv.Hozam * Elvmuv.Ter)  / 10000  ) osz");
    Query1.SQL().Add("FROM ElvMuv");
    Query1.SQL().Add("   INNER JOIN parcellak");
    Query1.SQL().Add("   ON  ElvMuv.Tablakod = parcellak.Parckod ");
    Query1.SQL().Add("WHERE  parcellak.Evj = :ev ");
    Query1.SQL().Add("GROUP BY parcellak.Agazat");
    Query1.SQL().Add("HAVING  SUM(   (ElvMuv.Hozam * ElvMuv.Ter)  / 10000  ) > 0  ");
    Query1.SQL().Add("ORDER BY parcellak.Agazat");
    Query1.AddCalcField("ossz", db::FieldType::Number);
    Query1.OnCalcFields = [this](db::TDataSet& rows) { Query1CalcFields(rows); };

    auto* heading = ui::Make<ui::TLabel>(this, {8, 8, 300, 20}, "Hozam összesítő");
    heading->SetBold(true);
    ComboBox1 = ui::Make<ui::TComboBox>(this, {8, 36, 90, 22});
    ui::YearBox(ComboBox1);
    Button4 = ui::Make<ui::TButton>(this, {104, 35, 50, 24}, "|||||");
    Button4->SetHint("Érvényesítés");
    DBGrid1 = ui::ListGrid(this, {8, 68, 404, 300}, &DataSource1,
                           {{"Agazat", "Ágazat", 250}, {"ossz", "Menny. (t)", 120}});
    Button1 = ui::Make<ui::TButton>(this, {202, 380, 100, 27}, "Vissza");
    Button2 = ui::Make<ui::TButton>(this, {312, 380, 100, 27}, "Nyomtatás");

    PopupMenu1 = new ui::TPopupMenu(this);
    PopupMenu1->Add("Érvényesítés      CTRL+E")->OnClick = Handler(&THozam::Button4Click);
    PopupMenu1->Add("Nyomtatás         CTRL+I")->OnClick = Handler(&THozam::Button2Click);
    PopupMenu1->Add("Vissza                 CTRL+X")->OnClick = Handler(&THozam::Button1Click);
    SetPopupMenu(PopupMenu1);

    // The year of the rows printed (the box's text once applied).
    reg::MakeSingleRowConnection(RvHozamCustomConnection1, {"ev"}, [this] {
        return std::vector<std::string>{std::to_string(year_)};
    });

    OnShow = Handler(&THozam::FormShow);
    OnKeyPress = Handler(&THozam::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2, Button4});
    Button1->OnClick = Handler(&THozam::Button1Click);
    Button2->OnClick = Handler(&THozam::Button2Click);
    Button4->OnClick = Handler(&THozam::Button4Click);
}

void THozam::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Query1, &FarmRow1.Table});
    const int y = sys::decodeDate(sys::today()).year;
    ComboBox1->SetText(std::to_string(y));
    for (int year = y; year >= 1990; --year)
        ComboBox1->Items().Add(std::to_string(year));
    ShowYear(y);
}

void THozam::ShowYear(int year) {
    year_ = year;
    Query1.Close();
    Query1.ParamByName("ev").SetAsInteger(year);
    Query1.Open();
}

bool THozam::ApplyYear() {
    const std::string text = ComboBox1->Text();
    if (text.empty())
        return true;
    if (!NumericInt->IsValidInteger(text, "évszám") || !NumericInt->IsValidYear(text, "évszám"))
        return false;
    const int year = sys::parseInt(sys::trim(text));
    if (year != year_)
        ShowYear(year);
    return true;
}

void THozam::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'E', Button4}, {'I', Button2}, {'X', Button1}});
}

void THozam::Button4Click(TObject*) {
    ApplyYear();
}

// The year typed is applied first, so the rows printed are those of the year printed.
void THozam::Button2Click(TObject*) {
    if (!ApplyYear())
        return;
    RvProject1.ExecuteActiveReport();
}

void THozam::Button1Click(TObject*) {
    Close();
}

void THozam::Query1CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("ossz").SetAsFloat(
        lists::RoundUpToKilograms(DataSet.FieldByName("osz").AsFloat()));
}
