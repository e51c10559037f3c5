#pragma once

#include <QString>

#include <memory>
#include <string>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class Collator;
U_NAMESPACE_END

namespace Carvex {

// The comparison a file browser sorts names with: the collation of the current locale, letter case
// ignored, runs of digits compared by value ("item2" before "item10"). Texts that differ only in case
// compare equal. Sort keys compare byte for byte as the texts compare, so a sort makes each key once.
// One instance serves one thread.
class LocalizedStandardComparison {
public:
    LocalizedStandardComparison();
    // The calling thread's instance for the current locale, made once per thread and locale.
    static const LocalizedStandardComparison& forCurrentThread();
    ~LocalizedStandardComparison();
    LocalizedStandardComparison(const LocalizedStandardComparison&) = delete;
    LocalizedStandardComparison& operator=(const LocalizedStandardComparison&) = delete;

    // Negative, zero or positive.
    int compare(const QString& a, const QString& b) const;
    std::string sortKey(const QString& text) const;

private:
    QString localeName_;
    std::unique_ptr<icu::Collator> collator_;
};

} // namespace Carvex
