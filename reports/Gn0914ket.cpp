#include "Gn0914ket.h"

#include "platform/ui/dialogs.h"

Gn0914KetSheets::Gn0914KetSheets(db::Session& session) : session_(session) {}
Gn0914KetSheets::~Gn0914KetSheets() = default;

void Gn0914KetSheets::FormShow() {}
void Gn0914KetSheets::FormClose() {}

void Gn0914KetSheets::PrintArable() {
    ui::ShowMessage("Az AKG-lapok még nem érhetők el.");
}
void Gn0914KetSheets::PrintGrassland() {
    PrintArable();
}
void Gn0914KetSheets::PrintPlantation() {
    PrintArable();
}
