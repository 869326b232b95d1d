#pragma once
// A window that shows how far a long task has got: shown only once the task has taken
// more than half a second, so quick ones never show it; it cannot be cancelled.
//
//     ui::TProgressWindow progress(this, "Biztonsági mentés");
//     sys::copyFileSet(copies, [&](std::size_t done, std::size_t total) {
//         progress.Done(done, total);
//     });

#include <QPointer>
#include <QProgressDialog>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace ui {

class TProgressWindow {
public:
    // Titled `caption`, reading "<caption> folyamatban...".
    TProgressWindow(QWidget* owner, const std::string& caption);
    // The part done, 0 to 1.
    void Done(double part);
    void Done(std::size_t done, std::size_t total);
    // The line under the title: what is being done now.
    void SetText(const std::string& text);

private:
    static constexpr int kSteps = 1000;
    // The window is made only when it is to show: a quick task (most at start-up) pays
    // for no widgets.
    void ShowWhenDue();

    QPointer<QWidget> owner_;
    std::string caption_;
    std::string text_;
    int value_ = 0;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    std::unique_ptr<QProgressDialog> dialog_;
};

} // namespace ui
