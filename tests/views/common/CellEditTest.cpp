// The cell editor: its end protocol driven by real focus changes, presses and keys, its
// placement in a cell and its frame.

#include <functional>
#include <vector>

#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "views/common/SharedFonts.h"
#include "views/common/VeCellEdit.h"

using namespace tessary;

namespace {

const QColor kFrame(0xA7, 0xB1, 0xC4);

// Answers the editor from a script and records what it was told.
class Owner : public CellEditOwner {
public:
    bool CellEditMayEnd(VeCellEdit& editor) override
    {
        ++mayEndCalls;
        textsAsked << editor.text();
        if (onMayEnd)
            onMayEnd(editor);
        return accept;
    }
    void CellEditEnded(VeCellEdit& editor, int endCode) override
    {
        ended.push_back(endCode);
        endedVisible.push_back(editor.isVisible());
        if (onEnded)
            onEnded(editor, endCode);
    }

    bool accept = true;
    int mayEndCalls = 0;
    QStringList textsAsked;
    std::vector<int> ended;
    std::vector<bool> endedVisible;
    std::function<void(VeCellEdit&)> onMayEnd;
    std::function<void(VeCellEdit&, int)> onEnded;
};

// A window with the editor's parent, a focusable neighbour, a button and a focus target.
struct Scene {
    explicit Scene(Owner& owner, Qt::Alignment alignment = Qt::AlignLeft)
    {
        window.resize(400, 200);
        host = new QWidget(&window);
        host->setGeometry(0, 0, 400, 60);
        host->setFocusPolicy(Qt::ClickFocus);
        other = new QLineEdit(&window);
        other->setGeometry(10, 80, 150, 24);
        button = new QPushButton(QStringLiteral("Press"), &window);
        button->setGeometry(200, 80, 100, 24);
        plain = new QWidget(&window);
        plain->setGeometry(10, 120, 100, 40);
        plain->setFocusPolicy(Qt::NoFocus);
        target = new QWidget(&window);
        target->setGeometry(200, 120, 100, 40);
        target->setFocusPolicy(Qt::StrongFocus);
        editor = new VeCellEdit(owner, alignment, kFrame, host);
        window.show();
        window.activateWindow();
    }
    void Open(const QString& text)
    {
        editor->setText(text);
        editor->PlaceInCell(QRect(10, 0, 200, 30));
        editor->ShowWithFocus();
    }

    QWidget window;
    QWidget* host;
    QLineEdit* other;
    QPushButton* button;
    QWidget* plain;
    QWidget* target;
    VeCellEdit* editor;
};

} // namespace

class CellEditTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterInterfaceFonts(); }

    void showingSelectsAllAndTakesFocus()
    {
        Owner owner;
        Scene s(owner, Qt::AlignRight);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        QVERIFY(s.editor->isHidden());
        QVERIFY(!s.editor->IsOpen());
        s.Open(QStringLiteral("Holiday"));
        QVERIFY(s.editor->isVisible());
        QVERIFY(s.editor->IsOpen());
        QTRY_VERIFY(s.editor->hasFocus());
        QCOMPARE(s.editor->selectedText(), QString("Holiday"));
        QCOMPARE(s.editor->EndCode(), VeCellEdit::kEndCommit);
        QCOMPARE(s.editor->maxLength(), 100);
        QVERIFY(s.editor->alignment() & Qt::AlignRight);
        QCOMPARE(QFontInfo(s.editor->font()).pixelSize(), 14);
        QCOMPARE(s.editor->font().family(), QString("Tahoma"));
        QCOMPARE(s.editor->textMargins(), QMargins());
        // Typing replaces the selection; the limit holds for typed text.
        QTest::keyClicks(s.editor, QString(120, QLatin1Char('x')));
        QCOMPARE(s.editor->text().size(), 100);
        QVERIFY(owner.ended.empty());
    }

    void focusMovedElsewhereCommits()
    {
        Owner owner;
        Scene s(owner);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.Open(QStringLiteral("a"));
        QTRY_VERIFY(s.editor->hasFocus());
        s.editor->setText(QStringLiteral("typed"));
        s.other->setFocus();
        QCOMPARE(owner.mayEndCalls, 1);
        QCOMPARE(owner.textsAsked, QStringList{"typed"});
        QCOMPARE(owner.ended, std::vector<int>{VeCellEdit::kEndCommit});
        QVERIFY(s.editor->isHidden());
        QVERIFY(!s.editor->IsOpen());
        QVERIFY(s.other->hasFocus());
        // A second loss of focus of a closed editor tells nothing.
        s.editor->setFocus();
        s.other->setFocus();
        QCOMPARE(owner.ended.size(), size_t(1));
    }

    void pressOutsideEnds_data()
    {
        QTest::addColumn<bool>("onFocusable");
        QTest::newRow("button that takes the focus") << true;
        QTest::newRow("widget without focus") << false;
    }
    void pressOutsideEnds()
    {
        QFETCH(bool, onFocusable);
        Owner owner;
        Scene s(owner);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.Open(QStringLiteral("a"));
        QTRY_VERIFY(s.editor->hasFocus());
        QSignalSpy clicked(s.button, &QPushButton::clicked);
        if (onFocusable)
            QTest::mouseClick(s.button, Qt::LeftButton);
        else
            QTest::mouseClick(s.plain, Qt::LeftButton);
        QCOMPARE(owner.mayEndCalls, 1);
        QCOMPARE(owner.ended, std::vector<int>{VeCellEdit::kEndCommit});
        QVERIFY(s.editor->isHidden());
        // An accepted ending lets the press through.
        QCOMPARE(clicked.count(), onFocusable ? 1 : 0);
    }

    void pressInsideDoesNotEnd()
    {
        Owner owner;
        Scene s(owner);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.Open(QStringLiteral("abc"));
        QTRY_VERIFY(s.editor->hasFocus());
        QTest::mouseClick(s.editor, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(owner.mayEndCalls, 0);
        QVERIFY(s.editor->isVisible());
    }

    void refusalKeepsEditorAndSwallowsPress()
    {
        Owner owner;
        owner.accept = false;
        Scene s(owner);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.Open(QStringLiteral("dup"));
        QTRY_VERIFY(s.editor->hasFocus());
        s.editor->deselect();
        QSignalSpy clicked(s.button, &QPushButton::clicked);
        QTest::mouseClick(s.button, Qt::LeftButton);
        // Asked once although both the focus change and the press would end the edit.
        QCOMPARE(owner.mayEndCalls, 1);
        QVERIFY(owner.ended.empty());
        QVERIFY(s.editor->isVisible());
        QVERIFY(s.editor->IsOpen());
        QVERIFY(s.editor->hasFocus());
        QCOMPARE(s.editor->selectedText(), QString("dup"));
        QCOMPARE(clicked.count(), 0);

        // The next press, once accepted, goes through.
        QCoreApplication::processEvents();
        owner.accept = true;
        QTest::mouseClick(s.button, Qt::LeftButton);
        QCOMPARE(owner.mayEndCalls, 2);
        QCOMPARE(owner.ended, std::vector<int>{VeCellEdit::kEndCommit});
        QCOMPARE(clicked.count(), 1);
    }

    void refusedFocusChangeKeepsEditor()
    {
        Owner owner;
        owner.accept = false;
        Scene s(owner);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.Open(QStringLiteral("dup"));
        QTRY_VERIFY(s.editor->hasFocus());
        s.other->setFocus();
        QCOMPARE(owner.mayEndCalls, 1);
        QVERIFY(s.editor->hasFocus());
        QVERIFY(s.editor->isVisible());
        QVERIFY(!s.editor->EndEdit());
        QCOMPARE(owner.mayEndCalls, 2);
        owner.accept = true;
        QVERIFY(s.editor->EndEdit());
        QCOMPARE(owner.ended, std::vector<int>{VeCellEdit::kEndCommit});
        QVERIFY(!s.editor->EndEdit());
    }

    void keysSetCodeAndMoveFocus_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("withTarget");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("mayEndCalls");
        QTest::newRow("Enter to the target") << int(Qt::Key_Return) << 0 << true << 1 << 1;
        QTest::newRow("keypad Enter to the parent") << int(Qt::Key_Enter) << 0 << false << 1 << 1;
        QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier) << true << 2 << 1;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << true << 16 << 0;
        QTest::newRow("Escape to the parent") << int(Qt::Key_Escape) << 0 << false << 16 << 0;
    }
    void keysSetCodeAndMoveFocus()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, withTarget);
        QFETCH(int, code);
        QFETCH(int, mayEndCalls);
        Owner owner;
        Scene s(owner);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        if (withTarget)
            s.editor->SetFocusTarget(s.target);
        s.Open(QStringLiteral("value"));
        QTRY_VERIFY(s.editor->hasFocus());
        QTest::keyClick(s.editor, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(owner.mayEndCalls, mayEndCalls);
        QCOMPARE(owner.ended, std::vector<int>{code});
        QVERIFY(s.editor->isHidden());
        QVERIFY(withTarget ? s.target->hasFocus() : s.host->hasFocus());
    }

    void gonePointerTargetFallsBackToParent()
    {
        Owner owner;
        Scene s(owner);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        auto* temp = new QWidget(&s.window);
        s.editor->SetFocusTarget(temp);
        delete temp;
        s.Open(QStringLiteral("v"));
        QTRY_VERIFY(s.editor->hasFocus());
        QTest::keyClick(s.editor, Qt::Key_Return);
        QCOMPARE(owner.ended, std::vector<int>{1});
        QVERIFY(s.host->hasFocus());
    }

    void repeatedCtrlEnterIsIgnored()
    {
        Owner owner;
        Scene s(owner);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.Open(QStringLiteral("v"));
        QTRY_VERIFY(s.editor->hasFocus());
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::ControlModifier, QString(), true);
        QApplication::sendEvent(s.editor, &repeat);
        QVERIFY(s.editor->IsOpen());
        QCOMPARE(s.editor->EndCode(), VeCellEdit::kEndCommit);
        QVERIFY(owner.ended.empty());
    }

    void escapeWithoutActiveWindowStillEnds()
    {
        // A hidden window never gets the focus: the key alone ends the edit.
        Owner owner;
        QWidget host;
        VeCellEdit editor(owner, Qt::AlignLeft, kFrame, &host);
        editor.setText(QStringLiteral("x"));
        editor.ShowWithFocus();
        QTest::keyClick(&editor, Qt::Key_Escape);
        QCOMPARE(owner.ended, std::vector<int>{16});
        QVERIFY(!editor.IsOpen());
    }

    void reentryGuardRunsProtocolOnce()
    {
        Owner owner;
        Scene s(owner);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        bool inner = true;
        owner.onMayEnd = [&](VeCellEdit& editor) {
            // A message box or the owner itself moving the focus while it is asked.
            QVERIFY(editor.IsEnding());
            inner = editor.EndEdit();
            s.button->setFocus();
            editor.CancelEdit();
        };
        s.Open(QStringLiteral("v"));
        QTRY_VERIFY(s.editor->hasFocus());
        s.other->setFocus();
        QVERIFY(!inner);
        QCOMPARE(owner.mayEndCalls, 1);
        QCOMPARE(owner.ended, std::vector<int>{0});
        QVERIFY(!s.editor->IsEnding());
    }

    void ownerMayShowAgainFromEnding()
    {
        Owner owner;
        Scene s(owner);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        owner.onEnded = [&](VeCellEdit& editor, int code) {
            if (code == VeCellEdit::kEndEnter) {
                editor.setText(QStringLiteral("next"));
                editor.ShowWithFocus();
            }
        };
        s.editor->SetFocusTarget(s.target);
        s.Open(QStringLiteral("first"));
        QTRY_VERIFY(s.editor->hasFocus());
        QTest::keyClick(s.editor, Qt::Key_Return);
        QCOMPARE(owner.ended, std::vector<int>{1});
        QVERIFY(s.editor->isVisible());
        QVERIFY(s.editor->IsOpen());
        QVERIFY(s.editor->hasFocus());
        QCOMPARE(s.editor->EndCode(), VeCellEdit::kEndCommit);
        QCOMPARE(s.editor->selectedText(), QString("next"));
    }

    void refusalAfterEnterForgetsEnter()
    {
        Owner owner;
        owner.accept = false;
        Scene s(owner);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.editor->SetFocusTarget(s.target);
        s.Open(QStringLiteral("dup"));
        QTRY_VERIFY(s.editor->hasFocus());
        QTest::keyClick(s.editor, Qt::Key_Return);
        QCOMPARE(owner.mayEndCalls, 1);
        QVERIFY(s.editor->hasFocus());
        QCOMPARE(s.editor->EndCode(), VeCellEdit::kEndCommit);
        owner.accept = true;
        s.other->setFocus();
        QCOMPARE(owner.ended, std::vector<int>{0});
    }

    void cancelEditTellsCancel()
    {
        Owner owner;
        Scene s(owner);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.editor->CancelEdit();
        QVERIFY(owner.ended.empty());
        s.Open(QStringLiteral("v"));
        s.editor->CancelEdit();
        QCOMPARE(owner.mayEndCalls, 0);
        QCOMPARE(owner.ended, std::vector<int>{16});
        QVERIFY(s.editor->isHidden());
    }

    void minimisedWindowCancels()
    {
        Owner owner;
        Scene s(owner);
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.Open(QStringLiteral("v"));
        QTRY_VERIFY(s.editor->hasFocus());
        s.window.setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(s.window.isMinimized());
        s.other->setFocus();
        if (s.editor->IsOpen())
            s.editor->clearFocus();
        QCOMPARE(owner.mayEndCalls, 0);
        QCOMPARE(owner.ended, std::vector<int>{16});
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("cell");
        QTest::addColumn<QString>("text");
        QTest::newRow("row of 30") << QRect(163, 60, 200, 30) << "value";
        QTest::newRow("row of 31, empty text") << QRect(3, 31, 154, 31) << "";
        QTest::newRow("odd difference") << QRect(0, 0, 100, 28) << "x";
        QTest::newRow("cell lower than the text") << QRect(5, 10, 80, 12) << "tall";
    }
    void placement()
    {
        QFETCH(QRect, cell);
        QFETCH(QString, text);
        Owner owner;
        QWidget host;
        VeCellEdit editor(owner, Qt::AlignLeft, kFrame, &host);
        editor.setText(text);
        editor.PlaceInCell(cell);
        const int natural = QFontMetrics(editor.font()).height() + 4;
        QCOMPARE(editor.x(), cell.left());
        QCOMPARE(editor.width(), cell.width());
        if (cell.height() > natural) {
            QCOMPARE(editor.y(), cell.top() + (cell.height() - natural) / 2 - 1);
            QCOMPARE(editor.height(), natural + 2);
        } else {
            QCOMPARE(editor.y(), cell.top());
            QCOMPARE(editor.height(), natural);
        }
    }

    void paintsTwoPixelFrame()
    {
        Owner owner;
        QWidget host;
        host.resize(300, 60);
        VeCellEdit editor(owner, Qt::AlignLeft, kFrame, &host);
        editor.setText(QStringLiteral("Framed"));
        editor.PlaceInCell(QRect(0, 0, 200, 30));
        editor.show();
        const QImage image = editor.grab().toImage();
        const int w = image.width();
        const int h = image.height();
        for (const QPoint p : {QPoint(0, 0), QPoint(w - 1, h - 1), QPoint(w / 2, 0), QPoint(0, h / 2)})
            QCOMPARE(QColor(image.pixel(p)), kFrame);
        for (const QPoint p : {QPoint(1, 1), QPoint(w - 2, h - 2), QPoint(w / 2, 1), QPoint(w - 2, h / 2)})
            QCOMPARE(QColor(image.pixel(p)), QColor(Qt::white));
        // Some dark text pixel inside.
        bool ink = false;
        for (int x = 2; x < w / 2 && !ink; ++x)
            ink = qGray(image.pixel(x, h / 2)) < 100;
        QVERIFY(ink);
        if (!qEnvironmentVariableIsEmpty("TESSARY_SHOTS"))
            image.save(QStringLiteral("/tmp/cell_edit.png"));
    }
};

QTEST_MAIN(CellEditTest)
#include "CellEditTest.moc"
