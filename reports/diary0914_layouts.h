#pragma once
// The layouts of the 2009-2014 diary sheets that its selector prints itself: the
// summary (GN-01), the grazing log (GN-08), the soil sampling places (GN-16) and the
// force-majeure cases (GN-19).

#include <string>

// The layout text of one of those files ("09GN08Legnaplo.rav" ...); empty for another name.
std::string Diary0914SheetLayout(const std::string& fileName);

// Registers the four sheets as built-in layouts.
void RegisterDiary0914Layouts();
