#pragma once
// The layouts of the 2004-2009 diary printed from its selector and from the forms it
// opens: the summary GN 02, the two covers, the soil-test sheet and the three per-field
// operations sheets.

#include <string>

// The layout text of one of those files; empty for another name.
std::string Diary0409Layout(const std::string& fileName);

// Registers them as built-in layouts.
void RegisterDiary0409Layouts();
