#include "Alapadatok1h.h"

#include "platform/ui/dialogs.h"

void OpenParcelSummary(db::Session&) {
    ui::ShowMessage("A parcellaösszesítő még nem érhető el.");
}

void PrintParcelSummaryUnshown(db::Session&, const std::string&) {
    ui::ShowMessage("A táblaösszesítő még nem érhető el.");
}
