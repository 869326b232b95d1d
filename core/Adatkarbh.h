#pragma once
// "Beállítások, karbantartás": the database maintenance commands (backup into the BackUp
// folder, restore from it, deletion of all recorded data, dated archive of the BackUp
// folder) and the user's option switches, which are rows of Alapadatok.db.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/datetime.h"
#include "platform/ui/vcl.h"

#include <functional>
#include <string>

class TAdatkarb : public ui::TForm {
public:
    explicit TAdatkarb(db::Session& session);

    db::TTable Table1; // no table of its own: the stock switch and delete-all name one

    ui::TPageControl* PageControl1;
    ui::TTabSheet* TabSheet1; // "Adatbázis karbantartása"
    ui::TTabSheet* TabSheet2; // "Készletkezelés"
    ui::TTabSheet* TabSheet3; // "Megjelenés"

    ui::TButton* Button1; // "Biztonsági mentés"
    ui::TButton* Button2; // "Visszatöltés"
    ui::TButton* Button4; // "Archivállás"
    ui::TButton* Button3; // "Adatok törlése"
    ui::TLabel* Label1;   // the explanations beside the buttons
    ui::TLabel* Label2;
    ui::TLabel* Label3;
    ui::TLabel* Label4;
    ui::TLabel* Label5;
    ui::TLabel* Label6;

    ui::TCheckBox* CheckBox1; // stock keeping off ("_kesz" = "no")

    ui::TGroupBox* GroupBox1; // "Műveleti adatok "
    ui::TCheckBox* CheckBox2; // "_MuvFormState"
    ui::TCheckBox* CheckBox3; // "_MuvFormEddig"
    ui::TCheckBox* CheckBox6; // "_ElozoParc"
    ui::TGroupBox* GroupBox2; // "Új tábla kialakítása"
    ui::TCheckBox* CheckBox4; // "_UjParcState"
    ui::TGroupBox* GroupBox3; // "Erőgépek - munkagépek"
    ui::TCheckBox* CheckBox5; // "_GepekFormState"

    // The date and time the archive is named after; the system clock unless a test sets
    // another.
    std::function<sys::DateTime()> Clock = sys::now;

    void FormShow(TObject* Sender);
    void Button1Click(TObject* Sender); // backup
    void Button2Click(TObject* Sender); // restore
    void Button3Click(TObject* Sender); // delete all data
    void Button4Click(TObject* Sender); // archive
    void CheckBox1Click(TObject* Sender);
    void CheckBox2Click(TObject* Sender);
    void CheckBox3Click(TObject* Sender);
    void CheckBox4Click(TObject* Sender);
    void CheckBox5Click(TObject* Sender);
    void CheckBox6Click(TObject* Sender);

private:
    void CreateMaintenancePage();
    void CreateStockPage();
    void CreateAppearancePage();
    std::filesystem::path WorkingDirectory() const { return session_.directory(); }
    std::filesystem::path BackupFolder() const;
    void Backup();

    db::Session& session_;
};

extern TAdatkarb* Adatkarb;

namespace core {

// "res" + year + "_" + month + "_" + day + "_" + hour + "_" + minute + "_" + second, each
// without leading zeros, the milliseconds dropped: "res2010_7_21_9_5_3".
std::string ArchiveName(sys::DateTime when);

} // namespace core
