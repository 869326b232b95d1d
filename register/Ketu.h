#pragma once
// "KET (kötelezettségvállalással érintett egybefüggő területek) kezelése": the contiguous
// areas under an agri-environment commitment, created, modified and soft-deleted.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <optional>
#include <string>

class Tket : public ui::TForm {
public:
    explicit Tket(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // the listed KETs with their programme
    db::TQuery Query2{session_, "Query2"}; // the highest serial
    db::TTable Table1{session_, "Table1"}; // kotegyter.db, written
    db::TTable Table2{session_, "Table2"}; // celprogramok.db
    db::TTable Table3{session_, "Table3"}; // Akgmuvag.db
    db::TDataSource DataSource1{&Query1};
    db::TDataSource DataSource2{&Table2};
    db::TDataSource DataSource3{&Table3};

    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1;                     // "új KET"
    ui::TButton* Button2;                     // "módosítás"
    ui::TButton* Button3;                     // "törlés"
    ui::TButton* Button4;                     // "bezárás"
    ui::TGroupBox* GroupBox1;                 // the editor
    ui::TDBLookupComboBox* DBLookupComboBox1; // "AKG célprogram"
    ui::TEdit* Edit1;                         // house name
    ui::TEdit* Edit2;                         // serial
    ui::TEdit* Edit3;                         // measurement record
    ui::TEdit* Edit4;                         // area, ha
    ui::TCheckBox* CheckBox1;                 // "natúra2000"
    ui::TCheckBox* CheckBox2;                 // "nitrátérzékeny terület"
    ui::TCheckBox* CheckBox3;                 // "12%-os lejtő"
    ui::TCheckBox* CheckBox4;                 // "KAT"
    ui::TDBLookupComboBox* DBLookupComboBox2; // "AKG művelési ág"
    ui::TEdit* Edit5;                         // area after the first change
    ui::TEdit* Edit6;                         // area after the second change
    ui::TMaskEdit* MaskEdit1;                 // block after the first change
    ui::TMaskEdit* MaskEdit2;                 // block after the second change
    ui::TButton* Button5;                     // "rögzítés"
    ui::TButton* Button6;                     // "mégsem"

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);

private:
    void ShowEditor(const std::string& caption);
    void ReloadList(std::optional<int> keep);
    // The Id of the list's current KET; none on an empty list.
    std::optional<int> CurrentId();

    std::optional<int> edited_; // the KET in the editor; none: a new one
};
extern Tket* ket;

namespace reg {
// The proposed serial of a new KET: the highest serial of kotegyter.db, deleted rows
// included, plus one; 1 for an empty table.
int NextKetSerial(db::Session& session);
} // namespace reg
