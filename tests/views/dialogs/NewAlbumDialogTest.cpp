// The New Album dialog: album numbering kept in the settings across opening, Cancel and OK;
// the checks of OK in their order with their messages, focus and selection; the name limit;
// OK enabling; the folder browser.
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "views/ViewsTestSupport.h"
#include "app/Settings.h"
#include "views/dialogs/NewAlbumDialog.h"

using namespace tessary;
using namespace tessary::test;

namespace {

const QString kHint =
    QStringLiteral("Hint: album name cannot contain any of the following charactes:\n\t\\ / : * ? \" < > |");

// The field holds the focus of its dialog with the whole of its text selected.
bool FocusedAndSelected(const NewAlbumDialog& dialog, const QLineEdit* field)
{
    return dialog.focusWidget() == field && field->hasSelectedText() && field->selectedText() == field->text();
}

} // namespace

class NewAlbumDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterTahoma(); }

    void init()
    {
        QVERIFY(temp_.isValid());
        settings_ = Settings();
        settings_.albumFolder = temp_.filePath(QStringLiteral("albums"));
        prompts_ = ScriptedPrompts();
    }

    void numberingOnOpenAndCancel()
    {
        settings_.nextAlbumId = 2;
        for (int round = 0; round < 2; ++round) {
            NewAlbumDialog dialog(settings_, prompts_, nullptr);
            QCOMPARE(dialog.NameEdit()->text(), QStringLiteral("My Album 2"));
            QCOMPARE(settings_.nextAlbumId, 3);
            dialog.CancelButton()->click();
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(settings_.nextAlbumId, 2);
        }

        // Escape cancels too, and a dialog cancelled twice hands back only one number.
        settings_.nextAlbumId = 5;
        NewAlbumDialog dialog(settings_, prompts_, nullptr);
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(settings_.nextAlbumId, 5);
        dialog.reject();
        QCOMPARE(settings_.nextAlbumId, 5);
    }

    void firstNumbersGivePlainName_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("afterCancel");
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("zero") << 0 << 1;
        QTest::newRow("negative") << -4 << 1;
    }

    void firstNumbersGivePlainName()
    {
        QFETCH(int, stored);
        QFETCH(int, afterCancel);
        settings_.nextAlbumId = stored;
        NewAlbumDialog dialog(settings_, prompts_, nullptr);
        QCOMPARE(dialog.NameEdit()->text(), QStringLiteral("My Album"));
        dialog.reject();
        QCOMPARE(settings_.nextAlbumId, afterCancel);
    }

    void okRaisesNumberForDefaultNames_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("expected");
        QTest::newRow("higher number") << 3 << QStringLiteral("My Album 7") << 8;
        QTest::newRow("equal to reserved") << 6 << QStringLiteral("My Album 7") << 8;
        QTest::newRow("lower number") << 9 << QStringLiteral("My Album 7") << 10;
        QTest::newRow("leading zero") << 3 << QStringLiteral("My Album 007") << 8;
        QTest::newRow("proposed name") << 4 << QStringLiteral("My Album 4") << 5;
        QTest::newRow("other letter case") << 3 << QStringLiteral("my album 9") << 4;
        QTest::newRow("trailing text") << 3 << QStringLiteral("My Album 9b") << 4;
        QTest::newRow("two blanks") << 3 << QStringLiteral("My Album  9") << 4;
        QTest::newRow("no number") << 3 << QStringLiteral("My Album") << 4;
        QTest::newRow("too large") << 3 << QStringLiteral("My Album 99999999999") << 4;
        QTest::newRow("largest int") << 3 << QStringLiteral("My Album 2147483647") << 4;
        QTest::newRow("blanks around") << 3 << QStringLiteral("  My Album 12 ") << 13;
    }

    void okRaisesNumberForDefaultNames()
    {
        QFETCH(int, stored);
        QFETCH(QString, name);
        QFETCH(int, expected);
        settings_.nextAlbumId = stored;
        NewAlbumDialog dialog(settings_, prompts_, nullptr);
        dialog.NameEdit()->setText(name);
        dialog.OkButton()->click();
        QVERIFY(prompts_.asked.empty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settings_.nextAlbumId, expected);
        QCOMPARE(dialog.Name(), name.trimmed());
    }

    void okTrimsAndMakesTheFolder()
    {
        const QString location = temp_.filePath(QStringLiteral("deep/er/folder"));
        NewAlbumDialog dialog(settings_, prompts_, nullptr);
        QVERIFY(dialog.Location().isEmpty() && dialog.Name().isEmpty());
        dialog.NameEdit()->setText(QStringLiteral("  Trip to Porto\t"));
        dialog.LocationEdit()->setText(QStringLiteral(" ") + location + QStringLiteral("  "));
        dialog.OkButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Name(), QStringLiteral("Trip to Porto"));
        QCOMPARE(dialog.Location(), location);
        QVERIFY(QFileInfo(location).isDir());
        // The album folder itself is the main frame's to make.
        QVERIFY(!QFileInfo::exists(location + QStringLiteral("/Trip to Porto")));
    }

    void locationComesFromSettings()
    {
        NewAlbumDialog withFolder(settings_, prompts_, nullptr);
        QCOMPARE(withFolder.LocationEdit()->text(), settings_.albumFolder);
        withFolder.reject();

        settings_.albumFolder.clear();
        NewAlbumDialog withoutFolder(settings_, prompts_, nullptr);
        QCOMPARE(withoutFolder.LocationEdit()->text(), Settings::DefaultAlbumFolder());
        QVERIFY(settings_.albumFolder.isEmpty());
        withoutFolder.reject();
    }

    void checksInOrder()
    {
        // A plain file where the folder would be: the folder cannot be made.
        const QString blocked = temp_.filePath(QStringLiteral("blocked"));
        QVERIFY(WriteFile(blocked));
        const QString good = temp_.filePath(QStringLiteral("good"));
        QVERIFY(QDir().mkpath(good + QStringLiteral("/Taken")));
        settings_.nextAlbumId = 3;

        NewAlbumDialog dialog(settings_, prompts_, nullptr);
        dialog.show();
        QLineEdit* name = dialog.NameEdit();
        QLineEdit* location = dialog.LocationEdit();

        // A bad name is reported before a bad folder.
        name->setText(QStringLiteral(" Trip: day 1 "));
        location->setText(blocked + QStringLiteral("/sub"));
        dialog.LocationEdit()->setFocus();
        dialog.OkButton()->click();
        QCOMPARE(prompts_.asked.size(), size_t(1));
        QCOMPARE(prompts_.asked[0].text, QStringLiteral("Invalid album name: Trip: day 1\n\n") + kHint);
        QCOMPARE(prompts_.asked[0].caption, QStringLiteral("Orvanne Tessary"));
        QCOMPARE(prompts_.asked[0].icon, QMessageBox::Information);
        QCOMPARE(prompts_.owners[0], &dialog);
        QVERIFY(dialog.isVisible());
        QVERIFY(FocusedAndSelected(dialog, name));
        QCOMPARE(name->text(), QStringLiteral("Trip: day 1"));

        name->setText(QStringLiteral("Trip"));
        dialog.OkButton()->click();
        QCOMPARE(prompts_.asked.size(), size_t(2));
        QCOMPARE(prompts_.asked[1].text, QStringLiteral("Invalid folder: \"") + blocked
                                             + QStringLiteral("/sub\"\n\nPlease specify another location."));
        QCOMPARE(prompts_.asked[1].icon, QMessageBox::Information);
        QVERIFY(dialog.isVisible());
        QVERIFY(FocusedAndSelected(dialog, location));

        name->setText(QStringLiteral("Taken"));
        location->setText(good);
        dialog.OkButton()->click();
        QCOMPARE(prompts_.asked.size(), size_t(3));
        QCOMPARE(prompts_.asked[2].text,
                 QStringLiteral("An album with the specified name already exists on disk in the specified "
                                "location.\n\nPlease enter a new album name or choose another folder."));
        QVERIFY(dialog.isVisible());
        QVERIFY(FocusedAndSelected(dialog, name));

        // A plain file of that name counts as existing too.
        QVERIFY(WriteFile(good + QStringLiteral("/Notes")));
        name->setText(QStringLiteral("Notes"));
        dialog.OkButton()->click();
        QCOMPARE(prompts_.asked.size(), size_t(4));
        QVERIFY(dialog.isVisible());

        // Refused attempts leave the numbering alone.
        QCOMPARE(settings_.nextAlbumId, 4);
        name->setText(QStringLiteral("Free"));
        dialog.OkButton()->click();
        QCOMPARE(prompts_.asked.size(), size_t(4));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(settings_.nextAlbumId, 4);
    }

    void blankLocationIsRefusedWithoutAWarning()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        NewAlbumDialog dialog(settings_, prompts_, nullptr);
        dialog.show();
        dialog.LocationEdit()->setText(QStringLiteral("   "));
        QVERIFY(dialog.OkButton()->isEnabled());
        dialog.OkButton()->click();
        QCOMPARE(prompts_.asked.size(), size_t(1));
        QCOMPARE(prompts_.asked[0].text, QStringLiteral("Invalid folder: \"\"\n\nPlease specify another location."));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.LocationEdit()));
        dialog.reject();
    }

    void nameRules()
    {
        const QString forbidden = QStringLiteral("\\/:*?\"<>|\t\r\n");
        for (const QChar c : forbidden) {
            QVERIFY2(!NewAlbumDialog::IsValidName(QStringLiteral("a") + c + QStringLiteral("b")),
                     qPrintable(QString::number(c.unicode())));
        }
        QVERIFY(!NewAlbumDialog::IsValidName(QStringLiteral("a") + QChar(0x01)));
        QVERIFY(!NewAlbumDialog::IsValidName(QStringLiteral("a") + QChar(0x7F)));
        QVERIFY(NewAlbumDialog::IsValidName(QStringLiteral("Été à Lisboa, 2024 (1) #2 & co.")));
        QVERIFY(NewAlbumDialog::IsValidName(QString(259, QLatin1Char('x'))));
        QVERIFY(!NewAlbumDialog::IsValidName(QString(260, QLatin1Char('x'))));

        // A control character typed into the field is refused with the name in the message.
        NewAlbumDialog dialog(settings_, prompts_, nullptr);
        dialog.NameEdit()->setText(QStringLiteral("Bell") + QChar(0x07) + QStringLiteral("s"));
        dialog.OkButton()->click();
        QCOMPARE(prompts_.asked.size(), size_t(1));
        QVERIFY(prompts_.asked[0].text.startsWith(QStringLiteral("Invalid album name: Bell")));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialog.reject();
    }

    void nameLimitedTo50Characters()
    {
        NewAlbumDialog dialog(settings_, prompts_, nullptr);
        dialog.show();
        QLineEdit* name = dialog.NameEdit();
        name->clear();
        QTest::keyClicks(name, QString(60, QLatin1Char('k')));
        QCOMPARE(name->text().size(), 50);
        name->setText(QString(70, QLatin1Char('p')));
        QCOMPARE(name->text().size(), 50);
        dialog.reject();
    }

    void okEnabledWhileBothFieldsHoldText()
    {
        NewAlbumDialog dialog(settings_, prompts_, nullptr);
        dialog.show();
        QVERIFY(dialog.OkButton()->isEnabled());
        dialog.NameEdit()->selectAll();
        QTest::keyClick(dialog.NameEdit(), Qt::Key_Delete);
        QVERIFY(!dialog.OkButton()->isEnabled());
        QTest::keyClicks(dialog.NameEdit(), QStringLiteral("x"));
        QVERIFY(dialog.OkButton()->isEnabled());
        dialog.LocationEdit()->clear();
        QVERIFY(!dialog.OkButton()->isEnabled());
        // Blanks count as text here; trimming is OK's business.
        dialog.LocationEdit()->setText(QStringLiteral(" "));
        QVERIFY(dialog.OkButton()->isEnabled());
        dialog.reject();
    }

    void browserStoresFolderAtOnce()
    {
        const QString picked = temp_.filePath(QStringLiteral("picked"));
        QVERIFY(QDir().mkpath(picked));
        QVERIFY(QDir().mkpath(settings_.albumFolder));
        prompts_.folder = picked;

        const QString before = settings_.albumFolder;
        NewAlbumDialog dialog(settings_, prompts_, nullptr);
        dialog.show();
        dialog.NameEdit()->setFocus();
        QTest::mouseClick(dialog.BrowseButton(), Qt::LeftButton);
        QCOMPARE(prompts_.folderTitles, QStringList{QStringLiteral("Please select a folder:")});
        QCOMPARE(prompts_.folderStarts, QStringList{before});
        QCOMPARE(dialog.LocationEdit()->text(), picked);
        QCOMPARE(settings_.albumFolder, picked);
        QVERIFY(FocusedAndSelected(dialog, dialog.LocationEdit()));

        // Kept after Cancel; a browser closed without a choice changes nothing.
        prompts_.folder.clear();
        dialog.LocationEdit()->setText(temp_.filePath(QStringLiteral("missing")));
        QTest::mouseClick(dialog.BrowseButton(), Qt::LeftButton);
        QCOMPARE(prompts_.folderStarts.last(), QString());
        QCOMPARE(dialog.LocationEdit()->text(), temp_.filePath(QStringLiteral("missing")));
        dialog.reject();
        QCOMPARE(settings_.albumFolder, picked);
    }

private:
    QTemporaryDir temp_;
    Settings settings_;
    ScriptedPrompts prompts_;
};

QTEST_MAIN(NewAlbumDialogTest)
#include "NewAlbumDialogTest.moc"
