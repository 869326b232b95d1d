#pragma once
// "Lista a nyílvántartott területekről(hrsz)": the active land parcels with their owners,
// printed through "Tablak.rav".

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class TTablalista : public ui::TForm {
public:
    explicit TTablalista(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // tablak.DB, active land parcels, by lot number
    db::TDataSource DataSource1{&Table1};
    db::TTable Table2{session_, "Table2"}; // tulaj.db: the owner of Table1's current row
    db::TDataSource DataSource2{&Table2};

    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1; // "Nyomtatás"
    ui::TButton* Button2; // "Vissza"
    ui::TPopupMenu* PopupMenu1;
    ui::TMenuItem* Nyomtats1; // "Nyomtatás         CTRL+I"
    ui::TMenuItem* Vissza1;   // "Vissza                 CTRL+X"

    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
};
extern TTablalista* Tablalista;
