// The settings dialog's speed: opening it on a full profile, OK with every page stored and
// ticking "ユーザー設定", on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "bench_targets.h"
#include "editor/check_tree.h"
#include "editor/setting_dlg.h"
#include "editor/user_page.h"
#include "model/profile.h"

namespace {

using drovik::ProfileModel;
using drovik::editor::CDlgSetting;
namespace cat = drovik::catalogue;

void ensureApplication() {
  static std::unique_ptr<QApplication> application = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "drovik_bench";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
  }();
}

// Every value away from its default and every node included.
ProfileModel fullProfile() {
  ProfileModel model;
  for (int u = 0; u < cat::kUserCount; ++u) {
    model.values.userName[u] = "USER" + std::to_string(u);
    for (auto& index : model.values.paper[u].index) index = 1;
    for (auto& margin : model.values.paper[u].margin) margin = "12.7";
    for (auto& index : model.values.common[u].index) index = 1;
  }
  model.values.iface.ifChgTimeText = "120";
  model.text = drovik::ProfileText::of(model.values);
  model.flags.state.fill(1);
  return model;
}

void BM_OpenSettingDialog(benchmark::State& state) {
  ensureApplication();
  ProfileModel model = fullProfile();
  for (auto _ : state) {
    auto dialog = std::make_unique<CDlgSetting>(model, nullptr);
    benchmark::DoNotOptimize(dialog.get());
    state.PauseTiming();
    dialog.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenSettingDialog)->Unit(benchmark::kMillisecond);

void BM_SettingDialogOk(benchmark::State& state) {
  ensureApplication();
  ProfileModel model = fullProfile();
  CDlgSetting dialog(model, nullptr);
  for (int u = 0; u < cat::kUserCount; ++u) dialog.userPage(u).ensureBuilt();
  for (auto _ : state) {
    state.PauseTiming();
    model.clearWriteFlags();
    state.ResumeTiming();
    benchmark::DoNotOptimize(dialog.storeAll());
  }
}
BENCHMARK(BM_SettingDialogOk)->Unit(benchmark::kMillisecond);

void BM_TickUserSettings(benchmark::State& state) {
  ensureApplication();
  ProfileModel model = fullProfile();
  model.flags.state.fill(0);
  CDlgSetting dialog(model, nullptr);
  dialog.show();
  QApplication::processEvents();
  for (auto _ : state) {
    dialog.tree().clickCheckBox(0);  // ticks the 753 nodes of the user tree
    state.PauseTiming();
    dialog.tree().clickCheckBox(0);
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TickUserSettings)->Unit(benchmark::kMillisecond);

const drovik::bench::RegisterTarget kOpen{
    {"settings dialog: open on a full profile", "BM_OpenSettingDialog", 150, "", 0}};
const drovik::bench::RegisterTarget kOk{
    {"settings dialog: OK, every page stored", "BM_SettingDialogOk", 50, "", 0}};
const drovik::bench::RegisterTarget kTick{
    {"settings dialog: tick the user tree", "BM_TickUserSettings", 20, "", 0}};

}  // namespace
