#include "Egyebfajh.h"

#include "codes.h"
#include "platform/ui/form_helpers.h"
#include "unique_names.h"

TEgyebFaj* EgyebFaj = nullptr;

namespace reg {

std::string NextSpeciesCode(db::Session& session) {
    return NextSequentialCode(
        session, {{"Magfajtak", "Fajkod"}, {"Vetomagok", "Magfaj"}, {"Foldhasznterv", "Agazatid"}},
        1);
}

} // namespace reg

TEgyebFaj::TEgyebFaj(db::Session& session) : session_(session) {
    SetCaption("Növényfaj, ágazat bevitele");
    SetClientSize(380, 150);
    SetPosition(ui::poScreenCenter);
    SetBorderStyle(ui::bsDialog);
    SetHelpContext(17);

    Table1.SetTableName("Magfajtak.db");
    Table1.SetIndexName("MagFajKodInd");

    Label1 = new ui::TLabel(this, "Egyéb vetőmagfaj, ágazat bevitele");
    Label1->SetBounds(16, 10, 340, 18);
    Label1->SetBold(true);
    Label2 = new ui::TLabel(this, "Faj megnevezése :");
    Label2->SetBounds(16, 44, 120, 16);
    Edit1 = new ui::TEdit(this);
    Edit1->SetBounds(140, 40, 220, 22);
    Label3 = new ui::TLabel(this, "Latin neve :");
    Label3->SetBounds(16, 74, 120, 16);
    Edit2 = new ui::TEdit(this);
    Edit2->SetBounds(140, 70, 220, 22);
    ui::FitToFields(session, "Magfajtak", {{Edit1, "Faj"}, {Edit2, "Latin"}});
    Button2 = new ui::TButton(this, "Rögzítés");
    Button2->SetBounds(140, 110, 100, 27);
    Button1 = new ui::TButton(this, "Mégsem");
    Button1->SetBounds(260, 110, 100, 27);
    SetTabOrder({Edit1, Edit2, Button2, Button1});

    OnActivate = Handler(&TEgyebFaj::FormActivate);
    OnKeyPress = Handler(&TEgyebFaj::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TEgyebFaj::Button1Click);
    Button2->OnClick = Handler(&TEgyebFaj::Button2Click);
}

void TEgyebFaj::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1});
}

void TEgyebFaj::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'R', Button2}, {'X', Button1}});
}

void TEgyebFaj::Button1Click(TObject*) {
    Close();
}

// The species gets the next free code; an empty name is refused with the dialog open.
void TEgyebFaj::Button2Click(TObject*) {
    if (!ui::TypedValuesValid(*this))
        return;
    if (Edit1->Text().empty()) {
        ui::Application->MessageBox("Kérem a faj megnevezését !", "Hiányzó Adatok!", ui::MB_OK);
        return;
    }
    // The lists and the fields name a species by its name: one row for each.
    if (reg::NameTaken(session_, "Magfajtak", "Faj", Edit1->Text())) {
        ui::MessageDlg("Ilyen nevű növényfaj, ágazat már van a listában!", ui::mtWarning, ui::mbOK);
        return;
    }
    std::string code = reg::NextSpeciesCode(session_);
    if (!Table1.Active())
        Table1.Open();
    Table1.Insert();
    Table1.FieldByName("Fajkod").SetAsString(code);
    Table1.FieldByName("Faj").SetAsString(Edit1->Text());
    Table1.FieldByName("Latin").SetAsString(Edit2->Text());
    Table1.Post();
    Table1.FlushBuffers();
    CreatedSpeciesCode = code;
    Close();
}
