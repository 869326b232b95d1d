#include "Felhanymodh.h"

#include "platform/ui/dialogs.h"

void OpenMaterialUseModifier(db::Session&, const std::string&, std::function<sys::DateTime()>) {
    ui::ShowMessage("A felhasznált anyagok módosítása még nem érhető el.");
}
