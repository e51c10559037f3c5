#include "Carvex/Snippets/TemplateCatalog.h"

#include "Carvex/Snippets/BuiltInTemplateTable.h"
#include "Carvex/Snippets/SnippetTemplateCoding.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Carvex {

namespace {

constexpr qint64 kLimit = TemplateCatalog::maximumTemplateFileSize;

// A file of the application's resources: in memory, so never a pipe or a device.
std::optional<std::string> readResourceFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLimit) return std::nullopt;
    const QByteArray bytes = file.read(kLimit + 1);
    if (bytes.size() > kLimit) return std::nullopt;
    return bytes.toStdString();
}

// A regular file on disk (links followed) of at most kLimit bytes. Opened without blocking and
// checked again once open, so a pipe, a socket or a device put in its place is never waited on;
// a link loop fails to open.
std::optional<std::string> readDiskFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLimit) {
        return std::nullopt;
    }
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    std::optional<std::string> result;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kLimit) {
        std::string bytes;
        bytes.reserve(std::size_t(info.st_size));
        char chunk[64 * 1024];
        bool failed = false;
        for (;;) {
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                failed = n < 0;
                break;
            }
            // A file that grew past the limit since it was measured is passed over too.
            if (bytes.size() + std::size_t(n) > std::size_t(kLimit)) {
                failed = true;
                break;
            }
            bytes.append(chunk, std::size_t(n));
        }
        if (!failed) result = std::move(bytes);
    }
    ::close(fd);
    return result;
}

bool isTemplateFileName(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return !name.startsWith(u'.') && dot > 0 && QStringView(name).sliced(dot + 1) == u"json";
}

QString formatFolderName(FileFormat format) { return format == FileFormat::yaml ? QStringLiteral("yaml") : QStringLiteral("json"); }

SnippetTemplate templateOfRow(const BuiltInTemplateRow& row, FileFormat format) {
    SnippetTemplate made;
    made.id = QString::fromUtf8(row.id);
    made.name = QString::fromUtf8(row.name);
    for (const char* keyword : format == FileFormat::yaml ? row.yamlTriggerKeywords : row.jsonTriggerKeywords) {
        made.triggerKeywords.push_back(QString::fromUtf8(keyword));
    }
    TemplateContext context;
    if (row.requiredParent != nullptr) context.requiredParent = QString::fromUtf8(row.requiredParent);
    if (row.immediateParent != nullptr) context.immediateParent = QString::fromUtf8(row.immediateParent);
    context.minIndentLevel = row.minIndentLevel;
    if (row.rootParent != nullptr) context.parentPath = QStringList{QString::fromUtf8(row.rootParent)};
    made.context = std::move(context);
    made.content = QString::fromUtf8(format == FileFormat::yaml ? row.yamlBody : row.jsonBody);
    made.depthScore = row.depthScore;
    return made;
}

// The built-in templates of one format without their version, converted once.
const std::vector<SnippetTemplate>& builtInsOf(FileFormat format) {
    static const auto convert = [](FileFormat f) {
        std::vector<SnippetTemplate> made;
        made.reserve(BuiltInTemplateTable::rows().size());
        for (const BuiltInTemplateRow& row : BuiltInTemplateTable::rows()) made.push_back(templateOfRow(row, f));
        return made;
    };
    static const std::vector<SnippetTemplate> yaml = convert(FileFormat::yaml);
    static const std::vector<SnippetTemplate> json = convert(FileFormat::json);
    return format == FileFormat::yaml ? yaml : json;
}

}  // namespace

TemplateCatalog::TemplateCatalog(QString openAPIVersion, FileFormat fileFormat)
    : openAPIVersion_(std::move(openAPIVersion)), fileFormat_(fileFormat) {
    TemplateCatalog::loadTemplates();
}

TemplateCatalog::Factory& TemplateCatalog::factory() {
    static Factory installed;
    return installed;
}

std::unique_ptr<TemplateCatalog> TemplateCatalog::make(std::vector<SnippetTemplate> templates,
                                                       QString openAPIVersion, FileFormat fileFormat) {
    const Factory& make = factory();
    return make ? make(std::move(templates), std::move(openAPIVersion), fileFormat) : nullptr;
}

void TemplateCatalog::installFactory() {
    factory() = [](std::vector<SnippetTemplate> templates, QString openAPIVersion, FileFormat fileFormat) {
        return std::unique_ptr<TemplateCatalog>(
            new TemplateCatalog(std::move(templates), std::move(openAPIVersion), fileFormat));
    };
}

void TemplateCatalog::loadTemplates() {
    templates_.clear();
    const QString subPath = QStringLiteral("/openapi-") + openAPIVersion_ + u'/' + formatFolderName(fileFormat_);
    if (const std::optional<QString> root = userTemplatesDirectory()) loadTemplatesFrom(*root + subPath);
    if (templates_.empty()) {
        if (const std::optional<QString> root = bundleTemplatesDirectory()) loadTemplatesFrom(*root + subPath);
    }
    if (templates_.empty()) templates_ = builtInTemplates(openAPIVersion_, fileFormat_);
}

void TemplateCatalog::loadTemplatesFrom(const QString& folder) {
    // Files, pipes, sockets and devices alike (their kind is checked on reading), hidden ones left
    // out; links are followed there too.
    const QDir dir(folder);
    QStringList names = dir.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    names.removeIf([](const QString& name) { return !isTemplateFileName(name); });
    std::sort(names.begin(), names.end());
    const bool inResources = folder.startsWith(u':');
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        const std::optional<std::string> bytes = inResources ? readResourceFile(path) : readDiskFile(path);
        if (!bytes) continue;
        if (std::optional<SnippetTemplate> decoded = SnippetTemplateCoding::decode(*bytes)) {
            templates_.push_back(std::move(*decoded));
        }
    }
}

std::optional<QString> TemplateCatalog::userTemplatesDirectory() {
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (home.isEmpty()) return std::nullopt;
    return home + QStringLiteral("/Carvex/Templates");
}

std::optional<QString> TemplateCatalog::bundleTemplatesDirectory() { return QStringLiteral(":/Templates"); }

std::vector<SnippetTemplate> TemplateCatalog::builtInTemplates(const QString& openAPIVersion, FileFormat format) {
    std::vector<SnippetTemplate> made = builtInsOf(format);
    for (SnippetTemplate& row : made) row.openAPIVersion = openAPIVersion;
    return made;
}

std::vector<SnippetTemplate> TemplateCatalog::keywordCandidates(QStringView word) const {
    std::vector<SnippetTemplate> passed;
    for (const SnippetTemplate& candidate : templates_) {
        const bool triggered = std::any_of(candidate.triggerKeywords.begin(), candidate.triggerKeywords.end(),
                                           [word](const QString& keyword) { return word.endsWith(keyword); });
        if (triggered) passed.push_back(candidate);
    }
    return passed;
}

bool TemplateCatalog::contextHolds(const SnippetTemplate& snippet, const MatchContext& context) {
    if (!snippet.context) return true;
    const TemplateContext& wanted = *snippet.context;
    const QStringList& path = context.parentPath;
    if (wanted.immediateParent && (path.isEmpty() || path.last() != *wanted.immediateParent)) return false;
    if (wanted.requiredParent && !path.contains(*wanted.requiredParent)) return false;
    if (wanted.minIndentLevel && context.indentLevel < *wanted.minIndentLevel) return false;
    if (wanted.parentPath) {
        const QStringList& prefix = *wanted.parentPath;
        if (path.size() < prefix.size() || !std::equal(prefix.begin(), prefix.end(), path.begin())) return false;
    }
    return true;
}

std::vector<SnippetTemplate> TemplateCatalog::contextCandidates(const MatchContext& context) const {
    std::vector<SnippetTemplate> passed = keywordCandidates(context.lastKeyword);
    std::erase_if(passed, [&context](const SnippetTemplate& candidate) { return !contextHolds(candidate, context); });
    return passed;
}

}  // namespace Carvex
