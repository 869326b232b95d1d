// Starts the program as `dolvaren` does on a working directory and saves pictures of the
// screen: the first message box, if one comes (the fresh database's), then the main
// window. For looking at the program without a desktop:
//
//     xvfb-run -a -s "-screen 0 1280x800x24" build/tools/screenshot/screenshot data /tmp/shot
//
// writes /tmp/shot-message.png (when a message came) and /tmp/shot-main.png.

#include "app/startup.h"
#include "core/Folap.h"
#include "platform/db/session.h"
#include "platform/ui/application.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

void SaveScreen(const std::string& file) {
    QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    if (!screen.save(QString::fromStdString(file)))
        std::fprintf(stderr, "screenshot: cannot write %s\n", file.c_str());
    else
        std::printf("%s\n", file.c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshot WORKING_DIRECTORY OUTPUT_PREFIX\n");
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    std::filesystem::current_path(argv[1]);
    const std::string prefix = argv[2];
    db::Session session(std::filesystem::current_path());
    return ui::RunProgram(1, argv, [&](ui::TApplication& app) {
        // A message box waits for the user: take its picture and close it.
        QTimer::singleShot(700, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                SaveScreen(prefix + "-message.png");
                box->close();
            }
        });
        if (app::PrepareWorkingDatabase(session) != 0) {
            app.Terminate();
            return;
        }
        app::CreateForms(app, session);
        QTimer::singleShot(700, [&] {
            SaveScreen(prefix + "-main.png");
            app.Terminate();
        });
    });
}
