#pragma once
// Test helpers: another program changing a file and leaving its modification time where a check by the
// date alone misses the change. Every file starts from a known time with all nine digits of
// nanoseconds, and every time is set, never read from the clock, so no check depends on its steps.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <utility>

namespace CarvexTest {

inline constexpr std::int64_t knownModifiedNanoseconds = 1'600'000'000'123'456'789LL;

enum class ExternalFileChange {
    newerDate,            // written in place, 5 s later
    olderDate,            // written in place, a day older
    sameSizeDateSetBack,  // written in place, its time put back as a tool keeping microseconds puts it
    newInodeDateSetBack,  // a new file given the old time, renamed over it
    sameDateOtherSize,    // written in place, the old time put back to the nanosecond
    sameSizeSameDate,     // written in place with as many bytes, the old time put back to the nanosecond
    statusOnly,           // the same bytes: its mode changed and its time set to what it was (chmod, touch -r)
};

inline const char* nameOf(ExternalFileChange change) {
    switch (change) {
        case ExternalFileChange::newerDate: return "newer date";
        case ExternalFileChange::olderDate: return "older date";
        case ExternalFileChange::sameSizeDateSetBack: return "same size, date set back";
        case ExternalFileChange::newInodeDateSetBack: return "new inode, date set back";
        case ExternalFileChange::sameDateOtherSize: return "same date, other size";
        case ExternalFileChange::sameSizeSameDate: return "same size, same date";
        case ExternalFileChange::statusOnly: return "status only";
    }
    return "?";
}

inline void setModified(const QString& file, std::int64_t nanoseconds) {
    const timespec times[2] = {{0, UTIME_OMIT}, {nanoseconds / 1'000'000'000, nanoseconds % 1'000'000'000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0) << file.toStdString();
}

inline void writeDated(const QString& file, const QByteArray& data, std::int64_t nanoseconds) {
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
        ASSERT_EQ(out.write(data), data.size());
    }
    setModified(file, nanoseconds);
}

// The file's modification and status times.
inline std::pair<std::int64_t, std::int64_t> timesOf(const QString& file) {
    struct stat status {};
    EXPECT_EQ(::stat(QFile::encodeName(file).constData(), &status), 0) << file.toStdString();
    return {static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000LL + status.st_mtim.tv_nsec,
            static_cast<std::int64_t>(status.st_ctim.tv_sec) * 1'000'000'000LL + status.st_ctim.tv_nsec};
}

// The status time moves by the ticks of a coarse clock: a change within the tick of the one before
// leaves it where it was. The modification time is set to what it is until the status time has moved.
inline void untilStatusTimeMoves(const QString& file, std::int64_t before) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (timesOf(file).second == before && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        setModified(file, timesOf(file).first);
    }
    ASSERT_NE(timesOf(file).second, before) << "the status time never moved";
}

// Puts `data` in `file`, which has the known time (or any time, for `statusOnly`), as the change says
// (the caller gives data of the same size for all but `sameDateOtherSize`, and the same data for
// `statusOnly`).
inline void changeExternally(const QString& file, ExternalFileChange change, const QByteArray& data) {
    constexpr std::int64_t second = 1'000'000'000;
    const auto [modifiedBefore, statusBefore] = timesOf(file);
    switch (change) {
        case ExternalFileChange::newerDate: writeDated(file, data, knownModifiedNanoseconds + 5 * second); break;
        case ExternalFileChange::olderDate:
            writeDated(file, data, knownModifiedNanoseconds - 24 * 60 * 60 * second);
            break;
        case ExternalFileChange::sameSizeDateSetBack:
            writeDated(file, data, knownModifiedNanoseconds / 1000 * 1000);
            break;
        case ExternalFileChange::newInodeDateSetBack: {
            const QString replacement = file + QStringLiteral(".new");
            writeDated(replacement, data, knownModifiedNanoseconds);
            ASSERT_EQ(std::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(file).constData()), 0);
            break;
        }
        case ExternalFileChange::sameDateOtherSize: writeDated(file, data, knownModifiedNanoseconds); break;
        case ExternalFileChange::sameSizeSameDate:
            writeDated(file, data, knownModifiedNanoseconds);
            untilStatusTimeMoves(file, statusBefore);
            break;
        case ExternalFileChange::statusOnly:
            ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0600), 0);
            setModified(file, modifiedBefore);
            untilStatusTimeMoves(file, statusBefore);
            break;
    }
}

}  // namespace CarvexTest
