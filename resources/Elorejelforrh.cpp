#include "Elorejelforrh.h"

#include "list_box.h"
#include "platform/ui/form_helpers.h"

TElorejelforr* Elorejelforr = nullptr;

using res::AddDBEdit;
using res::AddLabel;

namespace {

const char* const kSourceCaptions[] = {"Nincs", "Saját", "Szolgáltató", "Saját és szolgáltató"};

// Selects the button of a stored source; an empty or unknown value selects "Nincs".
void ShowSource(const std::array<ui::TRadioButton*, 4>& buttons, const db::TField& field) {
    const int value = field.IsNull() ? 0 : field.AsInteger();
    buttons.at(value >= 0 && value < 4 ? static_cast<std::size_t>(value) : 0)->SetChecked(true);
}

// The number of the selected button, 0 when none is selected.
int ChosenSource(const std::array<ui::TRadioButton*, 4>& buttons) {
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i]->Checked())
            return static_cast<int>(i);
    return 0;
}

} // namespace

TElorejelforr::TElorejelforr(db::Session& session) : session_(session) {
    SetCaption("Előrejelzési adatok forrása");
    SetClientSize(520, 420);
    SetPosition(ui::poScreenCenter);
    SetBorderStyle(ui::bsDialog);

    Table1.SetTableName("Megffej.db");

    ui::TRadioButton** pest[] = {&RadioButton1, &RadioButton2, &RadioButton3, &RadioButton4};
    ui::TRadioButton** weather[] = {&RadioButton5, &RadioButton6, &RadioButton7, &RadioButton8};
    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 8, 504, 180}, "Károsító előrejelzés");
    GroupBox2 = ui::Make<ui::TGroupBox>(this, {8, 196, 504, 180}, "Időjárási előrejelzés");
    for (int i = 0; i < 4; ++i) {
        *pest[i] =
            ui::Make<ui::TRadioButton>(GroupBox1, {12, 24 + 26 * i, 200, 22}, kSourceCaptions[i]);
        *weather[i] =
            ui::Make<ui::TRadioButton>(GroupBox2, {12, 24 + 26 * i, 200, 22}, kSourceCaptions[i]);
    }
    AddLabel(GroupBox1, "Saját részletezve:", 220, 24, 200);
    DBEdit1 = AddDBEdit(GroupBox1, &DataSource1, "Karsr", 220, 46, 270);
    AddLabel(GroupBox1, "Szolgáltató részletezve:", 220, 80, 200);
    DBEdit2 = AddDBEdit(GroupBox1, &DataSource1, "Karszr", 220, 102, 270);
    AddLabel(GroupBox2, "Saját részletezve:", 220, 24, 200);
    DBEdit3 = AddDBEdit(GroupBox2, &DataSource1, "Idosr", 220, 46, 270);
    AddLabel(GroupBox2, "Szolgáltató részletezve:", 220, 80, 200);
    DBEdit4 = AddDBEdit(GroupBox2, &DataSource1, "Idoszr", 220, 102, 270);
    Button2 = ui::Make<ui::TButton>(this, {316, 384, 95, 27}, "Rögzítés");
    Button1 = ui::Make<ui::TButton>(this, {417, 384, 95, 27}, "Mégsem");

    OnShow = Handler(&TElorejelforr::FormShow);
    OnActivate = Handler(&TElorejelforr::FormActivate);
    OnClose = Handler(&TElorejelforr::FormClose);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TElorejelforr::Button1Click);
    Button2->OnClick = Handler(&TElorejelforr::Button2Click);
}

TElorejelforr::Sources TElorejelforr::PestSources() const {
    return {RadioButton1, RadioButton2, RadioButton3, RadioButton4};
}

TElorejelforr::Sources TElorejelforr::WeatherSources() const {
    return {RadioButton5, RadioButton6, RadioButton7, RadioButton8};
}

void TElorejelforr::FormShow(TObject*) {
    Table1.Open();
}

void TElorejelforr::FormActivate(TObject*) {
    if (!Table1.Active() || Table1.State() != db::DataSetState::Browse)
        return;
    if (Table1.IsEmpty()) {
        RadioButton1->SetChecked(true);
        RadioButton5->SetChecked(true);
        return;
    }
    Table1.First();
    ShowSource(PestSources(), Table1.FieldByName("Kar"));
    ShowSource(WeatherSources(), Table1.FieldByName("Ido"));
}

// Closing drops the detail texts typed but not saved.
void TElorejelforr::FormClose(TObject*, TCloseAction&) {
    Table1.Cancel();
    Table1.Close();
}

void TElorejelforr::Button1Click(TObject*) {
    Close();
}

// Stores the chosen sources with the detail texts; on an empty table the first row.
void TElorejelforr::Button2Click(TObject*) {
    Table1.Edit();
    Table1.FieldByName("Kar").SetAsInteger(ChosenSource(PestSources()));
    Table1.FieldByName("Ido").SetAsInteger(ChosenSource(WeatherSources()));
    Table1.Post();
    Close();
}
