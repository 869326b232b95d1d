#include "core/Adatkarbh.h"

#include "core/Isnuminth.h"
#include "core/fresh_database.h"
#include "core/inventory.h"
#include "platform/db/pager.h"
#include "platform/db/session.h"
#include "platform/db/table_file.h"
#include "platform/sys/archive.h"
#include "platform/sys/error_text.h"
#include "platform/sys/file_copy.h"
#include "platform/ui/form_helpers.h"
#include "platform/ui/progress.h"

#include <optional>

namespace fs = std::filesystem;

TAdatkarb* Adatkarb = nullptr;

namespace {

// A change that a crash interrupted is undone before the table's files are copied, as
// the next opening of the table would undo it: copied with its journal pending, a table
// would be torn, and a journal left beside restored files would be applied to them. An
// emptied journal is flushed, so that a power cut cannot bring it back either.
void RecoverInterruptedChanges(const fs::path& folder) {
    for (const core::InventoryTable* table : core::BackupOrder()) {
        const fs::path data = core::FindDatabaseFile(folder, std::string(table->name) + ".db");
        const fs::path journal = db::companionPath(data, ".jnl");
        std::error_code ignored;
        if (fs::exists(journal, ignored)) {
            db::Pager::recover(journal);
            db::Pager::settle(journal);
        }
    }
}

bool IsFile(const fs::path& path) {
    std::error_code ignored;
    return fs::is_regular_file(path, ignored);
}

// Where a file goes in `folder`: over the file of that name in any letter case, or under
// the name of its source.
fs::path TargetIn(const fs::path& folder, const std::string& name, const fs::path& source) {
    const fs::path existing = core::FindDatabaseFile(folder, name);
    return IsFile(existing) ? existing : folder / source.filename();
}

// A file of a set that could not be copied: its inventory name and why, in Hungarian.
struct CopyProblem {
    std::string name;
    std::string reason;
};

// The copies of a set of database files from one folder into another, or the first file
// that cannot be copied before anything is written: a folder or a source file missing.
struct CopyPlan {
    std::vector<sys::FileCopy> copies;
    std::vector<std::string> names; // the inventory name of each copy
    std::optional<CopyProblem> problem;
};

// The folders of a copy as the user knows them.
struct CopyFolders {
    fs::path from, to;
    const char* fromName; // "a munkakönyvtárban", "a BackUp mappában"
};

bool IsFolder(const fs::path& path) {
    std::error_code ignored;
    return fs::is_directory(path, ignored);
}

CopyPlan PlanCopies(const std::vector<core::InventoryFile>& files, const CopyFolders& folders) {
    CopyPlan plan;
    if (!IsFolder(folders.from) || !IsFolder(folders.to)) {
        const std::string first = files.empty() ? std::string() : files.front().name;
        plan.problem = CopyProblem{first, "A BackUp mappa nem található a munkakönyvtárban."};
        return plan;
    }
    for (const core::InventoryFile& file : files) {
        const fs::path source = core::FindDatabaseFile(folders.from, file.name);
        if (!IsFile(source)) {
            if (file.optional)
                continue;
            plan.problem = CopyProblem{file.name, std::string("A fájl nem található ") +
                                                      folders.fromName + "."};
            return plan;
        }
        plan.copies.push_back({source, TargetIn(folders.to, file.name, source)});
        plan.names.push_back(file.name);
    }
    return plan;
}

// Why a copy failed, in Hungarian when the system's reason is a known one.
std::string CopyFailureReason(const std::string& problem) {
    const std::string reason = sys::systemReasonText(problem);
    return "A fájl nem másolható: " + (reason.empty() ? problem : reason) + ".";
}

// Copies the plan's files as one set; the file whose copy failed and why, if any.
std::optional<CopyProblem> CopyAll(const CopyPlan& plan, QWidget* owner,
                                   const std::string& caption) {
    if (plan.problem)
        return plan.problem;
    ui::TProgressWindow progress(owner, caption);
    const std::optional<sys::CopyFailure> failure = sys::copyFileSet(
        plan.copies, [&](std::size_t done, std::size_t total) { progress.Done(done, total); });
    if (failure)
        return CopyProblem{plan.names.at(failure->index), CopyFailureReason(failure->problem)};
    return std::nullopt;
}

void ShowError(const std::string& text) {
    ui::MessageDlg(text, ui::mtError, ui::mbOK);
}

} // namespace

TAdatkarb::TAdatkarb(db::Session& session) : Table1(session, "Table1"), session_(session) {
    SetCaption("Beállítások, karbantartás");
    SetClientSize(560, 330);
    SetPosition(ui::poScreenCenter);
    PageControl1 = ui::Make<ui::TPageControl>(this, {8, 8, 544, 314});
    TabSheet1 = new ui::TTabSheet(PageControl1, "Adatbázis karbantartása");
    TabSheet2 = new ui::TTabSheet(PageControl1, "Készletkezelés");
    TabSheet3 = new ui::TTabSheet(PageControl1, "Megjelenés");
    CreateMaintenancePage();
    CreateStockPage();
    CreateAppearancePage();
    PageControl1->SetActivePage(TabSheet1);
    OnShow = Handler(&TAdatkarb::FormShow);
}

void TAdatkarb::CreateMaintenancePage() {
    Button1 = ui::Make<ui::TButton>(TabSheet1, {16, 16, 140, 33}, "Biztonsági mentés");
    Button2 = ui::Make<ui::TButton>(TabSheet1, {16, 80, 140, 33}, "Visszatöltés");
    Button4 = ui::Make<ui::TButton>(TabSheet1, {16, 144, 140, 33}, "Archivállás");
    Button3 = ui::Make<ui::TButton>(TabSheet1, {16, 208, 140, 33}, "Adatok törlése");
    Label1 = ui::Make<ui::TLabel>(TabSheet1, {172, 16, 350, 16},
                                  "A helyes mentéshez közvetlen program-");
    Label2 = ui::Make<ui::TLabel>(TabSheet1, {172, 32, 350, 16}, "indítás után szükséges menteni.");
    Label3 = ui::Make<ui::TLabel>(TabSheet1, {172, 80, 350, 16},
                                  "Visszatöltés során  a mentés  óta rögzít-");
    Label4 = ui::Make<ui::TLabel>(TabSheet1, {172, 96, 350, 16}, "ett adatok elvesznek.");
    Label5 = ui::Make<ui::TLabel>(TabSheet1, {172, 144, 350, 48},
                                  "Archiválás esetén a program a BackUp könyvtár tartalmát "
                                  "egy dátummal ellátott tömörített állományba teszi.");
    Label5->SetWordWrap(true);
    Label6 = ui::Make<ui::TLabel>(TabSheet1, {172, 208, 350, 48},
                                  "Adatok törlése  során  az  összes  adat- tábla "
                                  "kiürítésre kerül . Az eddig rögzített adatok törlődnek.");
    Label6->SetWordWrap(true);
    Button1->OnClick = Handler(&TAdatkarb::Button1Click);
    Button2->OnClick = Handler(&TAdatkarb::Button2Click);
    Button4->OnClick = Handler(&TAdatkarb::Button4Click);
    Button3->OnClick = Handler(&TAdatkarb::Button3Click);
}

void TAdatkarb::CreateStockPage() {
    CheckBox1 = ui::Make<ui::TCheckBox>(TabSheet2, {16, 16, 500, 20},
                                        "Készletek figyelmenkívül hagyása (műveleteknél).");
    CheckBox1->OnClick = Handler(&TAdatkarb::CheckBox1Click);
}

void TAdatkarb::CreateAppearancePage() {
    GroupBox1 = ui::Make<ui::TGroupBox>(TabSheet3, {8, 8, 520, 100}, "Műveleti adatok ");
    CheckBox2 =
        ui::Make<ui::TCheckBox>(GroupBox1, {12, 20, 496, 20}, "Maximális méretű megjelenés");
    CheckBox3 = ui::Make<ui::TCheckBox>(GroupBox1, {12, 44, 496, 20},
                                        "Eddig elvégzett műveletek megjelenítése");
    CheckBox6 = ui::Make<ui::TCheckBox>(
        GroupBox1, {12, 68, 496, 20},
        "Ne jelölje meg az előzőleg művelt táblát új művelet rögzítése után");
    GroupBox2 = ui::Make<ui::TGroupBox>(TabSheet3, {8, 116, 520, 52}, "Új tábla kialakítása");
    CheckBox4 =
        ui::Make<ui::TCheckBox>(GroupBox2, {12, 22, 496, 20}, "Maximális méretű megjelenés");
    GroupBox3 = ui::Make<ui::TGroupBox>(TabSheet3, {8, 176, 520, 52}, "Erőgépek - munkagépek");
    CheckBox5 =
        ui::Make<ui::TCheckBox>(GroupBox3, {12, 22, 496, 20}, "Maximális méretű megjelenés");
    CheckBox2->OnClick = Handler(&TAdatkarb::CheckBox2Click);
    CheckBox3->OnClick = Handler(&TAdatkarb::CheckBox3Click);
    CheckBox4->OnClick = Handler(&TAdatkarb::CheckBox4Click);
    CheckBox5->OnClick = Handler(&TAdatkarb::CheckBox5Click);
    CheckBox6->OnClick = Handler(&TAdatkarb::CheckBox6Click);
}

// Ticking a clear box runs its click handler, which writes the same value back.
void TAdatkarb::FormShow(TObject*) {
    CheckBox1->SetChecked(!NumericInt->IsStockKeepingEnabled());
    CheckBox2->SetChecked(NumericInt->GetOptionFlag("_MuvFormState"));
    CheckBox3->SetChecked(NumericInt->GetOptionFlag("_MuvFormEddig"));
    CheckBox4->SetChecked(NumericInt->GetOptionFlag("_UjParcState"));
    CheckBox5->SetChecked(NumericInt->GetOptionFlag("_GepekFormState"));
    CheckBox6->SetChecked(NumericInt->GetOptionFlag("_ElozoParc"));
}

fs::path TAdatkarb::BackupFolder() const {
    return db::resolveCaseInsensitive(WorkingDirectory(), "BackUp");
}

// Copies every database file into BackUp. The new copies replace the old ones only when
// all of them are complete, so a failed backup leaves the previous one whole.
void TAdatkarb::Backup() {
    Table1.Close();
    RecoverInterruptedChanges(WorkingDirectory());
    const CopyPlan plan =
        PlanCopies(core::BackupFiles(), {WorkingDirectory(), BackupFolder(), "a munkakönyvtárban"});
    if (const auto failed = CopyAll(plan, this, "Biztonsági mentés")) {
        ShowError("Hiba a " + failed->name + " kimentésénél!\n" + failed->reason);
        ShowError("Hibás mentés!");
        return;
    }
    ui::MessageDlg("Az adatbázis biztonsági mentése hibátlanul befejeződött.", ui::mtInformation,
                   ui::mbOK);
}

void TAdatkarb::Button1Click(TObject*) {
    Backup();
}

// Replaces the live files with the copies in BackUp, all or none: every copy is checked
// and written beside its live file before any live file is replaced.
void TAdatkarb::Button2Click(TObject*) {
    if (ui::MessageDlg("Valóban visszatölti a mentett adatbázist ? Adatvesztéssel járhat. ",
                       ui::mtWarning, ui::mbYesNo) != ui::mrYes)
        return;
    Table1.Close();
    RecoverInterruptedChanges(WorkingDirectory());
    const CopyPlan plan = PlanCopies(core::FilesOf(core::RestoreOrder()),
                                     {BackupFolder(), WorkingDirectory(), "a BackUp mappában"});
    if (const auto failed = CopyAll(plan, this, "Visszatöltés")) {
        ShowError("Hiba a " + failed->name + " visszatöltésénél!\n" + failed->reason);
        ShowError("Hibás visszatöltés!");
        return;
    }
    ui::MessageDlg("Kimentett adatbázis visszatöltése hibátlanul befejeződött. Frissítéshez a "
                   "programot indítsa újra. A program leáll.",
                   ui::mtInformation, ui::mbOK);
    ui::Application->Terminate();
}

void TAdatkarb::Button3Click(TObject*) {
    if (ui::MessageDlg("Valóban törölni szeretné az összes eddig rögzített adatot? Az összes "
                       "adat elvész. ",
                       ui::mtWarning, ui::mbYesNo) != ui::mrYes)
        return;
    // One save: every table is emptied (with its "no machine" row back) or none is.
    db::SessionTransaction transaction(session_);
    for (const core::InventoryTable* table : core::DeleteAllOrder()) {
        const std::string name(table->name);
        Table1.Close();
        Table1.SetTableName(name == "vizkivet" ? "vizkivet.DB" : name + ".db");
        Table1.EmptyTable();
        if (name == "Erogepek")
            core::InsertNoMachineRow(session_, "Erogepek");
        else if (name == "muv_novmegf")
            core::InsertNoMachineRow(session_, "Munkagepek");
    }
    transaction.Commit();
    ui::MessageDlg("Az adatok törlése sikeresen befejeződött.", ui::mtInformation, ui::mbOK);
}

// The backup, then the BackUp folder into "res<date and time>.zip" in the working
// directory; the archive follows whatever the backup's outcome, as the backup has
// already told the user.
void TAdatkarb::Button4Click(TObject*) {
    const sys::DateTime started = Clock();
    Backup();
    const std::string name = core::ArchiveName(started) + ".zip";
    const fs::path folder = BackupFolder();
    std::error_code ignored;
    if (!fs::is_directory(folder, ignored)) {
        ShowError("Hiba az archívum (" + name + ") írásakor: a BackUp mappa nem található.");
        return;
    }
    try {
        ui::TProgressWindow progress(this, "Archiválás");
        sys::zipFolder(WorkingDirectory() / name, folder, "BackUp",
                       [&](double done) { progress.Done(done); });
    } catch (const sys::ArchiveError& error) {
        ShowError("Hiba az archívum (" + name + ") írásakor: " + error.problem());
    }
}

// The stock switch writes its row through the form's own table: "no" when ticked (stock
// is not kept), "yes" when clear.
void TAdatkarb::CheckBox1Click(TObject*) {
    Table1.Close();
    Table1.SetTableName("Alapadatok.db");
    Table1.Open();
    Table1.SetFilter("Nev = '_kesz'");
    Table1.SetFiltered(true);
    if (Table1.IsEmpty()) {
        Table1.Insert();
        Table1.FieldByName("Nev").SetAsString("_kesz");
    } else {
        Table1.First();
        Table1.Edit();
    }
    Table1.FieldByName("cim").SetAsString(CheckBox1->Checked() ? "no" : "yes");
    Table1.Post();
    Table1.Close();
}

void TAdatkarb::CheckBox2Click(TObject*) {
    NumericInt->SetOptionFlag("_MuvFormState", CheckBox2->Checked());
}

void TAdatkarb::CheckBox3Click(TObject*) {
    NumericInt->SetOptionFlag("_MuvFormEddig", CheckBox3->Checked());
}

void TAdatkarb::CheckBox4Click(TObject*) {
    NumericInt->SetOptionFlag("_UjParcState", CheckBox4->Checked());
}

void TAdatkarb::CheckBox5Click(TObject*) {
    NumericInt->SetOptionFlag("_GepekFormState", CheckBox5->Checked());
}

void TAdatkarb::CheckBox6Click(TObject*) {
    NumericInt->SetOptionFlag("_ElozoParc", CheckBox6->Checked());
}

namespace core {

std::string ArchiveName(sys::DateTime when) {
    const sys::DateTimeParts parts = sys::decodeDateTime(when);
    return "res" + std::to_string(parts.date.year) + "_" + std::to_string(parts.date.month) + "_" +
           std::to_string(parts.date.day) + "_" + std::to_string(parts.time.hour) + "_" +
           std::to_string(parts.time.minute) + "_" + std::to_string(parts.time.second);
}

} // namespace core
