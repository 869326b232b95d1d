#include "forms_database.h"

#include "core/fresh_database.h"

#include <cstdlib>

namespace benchtables {

FormsDatabase::FormsDatabase() : dir(fs::temp_directory_path()) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "farm_bench";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        qt = std::make_unique<QApplication>(argc, argv);
    app = std::make_unique<ui::TApplication>(dialogs, help, modal);
    session = std::make_unique<db::Session>(dir.path());
    core::CreateFreshDatabase(*session);
}

FormsDatabase::~FormsDatabase() = default;

} // namespace benchtables
