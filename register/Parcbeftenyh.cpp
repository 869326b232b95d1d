#include "Parcbeftenyh.h"

#include "core/Isnuminth.h"
#include "platform/db/filter.h"
#include "platform/ui/form_helpers.h"

TParcBefTeny* ParcBefTeny = nullptr;

TParcBefTeny::TParcBefTeny(db::Session& session) : session_(session), Chooser(this, session, 8, 8) {
    SetCaption("Termelést befolyásoló tényezők");
    SetClientSize(720, 420);
    SetPosition(ui::poScreenCenter);

    Table2.SetTableName("Parcteny.db");

    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 60, 704, 310);
    DBGrid1->SetDataSource(&DataSource2);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Megnev", "Megnevezés", 260);
    DBGrid1->Columns().Add("Beavat", "Beavatkozás", 260);
    DBGrid1->Columns().Add("Beavido", "Beavatkozás ideje (év)", 140);
    int x = 8;
    auto button = [&](const std::string& caption) {
        auto* b = new ui::TButton(this, caption);
        b->SetBounds(x, 382, 110, 27);
        x += 120;
        return b;
    };
    Button1 = button("Új elem");
    Button2 = button("Módosítás");
    Button3 = button("Törlés");
    Button4 = button("Másik parcella");
    Button5 = button("Bezárás");

    GroupBox1 = new ui::TGroupBox(this, "Új elem");
    GroupBox1->setAutoFillBackground(true);
    GroupBox1->SetBounds(0, 0, 520, 160);
    GroupBox1->hide();
    ui::EditBoxOverList(GroupBox1);
    auto row = [&](const std::string& caption, int top) {
        auto* l = new ui::TLabel(GroupBox1, caption);
        l->SetBounds(12, top + 4, 170, 16);
        auto* e = new ui::TEdit(GroupBox1);
        e->SetBounds(190, top, 310, 22);
        return e;
    };
    Edit1 = row("Megnevezés :", 24);
    Edit1->SetMaxLength(60);
    Edit2 = row("Beavatkozás :", 54);
    Edit2->SetMaxLength(60);
    Edit3 = row("Beavatkozás ideje (év) :", 84);
    ui::FitToFields(session, "Parcteny", {{Edit3, "Beavido"}});
    Button7 = new ui::TButton(GroupBox1, "Rögzítés");
    Button7->SetBounds(290, 120, 100, 27);
    Button8 = new ui::TButton(GroupBox1, "Mégsem");
    Button8->SetBounds(400, 120, 100, 27);

    OnShow = Handler(&TParcBefTeny::FormShow);
    OnClose = Handler(&TParcBefTeny::FormClose);
    OnKeyPress = Handler(&TParcBefTeny::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    DBGrid1->OnDblClick = Handler(&TParcBefTeny::Button2Click);
    Button1->OnClick = Handler(&TParcBefTeny::Button1Click);
    Button2->OnClick = Handler(&TParcBefTeny::Button2Click);
    Button3->OnClick = Handler(&TParcBefTeny::Button3Click);
    Button4->OnClick = Handler(&TParcBefTeny::Button4Click);
    Button5->OnClick = Handler(&TParcBefTeny::Button5Click);
    Chooser.Choose->OnClick = Handler(&TParcBefTeny::Button6Click);
    Button7->OnClick = Handler(&TParcBefTeny::Button7Click);
    Button8->OnClick = Handler(&TParcBefTeny::Button8Click);
}

// The list shows only the factors of the form's field (the "TEMP" ones while a field is
// being created); from the menu it stays empty until a field is chosen.
void TParcBefTeny::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Chooser.Table});
    if (FieldCode.empty()) {
        Chooser.Header->hide();
        Chooser.ShowPanel();
        return;
    }
    if (FieldCode == "TEMP")
        Chooser.Header->hide();
    else
        Chooser.Find(FieldCode);
    ShowFactors(FieldCode);
}

void TParcBefTeny::FormClose(TObject*, TCloseAction&) {
    Table2.Close();
}

void TParcBefTeny::FormKeyPress(TObject*, TKey& Key) {
    if (GroupBox1->isVisible())
        ui::Shortcuts(Key, {{'R', Button7}, {'X', Button8}});
    else
        ui::Shortcuts(Key, {{'T', Button3}, {'X', Button5}});
}

void TParcBefTeny::ShowFactors(const std::string& code) {
    Table2.Close();
    Table2.SetFilter("Parckod = " + db::quoteFilterText(code));
    Table2.SetFiltered(true);
    Table2.Open();
}

void TParcBefTeny::ShowEditor(const std::string& caption) {
    GroupBox1->SetCaption(caption);
    GroupBox1->show();
    GroupBox1->raise();
}

void TParcBefTeny::Button1Click(TObject*) {
    editing_ = false;
    Edit1->Clear();
    Edit2->Clear();
    Edit3->Clear();
    ShowEditor("Új elem");
}

void TParcBefTeny::Button2Click(TObject*) {
    if (!Table2.Active() || Table2.IsEmpty())
        return;
    editing_ = true;
    Edit1->SetText(Table2.FieldByName("Megnev").AsString());
    Edit2->SetText(Table2.FieldByName("Beavat").AsString());
    Edit3->SetText(Table2.FieldByName("Beavido").AsString());
    ShowEditor("Módosítás");
}

void TParcBefTeny::Button3Click(TObject*) {
    if (!Table2.Active() || Table2.IsEmpty())
        return;
    Table2.Delete();
    Table2.FlushBuffers();
}

void TParcBefTeny::Button4Click(TObject*) {
    Chooser.ShowPanel();
}

void TParcBefTeny::Button5Click(TObject*) {
    Close();
}

void TParcBefTeny::Button6Click(TObject*) {
    std::string code = Chooser.Current();
    if (code.empty())
        return;
    FieldCode = code;
    Chooser.Find(FieldCode);
    ShowFactors(FieldCode);
    Chooser.HidePanel();
}

// A factor belongs to a field; the year must be a whole number.
void TParcBefTeny::Button7Click(TObject*) {
    if (FieldCode.empty()) {
        ui::MessageDlg("Kérem előbb válassza ki a parcellát (Másik parcella)!", ui::mtWarning,
                       ui::mbOK);
        return;
    }
    if (!NumericInt->IsValidInteger(Edit3->Text(), "Beavatkozás ideje (év)") ||
        !NumericInt->IsValidYear(Edit3->Text(), "Beavatkozás ideje (év)"))
        return;
    if (editing_)
        Table2.Edit();
    else
        Table2.Insert();
    Table2.FieldByName("Parckod").SetAsString(FieldCode);
    Table2.FieldByName("Megnev").SetAsString(Edit1->Text());
    Table2.FieldByName("Beavat").SetAsString(Edit2->Text());
    Table2.FieldByName("Beavido").SetAsString(Edit3->Text());
    Table2.Post();
    Table2.FlushBuffers();
    GroupBox1->hide();
}

void TParcBefTeny::Button8Click(TObject*) {
    GroupBox1->hide();
}
