#include "platform/RecoveryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>

using namespace CarvexPlatform;

namespace {

// Sets an environment variable (or, with nothing, unsets it) for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<QByteArray>& value)
        : name_(name), old_(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt) {
        set(value);
    }
    ~ScopedVariable() { set(old_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void set(const std::optional<QByteArray>& value) {
        if (value) {
            qputenv(name_, *value);
        } else {
            qunsetenv(name_);
        }
    }
    const char* name_;
    std::optional<QByteArray> old_;
};

unsigned modeOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QDateTime when(QDate(2026, 12, 8), QTime(5, 12, 33));

}  // namespace

// A recovered text is named after its document, the second it was kept, and its format.
TEST(RecoveryFileTest, NamesTellTheDocumentTheTimeAndTheFormat) {
    const QString longName(300, QLatin1Char('a'));
    const struct {
        QString document;
        QString extension;
        int number;
        QString name;
    } cases[] = {
        {"pets.yaml", "yaml", 1, "pets (recovered 2026-12-08 05-12-33).yaml"},
        {"pets.YAML", "YAML", 1, "pets (recovered 2026-12-08 05-12-33).YAML"},
        {"Untitled 2", "json", 1, "Untitled 2 (recovered 2026-12-08 05-12-33).json"},
        {"pets_converted.json", "json", 3, "pets_converted (recovered 2026-12-08 05-12-33, 3).json"},
        {"notes", "", 1, "notes (recovered 2026-12-08 05-12-33)"},
        {"a/b.yml", "yml", 1, "a-b (recovered 2026-12-08 05-12-33).yml"},
        {longName, "yaml", 1, QString(100, QLatin1Char('a')) + " (recovered 2026-12-08 05-12-33).yaml"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.document.left(40).toStdString());
        EXPECT_EQ(RecoveryFile::fileName(each.document, each.extension, when, each.number), each.name);
    }
}

// The data folder of the base directory rules: XDG_DATA_HOME when it is an absolute path.
TEST(RecoveryFileTest, TheFolderIsInTheUsersDataFolder) {
    const ScopedVariable home("HOME", QByteArray("/home/someone"));
    const struct {
        std::optional<QByteArray> dataHome;
        QString folder;
    } cases[] = {
        {QByteArray("/data/own"), "/data/own/Carvex/Recovered"},
        {std::nullopt, "/home/someone/.local/share/Carvex/Recovered"},
        {QByteArray(""), "/home/someone/.local/share/Carvex/Recovered"},
        {QByteArray("relative/data"), "/home/someone/.local/share/Carvex/Recovered"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.dataHome.value_or("(unset)").toStdString());
        const ScopedVariable dataHome("XDG_DATA_HOME", each.dataHome);
        EXPECT_EQ(RecoveryFile::folder(), each.folder);
    }
}

// Each text gets a file of its own that only the user may read, in a folder only the user may
// enter; a file already there under the name is never replaced, and no temporary file is left.
TEST(RecoveryFileTest, EachTextGetsAPrivateFileOfItsOwn) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const ScopedVariable dataHome("XDG_DATA_HOME", QFile::encodeName(folder.filePath("data")));
    const QString recovered = folder.filePath("data/Carvex/Recovered");
    // The folder exists already, open to others: it is closed.
    ASSERT_TRUE(QDir().mkpath(recovered));
    ASSERT_EQ(::chmod(QFile::encodeName(recovered).constData(), 0755), 0);
    const QString taken = recovered + "/pets (recovered 2026-12-08 05-12-33).yaml";
    {
        QFile file(taken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("another text");
    }
    const QByteArray texts[] = {"first: 1\n", "second: 2\n", QByteArray(3 * 1024 * 1024, 'x')};
    QStringList paths;
    for (const QByteArray& text : texts) {
        const auto written = RecoveryFile::write("pets.yaml", "yaml", text, when);
        ASSERT_TRUE(std::holds_alternative<QString>(written))
            << std::get<Error>(written).localizedDescription.toStdString();
        paths.append(std::get<QString>(written));
        EXPECT_EQ(readFile(paths.back()), text);
        EXPECT_EQ(modeOf(paths.back()), 0600u);
    }
    EXPECT_EQ(paths, QStringList({recovered + "/pets (recovered 2026-12-08 05-12-33, 2).yaml",
                                  recovered + "/pets (recovered 2026-12-08 05-12-33, 3).yaml",
                                  recovered + "/pets (recovered 2026-12-08 05-12-33, 4).yaml"}));
    EXPECT_EQ(readFile(taken), "another text");
    EXPECT_EQ(modeOf(recovered), 0700u);
    EXPECT_EQ(QDir(recovered).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

// A folder that cannot be made (a file stands in its path) is a failure that names the document and
// the place, and leaves nothing behind.
TEST(RecoveryFileTest, AFolderThatCannotBeMadeIsAFailure) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    {
        QFile file(folder.filePath("data"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const ScopedVariable dataHome("XDG_DATA_HOME", QFile::encodeName(folder.filePath("data")));
    const auto written = RecoveryFile::write("pets.yaml", "yaml", "text", when);
    ASSERT_TRUE(std::holds_alternative<Error>(written));
    const QString description = std::get<Error>(written).localizedDescription;
    EXPECT_TRUE(description.contains("pets.yaml")) << description.toStdString();
    EXPECT_TRUE(description.contains(folder.filePath("data"))) << description.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"data"}));
}

// The last place a text can go: the temporary folder (`$TMPDIR` when absolute, then /tmp). The text
// gets a private file of the same name there; the folder, which other users may share, is neither
// made nor closed to them.
TEST(RecoveryFileTest, TheTemporaryFolderKeepsTheTextAndIsLeftAsItIs) {
    const struct {
        std::optional<QByteArray> variable;
        QString folder;
    } cases[] = {
        {QByteArray("/var/own/tmp/"), "/var/own/tmp"},
        {std::nullopt, "/tmp"},
        {QByteArray(""), "/tmp"},
        {QByteArray("relative/tmp"), "/tmp"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.variable.value_or("(unset)").toStdString());
        const ScopedVariable temporary("TMPDIR", each.variable);
        EXPECT_EQ(RecoveryFile::temporaryFolder(), each.folder);
    }

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString shared = folder.filePath("shared");
    ASSERT_TRUE(QDir().mkpath(shared));
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
    const ScopedVariable temporary("TMPDIR", QFile::encodeName(shared));
    const auto written = RecoveryFile::writeInTemporaryFolder("pets.yml", "yml", "kept: 1\n", when);
    ASSERT_TRUE(std::holds_alternative<QString>(written))
        << std::get<Error>(written).localizedDescription.toStdString();
    EXPECT_EQ(std::get<QString>(written), shared + "/pets (recovered 2026-12-08 05-12-33).yml");
    EXPECT_EQ(readFile(std::get<QString>(written)), "kept: 1\n");
    EXPECT_EQ(modeOf(std::get<QString>(written)), 0600u);
    EXPECT_EQ(modeOf(shared), 01777u);
    EXPECT_EQ(QDir(shared).entryList(QDir::Files | QDir::Hidden).size(), 1);

    // A temporary folder that is not there is not made: the system's own takes the text.
    const ScopedVariable missing("TMPDIR", QFile::encodeName(folder.filePath("missing")));
    const auto fallback = RecoveryFile::writeInTemporaryFolder("pets.yml", "yml", "in /tmp\n", when);
    ASSERT_TRUE(std::holds_alternative<QString>(fallback)) << std::get<Error>(fallback).localizedDescription.toStdString();
    const QString kept = std::get<QString>(fallback);
    EXPECT_TRUE(kept.startsWith("/tmp/pets (recovered 2026-12-08 05-12-33")) << kept.toStdString();
    EXPECT_EQ(readFile(kept), "in /tmp\n");
    EXPECT_EQ(modeOf(kept), 0600u);
    QFile::remove(kept);
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("missing")));
}
