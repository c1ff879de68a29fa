// The Open Album dialog: rows of the recent albums and their names read off the UI thread,
// OK, double-click and Browse..., the context menu and its commands, the empty list, and the
// geometry kept from one opening to the next.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "views/ViewsTestSupport.h"
#include "album/Album.h"
#include "album/AlbumFile.h"
#include "views/common/NotifyCodes.h"
#include "views/dialogs/OpenAlbumDialog.h"
#include "views/dialogs/RecentAlbumList.h"
#include "views/dialogs/RecentAlbumRow.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"

using namespace tessary;
using namespace tessary::test;

namespace {

// An album file under `root` whose stored name is `name`; its file title is `title`.
QString WriteAlbum(const QString& root, const QString& title, const QString& name)
{
    Album album(root + QLatin1Char('/') + title, title);
    album.SetAlbumId(1);
    album.GetCollections().Add(QStringLiteral("Beaches"));
    if (!SaveAlbum(album))
        return {};
    const QString path = album.FilePath();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray xml = file.readAll();
    file.close();
    const QByteArray from = "album_name=\"" + title.toUtf8() + '"';
    if (!xml.contains(from))
        return {};
    xml.replace(from, "album_name=\"" + name.toHtmlEscaped().toUtf8() + '"');
    return WriteFile(path, xml) ? path : QString();
}

QPoint RowCentre(RecentAlbumList* list, int index)
{
    return list->RowRectAt(index).center();
}

// Runs `action` on the popup menu as soon as it is open.
void OnPopup(std::function<void(QMenu*)> action)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer->stop();
        timer->deleteLater();
        action(menu);
    });
    timer->start(5);
}

QAction* ActionOf(QMenu* menu, int id)
{
    return FindAction(*menu, id);
}

} // namespace

class OpenAlbumDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        RegisterTahoma();
        QVERIFY(temp_.isValid());
        named_ = WriteAlbum(temp_.path(), QStringLiteral("Lisbon"), QStringLiteral("Summer in Lisbon"));
        nameless_ = WriteAlbum(temp_.path(), QStringLiteral("Porto.trip"), QString());
        second_ = WriteAlbum(temp_.path(), QStringLiteral("Alps"), QStringLiteral("Winter & Snow <2024>"));
        QVERIFY(!named_.isEmpty() && !nameless_.isEmpty() && !second_.isEmpty());
        QCOMPARE(ReadAlbumName(nameless_), QString());
    }

    void init()
    {
        prompts_ = ScriptedPrompts();
        OpenAlbumDialog::ForgetGeometry();
    }

    void rowsShowTitlesThenStoredNames()
    {
        QStringList recent{nameless_, named_, second_};
        OpenAlbumDialog dialog(recent, prompts_, nullptr);
        RecentAlbumList* list = dialog.List();
        QCOMPARE(list->RowCount(), 3);
        QCOMPARE(list->RowHeight(), 40);
        // Before the event loop has run, every row shows its file title.
        QCOMPARE(list->AlbumRowAt(0)->DisplayName(), QStringLiteral("Porto.trip"));
        QCOMPARE(list->AlbumRowAt(1)->DisplayName(), QStringLiteral("Lisbon"));
        QCOMPARE(list->AlbumRowAt(2)->DisplayName(), QStringLiteral("Alps"));
        QCOMPARE(list->AlbumRowAt(1)->Path(), named_);

        dialog.show();
        QTRY_COMPARE(list->AlbumRowAt(2)->DisplayName(), QStringLiteral("Winter & Snow <2024>"));
        QCOMPARE(list->AlbumRowAt(1)->DisplayName(), QStringLiteral("Summer in Lisbon"));
        // Names come in order, so the first row's answer has arrived: no stored name.
        QCOMPARE(list->AlbumRowAt(0)->DisplayName(), QStringLiteral("Porto.trip"));
        QVERIFY(!dialog.OkButton()->isEnabled());
    }

    void unreadableFilesKeepTheirTitles()
    {
        QTemporaryDir dir;
        const QString garbage = dir.filePath(QStringLiteral("garbage.tsy"));
        QVERIFY(WriteFile(garbage, QByteArray(5000, '\xFF')));
        const QString truncated = dir.filePath(QStringLiteral("truncated.tsy"));
        QFile whole(named_);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        QVERIFY(WriteFile(truncated, whole.readAll().left(120)));
        const QString folder = dir.filePath(QStringLiteral("folder.tsy"));
        QVERIFY(QDir().mkpath(folder));
        const QString missing = dir.filePath(QStringLiteral("missing.tsy"));
        const QString empty = dir.filePath(QStringLiteral("empty.tsy"));
        QVERIFY(WriteFile(empty, QByteArray()));

        QStringList recent{garbage, truncated, folder, missing, empty, QString(), second_};
        OpenAlbumDialog dialog(recent, prompts_, nullptr);
        dialog.show();
        RecentAlbumList* list = dialog.List();
        QTRY_COMPARE(list->AlbumRowAt(6)->DisplayName(), QStringLiteral("Winter & Snow <2024>"));
        const QStringList titles{QStringLiteral("garbage"), QStringLiteral("truncated"), QStringLiteral("folder"),
                                 QStringLiteral("missing"), QStringLiteral("empty"), QString()};
        for (int i = 0; i < titles.size(); ++i)
            QCOMPARE(list->AlbumRowAt(i)->DisplayName(), titles[i]);
        dialog.grab();
    }

    void closingWhileNamesAreReadIsSafe()
    {
        QStringList recent;
        for (int i = 0; i < 300; ++i)
            recent << (i % 2 ? named_ : second_);
        for (int round = 0; round < 5; ++round) {
            auto dialog = std::make_unique<OpenAlbumDialog>(recent, prompts_, nullptr);
            dialog->show();
            if (round % 2)
                QTest::qWait(round);
            dialog->reject();
            dialog.reset();
            // Nothing left to arrive for the dead dialog.
            QApplication::processEvents();
        }
        QCOMPARE(recent.size(), 300);
    }

    void okFollowsSelection()
    {
        QStringList recent{named_, second_};
        OpenAlbumDialog dialog(recent, prompts_, nullptr);
        dialog.show();
        RecentAlbumList* list = dialog.List();
        QVERIFY(!dialog.OkButton()->isEnabled());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, 1));
        QVERIFY(dialog.OkButton()->isEnabled());
        // A click below the rows clears the selection.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, list->viewport()->height() - 5));
        QVERIFY(!dialog.OkButton()->isEnabled());
        // Enter without a selection leaves the dialog open.
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(dialog.isVisible());

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, 1));
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ChosenPath(), second_);
        QCOMPARE(recent, (QStringList{named_, second_}));
    }

    void doubleClickOpensRow()
    {
        QStringList recent{named_, second_};
        OpenAlbumDialog dialog(recent, prompts_, nullptr);
        dialog.show();
        RecentAlbumList* list = dialog.List();
        // Below the rows: nothing happens.
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, list->viewport()->height() - 5));
        QVERIFY(dialog.isVisible());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, 0));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ChosenPath(), named_);
    }

    void cancelChoosesNothing()
    {
        QStringList recent{named_};
        OpenAlbumDialog dialog(recent, prompts_, nullptr);
        dialog.show();
        QTest::mouseClick(dialog.List()->viewport(), Qt::LeftButton, {}, RowCentre(dialog.List(), 0));
        dialog.CancelButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.ChosenPath().isEmpty());
    }

    void browseEndsWithChosenFile()
    {
        QStringList recent{named_};
        OpenAlbumDialog dialog(recent, prompts_, nullptr);
        dialog.show();
        // Cancelled browser: the dialog stays.
        QTest::mouseClick(dialog.BrowseButton(), Qt::LeftButton);
        QCOMPARE(prompts_.chooseAlbumFileCalls, 1);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.ChosenPath().isEmpty());

        prompts_.albumFile = second_;
        QTest::mouseClick(dialog.BrowseButton(), Qt::LeftButton);
        QCOMPARE(prompts_.chooseAlbumFileCalls, 2);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ChosenPath(), second_);
    }

    void contextMenuEnabling()
    {
        QStringList recent{named_, second_};
        OpenAlbumDialog dialog(recent, prompts_, nullptr);
        const RecentAlbumRow* row = dialog.List()->AlbumRowAt(0);

        std::unique_ptr<QMenu> onRow = dialog.BuildContextMenu(row);
        QVERIFY(ActionOf(onRow.get(), cmd::kAlbumListOpen)->isEnabled());
        QVERIFY(ActionOf(onRow.get(), cmd::kAlbumListCopyPath)->isEnabled());
        QVERIFY(ActionOf(onRow.get(), cmd::kAlbumListClear)->isEnabled());
        QCOMPARE(onRow->defaultAction(), ActionOf(onRow.get(), cmd::kAlbumListOpen));

        std::unique_ptr<QMenu> offRow = dialog.BuildContextMenu(nullptr);
        QVERIFY(!ActionOf(offRow.get(), cmd::kAlbumListOpen)->isEnabled());
        QVERIFY(!ActionOf(offRow.get(), cmd::kAlbumListCopyPath)->isEnabled());
        QVERIFY(ActionOf(offRow.get(), cmd::kAlbumListClear)->isEnabled());
    }

    void rightClickRunsMenu()
    {
        QStringList recent{named_, second_};
        OpenAlbumDialog dialog(recent, prompts_, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        RecentAlbumList* list = dialog.List();
        QApplication::clipboard()->setText(QStringLiteral("before"));

        bool openEnabled = false;
        bool copyEnabled = false;
        OnPopup([&](QMenu* menu) {
            openEnabled = ActionOf(menu, cmd::kAlbumListOpen)->isEnabled();
            copyEnabled = ActionOf(menu, cmd::kAlbumListCopyPath)->isEnabled();
            QAction* copy = ActionOf(menu, cmd::kAlbumListCopyPath);
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(copy).center());
        });
        QTest::mousePress(list->viewport(), Qt::RightButton, {}, RowCentre(list, 1));
        QVERIFY(openEnabled && copyEnabled);
        QCOMPARE(list->SelectedAlbumRow(), list->AlbumRowAt(1));
        QCOMPARE(QApplication::clipboard()->text(), second_);
        QVERIFY(dialog.isVisible());

        // Below the rows: the selection goes and Open and Copy are disabled.
        OnPopup([&](QMenu* menu) {
            openEnabled = ActionOf(menu, cmd::kAlbumListOpen)->isEnabled();
            copyEnabled = ActionOf(menu, cmd::kAlbumListCopyPath)->isEnabled();
            menu->close();
        });
        QTest::mousePress(list->viewport(), Qt::RightButton, {}, QPoint(30, list->viewport()->height() - 4));
        QVERIFY(!openEnabled && !copyEnabled);
        QVERIFY(!dialog.OkButton()->isEnabled());

        // Open from the menu ends the dialog with the row.
        OnPopup([&](QMenu* menu) {
            QAction* open = ActionOf(menu, cmd::kAlbumListOpen);
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(open).center());
        });
        QTest::mousePress(list->viewport(), Qt::RightButton, {}, RowCentre(list, 0));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ChosenPath(), named_);
    }

    void noMenuOnEmptyList()
    {
        QStringList recent;
        OpenAlbumDialog dialog(recent, prompts_, nullptr);
        dialog.show();
        bool popped = false;
        // The press returns at once when no menu runs; a menu would be closed by the timer.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                popped = true;
                popup->close();
            }
        });
        closer.start(5);
        QTest::mousePress(dialog.List()->viewport(), Qt::RightButton, {}, QPoint(40, 40));
        QTest::qWait(30);
        QVERIFY(!popped);
    }

    void clearList()
    {
        QStringList recent{named_, second_};
        OpenAlbumDialog dialog(recent, prompts_, nullptr);
        dialog.show();
        QTest::mouseClick(dialog.List()->viewport(), Qt::LeftButton, {}, RowCentre(dialog.List(), 0));

        prompts_.answers = {QMessageBox::No};
        dialog.RunCommand(cmd::kAlbumListClear);
        QCOMPARE(prompts_.asked.size(), size_t(1));
        const MessageBoxSpec& question = prompts_.asked[0];
        QCOMPARE(question.text, QStringLiteral("Are you sure you want to clear the recent photo album list?"));
        QCOMPARE(question.caption, QStringLiteral("Confirm Clear"));
        QCOMPARE(question.icon, QMessageBox::Question);
        QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(question.defaultButton, QMessageBox::No);
        QCOMPARE(prompts_.owners[0], &dialog);
        QCOMPARE(recent.size(), 2);
        QCOMPARE(dialog.List()->RowCount(), 2);
        QVERIFY(dialog.OkButton()->isEnabled());

        prompts_.answers = {QMessageBox::Yes};
        dialog.RunCommand(cmd::kAlbumListClear);
        QCOMPARE(prompts_.asked.size(), size_t(2));
        QVERIFY(recent.isEmpty());
        QCOMPARE(dialog.List()->RowCount(), 0);
        QVERIFY(!dialog.OkButton()->isEnabled());
        QVERIFY(dialog.isVisible());
        // Names still in flight find no row.
        QTest::qWait(50);
        QCOMPARE(dialog.List()->RowCount(), 0);
    }

    void emptyListShowsItsText()
    {
        QStringList recent;
        OpenAlbumDialog dialog(recent, prompts_, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QWidget* viewport = dialog.List()->viewport();
        const QImage image = viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(!image.isNull());
        const int half = viewport->height() / 2;
        int left = image.width();
        int right = -1;
        int top = image.height();
        int bottom = -1;
        int darkest = 255;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (p == qRgb(255, 255, 255))
                    continue;
                QCOMPARE(qRed(p), qGreen(p));
                QCOMPARE(qGreen(p), qBlue(p));
                darkest = std::min(darkest, qRed(p));
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        QVERIFY2(right >= 0, "no text painted");
        // Grey text, one line, centred in the upper half.
        QCOMPARE(darkest, 0xA0);
        QVERIFY(bottom < half);
        QVERIFY(bottom - top < 24);
        QVERIFY(std::abs((left + right) / 2 - image.width() / 2) <= 2);
        QVERIFY(std::abs((top + bottom) / 2 - half / 2) <= 3);
        QVERIFY(right - left > 100);
    }

    void rowsPaintTheirTexts()
    {
        QStringList recent{named_};
        OpenAlbumDialog dialog(recent, prompts_, nullptr);
        dialog.show();
        RecentAlbumList* list = dialog.List();
        QTRY_COMPARE(list->AlbumRowAt(0)->DisplayName(), QStringLiteral("Summer in Lisbon"));
        const QImage image = list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect row = list->RowRectAt(0);
        const auto countOf = [&](QRgb colour, int fromY, int toY) {
            int n = 0;
            for (int y = fromY; y < toY; ++y)
                for (int x = row.height(); x < image.width(); ++x)
                    n += image.pixel(x, y) == colour;
            return n;
        };
        const int middle = row.top() + row.height() / 2;
        QVERIFY(countOf(RecentAlbumRow::kNameColor.rgb(), row.top(), middle) > 20);
        QCOMPARE(countOf(RecentAlbumRow::kNameColor.rgb(), middle, row.bottom() + 1), 0);
        QVERIFY(countOf(RecentAlbumRow::kPathColor.rgb(), middle, row.bottom() + 1) > 20);
        // Below the only row: white.
        QCOMPARE(image.pixel(image.width() / 2, row.bottom() + 20), qRgb(255, 255, 255));
    }

    void longPathsElideInTheMiddle()
    {
        // The lower half of a 300-pixel row showing `path`.
        const auto pathLine = [](const QString& path) {
            RecentAlbumRow row(path);
            QImage image(300, 40, QImage::Format_RGB32);
            QPainter painter(&image);
            row.Draw(painter, image.rect(), RowState{});
            painter.end();
            return image.copy(0, 20, 300, 20);
        };
        const QString middle = QString(80, QLatin1Char('m'));
        const QImage base = pathLine(QStringLiteral("/111/") + middle + QStringLiteral("/Far11.tsy"));
        const QImage otherStart = pathLine(QStringLiteral("/222/") + middle + QStringLiteral("/Far11.tsy"));
        const QImage otherEnd = pathLine(QStringLiteral("/111/") + middle + QStringLiteral("/Far22.tsy"));
        const auto differs = [](const QImage& a, const QImage& b, int fromX, int toX) {
            for (int y = 0; y < a.height(); ++y)
                for (int x = fromX; x < toX; ++x)
                    if (a.pixel(x, y) != b.pixel(x, y))
                        return true;
            return false;
        };
        // Both ends of the path stay in view; the right margin stays clear.
        QVERIFY(differs(base, otherStart, 40, 100));
        QVERIFY(!differs(base, otherStart, 200, 300));
        QVERIFY(differs(base, otherEnd, 200, 300 - RecentAlbumRow::kRightMargin));
        QVERIFY(!differs(base, otherEnd, 0, 100));
        QVERIFY(!differs(base, pathLine(QString()), 300 - RecentAlbumRow::kRightMargin, 300));
    }

    void geometryRememberedAcrossOpenings()
    {
        QWidget owner;
        owner.setGeometry(100, 80, 900, 700);
        owner.show();
        QStringList recent{named_};
        QSize initial;
        QRect last;
        const QRect moved(130, 140, 520, 430);
        {
            OpenAlbumDialog dialog(recent, prompts_, &owner);
            initial = dialog.size();
            QCOMPARE(dialog.minimumSize(), initial);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QVERIFY((dialog.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength() <= 2);
            dialog.setGeometry(moved);
            dialog.resize(100, 100);
            QCOMPARE(dialog.size(), initial);
            dialog.setGeometry(moved);
            dialog.reject();
        }
        QCOMPARE(OpenAlbumDialog::RememberedGeometry(), moved);
        {
            OpenAlbumDialog dialog(recent, prompts_, &owner);
            QCOMPARE(dialog.minimumSize(), initial);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QCOMPARE(dialog.geometry(), moved);
            // Closing by OK remembers as well.
            dialog.move(200, 210);
            last = dialog.geometry();
            QVERIFY(last != moved);
            QTest::mouseDClick(dialog.List()->viewport(), Qt::LeftButton, {}, RowCentre(dialog.List(), 0));
        }
        QCOMPARE(OpenAlbumDialog::RememberedGeometry(), last);
    }

private:
    QTemporaryDir temp_;
    QString named_;
    QString nameless_;
    QString second_;
    ScriptedPrompts prompts_;
};

QTEST_MAIN(OpenAlbumDialogTest)
#include "OpenAlbumDialogTest.moc"
