#include "Gnkapcsdoch.h"

#include "platform/ui/dialogs.h"

void OpenDiaryRemarks(db::Session&) {
    ui::ShowMessage("A megjegyzések még nem érhetők el.");
}
