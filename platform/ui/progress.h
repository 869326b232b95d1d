#pragma once
// A window that shows how far a long task has got: shown only once the task has taken
// more than half a second, so quick ones never show it; it cannot be cancelled.
//
//     ui::TProgressWindow progress(this, "Biztonsági mentés");
//     sys::copyFileSet(copies, [&](std::size_t done, std::size_t total) {
//         progress.Done(done, total);
//     });

#include <QProgressDialog>
#include <cstddef>
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
    QProgressDialog dialog_;
};

} // namespace ui
