#include <gtest/gtest.h>

#include <unistd.h>

#include "app/InstanceGuard.h"

using namespace tessary;

TEST(InstanceRules, NewInstanceSwitch)
{
    EXPECT_TRUE(InstanceGuard::SkipsCheck({QStringLiteral("-ni")}));
    EXPECT_FALSE(InstanceGuard::SkipsCheck({QStringLiteral("-NI")})) << "case-sensitive";
    EXPECT_FALSE(InstanceGuard::SkipsCheck({QStringLiteral("-ni"), QStringLiteral("a.tsy")}));
    EXPECT_FALSE(InstanceGuard::SkipsCheck({}));
    EXPECT_FALSE(InstanceGuard::SkipsCheck({QStringLiteral("a.tsy"), QStringLiteral("-ni")}));
}

TEST(InstanceRules, PathToOpen)
{
    EXPECT_EQ(InstanceGuard::PathToOpen({QStringLiteral("a.tsy"), QStringLiteral("b.tsy")}), QStringLiteral("a.tsy"));
    EXPECT_TRUE(InstanceGuard::PathToOpen({QStringLiteral("-ni")}).isEmpty());
    EXPECT_TRUE(InstanceGuard::PathToOpen({QStringLiteral("-ni"), QStringLiteral("a.tsy")}).isEmpty())
        << "a leading -ni is never opened as a file";
    EXPECT_TRUE(InstanceGuard::PathToOpen({}).isEmpty());
}

TEST(InstanceRules, NamesArePerUser)
{
    qunsetenv("TESSARY_INSTANCE_NAME");
    const QString name = InstanceGuard::InstanceName();
    EXPECT_TRUE(name.startsWith(QStringLiteral("TSRA-MainFrame-{")));
    EXPECT_TRUE(name.endsWith(QLatin1Char('}')));
    EXPECT_EQ(name.size(), QStringLiteral("TSRA-MainFrame-{").size() + 36 + 1);
    EXPECT_TRUE(InstanceGuard::ChannelName().startsWith(name + QLatin1Char('-')));
}

TEST(InstanceRules, SecondGuardInOneProcessHandsOver)
{
    qputenv("TESSARY_INSTANCE_NAME", QByteArray("tessary-test-guard-") + QByteArray::number(qint64(::getpid())));
    InstanceGuard first;
    ASSERT_EQ(first.Check({}), InstanceGuard::Decision::Run);
    InstanceGuard second;
    // Nobody serves the channel yet: the second start gives up silently.
    EXPECT_EQ(second.Check({QStringLiteral("x.tsy")}), InstanceGuard::Decision::HandedOver);
    InstanceGuard extra;
    EXPECT_EQ(extra.Check({QStringLiteral("-ni")}), InstanceGuard::Decision::Run);
    EXPECT_FALSE(extra.Serve([](const QByteArray&) { return char(1); }))
        << "an extra instance never takes the channel";
    qunsetenv("TESSARY_INSTANCE_NAME");
}
