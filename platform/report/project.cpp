#include "platform/report/project.h"

#include "platform/db/dataset.h"
#include "platform/report/connection.h"
#include "platform/report/layout.h"
#include "platform/report/output.h"
#include "platform/report/render.h"
#include "platform/sys/text.h"
#include "platform/ui/application.h"

namespace report {

namespace fs = std::filesystem;

TRvProject::TRvProject(QObject* owner, std::string name, const std::string& projectFile)
    : QObject(owner), owner_(owner), name_(std::move(name)) {
    setObjectName(QString::fromStdString(name_));
    SetProjectFile(projectFile);
}

TRvProject::~TRvProject() = default;

void TRvProject::SetProjectFile(const std::string& name) {
    const std::string stored =
        !name.empty() && name.find('.') == std::string::npos ? name + ".rav" : name;
    // Another file is read afresh at the next run.
    if (stored != projectFile_)
        layout_.reset();
    projectFile_ = stored;
}

fs::path TRvProject::FullPath() const {
    const fs::path directory = fs::current_path();
    const fs::path path = directory / projectFile_;
    std::error_code error;
    if (projectFile_.empty() || fs::exists(path, error) || fs::path(projectFile_).has_parent_path())
        return path;
    // The tables are found in any letter case; so are the report files beside them.
    for (const fs::directory_entry& entry : fs::directory_iterator(directory, error))
        if (sys::equalsNoCase(entry.path().filename().string(), projectFile_))
            return entry.path();
    return path;
}

void TRvProject::Open() {
    const fs::path path = FullPath();
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        throw ProjectMissingError(path);
    if (OnBeforeOpen)
        OnBeforeOpen(this);
    layout_ = std::make_unique<Layout>(ReadLayoutFile(path));
}

void TRvProject::ExecuteActiveReport() {
    if (!layout_)
        Open();
    // The set-up dialog and the preview are modal: the form below is activated again
    // when they close.
    ui::ModalScope modal;
    OutputService& output = Output();
    const std::optional<OutputChoice> choice = output.Choose(projectFile_);
    if (!choice) {
        modal.End();
        return;
    }
    try {
        output.Run(projectFile_, *choice, [this](Document& into, ProgressReporter* progress) {
            RenderReport(
                into, *layout_,
                [this](std::string_view name) { return FindConnection(owner_, name); }, progress,
                OwnerName(owner_));
        });
    } catch (const ReportCancelled&) {
        // The user stopped the layout: nothing more to do.
    }
    modal.End();
}

bool ExecuteUnlessEmpty(TRvProject& project, db::TDataSet& rows) {
    if (rows.IsEmpty())
        return false;
    project.ExecuteActiveReport();
    return true;
}

} // namespace report
