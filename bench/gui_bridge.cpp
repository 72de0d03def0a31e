// The GUI bridge's costs, measured on Qt's offscreen platform with the script engine:
//   - a script builds 1,000 forms of 20 controls each and frees them (time per form);
//   - a script handler is called 100,000 times through a button's click (time per event), beside
//     the same empty function called 100,000 times by the script itself, so that the difference
//     is what the event path adds.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/fw/application.h"
#include "platform/fw/button.h"
#include "platform/fw/form.h"
#include "platform/qt/host.h"
#include "script/core/component.h"
#include "script/gui/registration.h"
#include "script/host/host.h"
#include "script/stdlib/stdlib.h"

namespace {

qtfw::TQtHost& Host() {
  static int argc = 1;
  static char name[] = "bench_gui_bridge";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static qtfw::TQtHost host(argc, argv);
  stdlib::Install();
  host::Install();
  gui::Install();
  return host;
}

void Run(engine::TBrindle& component, const std::string& source) {
  if (!component.Compile(source)) std::abort();
  component.RunNoArgs();
}

void BM_ScriptFormsCreatedAndFreed(benchmark::State& state) {
  Host();
  engine::TBrindle component;
  const std::string source = R"(
    for (var i = 0; i < 1000; i++) {
      var f = new VCLForm();
      for (var j = 0; j < 5; j++) {
        new VCLButton(f).Caption = "b";
        new VCLEdit(f).Text = "e";
        new VCLLabel(f).Caption = "l";
        new VCLMemo(f);
      }
      f = null;
    }
  )";
  for (auto _ : state) {
    Run(component, source);
    fw::Application()->ProcessMessages();
  }
  state.SetItemsProcessed(state.iterations() * 1000);
  state.counters["us_per_form"] =
      benchmark::Counter(double(state.iterations()) * 1000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                         benchmark::Counter::kIs1000);
}
BENCHMARK(BM_ScriptFormsCreatedAndFreed)->Unit(benchmark::kMillisecond);

fw::TButton* gButton = nullptr;

void BM_EventDispatchThroughClick(benchmark::State& state) {
  Host();
  engine::TBrindle component;
  Run(component, R"(
    var f = new VCLForm();
    var b = new VCLButton(f);
    b.Name = "Target";
    var n = 0;
    b.onClick = function(sender) { n++; };
  )");
  fw::TForm* form = nullptr;
  for (int i = 0; i < fw::Screen()->FormCount(); ++i)
    if (auto* f = dynamic_cast<fw::TForm*>(fw::Screen()->Forms(i)); f && f->FindChildControl("Target")) form = f;
  if (!form) std::abort();
  gButton = static_cast<fw::TButton*>(form->FindChildControl("Target"));
  component.Engine().EventLoopAllowed = true;
  component.Engine().MainFinished = true;
  for (auto _ : state)
    for (int i = 0; i < 100000; ++i) gButton->Click();
  component.Engine().EventLoopAllowed = false;
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_EventDispatchThroughClick)->Unit(benchmark::kMillisecond);

void BM_SameHandlerCalledByTheScript(benchmark::State& state) {
  Host();
  engine::TBrindle component;
  const std::string source = R"(
    var n = 0;
    var handler = function(sender) { n++; };
    var b = {};
    for (var i = 0; i < 100000; i++) handler(b);
  )";
  for (auto _ : state) Run(component, source);
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_SameHandlerCalledByTheScript)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
