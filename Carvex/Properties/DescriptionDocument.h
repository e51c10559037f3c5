#pragma once

#include <QTextDocument>

namespace Carvex {

// The text document of a description. Descriptions come from any file, so it loads no resource:
// an image, a style sheet or anything else the text names is answered with nothing, never read
// from the disk or the network. Images take the room their width and height ask for (at most
// 2000 by 2000) and draw nothing. It is laid out only once given a width (`setTextWidth`, or a
// view's).
class DescriptionDocument : public QTextDocument {
    Q_OBJECT

public:
    explicit DescriptionDocument(QObject* parent = nullptr);

    // How many resources were asked for (and refused).
    int refusedResourceCount() const { return refusedResourceCount_; }

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    int refusedResourceCount_ = 0;
};

}  // namespace Carvex
