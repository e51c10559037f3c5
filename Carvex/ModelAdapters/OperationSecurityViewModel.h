#pragma once

#include <QString>
#include <QStringList>

namespace Carvex {

// One security scheme named by an applicable requirement, with its scopes.
struct OperationSecurityViewModel {
    OperationSecurityViewModel(QString schemeName, QStringList scopes)
        : id(schemeName), schemeName(std::move(schemeName)), scopes(std::move(scopes))
    {
    }

    QString id; // the scheme name
    QString schemeName;
    QStringList scopes;

    // "oauth" without scopes, "oauth [read, write]" with them.
    QString displayString() const
    {
        if (scopes.isEmpty())
            return schemeName;
        return schemeName + QStringLiteral(" [") + scopes.join(QStringLiteral(", ")) + QLatin1Char(']');
    }

    friend bool operator==(const OperationSecurityViewModel&, const OperationSecurityViewModel&) = default;
};

} // namespace Carvex
