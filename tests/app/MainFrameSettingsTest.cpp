// The main window reads the settings file when it is made and writes it when it is destroyed.
#include <QFile>
#include <QTest>

#include "app/MainFrame.h"
#include "app/Settings.h"
#include "util/AtomicFile.h"

using namespace tessary;

class MainFrameSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void loadsAtCreationAndSavesAtDestruction()
    {
        const QString path = Settings::FilePath();
        QFile::remove(path);
        Settings stored;
        stored.nextAlbumId = 7;
        stored.recentFiles = {QStringLiteral("/albums/Trip/Trip.tsy")};
        QVERIFY(stored.Save(path));

        auto* frame = new MainFrame;
        QCOMPARE(Settings::Instance().nextAlbumId, 7);
        QCOMPARE(Settings::Instance().recentFiles, stored.recentFiles);
        QVERIFY(!Settings::Instance().debut);
        Settings::Instance().nextAlbumId = 8;
        delete frame;

        Settings back;
        QVERIFY(back.Load(path, QRect(0, 0, 1920, 1040)));
        QCOMPARE(back.nextAlbumId, 8);
        QFile::remove(path);
    }
};

QTEST_MAIN(MainFrameSettingsTest)
#include "MainFrameSettingsTest.moc"
