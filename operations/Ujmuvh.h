#pragma once
// "Új művelet meghatározása": adds one operation type to Normalhektar.db, or gives an
// existing type of the category (picked from the name list or typed) its factor and
// extra value.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class TUjmuv : public ui::TForm {
public:
    explicit TUjmuv(db::Session& session);

private:
    db::Session& session_;
    bool activated_ = false;
    bool InCategory(int category);
    bool FindType(const std::string& name, int category);

public:
    db::TTable Table1{session_, "Table1"}; // Normalhektar.db

    ui::TComboBox* Edit1;     // "Művelet megnevezése :", the category's types offered
    ui::TComboBox* ComboBox1; // "Kategória :"
    ui::TEdit* Edit2;         // "Traktormunka normálhektár :"
    ui::TComboBox* ComboBox2; // the factor's unit
    ui::TCheckBox* CheckBox1; // "Extra adatok :"
    ui::TGroupBox* GroupBox1;
    ui::TRadioButton* RadioButton1; // "Hozam"
    ui::TRadioButton* RadioButton2; // "Mélység"
    ui::TRadioButton* RadioButton3; // "Hozam és melléktermény neve"
    ui::TButton* Button1;           // "Bezár"
    ui::TButton* Button2;           // "Rögzít"

    void FormActivate(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void ComboBox1Change(TObject* Sender);
    void Edit1Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
};
extern TUjmuv* Ujmuv;

// "Normálhektár átszámítási tényezők": shows "normalhektar.txt" of the working directory,
// read-only, so that nothing typed changes it.
class TNormalhek : public ui::TForm {
public:
    explicit TNormalhek(db::Session& session);

    ui::TRichEdit* RichEdit1;

    void FormActivate(TObject* Sender);

private:
    db::Session& session_;
};
extern TNormalhek* Normalhek;
