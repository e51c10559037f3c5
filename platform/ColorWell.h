#pragma once
#include <QAbstractButton>
#include <QColor>

namespace CarvexPlatform {

// A small button that shows a colour; clicking it lets the user pick another in the colour
// dialog. A picked colour is set and announced with `activated` (the well's action). Setting the
// colour in code announces nothing. Main thread only.
class ColorWell : public QAbstractButton {
    Q_OBJECT

public:
    explicit ColorWell(QWidget* parent = nullptr);

    const QColor& color() const { return color_; }
    void setColor(const QColor& color);

    // As if the user had picked `color`: sets it and emits `activated`. An invalid colour is
    // ignored.
    void pickColor(const QColor& color);

    QSize sizeHint() const override { return {30, 20}; }

signals:
    void activated();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void openDialog();

    QColor color_ = Qt::black;
};

}  // namespace CarvexPlatform
