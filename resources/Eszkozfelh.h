#pragma once
// "Erőgépek, munkagépek felvitele": enters a new own tractor or implement.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class TEszkozfel : public ui::TForm {
public:
    explicit TEszkozfel(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Erogepek.db in Gepkod order
    db::TTable Table2{session_, "Table2"}; // Munkagepek.db in Gepkod order

    ui::TPageControl* PageControl1;
    ui::TTabSheet* TabSheet1; // "Erőgép felvitele"
    ui::TEdit* Edit4;         // type
    ui::TEdit* Edit3;         // own number
    ui::TComboBox* ComboBox1; // size class
    ui::TEdit* Edit7;         // year of purchase
    ui::TTabSheet* TabSheet2; // "Munkagép felvitele"
    ui::TEdit* Edit2;         // name
    ui::TEdit* Edit5;         // own number
    ui::TEdit* Edit6;         // type
    ui::TEdit* Edit1;         // year of purchase
    ui::TButton* Button3;     // "Mégsem"
    ui::TButton* Button4;     // "Rögzítés"

    void FormActivate(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);

private:
    bool SaveTractor();
    bool SaveImplement();
};
extern TEszkozfel* Eszkozfel;
