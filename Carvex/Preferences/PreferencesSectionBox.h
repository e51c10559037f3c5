#pragma once

#include <QMargins>
#include <QWidget>

namespace Carvex {

// A rounded box around one section of a preferences pane: corner radius 8, a hairline border in
// the separator colour over the control background, its content inset by `insets`.
class PreferencesSectionBox : public QWidget {
    Q_OBJECT

public:
    PreferencesSectionBox(QWidget* content, const QMargins& insets, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace Carvex
