#pragma once
// "Kapcsolódó dokumentumok": the register of the diary's remarks (GNMegjegy.db). Each
// remark names the sheet, page and column or row of a printed diary sheet it refers to;
// the register adds, modifies, deletes, duplicates, narrows them to a date range and
// prints them as the remarks sheet "09GN18Megjegyz.rav".

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/sys/datetime.h"
#include "platform/ui/db_controls.h"
#include "platform/ui/menus.h"
#include "platform/ui/picker.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <string>

// The serial proposed for a new remark: the largest Msorsz of the whole table plus 1; 1
// for a table with no serial.
int NextRemarkSerial(db::Session& session);

// The filter of the remarks dated from `from` to `to`, both days included.
std::string RemarkDateFilter(sys::DateTime from, sys::DateTime to);

class TGNKapcsdoc : public ui::TForm {
public:
    explicit TGNKapcsdoc(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // GNMegjegy.db
    db::TDataSource DataSource1{&Table1};
    TRvProject RvProject1{this, "RvProject1", "09GN18Megjegyz.rav"};
    TRvTableConnection RvTableGN16MegjegyConnection1{this, "RvTableGN16MegjegyConnection1",
                                                     &Table1};
    reg::FarmRow FarmRow1{this, session_};

    ui::TDBGrid* DBGrid1;
    ui::TButton* Button2; // "Új megjegyzés"
    ui::TButton* Button3; // "Módosítás"
    ui::TButton* Button4; // "Törlés"
    ui::TButton* Button5; // "Duplázás"
    ui::TButton* Button6; // "Nyomtatás"
    ui::TButton* Button9; // "Szűkítés"
    ui::TButton* Button1; // "Bezár"
    ui::TPopupMenu* PopupMenu1;

    ui::TGroupBox* GroupBox1;             // the editor
    ui::TDBEdit* DBEdit1;                 // "Sorszám :" (Msorsz)
    ui::TDateTimePicker* DateTimePicker1; // "Ideje :"
    ui::TDBEdit* DBEdit2;                 // "GN adatlap száma :" (Gnszam)
    ui::TDBEdit* DBEdit3;                 // "GN adatlap lapszáma :" (Gnlapsz)
    ui::TDBEdit* DBEdit4;                 // "Oszlop jelzlse v. sor száma :" (Oszl)
    ui::TDBEdit* DBEdit5;                 // "Megjegyzés :" (Megj)
    ui::TButton* Button7;                 // "Rögzítés"
    ui::TButton* Button8;                 // "Mégsem"

    ui::TGroupBox* GroupBox2;             // "Szűkítés"
    ui::TDateTimePicker* DateTimePicker2; // "- tól"
    ui::TDateTimePicker* DateTimePicker3; // "- ig"
    ui::TButton* Button10;                // "Ok"
    ui::TButton* Button11;                // "Mégsem"

    void FormShow(TObject* Sender);
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
    void Button11Click(TObject* Sender);

private:
    bool Editing() const;
    void OpenEditor(const std::string& caption, sys::DateTime date);
    void CloseEditor();
};
extern TGNKapcsdoc* GNKapcsdoc;

// Opens the remarks register modally, nothing set on it.
void OpenDiaryRemarks(db::Session& session);
