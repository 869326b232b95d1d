#pragma once
// "Termelést befolyásoló tényezők": the factors that influence production on one field,
// each with the intervention against it and its year.

#include "field_chooser.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class TParcBefTeny : public ui::TForm {
public:
    explicit TParcBefTeny(db::Session& session);

private:
    db::Session& session_;

public:
    // The field whose factors are shown: "TEMP" while a field is being created, "" from
    // the menu (the chooser is shown), else the field's Parckod.
    std::string FieldCode;

    reg::FieldChooser Chooser;             // the active fields, the chooser and the header
    db::TTable Table2{session_, "Table2"}; // Parcteny.db, always narrowed to FieldCode
    db::TDataSource DataSource2{&Table2};

    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1;     // "Új elem"
    ui::TButton* Button2;     // "Módosítás"
    ui::TButton* Button3;     // "Törlés"
    ui::TButton* Button4;     // "Másik parcella"
    ui::TButton* Button5;     // "Bezárás"
    ui::TGroupBox* GroupBox1; // the editor
    ui::TEdit* Edit1;         // "Megnevezés"
    ui::TEdit* Edit2;         // "Beavatkozás"
    ui::TEdit* Edit3;         // "Beavatkozás ideje (év)"
    ui::TButton* Button7;     // "Rögzítés"
    ui::TButton* Button8;     // "Mégsem"

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender); // "Kiválasztás"
    void Button7Click(TObject* Sender);
    void Button8Click(TObject* Sender);

private:
    void ShowFactors(const std::string& code);
    void ShowEditor(const std::string& caption);
    bool editing_ = false; // the editor changes the current row; else it adds one
};
extern TParcBefTeny* ParcBefTeny;
