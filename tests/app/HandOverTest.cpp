#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <unistd.h>

#include "album/Album.h"
#include "album/AlbumFile.h"

namespace {

// Each test gets its own instance name so that it never meets a real running program.
class HandOver : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_name = QStringLiteral("tessary-test-%1-%2").arg(::getpid()).arg(++s_serial);
        m_log = m_dir.filePath(QStringLiteral("received.txt"));
        m_prompts = m_dir.filePath(QStringLiteral("prompts.txt"));
        // The started programs put their lock, socket and scratch folders here, not in /tmp.
        m_tmp = m_dir.filePath(QStringLiteral("tmp"));
        ASSERT_TRUE(QDir().mkpath(m_tmp));
    }

    void TearDown() override
    {
        for (QProcess* p : m_started) {
            p->kill();
            p->waitForFinished(5000);
            delete p;
        }
    }

    QProcess* Start(const QStringList& args)
    {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TESSARY_INSTANCE_NAME"), m_name);
        env.insert(QStringLiteral("TESSARY_HANDOVER_LOG"), m_log);
        env.insert(QStringLiteral("TMPDIR"), m_tmp);
        // Message boxes are answered by script (their default button once it runs out).
        env.insert(QStringLiteral("TESSARY_PROMPT_LOG"), m_prompts);
        env.insert(QStringLiteral("TESSARY_PROMPT_ANSWERS"), m_answers);
        p->setProcessEnvironment(env);
        p->start(QStringLiteral(TESSARY_EXE), args);
        p->waitForStarted();
        m_started.push_back(p);
        return p;
    }

    // The first instance is ready once its channel socket exists.
    bool WaitListening(int ms = 15000)
    {
        const QString socket = m_tmp + QLatin1Char('/') + m_name + QLatin1Char('-') + QString::number(::getuid());
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            if (QFileInfo::exists(socket))
                return true;
            QThread::msleep(20);
        }
        return false;
    }

    QStringList Received() const
    {
        QFile f(m_log);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QStringList Prompts() const
    {
        QFile f(m_prompts);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QString MakeAlbum(const QString& name)
    {
        tessary::Album album(m_dir.filePath(name), name);
        album.SetAlbumId(1);
        return tessary::SaveAlbum(album) ? album.FilePath() : QString();
    }

    // A second start that hands `path` over and ends.
    void HandOverPath(const QString& path)
    {
        QProcess* p = Start({path});
        ASSERT_TRUE(p->waitForFinished(15000));
        EXPECT_EQ(p->exitCode(), 0);
    }

    QTemporaryDir m_dir;
    QString m_name;
    QString m_log;
    QString m_prompts;
    QString m_answers;
    QString m_tmp;
    std::vector<QProcess*> m_started;
    static inline int s_serial = 0;
};

TEST_F(HandOver, SecondStartPassesItsPathAndExitsZero)
{
    QProcess* first = Start({});
    ASSERT_TRUE(first->waitForStarted());
    ASSERT_TRUE(WaitListening());

    QProcess* second = Start({QStringLiteral("some/path.tsy"), QStringLiteral("other.tsy")});
    ASSERT_TRUE(second->waitForFinished(15000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(Received(), QStringList{QStringLiteral("some/path.tsy")}) << "only the first path is opened";
    EXPECT_EQ(first->state(), QProcess::Running);

    // Without arguments the second start only activates the first one.
    QProcess* third = Start({});
    ASSERT_TRUE(third->waitForFinished(15000));
    EXPECT_EQ(third->exitCode(), 0);
    EXPECT_EQ(Received().size(), 1);
}

TEST_F(HandOver, NewInstanceSwitchRunsBesideTheFirst)
{
    QProcess* first = Start({});
    ASSERT_TRUE(WaitListening());
    QProcess* extra = Start({QStringLiteral("-ni")});
    ASSERT_TRUE(extra->waitForStarted());
    EXPECT_FALSE(extra->waitForFinished(1500)) << "an extra instance keeps running";

    // The extra instance did not take the channel: hand-overs still reach the first one.
    QProcess* second = Start({QStringLiteral("b.tsy")});
    ASSERT_TRUE(second->waitForFinished(15000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(Received(), QStringList{QStringLiteral("b.tsy")});
    EXPECT_EQ(first->state(), QProcess::Running);
}

TEST_F(HandOver, KilledInstanceDoesNotBlockTheNextStart)
{
    QProcess* first = Start({});
    ASSERT_TRUE(WaitListening());
    first->kill();
    ASSERT_TRUE(first->waitForFinished(5000));

    // Lock and socket are left behind by the kill; the next start must run on its own.
    QProcess* next = Start({QStringLiteral("after-crash.tsy")});
    EXPECT_FALSE(next->waitForFinished(2000)) << "the next start runs instead of handing over";
    EXPECT_EQ(Received(), QStringList{QStringLiteral("after-crash.tsy")});
    ASSERT_TRUE(WaitListening());
    QProcess* second = Start({QStringLiteral("c.tsy")});
    ASSERT_TRUE(second->waitForFinished(15000));
    EXPECT_EQ(Received(), (QStringList{QStringLiteral("after-crash.tsy"), QStringLiteral("c.tsy")}));
}

TEST_F(HandOver, SecondStartOpensItsAlbumInTheFirst)
{
    const QString trip = MakeAlbum(QStringLiteral("Trip"));
    const QString home = MakeAlbum(QStringLiteral("Home Town"));
    ASSERT_FALSE(trip.isEmpty());
    m_answers = QStringLiteral("yes,yes");
    Start({trip});
    ASSERT_TRUE(WaitListening());

    // Another album: the close question about the open one, answered Yes, then it opens.
    HandOverPath(home);
    const QString aboutTrip = QStringLiteral("Orvanne Tessary|Are you sure you want to close current album \"Trip\"?");
    EXPECT_EQ(Prompts(), QStringList{aboutTrip});

    // The album now open is Home Town: handing Trip over asks about it.
    HandOverPath(trip);
    const QString aboutHome =
        QStringLiteral("Orvanne Tessary|Are you sure you want to close current album \"Home Town\"?");
    EXPECT_EQ(Prompts(), (QStringList{aboutTrip, aboutHome}));

    // The album already open (by another spelling of its path): nothing is asked.
    HandOverPath(QFileInfo(trip).absolutePath() + QStringLiteral("/./Trip.tsy"));
    EXPECT_EQ(Prompts().size(), 2);
    EXPECT_EQ(Received().size(), 4);
}

TEST_F(HandOver, MissingAlbumIsReportedInTheFirst)
{
    Start({});
    ASSERT_TRUE(WaitListening());
    HandOverPath(m_dir.filePath(QStringLiteral("gone.tsy")));
    const QStringList prompts = Prompts();
    ASSERT_EQ(prompts.size(), 1);
    EXPECT_TRUE(prompts[0].startsWith(QStringLiteral("Error|Error opening \"") + m_dir.filePath(QStringLiteral("gone.tsy"))));
}

} // namespace
