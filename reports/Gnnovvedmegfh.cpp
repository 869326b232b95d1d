#include "Gnnovvedmegfh.h"

#include "platform/ui/dialogs.h"

void OpenObservationSheet(db::Session&, const std::string&) {
    ui::ShowMessage("A növényvédelmi megfigyelések lapja még nem érhető el.");
}
