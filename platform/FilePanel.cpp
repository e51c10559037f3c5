#include "platform/FilePanel.h"

#include "platform/MainScheduler.h"

#include <QFileDialog>
#include <QPointer>

namespace CarvexPlatform {

std::optional<QString> FilePanelScript::answer(Presented panel) {
    presented_.push_back(std::move(panel));
    if (responses_.empty()) {
        return std::nullopt;
    }
    std::optional<QString> response;
    response.swap(responses_.front());
    responses_.pop_front();
    return response;
}

FilePanel& FilePanel::shared() {
    static FilePanel* const panel = new FilePanel();
    return *panel;
}

void FilePanel::runSave(const QString& suggestedPath, const QStringList& nameFilters, QWidget* window,
                        Completion completion) {
    run(true, suggestedPath, nameFilters, window, std::move(completion));
}

void FilePanel::runOpen(const QString& directory, const QStringList& nameFilters, QWidget* window,
                        Completion completion) {
    run(false, directory, nameFilters, window, std::move(completion));
}

void FilePanel::run(bool isSave, const QString& path, const QStringList& nameFilters, QWidget* window,
                    Completion completion) {
    const bool asSheet = window != nullptr;
    if (script_) {
        auto answer = script_->answer({isSave, path, asSheet});
        if (asSheet) {
            MainScheduler::shared()->post([completion, answer] {
                if (completion) {
                    completion(answer);
                }
            });
        } else if (completion) {
            completion(answer);
        }
        return;
    }
    auto* dialog = new QFileDialog(window ? window->window() : nullptr);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(isSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(isSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!nameFilters.isEmpty()) {
        dialog->setNameFilters(nameFilters);
    }
    if (isSave) {
        dialog->selectFile(path);
    } else {
        dialog->setDirectory(path);
    }
    QPointer<QFileDialog> guard(dialog);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [guard, completion](int result) {
        if (!guard || !completion) {
            return;
        }
        const QStringList files = guard->selectedFiles();
        if (result == QDialog::Accepted && !files.isEmpty()) {
            completion(files.front());
        } else {
            completion(std::nullopt);
        }
    });
    if (asSheet) {
        dialog->setWindowModality(Qt::WindowModal);
        dialog->open();
    } else {
        dialog->exec();
    }
}

}  // namespace CarvexPlatform
