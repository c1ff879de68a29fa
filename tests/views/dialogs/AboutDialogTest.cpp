// The About dialog: the version of the build in its fixed wording, the product and maker,
// and the link to the product's web site.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "TessaryVersion.h"
#include "views/ViewsTestSupport.h"
#include "views/common/WebPages.h"
#include "views/dialogs/AboutDialog.h"

using namespace tessary;
using namespace tessary::test;

class AboutDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterTahoma(); }
    void cleanup() { SetWebPageOpener({}); }

    void versionOfTheBuild()
    {
        // The project's dotted version "major.minor.patch.build".
        const QStringList parts = QStringLiteral(TESSARY_VERSION_TEXT).split(QLatin1Char('.'));
        QCOMPARE(parts.size(), 4);
        const QString expected = QStringLiteral("Version ") + parts.mid(0, 3).join(QLatin1Char('.'))
                                 + QStringLiteral("  (Build ") + parts[3] + QStringLiteral(")");
        QCOMPARE(AboutDialog::VersionText(), expected);

        AboutDialog dialog(nullptr);
        QCOMPARE(dialog.VersionLabel()->text(), expected);
    }

    void productAndMaker()
    {
        AboutDialog dialog(nullptr);
        QVERIFY(dialog.ProductLabel()->text().contains(QStringLiteral("Tessary")));
        QVERIFY(dialog.windowTitle().contains(QStringLiteral("Orvanne Tessary")));
        dialog.show();
        // Everything fits: no label is cut.
        for (const QLabel* label : {dialog.ProductLabel(), dialog.VersionLabel()})
            QVERIFY(label->width() >= label->sizeHint().width());
        QVERIFY(dialog.LinkButton()->width() >= dialog.LinkButton()->sizeHint().width());
    }

    void linkOpensProductSite()
    {
        QList<QUrl> opened;
        SetWebPageOpener([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        AboutDialog dialog(nullptr);
        dialog.show();
        QVERIFY(dialog.LinkButton()->text().contains(WebPageUrl(WebPage::ProductHome).host()));
        QTest::mouseClick(dialog.LinkButton(), Qt::LeftButton);
        QCOMPARE(opened, QList<QUrl>{WebPageUrl(WebPage::ProductHome)});
        // The link is not the default button: Enter closes the dialog without opening a page.
        QTest::keyClick(&dialog, Qt::Key_Return);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(AboutDialogTest)
#include "AboutDialogTest.moc"
