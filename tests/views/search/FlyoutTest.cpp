// The suggestion fly-out under the search box: when it shows, its keys, the idle hiding and
// the history it keeps for the settings.
#include <QCursor>
#include <QKeyEvent>
#include <QScrollBar>

#include "SearchBoxFixture.h"
#include "views/ViewsTestSupport.h"
#include "views/menus/CommandIds.h"

using namespace tessary;
using namespace tessary::test;

using Flags = std::vector<int>;

namespace {
const QStringList kAll{QStringLiteral("Beach"), QStringLiteral("be"), QStringLiteral("beach"),
                       QStringLiteral("bee"), QStringLiteral("city")};
const QStringList kRecent{QStringLiteral("bee"), QStringLiteral("city")};
} // namespace

class FlyoutTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        RegisterTahoma();
        RegisterInterfaceFonts();
    }
    void init() { ResetSettings(kRecent, kAll); }

    void typingShowsMatchingSearchesUnderTheBox()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("be"));
        VeFlyoutWndBase& f = w.Flyout();
        QVERIFY(f.IsVisible());
        QCOMPARE(f.List().Items(), (QStringList{QStringLiteral("beach"), QStringLiteral("bee")}));
        f.FinishSlide();
        const QRect box = GlobalRectOf(*w.box);
        QCOMPARE(f.geometry(), QRect(box.left(), box.bottom(), box.width(), 2 * 20 + 2));
        QCOMPARE(f.List().geometry(), QRect(1, 1, box.width() - 2, 40));
        QVERIFY(f.IsTimerRunning());
        // The edit keeps the focus and the window stays the active one.
        QVERIFY(w.Edit().hasFocus());
        QCOMPARE(QApplication::focusWidget(), &w.Edit());
        QCOMPARE(QApplication::activeWindow(), &w.window);

        // Nothing begins with the text: hidden, and the results still hear every keystroke.
        QTest::keyClicks(&w.Edit(), QStringLiteral("x"));
        QVERIFY(!f.IsVisible());
        QVERIFY(!f.IsTimerRunning());
        QCOMPARE(w.recorder.Flags(), (Flags{1, 1, 1}));
    }

    void slidesInDownwards()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("b"));
        VeFlyoutWndBase& f = w.Flyout();
        QVERIFY(f.IsSliding());
        QVERIFY(f.List().y() < 1);
        QTRY_VERIFY(!f.IsSliding());
        QCOMPARE(f.List().y(), 1);
    }

    void autoSuggestOffShowsNothing()
    {
        ResetSettings(kRecent, kAll, false);
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.ClickIn();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("be"));
        QVERIFY(!w.Flyout().IsVisible());
        QCOMPARE(w.recorder.Flags(), (Flags{8, 1, 1}));
        // Turned on from the menu, the next keystroke shows it.
        w.box->RunOptionsCommand(cmd::kAutoSuggest);
        w.Key(Qt::Key_Backspace);
        QVERIFY(w.Flyout().IsVisible());
        // Turned off while it shows, it goes.
        w.box->RunOptionsCommand(cmd::kAutoSuggest);
        QVERIFY(!w.Flyout().IsVisible());
    }

    void clickIntoTheBoxOffersTheRecentSearches()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.ClickIn();
        QVERIFY(w.Flyout().IsVisible());
        QCOMPARE(w.Flyout().List().Items(), kRecent);
        QCOMPARE(w.recorder.Flags(), (Flags{8}));
    }

    void clickWithNoHistoryShowsNothing()
    {
        ResetSettings();
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.ClickIn();
        QVERIFY(w.box->IsActive());
        QVERIFY(!w.Flyout().IsVisible());
    }

    void enterWithASelectionChoosesThenASecondEnterCommits()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("be"));
        w.Key(Qt::Key_Down);
        QCOMPARE(w.Flyout().List().SelectedIndex(), 0);
        w.recorder.events.clear();
        w.Key(Qt::Key_Return);
        QCOMPARE(w.box->GetText(), QStringLiteral("beach"));
        QCOMPARE(w.Edit().cursorPosition(), 5);
        QCOMPARE(w.recorder.Flags(), (Flags{1})); // a typed change, not a commit
        QVERIFY(!w.Flyout().IsVisible());
        QCOMPARE(w.Flyout().History().Recent(), kRecent);

        w.Key(Qt::Key_Return);
        QCOMPARE(w.recorder.Flags(), (Flags{1, 4}));
        QCOMPARE(w.Flyout().History().Recent(),
                 (QStringList{QStringLiteral("beach"), QStringLiteral("bee"), QStringLiteral("city")}));
    }

    void enterWithoutSelectionCommitsAndHides()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("b"));
        QVERIFY(w.Flyout().IsVisible());
        w.Key(Qt::Key_Return);
        QVERIFY(!w.Flyout().IsVisible());
        QCOMPARE(w.recorder.Flags().back(), 4);
        QCOMPARE(w.Flyout().History().Recent().front(), QStringLiteral("b"));
        QVERIFY(w.Flyout().History().All().contains(QStringLiteral("b")));
    }

    void upAndDownWrapLeftAndRightClearAndReachTheEdit()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("be"));
        VeFlatList& list = w.Flyout().List();
        QCOMPARE(list.ItemCount(), 2);
        QCOMPARE(list.SelectedIndex(), -1);
        w.Key(Qt::Key_Up);
        QCOMPARE(list.SelectedIndex(), 1);
        w.Key(Qt::Key_Down);
        QCOMPARE(list.SelectedIndex(), 0);
        w.Key(Qt::Key_Down);
        QCOMPARE(list.SelectedIndex(), 1);
        w.Key(Qt::Key_Down);
        QCOMPARE(list.SelectedIndex(), 0);
        w.Key(Qt::Key_Up);
        QCOMPARE(list.SelectedIndex(), 1);
        QCOMPARE(w.Edit().cursorPosition(), 2);
        w.Key(Qt::Key_Left);
        QCOMPARE(list.SelectedIndex(), -1);
        QCOMPARE(w.Edit().cursorPosition(), 1);
        w.Key(Qt::Key_Down);
        w.Key(Qt::Key_Right);
        QCOMPARE(list.SelectedIndex(), -1);
        QCOMPARE(w.Edit().cursorPosition(), 2);
        QVERIFY(w.Flyout().IsVisible());
        // Up and Down only changed the selection, never the text.
        QCOMPARE(w.box->GetText(), QStringLiteral("be"));
    }

    void escapeHidesTheFlyoutFirst()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("be"));
        w.Key(Qt::Key_Escape);
        QVERIFY(!w.Flyout().IsVisible());
        QCOMPARE(w.box->GetText(), QStringLiteral("be"));
        QVERIFY(w.Edit().hasFocus());
        w.Key(Qt::Key_Escape);
        QCOMPARE(w.box->GetText(), QString());
        QVERIFY(!w.box->IsActive());
    }

    void deleteInAnEmptyEditShowsItAgain()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.ClickIn();
        QVERIFY(w.Flyout().IsVisible());
        w.Key(Qt::Key_Escape);
        QVERIFY(!w.Flyout().IsVisible());
        w.Key(Qt::Key_Delete);
        QVERIFY(w.Flyout().IsVisible());
        QCOMPARE(w.Flyout().List().Items(), kRecent);
        // Not while there is text.
        QTest::keyClicks(&w.Edit(), QStringLiteral("zz"));
        QVERIFY(!w.Flyout().IsVisible());
        w.Key(Qt::Key_Home);
        w.Key(Qt::Key_Delete);
        QVERIFY(!w.Flyout().IsVisible());
        QCOMPARE(w.box->GetText(), QStringLiteral("z"));
    }

    void clickingASuggestionPutsItIntoTheEdit()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("be"));
        w.Flyout().FinishSlide();
        QWidget* rows = w.Flyout().List().viewport();
        w.recorder.events.clear();
        QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(30, 20 + 10));
        QCOMPARE(w.box->GetText(), QStringLiteral("bee"));
        QCOMPARE(w.Edit().cursorPosition(), 3);
        QVERIFY(!w.Flyout().IsVisible());
        QVERIFY(w.Edit().hasFocus());
        QVERIFY(w.box->IsActive());
        QCOMPARE(w.recorder.Flags(), (Flags{1}));
    }

    void idleTicksHideItFiveSecondsAfterThePointerLeft()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("be"));
        VeFlyoutWndBase& f = w.Flyout();
        f.FinishSlide();
        QCOMPARE(f.IdleMs(), 0);

        QCursor::setPos(f.geometry().center());
        f.TickIdle();
        QCOMPARE(f.IdleMs(), 0);

        QCursor::setPos(f.geometry().bottomRight() + QPoint(200, 200));
        for (int i = 1; i <= 4; ++i) {
            f.TickIdle();
            QCOMPARE(f.IdleMs(), i * 1000);
            QVERIFY(f.IsVisible());
        }
        // Keys that move the selection reset the count.
        w.Key(Qt::Key_Down);
        QCOMPARE(f.IdleMs(), 0);
        for (int i = 0; i < 4; ++i)
            f.TickIdle();
        // A pointer move over the rows resets it too.
        QMouseEvent move(QEvent::MouseMove, QPointF(10, 5), f.List().viewport()->mapToGlobal(QPointF(10, 5)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(f.List().viewport(), &move);
        QCOMPARE(f.IdleMs(), 0);
        for (int i = 0; i < 4; ++i)
            f.TickIdle();
        QVERIFY(f.IsVisible());
        f.TickIdle();
        QVERIFY(!f.IsVisible());
        QVERIFY(!f.IsTimerRunning());
        QCOMPARE(f.IdleMs(), 0);
        QVERIFY(w.Edit().hasFocus());
    }

    void timerDrivesTheTicks()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QCursor::setPos(w.window.geometry().bottomRight() + QPoint(300, 300));
        QTest::keyClicks(&w.Edit(), QStringLiteral("be"));
        QTRY_COMPARE_WITH_TIMEOUT(w.Flyout().IdleMs(), 1000, 3000);
    }

    void focusLossHidesAndRecords()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("bea"));
        QVERIFY(w.Flyout().IsVisible());
        w.other->setFocus();
        QTRY_VERIFY(!w.box->IsActive());
        QVERIFY(!w.Flyout().IsVisible());
        QCOMPARE(w.Flyout().History().Recent().front(), QStringLiteral("bea"));
    }

    void historyIsWrittenBackToTheSettings()
    {
        {
            SearchBoxWindow w;
            QVERIFY(w.ok);
            QCOMPARE(w.Flyout().History().All(), kAll);
            w.box->Activate();
            QTRY_VERIFY(w.Edit().hasFocus());
            QTest::keyClicks(&w.Edit(), QStringLiteral("apple"));
            w.Key(Qt::Key_Return);
            // At once: the settings file may be saved before the fly-out goes.
            QCOMPARE(Settings::Instance().mruSearches.front(), QStringLiteral("apple"));
            Settings::Instance().mruSearches.clear();
        }
        QCOMPARE(Settings::Instance().mruSearches,
                 (QStringList{QStringLiteral("apple"), QStringLiteral("bee"), QStringLiteral("city")}));
        QCOMPARE(Settings::Instance().allSearches.front(), QStringLiteral("Beach"));
        QCOMPARE(Settings::Instance().allSearches.size(), kAll.size() + 1);
        QVERIFY(Settings::Instance().allSearches.contains(QStringLiteral("apple")));
        {
            SearchBoxWindow w;
            QVERIFY(w.ok);
            w.box->RunOptionsCommand(cmd::kClearSearchHistory);
            QVERIFY(Settings::Instance().mruSearches.isEmpty());
            QVERIFY(Settings::Instance().allSearches.isEmpty());
            Settings::Instance().mruSearches = kRecent;
        }
        QVERIFY(Settings::Instance().mruSearches.isEmpty());
        QVERIFY(Settings::Instance().allSearches.isEmpty());
    }

    void historyReadAfterTheSettingsWereLoaded()
    {
        // The main window makes the box before it reads the settings file.
        ResetSettings();
        SearchBoxWindow w;
        QVERIFY(w.ok);
        ResetSettings(kRecent, kAll);
        w.ClickIn();
        QVERIFY(w.Flyout().IsVisible());
        QCOMPARE(w.Flyout().List().Items(), kRecent);
        QCOMPARE(w.Flyout().History().All(), kAll);
    }
};

QTEST_MAIN(FlyoutTest)
#include "FlyoutTest.moc"
