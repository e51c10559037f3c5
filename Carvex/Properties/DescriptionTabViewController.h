#pragma once

#include "Carvex/ModelAdapters/OperationDetailsViewModel.h"
#include "platform/ViewController.h"

#include <QLabel>
#include <QPointer>
#include <QScrollArea>

class QVBoxLayout;

namespace Carvex {

// The first operation detail tab: operation ID, summary and description, then below a separator
// the tags, the deprecation and the external docs, in a column that scrolls vertically and wraps
// to the pane's width. Rebuilt from scratch by every `configure`. Main thread only.
class DescriptionTabViewController : public CarvexPlatform::ViewController {
    Q_OBJECT

public:
    DescriptionTabViewController() = default;

    void configure(const OperationDetailsViewModel& details);
    // One fact: "Key:" in secondary colour, the value on one line cut at the tail.
    static QWidget* makeKeyValueRow(const QString& key, const QString& value);

    QScrollArea* scrollView() const { return scrollView_; }
    QWidget* documentView() const { return documentView_; }
    QVBoxLayout* stackView() const { return stackView_; }
    QLabel* emptyLabel() const { return emptyLabel_; }

protected:
    QWidget* loadView() override;

private:
    QPointer<QScrollArea> scrollView_;
    QPointer<QWidget> documentView_;
    QVBoxLayout* stackView_ = nullptr;
    QPointer<QLabel> emptyLabel_;
};

}  // namespace Carvex
