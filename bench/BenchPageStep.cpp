// One page step of a 32 x 32 page at a random offset of a 1 GiB file: the scroll bar's
// handler (ReadPage, RenderPage) and the repaint of the table, under the offscreen platform.
#include "WindowHarness.h"
#include "widgets/SpinEdit.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <benchmark/benchmark.h>

using namespace zirpel;

namespace {

constexpr qint64 kFileSize = qint64(1) << 30;

QString BenchFile() {
    const QString path = qEnvironmentVariableIsSet("ZIRPEL_BENCH_FILE")
                             ? qEnvironmentVariable("ZIRPEL_BENCH_FILE")
                             : QStringLiteral("/tmp/zirpel-bench-1g.bin");
    QFile f(path);
    if (f.exists() && f.size() == kFileSize)
        return path;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray block(1 << 20, Qt::Uninitialized);
    QRandomGenerator rng(42);
    for (qint64 done = 0; done < kFileSize; done += block.size()) {
        rng.fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
        f.write(block);
    }
    return path;
}

WindowHarness* g_harness = nullptr;

void BM_PageStep32x32(benchmark::State& state) {
    WindowHarness& h = *g_harness;
    QScrollBar* bar = h.find<QScrollBar>("ScrollBarVertikal");
    StringGrid* grid = h.grid();
    QRandomGenerator rng(7);
    for (auto _ : state) {
        bar->setValue(qint32(rng.bounded(kFileSize - 1024)));
        grid->viewport()->repaint();
    }
}
BENCHMARK(BM_PageStep32x32)->Unit(benchmark::kMicrosecond)->Repetitions(5)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    WindowHarness h;
    h.create();
    h.showAndActivate();
    h.openThroughDialog(BenchFile());
    h.click("ToolButtonGitter");
    for (const char* name : {"CSpinEditReihen", "CSpinEditSpalten"}) {
        auto* spin = h.find<SpinEdit>(name);
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(spin, Qt::Key_Up);
    }
    if (h.find<QScrollBar>("ScrollBarVertikal")->pageStep() != 1024)
        qFatal("page is not 32 x 32");
    QApplication::processEvents();
    g_harness = &h;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
