#pragma once
// "Gázolaj számla összesítő": the register of diesel invoices with the totals of litres
// and amounts over the listed entries, a date-range filter, and its printout.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

class TGazolajszlaossz : public ui::TForm {
public:
    explicit TGazolajszlaossz(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Gazolajszla.DB in GayDat
    db::TDataSource DataSource1{&Table1};
    TRvProject RvProject1{this, "RvProject1", "Gazolajsz.rav"};
    TRvTableConnection RvTableGazolajConnection1{this, "RvTableGazolajConnection1", &Table1};
    reg::FarmRow FarmRow1{this, session_};

    ui::TDBGrid* DBGrid1;
    ui::TEdit* Edit4;      // "Összes liter:"
    ui::TEdit* Edit5;      // "Összes összeg:"
    ui::TButton* Button3;  // "Új feljegyzés"
    ui::TButton* Button2;  // "Módosítás"
    ui::TButton* Button6;  // "Törlés"
    ui::TButton* Button7;  // "Szűkítés"
    ui::TButton* Button10; // "Nyomtatás"
    ui::TButton* Button1;  // "Bezárás"

    ui::TGroupBox* GroupBox1; // "Feljegyzés"
    ui::TDateTimePicker* DateTimePicker1;
    ui::TEdit* Edit2;     // "Bizonylat száma :"
    ui::TEdit* Edit1;     // "Mennyiség :"
    ui::TEdit* Edit3;     // "Összeg :"
    ui::TButton* Button5; // "Rögzítés"
    ui::TButton* Button4; // "Mégsem"

    ui::TGroupBox* GroupBox2;             // "Szűkítés"
    ui::TDateTimePicker* DateTimePicker2; // from
    ui::TDateTimePicker* DateTimePicker3; // to
    ui::TButton* Button8;                 // "Szűkítés"
    ui::TButton* Button9;                 // "Összes"

    ui::TPopupMenu* PopupMenu1; // the list's
    ui::TPopupMenu* PopupMenu2; // the entry panel's
    ui::TPopupMenu* PopupMenu3; // the date-range panel's

    // Whether the open entry panel modifies the current row (else it makes a new one).
    bool ModifyMode = false;

    // Recomputes and shows the totals of litres and amounts over the listed rows.
    void RecalcDieselTotals();

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void DBGrid1DblClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void Button10Click(TObject* Sender);
    void GroupBox2Exit(TObject* Sender);

private:
    // The list's buttons in or out of the tab order, "Szűkítés" enabled with them.
    void ListButtonsActive(bool active);
    void OpenForModify(int top);
};
extern TGazolajszlaossz* Gazolajszlaossz;

// The date-range filter of the register: "Dat >= '2010. 3. 1.' AND Dat <= '2010. 3. 31.'".
std::string DieselDateFilter(sys::DateTime from, sys::DateTime to);
