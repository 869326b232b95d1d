#pragma once
// The print benchmarks on an X display as well as offscreen. Offscreen, a report's pages go
// into a capture; a farmer sees them in the program's own preview window, on a display where
// every move of a visible grid and every shown page costs round trips to the X server.
//
// A print benchmark registered with OnDisplay("Lists/muvlist_all") gets a twin
// "X/Lists/muvlist_all". The first twin that runs starts Xvfb (when DISPLAY is not set),
// runs every such benchmark once more in a child of this program on that display
// (FARM_BENCH_PREVIEW=1, QT_QPA_PLATFORM=xcb), where the forms are shown and each print goes
// through the preview window, and stops Xvfb; each twin then reports its benchmark's figures
// from the child: first page (the preview shown with it), whole print (the last page laid
// out in the preview) and peak memory.

#include <initializer_list>

namespace ui {
class TForm;
}

namespace benchtables {

// Whether this process prints through the preview window on a display (the child).
bool OnDisplay();
// Shows the form, as the farmer has it under the preview, when printing on a display.
void ShowOnDisplay(ui::TForm& form);
// Registers the twins of the benchmarks of those run names; returns true (for a static).
bool RegisterOnDisplay(std::initializer_list<const char*> names);
// Adds the twins after every other benchmark (the benchmarks' main calls it).
void AddDisplayTwins();

} // namespace benchtables
