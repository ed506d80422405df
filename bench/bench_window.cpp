// What a person waits for in the main window, measured on the shipped data on Qt's offscreen
// platform: filling the two lists, a selection to a filled and coloured panel, the largest flag
// list, a keystroke to refilled suggestions, a search with its rows and panel, and a paste of
// disallowed characters into the search word, its message boxes answered at once. Target for the
// paste of 32,767 characters: under 100 ms beyond what the field itself spends laying them out
// (the same paste into a bare text field).
#include "frmlister.h"
#include "recordingmessageboxes.h"
#include "resource.h"
#include "searchwords.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
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

// The step of the window's chain that waits to be run by hand.
std::function<void()> &pendingStep()
{
    static std::function<void()> step;
    return step;
}

void runNextStep()
{
    if (std::function<void()> step = std::exchange(pendingStep(), {}))
        step();
}

std::unique_ptr<FrmLister> makeWindow()
{
    FrmLister::Services services;
    services.data = &shippedData();
    services.boxes = &boxes();
    services.openUrl = [](const QUrl &) {};
    services.endProgram = [] {};
    services.startStep = [](int, std::function<void()> step) { pendingStep() = std::move(step); }; // run here, by hand
    return std::make_unique<FrmLister>(std::move(services));
}

// A window with both lists filled, as after its start-up steps (without their delays).
std::unique_ptr<FrmLister> filledWindow()
{
    auto window = makeWindow();
    window->load(nullptr);
    runNextStep(); // the list by number
    runNextStep(); // the alphabetical list
    window->show();
    return window;
}

void BM_FillBothLists(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto window = makeWindow();
        window->load(nullptr);
        state.ResumeTiming();
        runNextStep();
        runNextStep();
        state.PauseTiming();
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

// What a paste may bring: 32,767 characters (the field's limit) drawn from the whole of Unicode
// but the controls, about one in ten outside the first plane (a pair of surrogates).
QString arbitraryText()
{
    QRandomGenerator random(15);
    QString text;
    while (text.size() < 32767) {
        const char32_t c = random.bounded(10) == 0 ? char32_t(0x10000 + random.bounded(0xF0000))
                                                   : char32_t(0x20 + random.bounded(0xD800 - 0x20));
        if (c >= 0x10000 && text.size() + 2 > 32767)
            continue;
        text.append(QString::fromUcs4(&c, 1));
    }
    return text;
}

// A paste into the search word; every message box is answered at once, so the time is the
// program's own work, beyond what a person spends on the messages.
void pasteIntoSearchWord(benchmark::State &state, const QString &pasted)
{
    auto window = filledWindow();
    window->findChild<QPushButton *>(u"CmdOnglet(2)"_s)->click();
    auto *combo = window->findChild<QComboBox *>(u"Cbo2"_s);
    qsizetype messages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        combo->setEditText(QString());
        boxes().boxes.clear();
        state.ResumeTiming();
        combo->lineEdit()->insert(pasted);
        state.PauseTiming();
        messages = boxes().boxes.size();
        state.ResumeTiming();
    }
    state.counters["messages"] = double(messages);
    state.counters["left"] = double(combo->currentText().size());
}

void BM_PasteDistinctDisallowed(benchmark::State &state)
{
    pasteIntoSearchWord(state, distinctDisallowed(int(state.range(0))));
}

void BM_PasteArbitrary32767(benchmark::State &state)
{
    pasteIntoSearchWord(state, arbitraryText());
}

// The same paste into a text field of the same font that does nothing with it: what the toolkit
// spends laying the text out, which any paste costs.
void BM_PasteArbitrary32767IntoBareField(benchmark::State &state)
{
    auto window = filledWindow();
    QLineEdit field;
    field.setFont(window->findChild<QComboBox *>(u"Cbo2"_s)->font());
    field.resize(241, 32);
    field.show();
    const QString pasted = arbitraryText();
    for (auto _ : state) {
        state.PauseTiming();
        field.clear();
        state.ResumeTiming();
        field.insert(pasted);
    }
}

// French prose with its accents and punctuation: a few distinct characters, many occurrences.
void BM_PasteProse32767(benchmark::State &state)
{
    const QString sentence = u"L'acide citrique (E330) est présent dans les agrumes ; il sert d'acidifiant, "
                             u"d'antioxydant et de séquestrant… « naturel » ou non ? "_s;
    QString text;
    while (text.size() + sentence.size() <= 32767)
        text += sentence;
    pasteIntoSearchWord(state, text);
}

} // namespace

BENCHMARK(BM_FillBothLists)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectionToColouredPanel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargestFlagList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeToSuggestions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchAcide)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteDistinctDisallowed)->Arg(1000)->Arg(3000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteArbitrary32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteArbitrary32767IntoBareField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteProse32767)->Unit(benchmark::kMillisecond);

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
