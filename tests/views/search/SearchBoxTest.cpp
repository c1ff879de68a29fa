// The search box on its own: its events, focus rules, buttons, options menu and odd input.
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>

#include "SearchBoxFixture.h"
#include "views/ViewsTestSupport.h"
#include "views/common/CommandEvent.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"
#include "views/search/SearchBoxButton.h"

using namespace tessary;
using namespace tessary::test;

using Flags = std::vector<int>;

class SearchBoxTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        RegisterTahoma();
        RegisterInterfaceFonts();
    }
    void init() { ResetSettings(); }

    void typingSendsFlagOneForEachKeystroke()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("car"));
        QCOMPARE(w.recorder.Flags(), (Flags{1, 1, 1}));
        QCOMPARE(w.recorder.events[1].text, QStringLiteral("ca"));
        w.Key(Qt::Key_Backspace);
        QCOMPARE(w.recorder.Flags(), (Flags{1, 1, 1, 1}));
        QCOMPARE(w.box->GetText(), QStringLiteral("ca"));
    }

    void withoutScopeNothingIsSent()
    {
        SearchBoxWindow w(false);
        QVERIFY(w.ok);
        w.ClickIn();
        QVERIFY(w.box->IsActive());
        QTest::keyClicks(&w.Edit(), QStringLiteral("ab"));
        w.Key(Qt::Key_Return);
        w.Key(Qt::Key_Escape);
        QVERIFY(w.recorder.events.empty());
        QVERIFY(!w.Flyout().IsVisible());
    }

    void clickActivatesAndAsksForSuggestions()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        QVERIFY(!w.box->IsActive());
        QVERIFY(w.Edit().isHidden());
        // The options button is not the text area.
        QTest::mouseClick(w.box, Qt::LeftButton, {}, QPoint(1, 1));
        QVERIFY(!w.box->IsActive());
        w.ClickIn();
        QVERIFY(w.box->IsActive());
        QTRY_VERIFY(w.Edit().hasFocus());
        QCOMPARE(w.recorder.Flags(), (Flags{8}));
    }

    void findCommandActivatesWithoutAsking()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.other->setFocus();
        QVERIFY(!SendCommand(w.box, cmd::kEditPaste));
        QVERIFY(!w.box->IsActive());
        QVERIFY(SendCommand(w.box, cmd::kEditFind));
        QTRY_VERIFY(w.Edit().hasFocus());
        QVERIFY(w.recorder.events.empty());
        // Posted the same way as from the frame's menu.
        w.other->setFocus();
        QTRY_VERIFY(!w.box->IsActive());
        PostCommand(w.box, cmd::kEditFind);
        QTRY_VERIFY(w.Edit().hasFocus());
    }

    void escapeEmptiesSendsTwoAndGivesTheFocusBack()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.other->setFocus();
        QTRY_VERIFY(w.other->hasFocus());
        w.ClickIn();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("sea"));
        w.Key(Qt::Key_Escape);
        QCOMPARE(w.recorder.Flags(), (Flags{8, 1, 1, 1, 2}));
        QCOMPARE(w.box->GetText(), QString());
        QTRY_VERIFY(w.other->hasFocus());
        QVERIFY(!w.box->IsActive());
    }

    void escapeWithNoEarlierFocusFallsBackToTheBox()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        QWidget* earlier = new QLineEdit(&w.window);
        earlier->setGeometry(250, 60, 100, 22);
        earlier->show();
        earlier->setFocus();
        QTRY_VERIFY(earlier->hasFocus());
        w.ClickIn();
        QTRY_VERIFY(w.Edit().hasFocus());
        delete earlier;
        QTest::keyClicks(&w.Edit(), QStringLiteral("x"));
        w.Key(Qt::Key_Escape);
        QTRY_VERIFY(w.box->hasFocus());
        QVERIFY(!w.box->IsActive());
        QCOMPARE(w.recorder.Flags().back(), 2);
    }

    void enterCommitsAndKeyRepeatsAreIgnored()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("dog"));
        w.Key(Qt::Key_Return);
        QCOMPARE(w.recorder.Flags(), (Flags{1, 1, 1, 4}));
        QCOMPARE(w.recorder.events.back().text, QStringLiteral("dog"));
        QVERIFY(w.Edit().hasFocus());
        QVERIFY(w.box->IsActive());

        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&w.Edit(), &repeat);
        QKeyEvent repeatEscape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&w.Edit(), &repeatEscape);
        QCOMPARE(w.recorder.Flags().size(), size_t(4));
        QCOMPARE(w.box->GetText(), QStringLiteral("dog"));
    }

    void focusLossWithTextCommits()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("ab"));
        QTest::mouseClick(w.other, Qt::LeftButton);
        QTRY_VERIFY(w.other->hasFocus());
        QCOMPARE(w.recorder.Flags(), (Flags{1, 1, 4}));
        QVERIFY(!w.box->IsActive());
        // The inactive box keeps and shows the text.
        QCOMPARE(w.box->GetText(), QStringLiteral("ab"));

        // Without text leaving commits nothing.
        w.recorder.events.clear();
        w.box->SetScope(w.collection);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        w.other->setFocus();
        QTRY_VERIFY(!w.box->IsActive());
        QCOMPARE(w.recorder.Flags(), (Flags{2}));
    }

    void pressOnAWidgetThatTakesNoFocusDeactivates()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("q"));
        QTest::mousePress(w.plain, Qt::LeftButton);
        QTest::mouseRelease(w.plain, Qt::LeftButton);
        QVERIFY(!w.box->IsActive());
        QVERIFY(!w.Edit().hasFocus());
        QCOMPARE(w.recorder.Flags(), (Flags{1, 4}));
    }

    void buttonsFollowTheText()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        SearchBoxButton& clear = w.box->ClearButton();
        SearchBoxButton& options = w.box->OptionsButton();
        QVERIFY(options.isVisible());
        QVERIFY(clear.isHidden());
        QCOMPARE(options.geometry(), QRect(300 - 2 - 27, 2, 27, 18));
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QCOMPARE(w.Edit().geometry(), QRect(2, 2, 300 - 4 - 27, 18));
        QTest::keyClicks(&w.Edit(), QStringLiteral("z"));
        QVERIFY(clear.isVisible());
        QVERIFY(options.isHidden());
        QCOMPARE(clear.geometry(), QRect(300 - 2 - 19, 2, 19, 18));
        QCOMPARE(w.Edit().geometry(), QRect(2, 2, 300 - 4 - 19, 18));

        // Clearing while the edit has the focus is typing: the edit keeps the focus.
        QTest::mouseClick(&clear, Qt::LeftButton);
        QCOMPARE(w.box->GetText(), QString());
        QCOMPARE(w.recorder.Flags(), (Flags{1, 1}));
        QVERIFY(w.Edit().hasFocus());
        QVERIFY(options.isVisible());

        // Clearing the inactive box is the program's change.
        QTest::keyClicks(&w.Edit(), QStringLiteral("y"));
        w.other->setFocus();
        QTRY_VERIFY(!w.box->IsActive());
        QVERIFY(clear.isVisible());
        w.recorder.events.clear();
        QTest::mouseClick(&clear, Qt::LeftButton);
        QCOMPARE(w.recorder.Flags(), (Flags{2}));
        QVERIFY(!w.box->IsActive());
        QVERIFY(w.other->hasFocus());
    }

    void optionsMenuEnablingAndActions()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        {
            std::unique_ptr<QMenu> menu = w.box->MakeOptionsMenu();
            QCOMPARE(menu->actions().size(), 2);
            QCOMPARE(menu->actions()[0]->text(), QStringLiteral("Clear History"));
            QCOMPARE(menu->actions()[1]->text(), QStringLiteral("Auto Suggest"));
            QVERIFY(!FindAction(*menu, cmd::kClearSearchHistory)->isEnabled());
            QVERIFY(FindAction(*menu, cmd::kAutoSuggest)->isChecked());
        }
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("pier"));
        w.Key(Qt::Key_Return);
        QCOMPARE(w.Flyout().History().Recent(), QStringList{QStringLiteral("pier")});
        {
            std::unique_ptr<QMenu> menu = w.box->MakeOptionsMenu();
            QVERIFY(FindAction(*menu, cmd::kClearSearchHistory)->isEnabled());
        }
        w.box->RunOptionsCommand(cmd::kClearSearchHistory);
        QVERIFY(w.Flyout().History().Recent().isEmpty());
        QVERIFY(w.Flyout().History().All().isEmpty());

        w.box->RunOptionsCommand(cmd::kAutoSuggest);
        QVERIFY(!Settings::Instance().autoSuggest);
        {
            std::unique_ptr<QMenu> menu = w.box->MakeOptionsMenu();
            QVERIFY(!FindAction(*menu, cmd::kAutoSuggest)->isChecked());
        }
        w.box->RunOptionsCommand(cmd::kAutoSuggest);
        QVERIFY(Settings::Instance().autoSuggest);
    }

    void optionsButtonOpensTheMenuUnderIt()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        QPoint menuAt;
        bool sawClearDisabled = false;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            menuAt = menu->pos();
            QAction* clear = FindAction(*menu, cmd::kClearSearchHistory);
            sawClearDisabled = clear && !clear->isEnabled();
            QAction* suggest = FindAction(*menu, cmd::kAutoSuggest);
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(suggest).center());
        });
        SearchBoxButton& options = w.box->OptionsButton();
        QTest::mouseClick(&options, Qt::LeftButton, {}, options.rect().center());
        QTRY_VERIFY(!Settings::Instance().autoSuggest);
        QVERIFY(sawClearDisabled);
        QCOMPARE(menuAt.y(), options.mapToGlobal(QPoint(0, options.height())).y());
        QVERIFY(!w.box->IsActive());
        QVERIFY(w.recorder.events.empty());
    }

    void scopeChangesEmptyTheTextAsTheProgram()
    {
        SearchBoxWindow w(false);
        QVERIFY(w.ok);
        QCOMPARE(w.box->Scope(), nullptr);
        w.box->SetScope(w.collection);
        QCOMPARE(w.box->Scope(), w.collection);
        QVERIFY(w.recorder.events.empty()); // the text was already empty
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        QTest::keyClicks(&w.Edit(), QStringLiteral("ab"));
        // Re-announcing the same scope empties the text as well; the edit keeps the focus.
        w.box->SetScope(w.collection);
        QCOMPARE(w.recorder.Flags(), (Flags{1, 1, 2}));
        QCOMPARE(w.box->GetText(), QString());
        QVERIFY(w.Edit().hasFocus());
        // Typing afterwards is typing again.
        QTest::keyClicks(&w.Edit(), QStringLiteral("c"));
        QCOMPARE(w.recorder.Flags().back(), 1);
        Collection* other = w.album.GetCollections().Add(QStringLiteral("Snow"));
        w.box->SetScope(other);
        QCOMPARE(w.recorder.Flags().back(), 2);
        QCOMPARE(w.box->Scope(), other);
        w.box->SetScope(nullptr);
        QCOMPARE(w.box->Scope(), nullptr);
    }

    void singleLineRule_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("plain") << "red car" << "red car";
        QTest::newRow("crlf") << "red\r\ncar" << "red car";
        QTest::newRow("run of breaks") << "red\n\n\r\ncar" << "red car";
        QTest::newRow("ends") << "\nred car\r\n" << "red car";
        QTest::newRow("tab") << "red\tcar" << "red car";
        QTest::newRow("controls") << QString::fromUtf8("r\x01" "e\x1b" "d\x7f") << "red";
        QTest::newRow("separators") << QString::fromUtf16(u"a\u2028b\u2029c") << "a b c";
        QTest::newRow("emoji") << QString::fromUtf8("sun \xF0\x9F\x8C\x9E") << QString::fromUtf8("sun \xF0\x9F\x8C\x9E");
        QTest::newRow("only breaks") << "\n\r\n" << "";
    }

    void singleLineRule()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(ToSingleLine(in), out);
    }

    void oddInputKeepsOneSaneLine()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());

        // A pasted multi-line text arrives as one line in one typed change.
        QGuiApplication::clipboard()->setText(QStringLiteral("beach\r\nhouse\n\tnorth\x01"));
        QTest::keyClick(&w.Edit(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.box->GetText(), QStringLiteral("beach house  north"));
        QCOMPARE(w.recorder.Flags(), (Flags{1}));
        QCOMPARE(w.Edit().cursorPosition(), int(w.box->GetText().size()));

        // Control characters typed are not taken.
        QKeyEvent control(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\x02"));
        QApplication::sendEvent(&w.Edit(), &control);
        QCOMPARE(w.box->GetText(), QStringLiteral("beach house  north"));

        // An emoji is one typed change of two code units.
        w.Edit().end(false);
        const QString sun = QString::fromUtf8("\xF0\x9F\x8C\x9E");
        QKeyEvent emoji(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, sun);
        QApplication::sendEvent(&w.Edit(), &emoji);
        QVERIFY(w.box->GetText().endsWith(sun));
        QCOMPARE(w.recorder.Flags(), (Flags{1, 1}));

        // A very long text, typed and committed, then painted inactive with an ellipsis.
        const QString longText(5000, QLatin1Char('w'));
        w.Edit().insert(longText);
        QCOMPARE(w.recorder.Flags().back(), 1);
        w.Key(Qt::Key_Return);
        QCOMPARE(w.recorder.Flags().back(), 4);
        QVERIFY(w.Flyout().History().Recent().front().endsWith(longText));
        w.other->setFocus();
        QTRY_VERIFY(!w.box->IsActive());
        QVERIFY(!w.box->grab().isNull());

        // The program's texts follow the same rule.
        w.box->PutTypedText(QStringLiteral("a\nb"));
        QCOMPARE(w.box->GetText(), QStringLiteral("a b"));
    }

    void pointerOverTheInactiveBoxLightensIt()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        QEnterEvent enter(QPointF(40, 10), QPointF(40, 10), w.box->mapToGlobal(QPointF(40, 10)));
        QApplication::sendEvent(w.box, &enter);
        QVERIFY(w.box->IsHot());
        QCOMPARE(w.box->grab().toImage().pixelColor(3, 3), VeSearchBoxCtrlBase::kHotFill);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(w.box, &leave);
        QVERIFY(!w.box->IsHot());
        QCOMPARE(w.box->grab().toImage().pixelColor(3, 3), VeSearchBoxCtrlBase::kInactiveFill);
    }

    void paintsCueInactiveAndWhiteWhenActive()
    {
        SearchBoxWindow w;
        QVERIFY(w.ok);
        const QImage inactive = w.box->grab().toImage();
        QCOMPARE(inactive.pixelColor(3, 3), VeSearchBoxCtrlBase::kInactiveFill);
        // Some cue pixels are drawn in the text area.
        bool cue = false;
        for (int x = 6; x < 120 && !cue; ++x)
            for (int y = 4; y < 18 && !cue; ++y)
                cue = inactive.pixelColor(x, y) != VeSearchBoxCtrlBase::kInactiveFill;
        QVERIFY(cue);
        // The corners come from the window behind.
        const QColor behind = w.window.palette().color(w.window.backgroundRole());
        QCOMPARE(inactive.pixelColor(0, 0), behind);
        QCOMPARE(inactive.pixelColor(299, 21), behind);

        w.box->Activate();
        QTRY_VERIFY(w.Edit().hasFocus());
        const QImage active = w.box->grab().toImage();
        QCOMPARE(active.pixelColor(3, 3), VeSearchBoxCtrlBase::kActiveFill);
        // The options button takes the white of the active box.
        QCOMPARE(active.pixelColor(272, 2), VeSearchBoxCtrlBase::kActiveFill);
    }
};

QTEST_MAIN(SearchBoxTest)
#include "SearchBoxTest.moc"
