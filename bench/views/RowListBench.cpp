// Painting and scrolling a row list: one 400 x 600 view of a long list must cost what it costs
// for a short one that fills the view (20 rows), since only the rows in view are looked at.

#include <benchmark/benchmark.h>

#include <memory>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "views/common/SharedFonts.h"
#include "views/rows/RowListBase.h"

namespace {

using namespace tessary;

class TextRow : public Row {
public:
    explicit TextRow(int n) : text_(QStringLiteral("Collection %1").arg(n)) {}

    void Draw(QPainter& painter, const QRect& rect, const RowState& state) override
    {
        painter.fillRect(rect, state.selected ? QColor(212, 220, 238) : QColor(Qt::white));
        painter.setFont(SharedFonts::Large());
        painter.setPen(QColor(61, 75, 102));
        painter.drawText(rect.adjusted(5, 0, -5, 0), Qt::AlignLeft | Qt::AlignVCenter, text_);
    }

private:
    QString text_;
};

class BenchList : public RowListBase {
public:
    explicit BenchList(int rows)
    {
        for (int i = 0; i < rows; ++i)
            AddRow(std::make_unique<TextRow>(i));
        resize(400, 600);
        show();
        // Every tenth row selected, as after a Ctrl+click spree.
        SetSelectionBehaviour(SelectionBehaviour::Multiple);
        for (int i = 0; i < rows; i += 10)
            Select(RowAtIndex(i), true, false);
        QApplication::processEvents();
    }
};

void BM_PaintView(benchmark::State& state)
{
    BenchList list(int(state.range(0)));
    QImage target(list.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        list.viewport()->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["rows"] = double(list.RowCount());
}

void BM_ScrollPageAndPaint(benchmark::State& state)
{
    BenchList list(int(state.range(0)));
    QImage target(list.viewport()->size(), QImage::Format_RGB32);
    QScrollBar* bar = list.verticalScrollBar();
    for (auto _ : state) {
        if (bar->value() >= bar->maximum())
            bar->setValue(0);
        else
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        list.viewport()->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["rows"] = double(list.RowCount());
}

void BM_HotRowMove(benchmark::State& state)
{
    // Hot tracking as the pointer crosses rows deep in the list.
    BenchList list(int(state.range(0)));
    QScrollBar* bar = list.verticalScrollBar();
    bar->setValue(bar->maximum());
    int y = 0;
    for (auto _ : state) {
        QMouseEvent move(QEvent::MouseMove, QPointF(20, y), QPointF(20, y), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &move);
        y = (y + 31) % 600;
    }
}

BENCHMARK(BM_PaintView)->Arg(10)->Arg(20)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollPageAndPaint)->Arg(10)->Arg(20)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HotRowMove)->Arg(10)->Arg(20)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace
