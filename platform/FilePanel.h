#pragma once
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace CarvexPlatform {

// Test support: answers the file panels in place of the user, in order, and records them. An
// empty answer cancels the panel; with no answer queued the panel is cancelled.
class FilePanelScript {
public:
    struct Presented {
        bool isSave = false;
        QString suggestedPath;  // save panels: the directory and name offered
        bool asSheet = false;
    };
    void respond(std::optional<QString> path) { responses_.push_back(std::move(path)); }
    const std::vector<Presented>& presented() const { return presented_; }
    std::optional<QString> answer(Presented panel);

private:
    std::deque<std::optional<QString>> responses_;
    std::vector<Presented> presented_;
};

// The save and open panels: window-modal on `window` when there is one (the completion runs later),
// application-modal otherwise. The completion receives the chosen path, or nothing when the user
// cancelled. Main thread only.
class FilePanel {
public:
    using Completion = std::function<void(std::optional<QString> path)>;

    static FilePanel& shared();

    // Asks where to save; `suggestedPath` is the directory and file name offered.
    void runSave(const QString& suggestedPath, const QStringList& nameFilters, QWidget* window,
                 Completion completion);
    // Asks for an existing file to open.
    void runOpen(const QString& directory, const QStringList& nameFilters, QWidget* window,
                 Completion completion);

    void setScript(std::shared_ptr<FilePanelScript> script) { script_ = std::move(script); }
    const std::shared_ptr<FilePanelScript>& script() const { return script_; }

private:
    void run(bool isSave, const QString& path, const QStringList& nameFilters, QWidget* window,
             Completion completion);
    std::shared_ptr<FilePanelScript> script_;
};

}  // namespace CarvexPlatform
