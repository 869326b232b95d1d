#include "sample_forms.h"

#include "platform/db/dataset.h"

TMintaSzerk* MintaSzerk = nullptr;
TMintaLista* MintaLista = nullptr;

TMintaSzerk::TMintaSzerk() {
    SetCaption("Minta szerkesztése");
    SetClientSize(320, 140);
    SetPosition(ui::poScreenCenter);
    Label1 = new ui::TLabel(this, "Megnevezés :");
    Label1->SetBounds(8, 12, 100, 16);
    Edit1 = new ui::TEdit(this);
    Edit1->SetBounds(120, 8, 180, 22);
    Edit1->SetMaxLength(10);
    Label2 = new ui::TLabel(this, "Adószám :");
    Label2->SetBounds(8, 44, 100, 16);
    MaskEdit1 = new ui::TMaskEdit(this);
    MaskEdit1->SetBounds(120, 40, 180, 22);
    MaskEdit1->SetEditMask("99999999-9-99;1;_");
    Button1 = new ui::TButton(this, "Rögzítés");
    Button1->SetBounds(120, 100, 85, 27);
    Button2 = new ui::TButton(this, "Mégsem");
    Button2->SetBounds(215, 100, 85, 27);
    OnShow = Handler(&TMintaSzerk::FormShow);
    Button1->OnClick = Handler(&TMintaSzerk::Button1Click);
    Button2->OnClick = Handler(&TMintaSzerk::Button2Click);
    SetEnterMovesLikeTab(true);
}

void TMintaSzerk::FormShow(TObject*) {
    if (Mode == "modosit")
        SetCaption("Minta módosítása");
    Edit1->SetFocus();
}

void TMintaSzerk::Button1Click(TObject*) {
    if (Edit1->Text().empty()) {
        ui::MessageDlg("A megnevezés nem lehet üres!", ui::mtWarning, ui::mbOK);
        return;
    }
    Saved = Edit1->Text() + "|" + MaskEdit1->Text();
    SetModalResult(ui::mrOk);
}

void TMintaSzerk::Button2Click(TObject*) {
    Close();
}

TMintaLista::TMintaLista() {
    SetCaption("Minták");
    SetClientSize(400, 260);
    ListBox1 = new ui::TListBox(this);
    ListBox1->SetBounds(8, 8, 280, 240);
    Button1 = new ui::TButton(this, "Új");
    Button1->SetBounds(300, 8, 90, 27);
    Button2 = new ui::TButton(this, "Törlés");
    Button2->SetBounds(300, 40, 90, 27);
    Button3 = new ui::TButton(this, "Bezárás");
    Button3->SetBounds(300, 72, 90, 27);
    Button4 = new ui::TButton(this, "Hiba");
    Button4->SetBounds(300, 104, 90, 27);
    OnActivate = Handler(&TMintaLista::FormActivate);
    OnClose = Handler(&TMintaLista::FormClose);
    OnKeyPress = Handler(&TMintaLista::FormKeyPress);
    SetKeyPreview(true);
    Button1->OnClick = Handler(&TMintaLista::Button1Click);
    Button2->OnClick = Handler(&TMintaLista::Button2Click);
    Button3->OnClick = Handler(&TMintaLista::Button3Click);
    Button4->OnClick = Handler(&TMintaLista::Button4Click);
}

void TMintaLista::FormActivate(TObject*) {
    ++Activations;
    Events.push_back("activate");
}

void TMintaLista::FormClose(TObject*, ui::TCloseAction&) {
    Events.push_back("close");
}

// Ctrl+U new, Ctrl+T delete, Ctrl+X close; other keys pass.
void TMintaLista::FormKeyPress(TObject*, ui::TKey& Key) {
    if (Key == ui::ctrlKey('U'))
        Button1Click(Button1);
    else if (Key == ui::ctrlKey('T'))
        Button2Click(Button2);
    else if (Key == ui::ctrlKey('X'))
        Button3Click(Button3);
    else
        return;
    Key = ui::keyNone;
}

// Opens the editing dialog; after it closes asks whether to add another.
void TMintaLista::Button1Click(TObject*) {
    Events.push_back("new");
    {
        ui::OwnedForm<TMintaSzerk> form(MintaSzerk);
        form->Mode = "uj";
        if (form->ShowModal() == ui::mrOk)
            ListBox1->Items().Add(form->Saved);
    }
    if (ui::MessageDlg("Kéri további minta felvitelét?", ui::mtConfirmation, ui::mbYesNo) ==
        ui::mrYes)
        Button1Click(Button1);
}

void TMintaLista::Button2Click(TObject*) {
    if (ListBox1->ItemIndex() < 0)
        return;
    if (ui::MessageDlg("Valóban törli?", ui::mtConfirmation, ui::mbYesNo) == ui::mrYes)
        ListBox1->Items().Delete(ListBox1->ItemIndex());
}

void TMintaLista::Button3Click(TObject*) {
    Close();
}

void TMintaLista::Button4Click(TObject*) {
    Events.push_back("error");
    throw db::DatabaseError("Table1: a tábla nincs megnyitva");
}
