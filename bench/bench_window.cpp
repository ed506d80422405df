// What a person waits for in the main window, measured on the shipped data on Qt's offscreen
// platform: filling the two lists, a selection to a filled and coloured panel, the largest flag
// list, a keystroke to refilled suggestions, a search with its rows and panel.
#include "frmlister.h"
#include "recordingmessageboxes.h"
#include "resource.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

ProgramData &shippedData()
{
    static ProgramData data = [] {
        ProgramData loaded;
        loaded.additives = loadAdditiveTable(readEmbeddedResource).table;
        loaded.keywords = loadKeywordIndex(readEmbeddedResource).index;
        return loaded;
    }();
    return data;
}

RecordingMessageBoxes &boxes()
{
    static RecordingMessageBoxes recorder;
    return recorder;
}

std::unique_ptr<FrmLister> makeWindow()
{
    FrmLister::Services services;
    services.data = &shippedData();
    services.boxes = &boxes();
    services.openUrl = [](const QUrl &) {};
    services.endProgram = [] {};
    return std::make_unique<FrmLister>(std::move(services));
}

// A window with both lists filled, as after its start-up steps (without their delays).
std::unique_ptr<FrmLister> filledWindow()
{
    auto window = makeWindow();
    Q_EMIT window->T1Num->tick();
    Q_EMIT window->T2Alpha->tick();
    window->T2Alpha->setInterval(0);
    window->TimDeb->setInterval(0);
    window->show();
    return window;
}

void BM_FillBothLists(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto window = makeWindow();
        state.ResumeTiming();
        Q_EMIT window->T1Num->tick();
        Q_EMIT window->T2Alpha->tick();
        state.PauseTiming();
        window->T2Alpha->setInterval(0);
        window->TimDeb->setInterval(0);
        window.reset();
        state.ResumeTiming();
    }
}

void BM_SelectionToColouredPanel(benchmark::State &state)
{
    auto window = filledWindow();
    auto *numbers = window->findChild<QListWidget *>(u"LstNumAdd"_s);
    int row = 0;
    for (auto _ : state) {
        numbers->setCurrentRow(row);
        row = (row + 37) % RecordCount;
    }
}

void BM_LargestFlagList(benchmark::State &state)
{
    auto window = filledWindow();
    auto *france = window->findChild<QToolButton *>(u"ImgD(3)"_s);
    auto *flags = window->findChild<QListWidget *>(u"LstTri"_s);
    for (auto _ : state)
        france->click();
    state.counters["rows"] = flags->count();
}

void BM_KeystrokeToSuggestions(benchmark::State &state)
{
    auto window = filledWindow();
    window->findChild<QPushButton *>(u"CmdOnglet(2)"_s)->click();
    auto *combo = window->findChild<QComboBox *>(u"Cbo2"_s);
    auto *suggestions = window->findChild<QListWidget *>(u"Lst12"_s);
    int rows = 0;
    for (auto _ : state) {
        combo->setEditText(u"e"_s);
        combo->setEditText(u"e1"_s); // 167 keywords
        rows = suggestions->count();
    }
    state.counters["rows"] = rows;
    state.SetLabel("two keystrokes per iteration");
}

void BM_SearchAcide(benchmark::State &state)
{
    auto window = filledWindow();
    window->findChild<QPushButton *>(u"CmdOnglet(2)"_s)->click();
    auto *combo = window->findChild<QComboBox *>(u"Cbo2"_s);
    auto *search = window->findChild<QPushButton *>(u"CmdCherche"_s);
    auto *results = window->findChild<QListWidget *>(u"LstC"_s);
    combo->setEditText(u"acide"_s);
    for (auto _ : state) {
        search->setEnabled(true);
        search->click();
    }
    state.counters["rows"] = results->count();
}

} // namespace

BENCHMARK(BM_FillBothLists)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectionToColouredPanel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargestFlagList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeToSuggestions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchAcide)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
