#pragma once
// "Tervezett műveletek kezelése": the planned operations of every field; one can be
// declared done (it becomes a performed operation on its field) or deleted.

#include "Muvmasoloh.h"
#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/ui/vcl.h"

#include <memory>

class TTervkezeles : public ui::TForm {
public:
    explicit TTervkezeles(db::Session& session);
    ~TTervkezeles() override;

private:
    db::Session& session_;
    std::unique_ptr<Tmuvmasolo> copier_; // never shown; lives from show to close

public:
    db::TQuery Query1{session_, "Query1"}; // the planned operations with their fields
    db::TDataSource DataSource1{&Query1};

    ui::TLabel* Label1; // "Megtervezett műveletek kezelése"
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1; // "Bezárás"
    ui::TButton* Button2; // "Megvalósult"
    ui::TButton* Button3; // "Módosítás"
    ui::TButton* Button4; // "Törlés"

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button4Click(TObject* Sender);

private:
    void Reopen();
};
extern TTervkezeles* Tervkezeles;
