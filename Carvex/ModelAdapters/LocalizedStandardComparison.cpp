#include "Carvex/ModelAdapters/LocalizedStandardComparison.h"

#include <QLocale>

#include <unicode/coll.h>
#include <unicode/unistr.h>

namespace Carvex {

namespace {

icu::UnicodeString unicode(const QString& text)
{
    return icu::UnicodeString(false, reinterpret_cast<const char16_t*>(text.utf16()), static_cast<int32_t>(text.size()));
}

} // namespace

LocalizedStandardComparison::LocalizedStandardComparison() : localeName_(QLocale().name())
{
    UErrorCode status = U_ZERO_ERROR;
    const QByteArray name = localeName_.toLatin1();
    collator_.reset(icu::Collator::createInstance(icu::Locale(name.constData()), status));
    if (U_FAILURE(status) || !collator_) {
        status = U_ZERO_ERROR;
        collator_.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
    }
    if (collator_) {
        collator_->setStrength(icu::Collator::SECONDARY);
        status = U_ZERO_ERROR;
        collator_->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
    }
}

LocalizedStandardComparison::~LocalizedStandardComparison() = default;

const LocalizedStandardComparison& LocalizedStandardComparison::forCurrentThread()
{
    thread_local std::unique_ptr<LocalizedStandardComparison> instance;
    if (!instance || instance->localeName_ != QLocale().name())
        instance = std::make_unique<LocalizedStandardComparison>();
    return *instance;
}

int LocalizedStandardComparison::compare(const QString& a, const QString& b) const
{
    if (!collator_)
        return a.compare(b, Qt::CaseInsensitive);
    UErrorCode status = U_ZERO_ERROR;
    return collator_->compare(unicode(a), unicode(b), status);
}

std::string LocalizedStandardComparison::sortKey(const QString& text) const
{
    if (!collator_) {
        const QByteArray folded = text.toCaseFolded().toUtf8();
        return std::string(folded.constData(), static_cast<std::size_t>(folded.size()));
    }
    const icu::UnicodeString source = unicode(text);
    std::string key(static_cast<std::size_t>(text.size()) * 2 + 16, '\0');
    int32_t length = collator_->getSortKey(source, reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
    if (static_cast<std::size_t>(length) > key.size()) {
        key.resize(static_cast<std::size_t>(length));
        length = collator_->getSortKey(source, reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
    }
    // The key ends in a zero byte, which takes no part in comparing.
    key.resize(length > 0 ? static_cast<std::size_t>(length) - 1 : 0);
    return key;
}

} // namespace Carvex
