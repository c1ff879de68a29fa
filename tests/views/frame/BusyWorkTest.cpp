#include <chrono>
#include <thread>

#include <QTest>
#include <QTimer>

#include "views/common/BusyWork.h"

using namespace tessary;

class BusyWorkTest : public QObject {
    Q_OBJECT
private slots:
    void windowKeepsRunningWhileTheWorkerWorks()
    {
        QTimer timer;
        int ticks = 0;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(10);
        QVERIFY(!IsBusy());
        const std::thread::id ui = std::this_thread::get_id();
        std::thread::id worker;
        bool busyInside = false;
        QTimer::singleShot(20, [&] { busyInside = IsBusy(); });
        const int result = RunWhileBusy([&] {
            worker = std::this_thread::get_id();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            return 42;
        });
        QCOMPARE(result, 42);
        QVERIFY(worker != ui);
        QVERIFY2(ticks >= 5, "timers ran while the work went on");
        QVERIFY(busyInside);
        QVERIFY(!IsBusy());
    }

    void quickWorkEndsAtOnce()
    {
        // A worker done before the loop starts must not leave the loop waiting.
        for (int i = 0; i < 50; ++i)
            QCOMPARE(RunWhileBusy([i] { return i; }), i);
    }
};

QTEST_MAIN(BusyWorkTest)
#include "BusyWorkTest.moc"
