#pragma once

#include <QString>

#include <exception>
#include <string>

namespace Carvex {

// Why a `$ref` link could not be followed. `what()` is the UTF-8 form of `errorDescription()`.
class RefLinkError : public std::exception {
public:
    enum class Kind {
        invalidPath,
        targetNotFound,
        externalRefNotSupported,
        noModelAvailable,
    };

    static RefLinkError invalidPath(QString path) { return {Kind::invalidPath, std::move(path)}; }
    static RefLinkError targetNotFound(QString path) { return {Kind::targetNotFound, std::move(path)}; }
    static RefLinkError externalRefNotSupported(QString path)
    {
        return {Kind::externalRefNotSupported, std::move(path)};
    }
    static RefLinkError noModelAvailable() { return {Kind::noModelAvailable, {}}; }

    Kind kind() const noexcept { return kind_; }
    // The reference path of every kind but noModelAvailable (empty there).
    const QString& path() const noexcept { return path_; }
    // The text shown to the user.
    QString errorDescription() const;
    const char* what() const noexcept override { return description_.c_str(); }

    friend bool operator==(const RefLinkError& a, const RefLinkError& b)
    {
        return a.kind_ == b.kind_ && a.path_ == b.path_;
    }

private:
    RefLinkError(Kind kind, QString path);

    Kind kind_;
    QString path_;
    std::string description_;
};

} // namespace Carvex
