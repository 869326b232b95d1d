#pragma once
// The layouts of the spray log and of the diary's remarks: the two lists "Permetnaplo.rav"
// and "PermetnaploM.rav" (with the machines and workers), the diary's spray sheets
// "GN08Permetez.rav" (2004-2009) and "09GN10Permetez.rav" (2009-2014), and the remarks
// sheet "09GN18Megjegyz.rav" of both diaries.

#include <string>

namespace spray {

const std::string& SprayListLayout();
const std::string& SprayMachinesListLayout();
// The diary's spray sheet under the sheet code of its period ("GN 08", "GN-10").
std::string SpraySheetLayout(const std::string& code);
const std::string& RemarksSheetLayout();

void RegisterSprayLogLayouts();

} // namespace spray
