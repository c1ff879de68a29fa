#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "util/AtomicFile.h"
#include "util/Xml.h"
#include "util/XmlWriter.h"

using namespace tessary;

namespace {
// Texts that stress the escaping: markup characters, both quotes, control characters,
// non-ASCII in every UTF-8 length, a lone surrogate, and an embedded NUL.
const QString kAwkward[] = {
    QString(),
    QStringLiteral("plain"),
    QStringLiteral("a & b < c > d"),
    QStringLiteral("say \"hi\""),
    QStringLiteral("it's"),
    QStringLiteral("both ' and \""),
    QStringLiteral("tab\tnew\nline\rret \x01\x1f end"),
    QStringLiteral("Åsa Bö ß € 日本 😀"),
    QStringLiteral("&amp; already"),
    QString(QChar(0xD800)) + QStringLiteral("lone"),
    QStringLiteral("before") + QChar(0) + QStringLiteral("after"),
    QStringLiteral("  leading and trailing  "),
};

QByteArray WithDocumentLayer()
{
    XmlDocument doc;
    XmlElement root = doc.CreateRoot("Root");
    root.SetAttribute("version", QStringLiteral("1.0"));
    XmlElement list = root.AppendChild("List");
    list.SetAttribute("count", -42);
    for (const QString& s : kAwkward) {
        XmlElement e = list.AppendChild("Entry");
        e.SetAttribute("text", s);
        e.SetAttribute("n", int(s.size()));
    }
    root.AppendChild("Empty");
    XmlElement nest = root.AppendChild("A").AppendChild("B");
    nest.AppendChild("C").SetAttribute("x", 2147483647);
    nest.AppendChild("D");
    return doc.Print();
}

void WriteSame(XmlWriter& w)
{
    w.Declaration();
    w.StartElement("Root");
    w.AttributeUtf8("version", "1.0");
    w.StartElement("List");
    w.Attribute("count", -42);
    for (const QString& s : kAwkward) {
        w.StartElement("Entry");
        w.Attribute("text", s);
        w.Attribute("n", int(s.size()));
        w.EndElement();
    }
    w.EndElement();
    w.StartElement("Empty");
    w.EndElement();
    w.StartElement("A");
    w.StartElement("B");
    w.StartElement("C");
    w.Attribute("x", 2147483647);
    w.EndElement();
    w.StartElement("D");
    // Finish() closes D, B, A and Root.
}
} // namespace

TEST(XmlWriter, PrintsExactlyWhatTheDocumentLayerPrints)
{
    QByteArray out;
    XmlWriter w(out);
    WriteSame(w);
    ASSERT_TRUE(w.Finish());
    EXPECT_EQ(out.toStdString(), WithDocumentLayer().toStdString());
}

TEST(XmlWriter, Utf8ValuesMatchTheirUtf16Forms)
{
    QByteArray a, b;
    XmlWriter wa(a), wb(b);
    for (XmlWriter* w : {&wa, &wb})
        w->StartElement("R");
    for (const QString& s : kAwkward) {
        wa.Attribute("v", s);
        const QByteArray utf8 = s.toUtf8();
        wb.AttributeUtf8("v", std::string_view(utf8.constData(), size_t(utf8.size())));
    }
    wa.Finish();
    wb.Finish();
    EXPECT_EQ(a, b);
}

TEST(XmlWriter, CharacterReferencesReadBackUnchanged)
{
    // The document layer would print "&#x41;" as it is and read it back as "A".
    const QString text = QStringLiteral("AT&#x54; &#x;&#xZZ &#");
    QByteArray out;
    XmlWriter w(out);
    w.StartElement("R");
    w.Attribute("v", text);
    w.Finish();
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse(out));
    EXPECT_EQ(doc.Root().Attribute("v"), text);
    for (const QString& s : kAwkward) {
        QByteArray one;
        XmlWriter x(one);
        x.StartElement("R");
        x.Attribute("v", s);
        x.Finish();
        ASSERT_TRUE(doc.Parse(one));
        const QString expected = s.left(s.indexOf(QChar(0)) < 0 ? s.size() : s.indexOf(QChar(0)));
        EXPECT_EQ(doc.Root().Attribute("v"), QString::fromUtf8(expected.toUtf8())) << one.constData();
    }
}

TEST(XmlWriter, StreamsLargeDocumentsToTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.xml"));
    const QString longText(3 * 1024 * 1024 / 7, QChar(u'"'));
    auto write = [&](XmlWriter& w) {
        w.Declaration();
        w.StartElement("Root");
        for (int i = 0; i < 40000; ++i) {
            w.StartElement("Entry");
            w.Attribute("id", i);
            w.Attribute("name", QStringLiteral("entry number %1 & more").arg(i));
            w.EndElement();
            if (i == 20000) {
                w.StartElement("Long");
                w.Attribute("text", longText); // larger than the writer's block
                w.EndElement();
            }
        }
        return w.Finish();
    };
    QByteArray memory;
    XmlWriter inMemory(memory);
    ASSERT_TRUE(write(inMemory));
    ASSERT_GT(memory.size(), 4 * 1024 * 1024);
    {
        AtomicFileWriter file(path);
        XmlWriter toFile(file);
        ASSERT_TRUE(write(toFile));
        ASSERT_TRUE(file.Commit());
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll() == memory);
}

TEST(AtomicFileWriter, NothingVisibleUntilCommit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.tsy"));
    ASSERT_TRUE(WriteFileAtomically(path, "old"));
    auto content = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    {
        AtomicFileWriter w(path);
        ASSERT_TRUE(w.Ok());
        EXPECT_TRUE(QFile::exists(w.TemporaryPath()));
        EXPECT_TRUE(w.TemporaryPath().startsWith(path + QStringLiteral(".tmp-")));
        ASSERT_TRUE(w.Write("new", 3));
        EXPECT_EQ(content(), QByteArray("old"));
        // Destroyed without Commit(): dropped.
    }
    EXPECT_EQ(content(), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.tsy")});
    {
        AtomicFileWriter w(path);
        ASSERT_TRUE(w.Write("new", 3));
        ASSERT_TRUE(w.Commit());
        EXPECT_FALSE(w.Commit()) << "finished";
        EXPECT_FALSE(w.Write("x", 1));
    }
    EXPECT_EQ(content(), QByteArray("new"));
    AtomicFileWriter nowhere(dir.filePath(QStringLiteral("no/such/folder/x")));
    EXPECT_FALSE(nowhere.Ok());
    EXPECT_FALSE(nowhere.Write("x", 1));
    EXPECT_FALSE(nowhere.Commit());
}
