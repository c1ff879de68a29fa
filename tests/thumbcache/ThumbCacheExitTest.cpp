// The cache files at the end of a run, seen from outside: a child process opens both stores
// in its temporary folder and ends in different ways.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "thumbcache/ThumbCacheStore.h"
#include "thumbcache/ThumbTestFiles.h"

using namespace tessary;
using namespace tessary::test;

namespace {
struct ChildRun {
    QString folder;
    bool killed = false;
    int exitCode = -1;
};

// Runs the helper with TMPDIR set to `tempRoot`. Plain fork and exec rather than QProcess,
// whose spawning ThreadSanitizer cannot follow.
ChildRun RunHelper(const QString& tempRoot, const QString& photo, const char* mode)
{
    ChildRun run;
    int out[2];
    if (::pipe(out) != 0)
        return run;
    const QByteArray tmpdir = "TMPDIR=" + QFile::encodeName(tempRoot);
    const QByteArray exe = TESSARY_EXIT_HELPER;
    const QByteArray photoArg = QFile::encodeName(photo);
    std::vector<char*> env;
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "TMPDIR=", 7) != 0)
            env.push_back(*e);
    }
    env.push_back(const_cast<char*>(tmpdir.constData()));
    env.push_back(nullptr);
    char* argv[] = {const_cast<char*>(exe.constData()), const_cast<char*>(mode),
                    const_cast<char*>(photoArg.constData()), nullptr};

    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execve(argv[0], argv, env.data());
        ::_exit(127);
    }
    ::close(out[1]);
    if (pid < 0) {
        ::close(out[0]);
        return run;
    }
    QByteArray printed;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(out[0], buffer, sizeof buffer)) != 0) {
        if (n > 0)
            printed.append(buffer, n);
        else if (errno != EINTR)
            break;
    }
    ::close(out[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.killed = WIFSIGNALED(status);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.folder = QFile::decodeName(printed.trimmed());
    return run;
}

class ThumbCacheExitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_photo = m_dir.filePath(QStringLiteral("photo.jpg"));
        ASSERT_TRUE(WriteFile(m_photo, "photo"));
        m_tempRoot = m_dir.filePath(QStringLiteral("tmp"));
        ASSERT_TRUE(QDir().mkpath(m_tempRoot));
    }
    QTemporaryDir m_dir;
    QString m_photo;
    QString m_tempRoot;
};

const QString kLv = QString::fromLatin1(ThumbCacheStore::kListViewFileName);
const QString kPv = QString::fromLatin1(ThumbCacheStore::kPreviewFileName);
} // namespace

TEST_F(ThumbCacheExitTest, TheQuitPathDeletesBothFilesAndTheFolder)
{
    for (const char* mode : {"quit", "exit"}) {
        SCOPED_TRACE(mode);
        const ChildRun run = RunHelper(m_tempRoot, m_photo, mode);
        ASSERT_FALSE(run.killed);
        ASSERT_EQ(run.exitCode, 0);
        ASSERT_TRUE(run.folder.startsWith(m_tempRoot + QStringLiteral("/Orvanne/Tessary/TMP_"))) << run.folder.toStdString();
        EXPECT_FALSE(QFileInfo::exists(run.folder));
        EXPECT_TRUE(QFileInfo::exists(m_tempRoot + QStringLiteral("/Orvanne/Tessary")));
    }
}

TEST_F(ThumbCacheExitTest, AForeignFileKeepsTheFolder)
{
    const ChildRun run = RunHelper(m_tempRoot, m_photo, "keep");
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_FALSE(run.folder.isEmpty());
    EXPECT_EQ(QDir(run.folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("other.txt")});
}

TEST_F(ThumbCacheExitTest, AKilledRunLeavesOnlyItsOwnFolder)
{
    const ChildRun run = RunHelper(m_tempRoot, m_photo, "kill");
    ASSERT_TRUE(run.killed);
    ASSERT_FALSE(run.folder.isEmpty());
    QStringList files = QDir(run.folder).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, (QStringList{kLv, kPv}));
    EXPECT_EQ(QDir(m_tempRoot + QStringLiteral("/Orvanne/Tessary")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);

    // The next run picks a folder of its own and cleans up after itself.
    const ChildRun next = RunHelper(m_tempRoot, m_photo, "quit");
    ASSERT_EQ(next.exitCode, 0);
    EXPECT_NE(next.folder, run.folder);
    EXPECT_FALSE(QFileInfo::exists(next.folder));
    EXPECT_TRUE(QFileInfo::exists(run.folder + QLatin1Char('/') + kLv));
}
