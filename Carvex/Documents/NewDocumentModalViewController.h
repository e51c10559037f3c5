#pragma once

#include "Carvex/CaretContext/DocumentFormat.h"
#include "Carvex/Documents/NewDocumentConfiguration.h"
#include "Carvex/Documents/NewDocumentConfigurationValidator.h"
#include "Carvex/Documents/OpenAPIDocumentGenerator.h"
#include "platform/Storyboard.h"
#include "platform/ViewController.h"

#include <QPointer>
#include <functional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Carvex {

// The new-document sheet: OpenAPI version, format and an optional first path with its methods.
// Create validates the choice (the sheet stays with one message while it is wrong), writes the
// skeleton and hands it on; Cancel only closes.
class NewDocumentModalViewController : public CarvexPlatform::ViewController {
    Q_OBJECT

public:
    static inline const QString sceneIdentifier = QStringLiteral("NewDocumentModalViewController");
    static void registerScene(CarvexPlatform::Storyboard& storyboard = CarvexPlatform::Storyboard::main());

    NewDocumentModalViewController();
    ~NewDocumentModalViewController() override;

    // The controls, in the sheet's order (valid once the view is loaded). A segmented control is a
    // group of exclusive buttons whose ids are the segment numbers.
    QPointer<QButtonGroup> versionSegmentedControl;
    QPointer<QButtonGroup> formatSegmentedControl;
    QPointer<QCheckBox> includePathCheckbox;
    QPointer<QGroupBox> initialPathBox;
    QPointer<QLineEdit> pathTextField;
    QPointer<QCheckBox> getCheckbox;
    QPointer<QCheckBox> postCheckbox;
    QPointer<QCheckBox> putCheckbox;
    QPointer<QCheckBox> deleteCheckbox;
    QPointer<QCheckBox> patchCheckbox;
    QPointer<QCheckBox> optionsCheckbox;
    QPointer<QCheckBox> headCheckbox;
    QPointer<QCheckBox> traceCheckbox;
    QPointer<QLabel> errorLabel;
    QPointer<QPushButton> cancelButton;
    QPointer<QPushButton> createButton;

    std::function<void(const QString& text, DocumentFormat format)> onComplete;
    std::function<void()> onCancel;
    NewDocumentConfigurationValidator validator;
    OpenAPIDocumentGenerator generator;

    // The path box's opacity: 1 while the path controls are enabled, 0.5 while not.
    double initialPathBoxAlpha() const { return initialPathBoxAlpha_; }

    // The choice the controls show.
    NewDocumentConfiguration configurationFromControls() const;

    void includePathChanged();
    void createClicked();
    void cancelClicked();

protected:
    QWidget* loadView() override;
    void viewDidLoad() override;

private:
    void setPathControlsEnabled(bool enabled);
    std::vector<std::pair<QCheckBox*, HTTPMethod>> methodCheckboxes() const;

    double initialPathBoxAlpha_ = 1.0;
};

}  // namespace Carvex
