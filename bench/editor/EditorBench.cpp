// The editor on a large list: 10 000 variables in 500 groups (one group of
// 100 variables, the others of 20 or so).  Measures opening the list's tab,
// selecting the group of 100, and the road of one edit through the real
// component object to a client callback and back to the bold marks, with
// one editor open or with a second one that shows every edit as well, and
// each keystroke in the filter line: typing "var1" into it and deleting it
// again, the list refreshed and painted after every key.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <vector>

#include <QApplication>

#include "demo/DemoList.h"
#include "editor/CFilterLine.h"
#include "editor/CMainWnd.h"
#include "editor/CVarListView.h"
#include "editor/CVarTreeView.h"
#include "storage/GUIData.h"
#include "storage/VariableStorageFactory.h"

namespace {

constexpr GUID kBenchList = {0x0BE4C4, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 8}};

// 500 groups in 25 top groups of 20; "big" holds 100 variables.
DemoList* CreateLargeList()
{
    DemoList* list = DemoList::Create("Large");
    for (int i = 0; i < 100; ++i)
        list->AddDouble("top00|big|v" + std::to_string(i), "a variable of the big group", i * 0.5, i * 0.5, 0, 1000,
                        0.5);
    int made = 100;
    for (int g = 1; g < 500; ++g) {
        const std::string group = "top" + std::to_string(g / 20) + "|sub" + std::to_string(g % 20);
        const int count = (10000 - made) / (500 - g);
        for (int i = 0; i < count; ++i, ++made) {
            const std::string path = group + "|var" + std::to_string(i);
            if (i % 2) list->AddInt(path, "an integer", i, i, 0, 1000);
            else list->AddDouble(path, "a double", i, i, 0, 1000, 1);
        }
    }
    return list;
}

struct Client {
    DemoList* list;
    int calls = 0;
};

int32_t STDMETHODCALLTYPE ClientCallback(const char* name, const void* bytes, unsigned length, void* context)
{
    auto* client = static_cast<Client*>(context);
    ++client->calls;
    client->list->Apply(name, bytes, length);
    return 1;
}

struct Setup {
    IVariableStoragePtr storage;
    IVariableStorageAttachPtr attach;
    DemoList* list = CreateLargeList();
    Client client{list};

    Setup()
    {
        CreateVariableStorage(IID_IVariableStorage, storage.AsOut());
        storage.As(attach);
        storage->UseVariableList(&kBenchList, list);
        attach->AttachVariableList(&kBenchList, &ClientCallback, &client);
    }
    ~Setup()
    {
        attach->DetachVariableList(&kBenchList);
        list->Release();
    }
    std::unique_ptr<CMainWnd> Open(CGUIData* gui)
    {
        CMainWnd::ListMap lists;
        lists[kBenchList] = IVariableListPtr(list);
        return std::make_unique<CMainWnd>(nullptr, QRect(0, 0, 900, 600), storage.Get(), lists, gui, nullptr);
    }
};

void BM_OpenTab(benchmark::State& state)
{
    Setup setup;
    CGUIData gui;
    size_t vars = 0;
    for (auto _ : state) {
        std::unique_ptr<CMainWnd> wnd = setup.Open(&gui);
        wnd->show();
        QApplication::processEvents();  // laid out and painted once
        state.PauseTiming();
        vars = wnd->Tree(0)->FindGroup("top00|big")->Vars().size();
        if (wnd->IsPending(0)) state.SkipWithError("the tab was not loaded");
        wnd.reset();
        state.ResumeTiming();
    }
    state.counters["variables"] = double(setup.list->Count());
    state.counters["big_group"] = double(vars);
}
BENCHMARK(BM_OpenTab)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SelectGroupOf100(benchmark::State& state)
{
    Setup setup;
    CGUIData gui;
    std::unique_ptr<CMainWnd> wnd = setup.Open(&gui);
    wnd->show();
    CVarTreeView* tree = wnd->Tree(0);
    CVarListView* list = wnd->List(0);
    CVarGroupItem* big = tree->FindGroup("top00|big");
    CVarGroupItem* other = tree->FindGroup("top1|sub3");
    int rows = 0;
    for (auto _ : state) {
        tree->setCurrentItem(big);
        list->viewport()->repaint();  // the rows on screen, not only in the model
        state.PauseTiming();
        rows = list->RowCount();
        tree->setCurrentItem(other);
        state.ResumeTiming();
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_SelectGroupOf100)->Unit(benchmark::kMillisecond);

void BM_EditRoad(benchmark::State& state)
{
    Setup setup;
    CGUIData gui;
    std::vector<std::unique_ptr<CMainWnd>> windows;
    for (int64_t i = 0; i < state.range(1); ++i) {
        windows.push_back(setup.Open(&gui));
        windows.back()->show();
        CVarTreeView* tree = windows.back()->Tree(0);
        tree->setCurrentItem(tree->FindGroup("top00|big"));
    }
    CMainWnd* wnd = windows.front().get();
    CVar* var = wnd->Tree(0)->FindGroup("top00|big")->Vars()[7];
    const bool repaint = state.range(0) != 0;
    double value = 1;
    for (auto _ : state) {
        value = value == 1 ? 2 : 1;
        var->SetValue(&value, sizeof value);  // sink, component, client, other editors, redraw, marks
        if (repaint)
            for (const auto& w : windows) w->List(0)->viewport()->repaint();
    }
    if (setup.client.calls != int(state.iterations())) state.SkipWithError("the client missed or repeated edits");
    state.counters["client_calls"] = double(setup.client.calls);
}
BENCHMARK(BM_EditRoad)->ArgsProduct({{0, 1}, {1, 2}})->ArgNames({"repaint", "editors"})->Unit(benchmark::kMicrosecond);

// Processor time of this thread, in milliseconds: on a loaded machine the
// wall time of one keystroke says more about the other processes.
double ThreadMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void BM_FilterKeystroke(benchmark::State& state)
{
    Setup setup;
    CGUIData gui;
    std::unique_ptr<CMainWnd> wnd = setup.Open(&gui);
    wnd->show();
    CVarTreeView* tree = wnd->Tree(0);
    tree->setCurrentItem(tree->FindGroup("top00|big"));
    CVarListView* list = wnd->List(0);
    QApplication::processEvents();
    const QString typed = "var1";
    std::vector<QString> keys;  // the line after each key: typed, then deleted
    for (qsizetype n = 1; n <= typed.size(); ++n) keys.push_back(typed.left(n));
    for (qsizetype n = typed.size() - 1; n >= 0; --n) keys.push_back(typed.left(n));
    double worstWall = 0, worstCpu = 0;
    size_t most = 0;
    for (auto _ : state) {
        for (const QString& line : keys) {
            const auto start = std::chrono::steady_clock::now();
            const double cpu = ThreadMilliseconds();
            wnd->FilterLine()->setText(line);
            list->viewport()->repaint();  // the rows on screen, not only in the model
            worstCpu = std::max(worstCpu, ThreadMilliseconds() - cpu);
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
            worstWall = std::max(worstWall, took.count());
            most = std::max(most, size_t(list->RowCount()));
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(keys.size()));
    state.counters["worst_wall_ms"] = worstWall;
    state.counters["worst_cpu_ms"] = worstCpu;
    state.counters["most_rows"] = double(most);
    if (list->RowCount() != 100) state.SkipWithError("the empty filter did not bring the group back");
}
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // The layout record goes to a registry of the benchmark's own.
    std::string pattern = (std::filesystem::temp_directory_path() / "quillet-bench-XXXXXX").string();
    const std::string registry = mkdtemp(pattern.data());
    setenv("COMREGISTRY_DIR", registry.c_str(), 1);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(registry, ignored);
    return 0;
}
