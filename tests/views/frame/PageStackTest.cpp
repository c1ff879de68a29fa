#include <memory>

#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "FrameTestSupport.h"
#include "views/common/NotifyCodes.h"
#include "views/frame/VeViewBase.h"
#include "views/frame/WTL_PageStack.h"

using namespace tessary;

namespace {

// A page with one edit field that records the commands it is given.
class EditPage : public VeViewBase {
public:
    explicit EditPage(QWidget* parent = nullptr) : VeViewBase(parent), edit(new QLineEdit(this))
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(edit);
    }
    bool HandleCommand(int id) override
    {
        commands.push_back(id);
        return id != 0;
    }
    QLineEdit* edit;
    std::vector<int> commands;
};

std::vector<int> Codes(const QSignalSpy& spy)
{
    std::vector<int> codes;
    for (const QList<QVariant>& args : spy)
        codes.push_back(args.at(0).toInt());
    return codes;
}

} // namespace

class PageStackTest : public QObject {
    Q_OBJECT
private slots:
    void addAndSelect()
    {
        WTL_PageStack stack;
        stack.resize(300, 200);
        QSignalSpy notify(&stack, &WTL_PageStack::Notify);
        auto* a = new EditPage;
        auto* b = new EditPage;
        QCOMPARE(stack.AddPage(a), 0);
        QCOMPARE(stack.AddPage(b), 1);
        QCOMPARE(a->parentWidget(), &stack);
        QVERIFY(a->isHidden());
        QCOMPARE(Codes(notify), (std::vector<int>{kNotifyPageAdded, kNotifyPageAdded}));
        QCOMPARE(stack.ActiveIndex(), -1);
        QCOMPARE(stack.GetPage(1), b);
        QCOMPARE(stack.GetPage(2), nullptr);
        QCOMPARE(stack.GetPage(-1), nullptr);

        stack.show();
        notify.clear();
        QVERIFY(!stack.SelectPage(2));
        QVERIFY(!stack.SelectPage(-1));
        QVERIFY(notify.isEmpty());

        QVERIFY(stack.SelectPage(1));
        QCOMPARE(Codes(notify), (std::vector<int>{kNotifySelChanging, kNotifySelChange}));
        QVERIFY(b->isVisible());
        QCOMPARE(b->geometry(), QRect(0, 0, 300, 200));

        // Reselecting sends nothing.
        notify.clear();
        QVERIFY(stack.SelectPage(1));
        QVERIFY(notify.isEmpty());

        QVERIFY(stack.SelectPage(0));
        QVERIFY(a->isVisible());
        QVERIFY(b->isHidden());
        stack.resize(400, 150);
        QCOMPARE(a->geometry(), QRect(0, 0, 400, 150));
    }

    void aDeletedPageLeavesAnEmptyPlace()
    {
        auto stack = std::make_unique<WTL_PageStack>();
        auto* a = new EditPage;
        auto* b = new EditPage;
        stack->AddPage(a);
        stack->AddPage(b);
        QVERIFY(stack->SelectPage(0));
        delete a;
        QCOMPARE(stack->PageCount(), 2);
        QCOMPARE(stack->GetPage(0), nullptr);
        QVERIFY(!stack->SelectPage(0));
        QVERIFY(stack->SelectPage(1));
        // The stack goes with its remaining page; nothing of it is touched once it is gone
        // (the sanitizer build of the random-input run watches this).
        QPointer<QWidget> page = b;
        stack.reset();
        QVERIFY(page.isNull());
    }

    void guardVetoes()
    {
        WTL_PageStack stack;
        stack.AddPage(new EditPage);
        stack.AddPage(new EditPage);
        stack.SelectPage(0);
        int from = -2;
        int to = -2;
        bool veto = true;
        stack.SetChangeGuard([&](int f, int t) {
            from = f;
            to = t;
            return veto;
        });
        QSignalSpy notify(&stack, &WTL_PageStack::Notify);
        QVERIFY(!stack.SelectPage(1));
        QCOMPARE(from, 0);
        QCOMPARE(to, 1);
        QCOMPARE(stack.ActiveIndex(), 0);
        QCOMPARE(Codes(notify), std::vector<int>{kNotifySelChanging});
        veto = false;
        QVERIFY(stack.SelectPage(1));
        QCOMPARE(stack.ActiveIndex(), 1);
    }

    void focusMovesWithThePage()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* outside = new QLineEdit(&window);
        auto* stack = new WTL_PageStack(&window);
        layout->addWidget(outside);
        layout->addWidget(stack);
        auto* a = new EditPage;
        auto* b = new EditPage;
        stack->AddPage(a);
        stack->AddPage(b);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        // The first page of an empty stack: the stack takes the focus and hands it on.
        QVERIFY(stack->SelectPage(0));
        QTRY_COMPARE(QApplication::focusWidget(), a->edit);

        // Focus inside: it moves to the new page's first child.
        QVERIFY(stack->SelectPage(1));
        QTRY_COMPARE(QApplication::focusWidget(), b->edit);

        // Focus outside: it stays there.
        outside->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), outside);
        QVERIFY(stack->SelectPage(0));
        QCOMPARE(QApplication::focusWidget(), outside);

        // Focusing the stack itself hands the focus to the active page.
        stack->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), a->edit);
    }

    void commandsGoToTheActivePage()
    {
        WTL_PageStack stack;
        auto* a = new EditPage;
        auto* b = new EditPage;
        stack.AddPage(a);
        stack.AddPage(b);
        QVERIFY(!stack.HandleCommand(5)); // no active page
        stack.SelectPage(1);
        QVERIFY(stack.HandleCommand(5));
        PostCommand(&stack, 6);
        test::DeliverPosted();
        QCOMPARE(b->commands, (std::vector<int>{5, 6}));
        QVERIFY(a->commands.empty());
    }
};

QTEST_MAIN(PageStackTest)
#include "PageStackTest.moc"
