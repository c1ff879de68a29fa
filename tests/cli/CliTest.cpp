#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TessaryVersion.h"

TEST(Cli, VersionAndHelp)
{
    const CliResult v = RunCli({QStringLiteral("version")});
    EXPECT_EQ(v.exitCode, 0);
    EXPECT_EQ(v.out.trimmed(), QByteArray("Tessary " TESSARY_VERSION_TEXT));
    EXPECT_EQ(v.out.trimmed().split('.').size(), 4) << "four version numbers";

    const CliResult h = RunCli({QStringLiteral("--help")});
    EXPECT_EQ(h.exitCode, 0);
    EXPECT_TRUE(h.out.contains("version"));
}

TEST(Cli, WrongUsageIsExitTwoWithOneLine)
{
    for (const QStringList& args : {QStringList{}, QStringList{QStringLiteral("no-such-command")},
                                    QStringList{QStringLiteral("version"), QStringLiteral("extra")}}) {
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        if (!args.isEmpty()) {
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
        }
    }
}
