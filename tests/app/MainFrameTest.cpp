#include <QDialog>
#include <QTest>

#include "app/CommandLinePacket.h"
#include "app/InstanceGuard.h"
#include "app/MainFrame.h"
#include "views/ViewsTestSupport.h"

using namespace tessary;

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void identity()
    {
        MainFrame frame;
        QCOMPARE(frame.windowTitle(), QStringLiteral("Orvanne Tessary"));
        QCOMPARE(frame.size(), QSize(920, 640));
        QCOMPARE(frame.objectName(), InstanceGuard::InstanceName());
    }

    void handOverOpensFirstPath()
    {
        auto prompts = std::make_unique<test::ScriptedPrompts>();
        test::ScriptedPrompts& asked = *prompts;
        MainFrame frame(nullptr, std::move(prompts));
        frame.show();
        const QByteArray packet = CommandLinePacket::Build({QStringLiteral("/a/One.tsy"), QStringLiteral("/b/Two.tsy")});
        QCOMPARE(frame.HandleHandOver(packet), char(1));
        QCOMPARE(frame.ReceivedPaths(), QStringList{QStringLiteral("/a/One.tsy")});
        // The path names no album: the error, and still the home page.
        QCOMPARE(asked.asked.size(), size_t(1));
        QVERIFY(asked.asked.back().text.startsWith(QStringLiteral("Error opening \"/a/One.tsy\"")));
        // Activation only, and a corrupt packet: nothing more is opened.
        QCOMPARE(frame.HandleHandOver(QByteArray()), char(1));
        QCOMPARE(frame.HandleHandOver(packet.left(20)), char(0));
        QCOMPARE(frame.ReceivedPaths().size(), 1);
    }

    void handOverWhileModalDialogOpensNothing()
    {
        MainFrame frame;
        frame.showMaximized();
        QDialog dialog(&frame);
        dialog.setModal(true);
        dialog.show();
        QTRY_VERIFY(QApplication::activeModalWidget() == &dialog);
        const QByteArray packet = CommandLinePacket::Build({QStringLiteral("/a/One.tsy")});
        QCOMPARE(frame.HandleHandOver(packet), char(0));
        QVERIFY(frame.ReceivedPaths().isEmpty());
        QVERIFY2(!frame.isMaximized(), "the restore is unconditional");
    }
};

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
