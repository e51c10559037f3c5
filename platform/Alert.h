#pragma once
#include <QString>
#include <QStringList>

namespace CarvexPlatform {

enum class AlertStyle { informational, warning, critical };

// The content of one alert: style, message, informative text and button titles in order (the first
// is the default button). An alert without buttons gets a single "OK".
struct Alert {
    AlertStyle style = AlertStyle::warning;
    QString messageText;
    QString informativeText;
    QStringList buttons;
};

}  // namespace CarvexPlatform
