#pragma once
// The layouts of the parcel summaries (GN 03, GN-06) and of the plant-protection
// observation sheets (GN 07, GN-09): ruled A4 landscape sheets with the sheet's code and
// title, the farm's name and the page numbers. The parcel summaries print 14 rows of one
// height on every page, so that a remark's page and line find its row, and the remark
// rows after the fields.

#include <string>

// The layout text of "GN03Parcellak.rav", "09GN06Parcellak.rav", "GN07Novvedmegf.rav" or
// "09GN09Novvedmegf.rav"; empty for another name.
std::string SummarySheetLayout(const std::string& fileName);

// Registers the four sheets as built-in layouts.
void RegisterSummarySheetLayouts();
