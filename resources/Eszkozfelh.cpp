#include "Eszkozfelh.h"

#include "core/Isnuminth.h"
#include "machine_codes.h"
#include "platform/ui/form_helpers.h"

TEszkozfel* Eszkozfel = nullptr;

namespace {

ui::TEdit* LabelledEdit(QWidget* parent, const char* caption, int top, int maxLength) {
    auto* label = new ui::TLabel(parent, caption);
    label->SetBounds(12, top + 3, 110, 16);
    auto* edit = new ui::TEdit(parent);
    edit->SetBounds(126, top, 220, 22);
    edit->SetMaxLength(maxLength);
    return edit;
}

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
    Edit4 = LabelledEdit(TabSheet1, "Típus :", 10, 20);
    Edit3 = LabelledEdit(TabSheet1, "Háziszám :", 40, 20);
    auto* label = new ui::TLabel(TabSheet1, "Kategória :");
    label->SetBounds(12, 73, 110, 16);
    ComboBox1 = new ui::TComboBox(TabSheet1);
    ComboBox1->SetBounds(126, 70, 120, 22);
    ComboBox1->Items().AddStrings({"Kis", "Közép", "Nagy"});
    ComboBox1->SetText("Nagy");
    Edit7 = LabelledEdit(TabSheet1, "Beszerzés éve :", 100, 6);
    TabSheet2 = new ui::TTabSheet(PageControl1, "Munkagép felvitele");
    Edit2 = LabelledEdit(TabSheet2, "Megnevezés :", 10, 26);
    Edit5 = LabelledEdit(TabSheet2, "Háziszám :", 40, 20);
    Edit6 = LabelledEdit(TabSheet2, "Típus :", 70, 30);
    Edit1 = LabelledEdit(TabSheet2, "Beszerzés éve :", 100, 30);

    Button4 = new ui::TButton(this, "Rögzítés");
    Button4->SetBounds(186, 190, 90, 27);
    Button3 = new ui::TButton(this, "Mégsem");
    Button3->SetBounds(282, 190, 90, 27);
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

bool TEszkozfel::SaveTractor() {
    if (Edit4->Text().empty()) {
        ui::Application->MessageBox("Kérem a géptípus mezőt töltse ki!", "Hiányos adat!",
                                    ui::MB_OK);
        return false;
    }
    if (!NumericInt->IsValidInteger(Edit7->Text(), "Beszerzés éve"))
        return false;
    const std::string code = res::NextMachineCode(Table1);
    Table1.Insert();
    Table1.FieldByName("Gepkod").SetAsString(code);
    Table1.FieldByName("Geptip").SetAsString(Edit4->Text());
    Table1.FieldByName("Haziszam").SetAsString(Edit3->Text());
    Table1.FieldByName("Kategoria").SetAsString(ComboBox1->Text());
    SetYear(Table1.FieldByName("Beszev"), Edit7->Text());
    Table1.FieldByName("Tul").SetAsInteger(0);
    Table1.Post();
    Table1.FlushBuffers();
    return true;
}

bool TEszkozfel::SaveImplement() {
    if (Edit2->Text().empty()) {
        ui::Application->MessageBox("Kérem a gépnév mezőt töltse ki!", "Hiányos adat!", ui::MB_OK);
        return false;
    }
    if (!NumericInt->IsValidInteger(Edit1->Text(), "Beszerzés éve"))
        return false;
    const std::string code = res::NextMachineCode(Table2);
    Table2.Insert();
    Table2.FieldByName("Gepkod").SetAsString(code);
    Table2.FieldByName("Gepnev").SetAsString(Edit2->Text());
    Table2.FieldByName("Hazisz").SetAsString(Edit5->Text());
    Table2.FieldByName("Tipus").SetAsString(Edit6->Text());
    SetYear(Table2.FieldByName("Beszev"), Edit1->Text());
    Table2.FieldByName("Tul").SetAsInteger(0);
    Table2.Post();
    Table2.FlushBuffers();
    return true;
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
