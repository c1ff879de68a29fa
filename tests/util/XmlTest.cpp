#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "util/AtomicFile.h"
#include "util/Xml.h"

using namespace tessary;

TEST(Xml, NewDocumentDeclarationAndUtf8RoundTrip)
{
    XmlDocument doc;
    XmlElement root = doc.CreateRoot("Album");
    root.SetAttribute("name", QStringLiteral("Åsa & \"Bö\" <日本>"));
    root.SetAttribute("next_id", 42);
    root.AppendChild("Collections").AppendChild("Collection").SetAttribute("id", 3);
    const QByteArray text = doc.Print();
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>")) << text.constData();
    EXPECT_FALSE(text.contains("standalone"));

    XmlDocument back;
    ASSERT_TRUE(back.Parse(text));
    XmlElement r = back.Root();
    EXPECT_TRUE(r.NameIs("Album"));
    EXPECT_EQ(r.Attribute("name"), QStringLiteral("Åsa & \"Bö\" <日本>"));
    int v = 0;
    ASSERT_TRUE(r.IntAttribute("next_id", v));
    EXPECT_EQ(v, 42);
    XmlElement c = r.FirstChild("Collections").FirstChild("Collection");
    ASSERT_FALSE(c.IsNull());
    EXPECT_TRUE(c.NextSibling("Collection").IsNull());
}

TEST(Xml, IntegerAttributesReadLeadingNumber)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<R a=\"12abc\" b=\"abc\" c=\"\" d=\"-5\"/>"));
    int v = 99;
    EXPECT_TRUE(doc.Root().IntAttribute("a", v));
    EXPECT_EQ(v, 12);
    EXPECT_FALSE(doc.Root().IntAttribute("b", v));
    EXPECT_FALSE(doc.Root().IntAttribute("c", v));
    EXPECT_FALSE(doc.Root().IntAttribute("missing", v));
    EXPECT_TRUE(doc.Root().IntAttribute("d", v));
    EXPECT_EQ(v, -5);
}

TEST(Xml, MalformedAndDeepDocumentsRefused)
{
    XmlDocument doc;
    EXPECT_FALSE(doc.Parse(QByteArray()));
    EXPECT_FALSE(doc.Parse("<A><B></A>"));
    EXPECT_FALSE(doc.Parse("not xml"));
    EXPECT_TRUE(doc.Root().IsNull()) << "a failed parse leaves no half document";
    QByteArray deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    EXPECT_FALSE(doc.Parse(deep)) << "the recursive parser must never see hostile nesting";
    QByteArray fine = "<r><!-- <<<<<<<<< --><![CDATA[<<<<]]><x a=\"1\"/><y></y></r>";
    EXPECT_TRUE(XmlDepthWithin(fine.constData(), size_t(fine.size()), 2));
    EXPECT_TRUE(doc.Parse(fine));
}

TEST(AtomicFile, ReplaceKeepsOldFileOnFailure)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.tsy"));
    ASSERT_TRUE(WriteFileAtomically(path, "first"));
    ASSERT_TRUE(WriteFileAtomically(path, "second"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("second"));
    f.close();
    // A folder that does not exist: nothing written, nothing left behind.
    EXPECT_FALSE(WriteFileAtomically(dir.filePath(QStringLiteral("no/such/x.tsy")), "x"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.tsy")});
}
