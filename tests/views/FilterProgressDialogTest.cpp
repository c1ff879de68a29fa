// "Filtering Files...": hidden start, showing and animating, the count, cancelling with the
// worker held at a path boundary, input to other windows, and its layout in dialog units.
#include <chrono>
#include <functional>
#include <thread>

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ViewsTestSupport.h"
#include "views/common/DialogUnits.h"
#include "views/adding/ProgressStrip.h"

using namespace tessary;
using namespace tessary::test;
using namespace std::chrono_literals;

namespace {

QStringList Names(int count, const QString& ext = QStringLiteral("jpg"))
{
    QStringList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("/nowhere/p%1.%2").arg(i).arg(ext);
    return list;
}

// Runs `action` once `condition` holds, looking every few milliseconds while a dialog runs.
void When(QObject* context, std::function<bool()> condition, std::function<void()> action)
{
    auto* timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, context, [timer, condition, action] {
        if (!condition())
            return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start(5);
}

// Ends a dialog that a broken test would leave running.
void Watchdog(FilterProgressDialog& dialog)
{
    QTimer::singleShot(15000, &dialog, [&dialog] {
        dialog.Job().RequestStop();
        dialog.Job().PauseGate().Set();
        dialog.done(QDialog::Rejected);
    });
}

class ShowWatcher : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show) {
            ++shows;
            if (!clock.isValid())
                elapsedAtShow = -1;
            else
                elapsedAtShow = clock.elapsed();
        }
        return false;
    }
    int shows = 0;
    qint64 elapsedAtShow = -1;
    QElapsedTimer clock;
};

} // namespace

class FilterProgressDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterTahoma(); }

    void quickFilterIsNeverShown()
    {
        QTemporaryDir dir;
        for (const char* name : {"a.jpg", "x/b.png", "x/y/c.bmp", "x/y/z/d.JPEG", "x/notes.txt", "e.ico"})
            QVERIFY(WriteFile(dir.filePath(QLatin1String(name))));
        ScriptedPrompts prompts;
        FilterProgressDialog dialog(std::make_unique<FilterJob>(QStringList{dir.path()}), prompts, nullptr);
        ShowWatcher watcher;
        dialog.installEventFilter(&watcher);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        // Only meaningful when the machine kept up; a quick filter must then stay unseen.
        if (clock.elapsed() < 400) {
            QCOMPARE(watcher.shows, 0);
            QVERIFY(dialog.Ticks() < FilterProgressDialog::kHiddenTicks);
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.AcceptedFiles().size(), 4);
        QVERIFY(prompts.asked.empty());
        QCOMPARE(dialog.exec(), int(QDialog::Rejected)); // once per dialog
    }

    void slowFilterShowsAfterEightTicksAndAnimates()
    {
        ScriptedPrompts prompts;
        auto job = std::make_unique<PausingJob>(Names(30), 0);
        PausingJob* raw = job.get();
        FilterProgressDialog dialog(std::move(job), prompts, nullptr);
        Watchdog(dialog);
        ShowWatcher watcher;
        dialog.installEventFilter(&watcher);
        watcher.clock.start();
        bool visibleAt300 = true;
        QTimer::singleShot(300, &dialog, [&] { visibleAt300 = dialog.isVisible(); });
        std::vector<int> offsets;
        When(
            &dialog,
            [&] {
                if (dialog.isVisible())
                    offsets.push_back(dialog.Strip()->Offset());
                return offsets.size() >= 40 && offsets.back() >= 12;
            },
            [&] {
                QCOMPARE(dialog.CountField()->text(), QStringLiteral("0"));
                raw->PauseGate().Set();
            });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(!visibleAt300);
        QCOMPARE(watcher.shows, 1);
        QVERIFY2(watcher.elapsedAtShow >= 400, qPrintable(QString::number(watcher.elapsedAtShow)));
        QVERIFY(dialog.Ticks() >= FilterProgressDialog::kHiddenTicks);
        for (int o : offsets)
            QCOMPARE(o % FilterProgressDialog::kAnimationStep, 0);
        QCOMPARE(dialog.CountField()->text(), QStringLiteral("30"));
        QCOMPARE(dialog.AcceptedFiles(), Names(30));
        QVERIFY(!dialog.isVisible());
    }

    void cancelNoHoldsTheWorkerThenGoesOn()
    {
        ScriptedPrompts prompts;
        const QStringList input = Names(100000);
        auto job = std::make_unique<PausingJob>(input, 10);
        PausingJob* raw = job.get();
        FilterProgressDialog dialog(std::move(job), prompts, nullptr);
        Watchdog(dialog);
        int before = -1;
        int after = -1;
        bool gateOpenWhileAsking = true;
        prompts.onAsk = [&](const MessageBoxSpec&) {
            gateOpenWhileAsking = raw->PauseGate().IsSet();
            before = raw->AcceptedCount();
            std::this_thread::sleep_for(50ms);
            after = raw->AcceptedCount();
        };
        prompts.answers = {QMessageBox::No};
        When(&dialog, [&] { return raw->paused.IsSet() && dialog.isVisible(); },
             [&] {
                 // Let the worker run, then cancel at once: it must hold at its next path.
                 raw->PauseGate().Set();
                 QTest::keyClick(&dialog, Qt::Key_Escape);
             });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(prompts.asked.size(), size_t(1));
        const MessageBoxSpec& q = prompts.asked[0];
        QCOMPARE(q.text, QStringLiteral("Cancel filtering?"));
        QCOMPARE(q.caption, QStringLiteral("Confirm Cancel"));
        QCOMPARE(q.icon, QMessageBox::Question);
        QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(q.defaultButton, QMessageBox::No);
        QCOMPARE(prompts.owners[0], static_cast<QWidget*>(&dialog));
        QVERIFY(!gateOpenWhileAsking);
        QVERIFY2(after - before <= 1, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
        QCOMPARE(dialog.AcceptedFiles().size(), input.size());
        QCOMPARE(dialog.CountField()->text(), QString::number(input.size()));
    }

    void cancelYesStopsAtAPathBoundary()
    {
        ScriptedPrompts prompts;
        const QStringList input = Names(30);
        auto job = std::make_unique<PausingJob>(input, 10);
        PausingJob* raw = job.get();
        FilterProgressDialog dialog(std::move(job), prompts, nullptr);
        Watchdog(dialog);
        prompts.answers = {QMessageBox::Yes};
        When(&dialog, [&] { return raw->paused.IsSet() && dialog.isVisible(); },
             [&] { QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(prompts.asked.size(), size_t(1));
        QVERIFY(dialog.AcceptedFiles().isEmpty());
        QVERIFY(!raw->Completed());
        QCOMPARE(raw->Output(), input.mid(0, 11));
        QVERIFY(!dialog.isVisible());
    }

    void closeBoxAsksAndNoKeepsTheDialog()
    {
        ScriptedPrompts prompts;
        auto job = std::make_unique<PausingJob>(Names(30), 10);
        PausingJob* raw = job.get();
        FilterProgressDialog dialog(std::move(job), prompts, nullptr);
        Watchdog(dialog);
        prompts.answers = {QMessageBox::No, QMessageBox::Yes};
        bool visibleAfterNo = false;
        When(&dialog, [&] { return raw->paused.IsSet() && dialog.isVisible(); },
             [&] {
                 dialog.Job().PauseGate().Reset(); // keep it from finishing meanwhile
                 QVERIFY(!dialog.close());
                 visibleAfterNo = dialog.isVisible();
                 dialog.Job().PauseGate().Reset();
                 QVERIFY(dialog.close());
             });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(visibleAfterNo);
        QCOMPARE(prompts.asked.size(), size_t(2));
    }

    void finishingWhileTheQuestionIsOpen()
    {
        for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
            ScriptedPrompts prompts;
            auto job = std::make_unique<PausingJob>(Names(30), 10);
            PausingJob* raw = job.get();
            FilterProgressDialog dialog(std::move(job), prompts, nullptr);
            Watchdog(dialog);
            prompts.answers = {answer};
            prompts.onAsk = [&](const MessageBoxSpec&) {
                raw->PauseGate().Set();
                while (!raw->ExitCode().has_value())
                    std::this_thread::sleep_for(1ms);
                QCoreApplication::sendPostedEvents(&dialog, kFilterProgressEvent);
            };
            When(&dialog, [&] { return raw->paused.IsSet() && dialog.isVisible(); }, [&] { dialog.reject(); });
            const int result = dialog.exec();
            QCOMPARE(result, int(answer == QMessageBox::No ? QDialog::Accepted : QDialog::Rejected));
            QCOMPARE(dialog.AcceptedFiles().size(), answer == QMessageBox::No ? 30 : 0);
        }
    }

    void otherWindowsGetNoInputWhileFiltering()
    {
        QWidget owner;
        auto* button = new QPushButton(QStringLiteral("Close album"), &owner);
        int clicks = 0;
        connect(button, &QPushButton::clicked, [&] { ++clicks; });
        owner.resize(400, 300);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));

        ScriptedPrompts prompts;
        auto job = std::make_unique<PausingJob>(Names(5), 0);
        PausingJob* raw = job.get();
        FilterProgressDialog dialog(std::move(job), prompts, &owner);
        Watchdog(dialog);
        bool hiddenWhenClicked = false;
        When(&dialog, [&] { return raw->paused.IsSet(); },
             [&] {
                 hiddenWhenClicked = !dialog.isVisible();
                 QTest::mouseClick(button, Qt::LeftButton);
                 QTest::keyClick(button, Qt::Key_Space);
                 raw->PauseGate().Set();
             });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(hiddenWhenClicked);
        QCOMPARE(clicks, 0);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks, 1);
    }

    void destroyedWithoutRunningOrWhilePaused()
    {
        ScriptedPrompts prompts;
        {
            FilterProgressDialog dialog(std::make_unique<FilterJob>(Names(3)), prompts, nullptr);
            QVERIFY(dialog.AcceptedFiles().isEmpty());
        }
        auto job = std::make_unique<PausingJob>(Names(30), 10);
        PausingJob* raw = job.get();
        auto dialog = std::make_unique<FilterProgressDialog>(std::move(job), prompts, nullptr);
        QVERIFY(raw->Start());
        QVERIFY(raw->paused.WaitFor(10s));
        dialog.reset(); // stops and waits, never hangs
    }

    void layoutInDialogUnits()
    {
        ScriptedPrompts prompts;
        FilterProgressDialog dialog(std::make_unique<FilterJob>(QStringList()), prompts, nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Filtering Files..."));
        const QFont font = DialogFont();
        if (QFontDatabase::families().contains(QStringLiteral("Tahoma")))
            QCOMPARE(font.family(), QStringLiteral("Tahoma"));
        QCOMPARE(font.pixelSize(), 13);
        QCOMPARE(dialog.font().family(), font.family());
        const DialogBaseUnits base = BaseUnitsOf(font);
        QVERIFY(base.charWidth >= 4 && base.charWidth <= 9);
        QVERIFY(base.charHeight >= 12 && base.charHeight <= 18);
        QCOMPARE(dialog.size(), MapDialogSize(QSize(175, 47), base));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());

        QCOMPARE(dialog.Strip()->property("controlId").toInt(), 1010);
        QCOMPARE(dialog.CountField()->property("controlId").toInt(), 1011);
        QCOMPARE(dialog.CountField()->text(), QStringLiteral("0"));
        QCOMPARE(dialog.CancelButton()->text(), QStringLiteral("Cancel"));
        QStringList texts;
        for (const QLabel* l : dialog.findChildren<QLabel*>())
            texts << l->text();
        QVERIFY(texts.contains(QStringLiteral("Queued: ")));
        const QRect inside(QPoint(0, 0), dialog.size());
        for (const QWidget* w : {static_cast<QWidget*>(dialog.Strip()), static_cast<QWidget*>(dialog.CountField()),
                                 static_cast<QWidget*>(dialog.CancelButton())})
            QVERIFY(inside.contains(w->geometry()));
        QCOMPARE(dialog.CancelButton()->geometry(), MapDialogRect(QRect(118, 26, 50, 14), base));
        QVERIFY(!dialog.CancelButton()->geometry().intersects(dialog.CountField()->geometry()));

        // A picture to look at: the strip part-way and a count.
        dialog.Strip()->Advance(40);
        dialog.CountField()->setText(QStringLiteral("1234"));
        const QImage shot = dialog.grab().toImage();
        QCOMPARE(shot.size(), dialog.size() * shot.devicePixelRatio());
        const QByteArray shots = qgetenv("TESSARY_SCREENSHOT_DIR");
        if (!shots.isEmpty())
            QVERIFY(shot.save(QString::fromLocal8Bit(shots) + QStringLiteral("/FilteringFiles.png")));
    }

    void dialogUnitArithmetic()
    {
        const DialogBaseUnits base{6, 13};
        QCOMPARE(MapDialogSize(QSize(175, 47), base), QSize(263, 76)); // 262.5 and 76.375 rounded
        QCOMPARE(MapDialogRect(QRect(7, 7, 161, 10), base), QRect(11, 11, 241, 17));
        QCOMPARE(MapDialogRect(QRect(0, 0, 4, 8), DialogBaseUnits{7, 16}), QRect(0, 0, 7, 16));
    }

    void stripWrapsAtItsWidth()
    {
        ProgressStrip strip;
        strip.resize(20, 10);
        std::vector<int> offsets;
        for (int i = 0; i < 6; ++i) {
            strip.Advance(4);
            offsets.push_back(strip.Offset());
        }
        QCOMPARE(offsets, (std::vector<int>{4, 8, 12, 16, 0, 4}));
        QVERIFY(!strip.grab().isNull());
    }
};

QTEST_MAIN(FilterProgressDialogTest)
#include "FilterProgressDialogTest.moc"
