// "tessary-cli album search", run as a separate process over an album written in code.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "album/Album.h"

#include "cli/CliRunner.h"

using namespace tessary;

namespace {
struct CliRun {
    int code = -1;
    QByteArray out;
};

CliRun Cli(const QStringList& args)
{
    const CliResult run = RunCli(args);
    return CliRun{run.exitCode, run.out};
}

class SearchCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        Album album(m_dir.path(), QStringLiteral("Trips"));
        album.SetAlbumId(1);
        Collection* europe = album.GetCollections().Add(QStringLiteral("Europe"));
        Collection* asia = album.GetCollections().Add(QStringLiteral("Asia"));
        const int32_t place = europe->GetTags().Add(QStringLiteral("Place"))->Id();
        const int32_t asiaPlace = asia->GetTags().Add(QStringLiteral("Place"))->Id();
        europe->GetItems().Add(QStringLiteral("Red Car"), 1)->SetTagValue(place, QStringLiteral("Paris & <Lyon>"));
        europe->GetItems().Add(QStringLiteral("Boat"), 2)->SetTagValue(place, QStringLiteral("Oslo"));
        asia->GetItems().Add(QStringLiteral("Red lanterns"), 1)->SetTagValue(asiaPlace, QStringLiteral("Kyoto"));
        ASSERT_TRUE(album.Save());
        m_file = album.FilePath();
    }

    QJsonArray Search(const QStringList& extra, int* code = nullptr)
    {
        const CliRun r = Cli(QStringList{QStringLiteral("album"), QStringLiteral("search"), m_file} + extra);
        if (code)
            *code = r.code;
        return QJsonDocument::fromJson(r.out).array();
    }

    QTemporaryDir m_dir;
    QString m_file;
};
} // namespace

TEST_F(SearchCli, ResultsInOrderWithMarkup)
{
    int code = -1;
    const QJsonArray rows = Search({QStringLiteral("red"), QStringLiteral("--json")}, &code);
    EXPECT_EQ(code, 0);
    ASSERT_EQ(rows.size(), 2);
    const QJsonObject first = rows[0].toObject();
    EXPECT_EQ(first[QStringLiteral("collection")].toString(), QStringLiteral("Europe"));
    EXPECT_EQ(first[QStringLiteral("item")].toInt(), 1);
    EXPECT_EQ(first[QStringLiteral("name")].toString(), QStringLiteral("Red Car"));
    EXPECT_EQ(first[QStringLiteral("name_markup")].toString(),
              QStringLiteral("<color bg=#FFEB64>Red</color>&nbsp;Car"));
    EXPECT_EQ(first[QStringLiteral("detail_markup")].toString(),
              QStringLiteral("<color fg=#828A99>Place: </color>Paris&nbsp;&amp;&nbsp;&lt;Lyon&gt;"));
    EXPECT_EQ(rows[1].toObject()[QStringLiteral("collection")].toString(), QStringLiteral("Asia"));
}

TEST_F(SearchCli, CollectionScopeAndFailures)
{
    const QJsonArray rows =
        Search({QStringLiteral("--collection"), QStringLiteral("Asia"), QStringLiteral("red"),
                QStringLiteral("--json")});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("name")].toString(), QStringLiteral("Red lanterns"));
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("detail_markup")].toString(),
              QStringLiteral("<color fg=#828A99>Place: </color>Kyoto"));

    // A query that does not parse prints [] and succeeds.
    int code = -1;
    const CliRun bad = Cli({QStringLiteral("album"), QStringLiteral("search"), m_file, QStringLiteral("=x"),
                            QStringLiteral("--json")});
    EXPECT_EQ(bad.code, 0);
    EXPECT_EQ(bad.out.trimmed(), QByteArray("[]"));
    EXPECT_EQ(Search({QStringLiteral("zzz"), QStringLiteral("--json")}, &code).size(), 0);
    EXPECT_EQ(code, 0);

    Search({QStringLiteral("--collection"), QStringLiteral("Nowhere"), QStringLiteral("red"), QStringLiteral("--json")},
           &code);
    EXPECT_EQ(code, 1);
    Search({QStringLiteral("red")}, &code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Cli({QStringLiteral("album"), QStringLiteral("search"), m_file}).code, 2);
    EXPECT_EQ(Cli({QStringLiteral("album"), QStringLiteral("search"), m_dir.filePath(QStringLiteral("none.tsy")),
                   QStringLiteral("x")})
                  .code,
              1);
}
