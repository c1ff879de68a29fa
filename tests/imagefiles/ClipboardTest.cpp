// The clipboard helpers on the offscreen platform's clipboard.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include "imagefiles/Clipboard.h"

using namespace tessary;

TEST(Clipboard, FileListsInTextOut)
{
    QClipboard* board = QGuiApplication::clipboard();
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(QStringLiteral("/photos/a b.jpg")), QUrl(QStringLiteral("https://example.org/x.png")),
                   QUrl::fromLocalFile(QStringLiteral("/photos/\u00e9t\u00e9.png"))});
    board->setMimeData(data);
    EXPECT_TRUE(ClipboardHasFiles());
    EXPECT_EQ(ClipboardFiles(), (QStringList{QStringLiteral("/photos/a b.jpg"), QStringLiteral("/photos/\u00e9t\u00e9.png")}));

    ASSERT_TRUE(SetClipboardText(QStringLiteral("/albums/Trip/Trip.tsy")));
    EXPECT_EQ(board->text(), QStringLiteral("/albums/Trip/Trip.tsy"));
    EXPECT_FALSE(ClipboardHasFiles()) << "the text replaced the file list";
    EXPECT_TRUE(ClipboardFiles().isEmpty());

    auto* web = new QMimeData;
    web->setUrls({QUrl(QStringLiteral("https://example.org/x.png"))});
    board->setMimeData(web);
    EXPECT_FALSE(ClipboardHasFiles());
}
