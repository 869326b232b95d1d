// What any Qt program pays to start: a bare main window of the given size (the program's
// main window's by default), shown and painted, reported as the program reports its own
// first paint, then the process ends. The start-up benchmark times it beside the program.
//
//     bare_window [width height]

#include "app/first_paint.h"

#include <QApplication>
#include <QMainWindow>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    QMainWindow window;
    window.resize(argc > 2 ? std::atoi(argv[1]) : 800, argc > 2 ? std::atoi(argv[2]) : 600);
    app::FirstPaintProbe probe([&window] { return &window; });
    window.show();
    return QApplication::exec();
}
