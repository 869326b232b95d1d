#include "Gncimh.h"

#include "platform/ui/dialogs.h"

void OpenDiaryCover(db::Session&, bool) {
    ui::ShowMessage("A címlap még nem érhető el.");
}
