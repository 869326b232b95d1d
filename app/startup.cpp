#include "startup.h"

#include "core/Folap.h"
#include "core/Isnuminth.h"
#include "core/fresh_database.h"
#include "core/index_files.h"
#include "operations/commands.h"
#include "platform/db/session.h"
#include "platform/db/table_file.h"
#include "platform/report/layouts.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/paint_now.h"
#include "platform/ui/progress.h"
#include "register/Csoportostablamodh.h"
#include "register/Parckeze.h"
#include "register/Ujtablak.h"
#include "register/commands.h"
#include "register/layouts.h"
#include "reports/Funch.h"
#include "reports/Gazdnapvalasztoh.h"
#include "reports/Gn0914valasztou.h"
#include "reports/Gn1909vismajoru.h"
#include "reports/Gnketszukh.h"
#include "reports/Gnparcmuvadnyh.h"
#include "reports/Grafikonh.h"
#include "reports/commands.h"
#include "resources/commands.h"

#include <filesystem>

namespace app {

namespace {

std::string JoinNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// Index files lost since the last run are made again from their tables before any form
// opens them, so that the backup finds every file; the user hears of it once.
void RebuildIndexFiles(db::Session& session) {
    ui::TProgressWindow progress(nullptr, "Index fájlok újraépítése");
    const std::vector<std::string> rebuilt = core::RebuildMissingIndexFiles(
        session, [&](std::size_t done, std::size_t total) { progress.Done(done, total); });
    if (!rebuilt.empty())
        ui::MessageDlg(core::RebuiltIndexMessage(rebuilt), ui::mtInformation, ui::mbOK);
}

// The folder the backups go to: a new installation gets it, and so does a database found
// whole without it (a first start cut off after its tables were moved into place). A
// folder of that name in another letter case is the one.
void EnsureBackupFolder(const std::filesystem::path& dir) {
    std::error_code ignored;
    if (!std::filesystem::is_directory(db::resolveCaseInsensitive(dir, "BackUp"), ignored))
        std::filesystem::create_directory(dir / "BackUp", ignored);
}

} // namespace

int ClaimWorkingDirectory(const std::filesystem::path& dir, std::optional<sys::FileLock>& lock) {
    lock = sys::lockDirectory(dir);
    if (lock)
        return 0;
    ui::MessageDlg("A munkakönyvtár adatbázisát a program egy másik példánya már használja: " +
                       dir.string(),
                   ui::mtError, ui::mbOK);
    return kExitAnotherCopy;
}

int PrepareWorkingDatabase(db::Session& session) {
    // A save that a crash interrupted is rolled back before any table opens, and the
    // farmer is told which tables to check (the next start finds nothing to say).
    const std::vector<std::string> restored = session.recoverInterruptedChanges();
    if (!restored.empty())
        ui::MessageDlg("Egy félbeszakadt mentést a program visszavont; érintett táblák: " +
                           JoinNames(restored),
                       ui::mtWarning, ui::mbOK);
    // An index file the engine found not matching its table (and rebuilt from it).
    session.setLogListener([](const std::string& line) {
        ui::MessageDlg("Egy indexfájl nem illett a táblájához; a program a tábla adataiból "
                       "újraépítette vagy nem használja (a tábla adatai nem változtak):\n" +
                           line,
                       ui::mtWarning, ui::mbOK);
    });
    reg::RegisterLayouts();
    RegisterResourceLayouts();
    RegisterOperationLayouts();
    RegisterReportLayouts();
    core::DatabaseCheck check = core::PrepareDatabase(session);
    if (!check.missing.empty()) {
        ui::MessageDlg("Hiányzó adatbázis fájlok: " + JoinNames(check.missing) +
                           "\nA program nem indítható ebben a munkakönyvtárban: " +
                           session.directory().string(),
                       ui::mtError, ui::mbOK);
        return kExitMissingTables;
    }
    RebuildIndexFiles(session);
    // The layouts of the program's reports: those missing from the working directory are
    // written (a fresh one gets them all), an earlier shipped version is replaced by the
    // current one, and a layout the user changed is kept.
    report::UpdateBuiltInLayouts(session.directory());
    EnsureBackupFolder(session.directory());
    if (check.fresh)
        ui::MessageDlg("Új, üres adatbázis készült a munkakönyvtárban: " +
                           session.directory().string(),
                       ui::mtInformation, ui::mbOK);
    return 0;
}

void CreateForms(ui::TApplication& app, db::Session& session) {
    app.SetTitle("Dolvaren 3.0");
    app.SetHelpFile("HELP1.HLP");
    // The main window first, so that it is the main form; it is visible from its
    // creation, so its first show (the database's start-up checks) runs before the
    // other forms exist.
    app.CreateForm(Folap1, session);
    Folap1->Show();
    // The main window is on screen before the long-lived forms, which it does not need,
    // are made.
    ui::PaintNow(*Folap1);
    // The long-lived forms, in this order; those of the later subsystems join here as
    // they are built: TGNParMuvNy, TFunc, TGazdNaploValaszto, then TNumericInt, then
    // TGN200914, TGNKetSzuk, TGN1909vismajor, TForm2, TParckezeles, Tgrafikon,
    // TCsoportosTablamod. TForm2 takes its place after TGN1909vismajor, TParckezeles after
    // TForm2, Tgrafikon after TParckezeles, and TCsoportosTablamod after Tgrafikon.
    app.CreateForm(GNParMuvNy, session);
    app.CreateForm(Func, session);
    app.CreateForm(GazdNaploValaszto, session);
    app.CreateForm(NumericInt, session);
    app.CreateForm(GN200914, session);
    app.CreateForm(GNKetSzuk, session);
    app.CreateForm(GN1909vismajor, session);
    app.CreateForm(Form2, session);
    app.CreateForm(Parckezeles, session);
    app.CreateForm(grafikon, session);
    app.CreateForm(CsoportosTablamod, session);
    // The commands of the other subsystems' forms.
    InstallRegisterCommands(*Folap1, session);
    InstallResourceCommands(*Folap1, session);
    InstallOperationCommands(*Folap1, session);
    InstallReportCommands(*Folap1, session);
}

} // namespace app
