#include "progress.h"

#include "control.h"

namespace ui {

TProgressWindow::TProgressWindow(QWidget* owner, const std::string& caption)
    : dialog_(QString(), QString(), 0, kSteps, owner) {
    dialog_.setWindowTitle(Q(caption));
    dialog_.setLabelText(Q(caption + " folyamatban..."));
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setCancelButton(nullptr);
    dialog_.setMinimumDuration(500);
    dialog_.setValue(0);
}

void TProgressWindow::Done(double part) {
    dialog_.setValue(static_cast<int>(part * kSteps));
}

void TProgressWindow::Done(std::size_t done, std::size_t total) {
    Done(total == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(total));
}

void TProgressWindow::SetText(const std::string& text) {
    dialog_.setLabelText(Q(text));
}

} // namespace ui
