// The info strip's texts and segments, the photo facts read off the UI thread, the details
// pane's preview and the right stack's hint.
#include <QtTest>

#include "../items/ItemListFixture.h"
#include "album/Collections.h"
#include "views/details/PhotoFacts.h"
#include "views/details/VeFadDetailsCtrlBase.h"
#include "views/details/VeFadDetailsHintCtrl.h"
#include "views/details/VeFadInfoCtrlBase.h"
#include "views/details/VeFadPreviewCtrlBase.h"
#include "views/items/FadItem.h"
#include "views/tags/VeTagListCtrlBase.h"

using namespace tessary;
using namespace tessary::test;

class InfoStripTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterInterfaceFonts(); }

    void sizeTextThresholds()
    {
        QCOMPARE(InfoSizeText(0), QStringLiteral("0 bytes"));
        QCOMPARE(InfoSizeText(1023), QStringLiteral("1023 bytes"));
        QCOMPARE(InfoSizeText(1024), QStringLiteral("1 KB"));
        QCOMPARE(InfoSizeText(1025), QStringLiteral("2 KB")); // rounded up
        QCOMPARE(InfoSizeText(1048575), QStringLiteral("1024 KB"));
        QCOMPARE(InfoSizeText(1048576), QStringLiteral("1.00 MB"));
        QCOMPARE(InfoSizeText(5 * 1048576 + 524288), QStringLiteral("5.50 MB"));
        QCOMPARE(InfoSizeText(0xFFFFFFFFu), QStringLiteral("4096.00 MB"));
        QCOMPARE(DateTakenText(std::nullopt), QStringLiteral("n/a"));
    }

    void factsComeFromTheHeaderOnAWorker()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 2, QStringLiteral("P"));
        Item* photo = c.GetItems().At(1); // portrait 48 x 64
        const PhotoFacts facts = ReadPhotoFacts(7, photo->FirstPhotoPath());
        QVERIFY(facts.readable);
        QCOMPARE(facts.width, 48);
        QCOMPARE(facts.height, 64);
        QCOMPARE(facts.size, QFileInfo(photo->FirstPhotoPath()).size());
        QVERIFY(!facts.dateTaken); // no Exif block
        // A damaged file: no dimensions, the size still.
        QVERIFY(WriteFile(f.dir.filePath(QStringLiteral("bad.jpg")), "nothing"));
        const PhotoFacts bad = ReadPhotoFacts(8, f.dir.filePath(QStringLiteral("bad.jpg")));
        QVERIFY(!bad.readable);
        QCOMPARE(bad.size, 7);

        VeFadInfoCtrlBase strip;
        strip.resize(900, 50);
        strip.SetCollection(true, false, 2);
        strip.SetSelection(photo, 1);
        QVERIFY(!strip.HasFacts()); // the worker answers later
        QCOMPARE(strip.FittingSegments(2000), QStringList{QStringLiteral("JPEG image")});
        QTRY_VERIFY(strip.HasFacts());
        QCOMPARE(strip.FittingSegments(2000),
                 (QStringList{QStringLiteral("JPEG image"), QStringLiteral("Date taken: n/a"),
                              QStringLiteral("Dimensions: 48 x 64"),
                              QStringLiteral("Size: ") + InfoSizeText(uint32_t(facts.size))}));
        // Segments that no longer fit are left out whole, from the right.
        const QFontMetrics m(SharedFonts::Normal());
        const int two = m.horizontalAdvance(QStringLiteral("JPEG image")) + 40 +
                        m.horizontalAdvance(QStringLiteral("Date taken: n/a"));
        QCOMPARE(strip.FittingSegments(two).size(), 2);
        QCOMPARE(strip.FittingSegments(two - 1).size(), 1);
        QCOMPARE(strip.FittingSegments(5).size(), 0);

        // A newer selection wins over an answer still on its way.
        strip.SetSelection(c.GetItems().At(0), 1);
        QTRY_VERIFY(strip.HasFacts());
        QVERIFY(strip.FittingSegments(2000).contains(QStringLiteral("Dimensions: 64 x 48")));
    }

    void theTypeWordFollowsTheFormat()
    {
        ItemListFixture f;
        Collection* c = f.album->GetCollections().Add(QStringLiteral("Formats"));
        const std::vector<std::pair<PhotoFormat, QString>> formats = {
            {PhotoFormat::Bmp, "Bitmap image"}, {PhotoFormat::Gif, "GIF image"},   {PhotoFormat::Jpeg, "JPEG image"},
            {PhotoFormat::Png, "PNG image"},    {PhotoFormat::Tiff, "TIFF image"}, {PhotoFormat::Webp, "WebP image"},
            {PhotoFormat::Heif, "HEIF image"},  {PhotoFormat::Avif, "AVIF image"}};
        VeFadInfoCtrlBase strip;
        strip.resize(900, 50);
        strip.SetCollection(true, false, int(formats.size()));
        int id = 1;
        for (const auto& [format, word] : formats) {
            Item* item = c->GetItems().Add(QStringLiteral("Photo %1").arg(id), id);
            ++id;
            QVERIFY(item->GetPhotos().Add(format, 1));
            strip.SetSelection(item, 1);
            QCOMPARE(strip.FittingSegments(2000).value(0), word); // before the facts arrive
        }
        strip.SetSelection(nullptr, 0);
    }

    void countTexts()
    {
        VeFadInfoCtrlBase strip;
        QCOMPARE(strip.CountText(), QString()); // no collection shown
        strip.SetCollection(true, true, 12);
        QCOMPARE(strip.CountText(), QStringLiteral("12 items"));
        strip.SetSelection(nullptr, 3);
        QCOMPARE(strip.CountText(), QStringLiteral("3 items selected"));
        strip.SetSelection(nullptr, 0);
        QCOMPARE(strip.CountText(), QStringLiteral("12 items"));
    }

    void detailsPaneShowsThePreviewOfItsItem()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 1, QStringLiteral("P"));
        Item* item = c.GetItems().At(0);
        VeFadDetailsCtrlBase details;
        details.resize(150, 100);
        details.show();
        QCOMPARE(details.Preview().width(), 200); // at least 200 wide
        QCOMPARE(details.Preview().height(), 124);
        QCOMPARE(details.TagsArea(), QRect(0, 124, 200, 56)); // counted as 180 high
        details.SetItem(item);
        QCOMPARE(details.Preview().Key(), FadRowKey(*item));
        // The preview arrives from the worker and is painted: something not white.
        auto painted = [&] {
            const QImage image = details.Preview().grab().toImage();
            for (int y = 0; y < image.height(); y += 4)
                for (int x = 0; x < image.width(); x += 4)
                    if (image.pixel(x, y) != qRgb(255, 255, 255))
                        return true;
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(painted(), 5000);
        details.SetItem(nullptr);
        QVERIFY(!painted());
    }

    void detailsPaneBindsItsTagsPane()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 1, QStringLiteral("P"));
        c.GetTags().Add(QStringLiteral("Place"));
        Item* item = c.GetItems().At(0);
        VeFadDetailsCtrlBase details;
        details.resize(300, 260);
        details.show();
        VeTagListCtrlBase& tags = details.TagsPane();
        QCOMPARE(tags.parentWidget(), &details);
        QCOMPARE(tags.geometry(), details.TagsArea());
        details.SetItem(item, true);
        QCOMPARE(tags.BoundItem(), item);
        QVERIFY(tags.Highlighted());
        QCOMPARE(tags.RowCount(), 2);
        details.SetItem(item);
        QVERIFY(!tags.Highlighted());
        details.SetItem(nullptr);
        QCOMPARE(tags.BoundItem(), nullptr);
        QCOMPARE(tags.RowCount(), 0);
    }

    void theHintSaysWhatToDo()
    {
        VeFadDetailsHintCtrl hint;
        hint.resize(300, 200);
        QCOMPARE(VeFadDetailsHintCtrl::Text(), QStringLiteral("Select a photo to view details."));
        const QImage image = hint.grab().toImage();
        int grey = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    ++grey;
        QVERIFY(grey > 50);
    }
};

QTEST_MAIN(InfoStripTest)
#include "InfoStripTest.moc"
