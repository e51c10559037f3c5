#pragma once

#include "platform/ViewController.h"

#include <QLabel>
#include <QPointer>

namespace Carvex {

// The validation results tab of the bottom panel: a centred placeholder line. Findings go to the
// console log; this panel lists none. Main thread only.
class ValidationResultsViewController : public CarvexPlatform::ViewController {
    Q_OBJECT

public:
    static const QString& placeholderText();  // "Validation results will appear here"

    ValidationResultsViewController();

    // The placeholder label (an outlet that may be set before the view loads; weak).
    QLabel* placeholderLabel() const { return placeholderLabel_; }
    void setPlaceholderLabel(QLabel* label) { placeholderLabel_ = label; }

    // Makes the centred label when there is none, then sets its text and colour.
    virtual void setupPlaceholder();

protected:
    void viewDidLoad() override;

private:
    QPointer<QLabel> placeholderLabel_;
};

}  // namespace Carvex
