#include "sample_forms.h"

#include "platform/db/dataset.h"

TMintaSzerk* MintaSzerk = nullptr;
TMintaLista* MintaLista = nullptr;
TParcellaSzerk* ParcellaSzerk = nullptr;
TParcellaLista* ParcellaLista = nullptr;

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

TParcellaSzerk::TParcellaSzerk() {
    SetCaption("Parcella módosítása");
    SetClientSize(320, 140);
    DBText1 = new ui::TDBText(this);
    DBText1->SetBounds(8, 8, 100, 18);
    DBEdit1 = new ui::TDBEdit(this);
    DBEdit1->SetBounds(8, 32, 300, 22);
    DBEdit2 = new ui::TDBEdit(this);
    DBEdit2->SetBounds(8, 62, 100, 22);
    Button1 = new ui::TButton(this, "Rögzítés");
    Button1->SetBounds(120, 100, 85, 27);
    Button2 = new ui::TButton(this, "Mégsem");
    Button2->SetBounds(215, 100, 85, 27);
    OnShow = Handler(&TParcellaSzerk::FormShow);
    Button1->OnClick = Handler(&TParcellaSzerk::Button1Click);
    Button2->OnClick = Handler(&TParcellaSzerk::Button2Click);
}

void TParcellaSzerk::FormShow(TObject*) {
    DBText1->SetDataSource(Source);
    DBText1->SetDataField("Kod");
    DBEdit1->SetDataSource(Source);
    DBEdit1->SetDataField("Agazat");
    DBEdit2->SetDataSource(Source);
    DBEdit2->SetDataField("Evj");
    DBEdit1->SetFocus();
}

// Posts the row (what is typed in the boxes goes with it).
void TParcellaSzerk::Button1Click(TObject*) {
    Source->DataSet()->Post();
    SetModalResult(ui::mrOk);
}

void TParcellaSzerk::Button2Click(TObject*) {
    Source->DataSet()->Cancel();
    Close();
}

TParcellaLista::TParcellaLista() {
    SetCaption("Parcellák");
    SetClientSize(420, 260);
    Table1.SetTableName("parcellak");
    Table1.Open();
    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 8, 300, 240);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->Columns().Add("Kod", "Kód", 70);
    DBGrid1->Columns().Add("Agazat", "Ágazat", 200);
    Button1 = new ui::TButton(this, "Módosítás");
    Button1->SetBounds(320, 8, 90, 27);
    Button1->OnClick = Handler(&TParcellaLista::Button1Click);
}

void TParcellaLista::Button1Click(TObject*) {
    ui::OwnedForm<TParcellaSzerk> form(ParcellaSzerk);
    form->Source = &DataSource1;
    form->ShowModal();
}
