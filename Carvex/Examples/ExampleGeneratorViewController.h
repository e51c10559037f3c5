#pragma once

#include "Carvex/ModelAdapters/ExampleGeneratorPanel.h"
#include "platform/ViewController.h"

#include <optional>
#include <vector>

namespace Carvex {

// The example-generator tab of the bottom panel. For now an empty panel that keeps what the
// properties coordinator hands it (the parsed model and the operations), so that a fuller panel
// finds them there. Made in code with its plain initialiser. Main thread only.
class ExampleGeneratorViewController : public CarvexPlatform::ViewController, public ExampleGeneratorPanel {
    Q_OBJECT

public:
    ExampleGeneratorViewController();
    ~ExampleGeneratorViewController() override;

    const std::optional<ParsedOpenAPIModel>& currentModel() const { return currentModel_; }

    void setCurrentModel(const std::optional<ParsedOpenAPIModel>& model) override;
    const std::vector<OperationRowViewModel>& operations() const override { return operations_; }
    void setOperations(std::vector<OperationRowViewModel> operations) override;
    int selectedOperationIndex() const override { return selectedOperationIndex_; }
    void reloadOperations(const std::optional<QString>& path, std::optional<HTTPMethod> method) override;
    void reloadTargets() override {}
    void updateEmptyState() override {}
    void clear() override;

protected:
    QWidget* loadView() override;

private:
    std::optional<ParsedOpenAPIModel> currentModel_;
    std::vector<OperationRowViewModel> operations_;
    int selectedOperationIndex_ = -1;
};

}  // namespace Carvex
