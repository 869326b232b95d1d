#include "progress.h"

#include "control.h"

namespace ui {

namespace {
constexpr std::chrono::milliseconds kShowAfter(500);
}

TProgressWindow::TProgressWindow(QWidget* owner, const std::string& caption)
    : owner_(owner), caption_(caption), text_(caption + " folyamatban...") {}

void TProgressWindow::ShowWhenDue() {
    if (!dialog_) {
        if (std::chrono::steady_clock::now() - started_ < kShowAfter)
            return;
        dialog_ = std::make_unique<QProgressDialog>(Q(text_), QString(), 0, kSteps, owner_);
        dialog_->setWindowTitle(Q(caption_));
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setCancelButton(nullptr);
        dialog_->setMinimumDuration(0);
        dialog_->setValue(0); // the dialog's clock starts; a later step shows it at once
    }
    dialog_->setValue(value_);
}

void TProgressWindow::Done(double part) {
    value_ = static_cast<int>(part * kSteps);
    ShowWhenDue();
}

void TProgressWindow::Done(std::size_t done, std::size_t total) {
    Done(total == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(total));
}

void TProgressWindow::SetText(const std::string& text) {
    text_ = text;
    if (dialog_)
        dialog_->setLabelText(Q(text_));
    else
        ShowWhenDue();
}

} // namespace ui
