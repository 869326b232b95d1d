#pragma once
// The layouts of the lists and summaries: "Muvlist.rav" (performed operations),
// "Mezeileltar.rav" (field inventory), "Hozamosz.rav" (yield summary), "Inputkimut.rav"
// (a field's inputs) and "Gepileker.rav" (a machine's work).

#include <string>

namespace lists {

void RegisterListLayouts();

const std::string& OperationsListLayout();
const std::string& FieldInventoryLayout();
const std::string& YieldSummaryLayout();
const std::string& InputSummaryLayout();
const std::string& MachineWorkLayout();

} // namespace lists
