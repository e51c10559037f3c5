#include "platform/Settings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <limits>

namespace CarvexPlatform {

std::shared_ptr<Settings> Settings::standard() {
    static const std::shared_ptr<Settings> shared(
        new Settings(std::make_unique<QSettings>(QStringLiteral("Carvex"), QStringLiteral("Carvex")),
                     nullptr));
    return shared;
}

std::shared_ptr<Settings> Settings::isolated() {
    auto folder = std::make_unique<QTemporaryDir>();
    const QString path = folder->isValid() ? folder->filePath(QStringLiteral("settings.ini"))
                                           : QString();
    auto settings = path.isEmpty()
                        ? std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                      QStringLiteral("Carvex"),
                                                      QStringLiteral("CarvexIsolated"))
                        : std::make_unique<QSettings>(path, QSettings::IniFormat);
    auto result = std::shared_ptr<Settings>(new Settings(std::move(settings), std::move(folder)));
    if (path.isEmpty()) {
        result->settings_->clear();
    }
    return result;
}

Settings::Settings(std::unique_ptr<QSettings> settings, std::unique_ptr<QTemporaryDir> folder)
    : folder_(std::move(folder)), settings_(std::move(settings)) {}

Settings::~Settings() {
    // The settings object must flush before its temporary folder disappears.
    settings_.reset();
}

bool Settings::contains(const QString& key) const { return settings_->contains(key); }

std::optional<QVariant> Settings::object(const QString& key) const {
    if (!settings_->contains(key)) {
        return std::nullopt;
    }
    return settings_->value(key);
}

namespace {

bool isNumberType(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Double:
        case QMetaType::Float:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool Settings::boolValue(const QString& key) const {
    const auto stored = object(key);
    if (!stored) {
        return false;
    }
    const QVariant& value = *stored;
    if (value.typeId() == QMetaType::Bool) {
        return value.toBool();
    }
    if (isNumberType(value)) {
        return value.toDouble() != 0.0;
    }
    if (value.typeId() == QMetaType::QString) {
        // QSettings keeps Booleans as the texts "true" and "false" in its files.
        return boolFromText(value.toString());
    }
    return false;
}

long long Settings::integerValue(const QString& key) const {
    const auto stored = object(key);
    if (!stored) {
        return 0;
    }
    const QVariant& value = *stored;
    if (value.typeId() == QMetaType::Bool) {
        return value.toBool() ? 1 : 0;
    }
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double d = value.toDouble();
        if (!(d == d)) {
            return 0;
        }
        if (d >= 9.2e18) {
            return std::numeric_limits<long long>::max();
        }
        if (d <= -9.2e18) {
            return std::numeric_limits<long long>::min();
        }
        return static_cast<long long>(d);
    }
    if (isNumberType(value)) {
        return value.toLongLong();
    }
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (text == QLatin1String("true")) {
            return 1;
        }
        return integerFromText(text);
    }
    return 0;
}

QByteArray Settings::data(const QString& key) const {
    const auto stored = object(key);
    if (!stored || stored->typeId() != QMetaType::QByteArray) {
        return {};
    }
    return stored->toByteArray();
}

void Settings::setBool(const QString& key, bool value) { settings_->setValue(key, value); }

void Settings::setInteger(const QString& key, long long value) {
    settings_->setValue(key, value);
}

void Settings::setData(const QString& key, const QByteArray& value) {
    settings_->setValue(key, value);
}

void Settings::setValue(const QString& key, const QVariant& value) {
    settings_->setValue(key, value);
}

void Settings::remove(const QString& key) { settings_->remove(key); }

void Settings::sync() { settings_->sync(); }

bool Settings::boolFromText(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace()) {
        ++i;
    }
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
    }
    while (i < n && text[i] == u'0') {
        ++i;
    }
    if (i >= n) {
        return false;
    }
    const QChar c = text[i];
    return c == u'Y' || c == u'y' || c == u'T' || c == u't' || (c >= u'1' && c <= u'9');
}

long long Settings::integerFromText(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr long long maxValue = std::numeric_limits<long long>::max();
    unsigned long long magnitude = 0;
    bool saturated = false;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const unsigned digit = static_cast<unsigned>(text[i].unicode() - u'0');
        if (magnitude > (static_cast<unsigned long long>(maxValue) + 1 - digit) / 10) {
            saturated = true;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (negative) {
        if (saturated || magnitude > static_cast<unsigned long long>(maxValue)) {
            return std::numeric_limits<long long>::min();
        }
        return -static_cast<long long>(magnitude);
    }
    if (saturated || magnitude > static_cast<unsigned long long>(maxValue)) {
        return maxValue;
    }
    return static_cast<long long>(magnitude);
}

}  // namespace CarvexPlatform
