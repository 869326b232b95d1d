#pragma once
// A window put on screen, painted, before the caller goes on with work the window does
// not need (the start-up's long-lived forms after the main window).

class QWidget;

namespace ui {

// Handles the window system's events until the shown `window` is exposed, and so
// painted, or a tenth of a second has passed. The user's input waits for the event loop.
void PaintNow(QWidget& window);

} // namespace ui
