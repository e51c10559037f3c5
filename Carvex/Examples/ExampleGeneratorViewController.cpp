#include "Carvex/Examples/ExampleGeneratorViewController.h"

#include <QVBoxLayout>

namespace Carvex {

ExampleGeneratorViewController::ExampleGeneratorViewController() { setTitle(QStringLiteral("Examples")); }

ExampleGeneratorViewController::~ExampleGeneratorViewController() = default;

QWidget* ExampleGeneratorViewController::loadView() {
    auto* view = new QWidget();
    view->setObjectName(QStringLiteral("ExampleGeneratorView"));
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    return view;
}

void ExampleGeneratorViewController::setCurrentModel(const std::optional<ParsedOpenAPIModel>& model) {
    currentModel_ = model;
}

void ExampleGeneratorViewController::setOperations(std::vector<OperationRowViewModel> operations) {
    operations_ = std::move(operations);
    if (selectedOperationIndex_ >= static_cast<int>(operations_.size())) {
        selectedOperationIndex_ = -1;
    }
}

void ExampleGeneratorViewController::reloadOperations(const std::optional<QString>& path,
                                                      std::optional<HTTPMethod> method) {
    selectedOperationIndex_ = -1;
    if (!path || !method) {
        return;
    }
    for (std::size_t index = 0; index < operations_.size(); ++index) {
        if (operations_[index].path() == *path && operations_[index].method() == *method) {
            selectedOperationIndex_ = static_cast<int>(index);
            return;
        }
    }
}

void ExampleGeneratorViewController::clear() {
    currentModel_.reset();
    operations_.clear();
    selectedOperationIndex_ = -1;
}

}  // namespace Carvex
