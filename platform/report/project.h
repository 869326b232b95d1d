#pragma once
// A report project: a layout file of the working directory (FORMAT.md) run on the data
// connections of the form that owns the project.
//
//     TRvProject RvProject1{this, "RvProject1", "Tablak.rav"};
//     TRvTableConnection RvTablalistTableConnection1{this, "RvTablalistTableConnection1",
//                                                    &Table1};
//     ...
//     RvProject1.ExecuteActiveReport();
//
// ExecuteActiveReport reads the file at the component's first run (OnBeforeOpen runs
// just before), asks the output service where the report goes (the "Nyomtatás" set-up
// dialog: preview, printer or PDF file), lays the pages out while reading the
// connections (with progress for a long report) and hands them to the output service.
// It returns when the user has finished with the output; the form that was active is
// then activated again (its FormActivate runs), as after any modal window.
//
// Errors: a missing file raises ProjectMissingError, a file that is not a layout of
// ours or has a fault raises LayoutError naming the file and the line; both reach the
// application's error display and nothing is printed. A user who cancels the set-up
// dialog or the progress ends the run quietly.

#include "platform/report/error.h"
#include "platform/ui/types.h"

#include <QObject>
#include <filesystem>
#include <memory>
#include <string>

namespace db {
class TDataSet;
}

namespace report {

struct Layout;

class TRvProject : public QObject {
public:
    TRvProject(QObject* owner, std::string name, const std::string& projectFile = {});
    ~TRvProject() override;
    TRvProject(const TRvProject&) = delete;
    TRvProject& operator=(const TRvProject&) = delete;

    const std::string& Name() const { return name_; }
    QObject* Owner() const { return owner_; }

    // A bare file name resolved against the working directory. A non-empty name without
    // a "." is stored with ".rav" appended; any other name is stored as given.
    const std::string& ProjectFile() const { return projectFile_; }
    void SetProjectFile(const std::string& name);
    // The file's full path in the current working directory.
    std::filesystem::path FullPath() const;

    // Runs when the file is opened, before the report reads any data: at the
    // component's first run only. The sender is the project.
    ui::TNotifyEvent OnBeforeOpen;

    void ExecuteActiveReport();

    // Whether the file has been read (a later run reuses it).
    bool Opened() const { return layout_ != nullptr; }

private:
    void Open();

    QObject* owner_;
    std::string name_;
    std::string projectFile_;
    std::unique_ptr<Layout> layout_;
};

// Runs the report when `rows` has a row: a report over an empty data set prints nothing,
// whatever asked for it (a button, its pop-up item or its key). True when it ran.
bool ExecuteUnlessEmpty(TRvProject& project, db::TDataSet& rows);

} // namespace report
