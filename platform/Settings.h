#pragma once
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

class QSettings;
class QTemporaryDir;

namespace CarvexPlatform {

// The user's settings under dotted keys, kept by QSettings for the organisation and application
// "Carvex". Nothing is registered as a default: every reader applies its own default when a key is
// absent, so `contains` and `object` tell absence apart from a stored value.
//
// Reads convert like the user defaults the application was designed against: a stored text reads
// as a Boolean or integer by its leading characters, so values written by hand or by an older
// version still give a sensible answer. All calls belong to the main thread.
class Settings {
public:
    // The standard store of the user, created on first use; every caller shares it.
    static std::shared_ptr<Settings> standard();

    // A store of its own in a temporary file, empty at first and deleted with the object.
    static std::shared_ptr<Settings> isolated();

    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    bool contains(const QString& key) const;
    // The stored value, or nothing when the key is absent.
    std::optional<QVariant> object(const QString& key) const;

    // false when absent; numbers are true when not zero; texts as `boolFromText`.
    bool boolValue(const QString& key) const;
    // 0 when absent or unreadable; texts by their leading decimal integer.
    long long integerValue(const QString& key) const;
    // Empty when absent or not data.
    QByteArray data(const QString& key) const;

    void setBool(const QString& key, bool value);
    void setInteger(const QString& key, long long value);
    void setData(const QString& key, const QByteArray& value);
    void setValue(const QString& key, const QVariant& value);
    void remove(const QString& key);

    // Writes pending changes to permanent storage.
    void sync();

    // The Boolean reading of a text: after leading white space, an optional sign and zeros, true
    // when the next character is 'Y', 'y', 'T', 't' or a digit 1-9.
    static bool boolFromText(const QString& text);
    // The integer reading of a text: its leading decimal integer after white space, 0 when none,
    // saturated at the limits of `long long`.
    static long long integerFromText(const QString& text);

private:
    explicit Settings(std::unique_ptr<QSettings> settings, std::unique_ptr<QTemporaryDir> folder);

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<QSettings> settings_;
};

}  // namespace CarvexPlatform
