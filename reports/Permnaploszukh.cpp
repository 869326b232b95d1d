#include "Permnaploszukh.h"

#include "platform/ui/dialogs.h"

void OpenSprayLogConditions(db::Session&, const std::string&) {
    ui::ShowMessage("A permetezési napló még nem érhető el.");
}
