#include "Eszkozfelh.h"

#include "core/Isnuminth.h"
#include "machine_codes.h"
#include "platform/ui/form_helpers.h"

#include <string>
#include <utility>
#include <vector>

TEszkozfel* Eszkozfel = nullptr;

namespace {

// Writes the year of purchase when one was typed; an empty year stays empty.
void SetYear(db::TField& field, const std::string& text) {
    if (!text.empty())
        field.SetAsString(text);
}

} // namespace

TEszkozfel::TEszkozfel(db::Session& session) : session_(session) {
    SetCaption("Erőgépek, munkagépek felvitele");
    SetClientSize(380, 230);
    SetPosition(ui::poScreenCenter);
    SetBorderStyle(ui::bsDialog);

    Table1.SetTableName("Erogepek.db");
    Table1.SetIndexName("Erogepkodind");
    Table2.SetTableName("Munkagepek.db");
    Table2.SetIndexName("Munkagepkodind");

    PageControl1 = new ui::TPageControl(this);
    PageControl1->SetBounds(8, 8, 364, 170);
    TabSheet1 = new ui::TTabSheet(PageControl1, "Erőgép felvitele");
    Edit4 = ui::CaptionedEdit(TabSheet1, "Típus :", 12, 10, 114, 220);
    Edit3 = ui::CaptionedEdit(TabSheet1, "Háziszám :", 12, 40, 114, 220);
    auto* label = new ui::TLabel(TabSheet1, "Kategória :");
    label->SetBounds(12, 73, 110, 16);
    ComboBox1 = new ui::TComboBox(TabSheet1);
    ComboBox1->SetBounds(126, 70, 120, 22);
    ComboBox1->Items().AddStrings({"Kis", "Közép", "Nagy"});
    ComboBox1->SetText("Nagy");
    Edit7 = ui::CaptionedEdit(TabSheet1, "Beszerzés éve :", 12, 100, 114, 220, 6);
    TabSheet2 = new ui::TTabSheet(PageControl1, "Munkagép felvitele");
    Edit2 = ui::CaptionedEdit(TabSheet2, "Megnevezés :", 12, 10, 114, 220);
    Edit5 = ui::CaptionedEdit(TabSheet2, "Háziszám :", 12, 40, 114, 220);
    Edit6 = ui::CaptionedEdit(TabSheet2, "Típus :", 12, 70, 114, 220);
    Edit1 = ui::CaptionedEdit(TabSheet2, "Beszerzés éve :", 12, 100, 114, 220, 30);

    Button4 = new ui::TButton(this, "Rögzítés");
    Button4->SetBounds(186, 190, 90, 27);
    Button3 = new ui::TButton(this, "Mégsem");
    Button3->SetBounds(282, 190, 90, 27);
    ui::FitToFields(
        session, "Erogepek",
        {{Edit4, "Geptip"}, {Edit3, "Haziszam"}, {ComboBox1, "Kategoria"}, {Edit7, "Beszev"}});
    ui::FitToFields(session, "Munkagepek",
                    {{Edit2, "Gepnev"}, {Edit5, "Hazisz"}, {Edit6, "Tipus"}, {Edit1, "Beszev"}});
    SetTabOrder({PageControl1, Edit4, Edit3, ComboBox1, Edit7, Edit2, Edit5, Edit6, Edit1, Button4,
                 Button3});

    OnActivate = Handler(&TEszkozfel::FormActivate);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button3->OnClick = Handler(&TEszkozfel::Button3Click);
    Button4->OnClick = Handler(&TEszkozfel::Button4Click);
}

void TEszkozfel::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Table2});
}

void TEszkozfel::Button3Click(TObject*) {
    Close();
}

namespace {

// One new machine as typed: its text fields (the first is required) and its year.
struct NewMachine {
    const char* missingMessage; // when the first text is empty
    std::vector<std::pair<const char*, std::string>> texts;
    std::string year;
};

// Checks the entry on its page, then writes it as an own machine with the next code.
bool SaveMachine(db::TTable& table, const NewMachine& machine, QWidget& page) {
    if (machine.texts.front().second.empty()) {
        ui::Application->MessageBox(machine.missingMessage, "Hiányos adat!", ui::MB_OK);
        return false;
    }
    if (!NumericInt->IsValidInteger(machine.year, "Beszerzés éve") ||
        !NumericInt->IsValidYear(machine.year, "Beszerzés éve") || !ui::TypedValuesValid(page))
        return false;
    const std::string code = res::NextMachineCode(table);
    table.Insert();
    table.FieldByName("Gepkod").SetAsString(code);
    for (const auto& [field, text] : machine.texts)
        table.FieldByName(field).SetAsString(text);
    SetYear(table.FieldByName("Beszev"), machine.year);
    table.FieldByName("Tul").SetAsInteger(0);
    table.Post();
    table.FlushBuffers();
    return true;
}

} // namespace

bool TEszkozfel::SaveTractor() {
    return SaveMachine(
        Table1,
        {"Kérem a géptípus mezőt töltse ki!",
         {{"Geptip", Edit4->Text()}, {"Haziszam", Edit3->Text()}, {"Kategoria", ComboBox1->Text()}},
         Edit7->Text()},
        *TabSheet1);
}

bool TEszkozfel::SaveImplement() {
    return SaveMachine(
        Table2,
        {"Kérem a gépnév mezőt töltse ki!",
         {{"Gepnev", Edit2->Text()}, {"Hazisz", Edit5->Text()}, {"Tipus", Edit6->Text()}},
         Edit1->Text()},
        *TabSheet2);
}

// Stores the machine of the page shown, then offers another one.
void TEszkozfel::Button4Click(TObject*) {
    const bool saved = PageControl1->ActivePage() == TabSheet1 ? SaveTractor() : SaveImplement();
    if (!saved)
        return;
    if (ui::Application->MessageBox("További gép felvitele ?", "További gépek?", ui::MB_YESNO) !=
        ui::IDYES) {
        Close();
        return;
    }
    for (ui::TEdit* edit : {Edit2, Edit3, Edit4, Edit5, Edit6})
        edit->Clear();
    ComboBox1->SetText("Nagy");
}
