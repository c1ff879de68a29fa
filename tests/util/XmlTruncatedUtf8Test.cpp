// Documents that end inside a UTF-8 sequence once made the parser step over the terminating
// NUL and read on beyond the text (found by the album-file fuzzer). The parser library is not
// instrumented, so the tests place a continuation behind the NUL: read, it would complete the
// document.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "util/Xml.h"

using namespace tessary;

namespace {
QByteArray Exact(const QByteArray& text)
{
    return QByteArray(text.constData(), text.size());
}
} // namespace

TEST(XmlTruncatedUtf8, FuzzerFindingIsRefusedSafely)
{
    const QByteArray found = QByteArray::fromBase64(
        "PD94bWwgdmVyc2lvbj0iPD94bWwgdmVyc2lvFBQxLjAiIGVuY29kaW5nPSJVVEYtyyrLy8vLy8vLy8vLyzU0NDQ0NDQvJnF1b3Quy8vL"
        "y8vLNMvLy8vLy8vLy8vLOCIgPz4KPFRTUkFBbGJ1UHJvcGVydGllcyBhbGJ1ZGluZz0iVVTLy8vLy8vLyyZxdW90LsvLy8vLy8vLy8vL"
        "y8vLyw==");
    XmlDocument doc;
    EXPECT_FALSE(doc.Parse(Exact(found)));
}

TEST(XmlTruncatedUtf8, NothingBehindTheEndIsRead)
{
    for (int lead = 0xC2; lead <= 0xF4; ++lead) {
        const QByteArray text = QByteArray("<a b=\"x") + char(lead);
        const QByteArray backing = text + QByteArray(1, '\0') + QByteArray("\" c=\"y\"/>");
        XmlDocument doc;
        EXPECT_FALSE(doc.Parse(QByteArray::fromRawData(backing.constData(), text.size()))) << lead;
    }
}

TEST(XmlTruncatedUtf8, EveryLeadByteAtEveryEnding)
{
    const char* heads[] = {"<a b", "<a b=", "<a b=x", "<a b=\"x", "<a b='", "<a>", "<a>text", "<a><!--",
                           "<a><![CDATA[", "<?xml version=\"", "<a", "<", "<a b=\"&", "<a b=\"&#x", "<a>&",
                           "<a b=\"x\" c=\"&quot."};
    for (const char* head : heads) {
        for (int lead = 0xC0; lead <= 0xFF; ++lead) {
            for (int extra = 0; extra < 3; ++extra) {
                QByteArray text(head);
                text.append(char(lead));
                text.append(QByteArray(extra, char(0x80)));
                XmlDocument doc;
                EXPECT_FALSE(doc.Parse(Exact(text))) << head << " " << lead;
            }
        }
    }
    // A file is read into its buffer another way.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.xml"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<a b=\"x\" c=\"&quot.\xcb");
    f.close();
    XmlDocument doc;
    EXPECT_FALSE(doc.LoadFile(path));
}
