// The engine through the script component: events, error reports, handlers, code strings, the
// event loop, and the parts of the dialect that need objects of the standard library (a small
// Array stands in for it here).
#include "script/core/component.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "script/core/exceptions.h"
#include "tests/script/core/test_engine.h"

using namespace engine;

namespace {

// The object-model tests' array, readable by index and "length", with pop.
class ScriptArray : public enginetest::TestArray {
  RT_CLASS(ScriptArray)
 public:
  using TestArray::TestArray;
  bool GetValue(std::string_view name, TJValue& value, TJValueList* param) override {
    int32_t index;
    if (TextToInteger(name, index) && index >= 0 && index < items.Count()) {
      items.Get(index, value);
      return true;
    }
    if (name == "length") {
      value.SetInteger(items.Count());
      return true;
    }
    return TJObject::GetValue(name, value, param);
  }
  void RegistMethods() override {
    TJObject::RegistMethods();
    RegistMethod("pop", &ScriptArray::DoPop);
  }
  void DoPop(TJValueList*, TJValue& result) {
    items.Get(items.Count() - 1, result);
    items.Delete(items.Count() - 1);
  }
};

const rt::ClassInfo& ScriptArray::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<ScriptArray>("ScriptArray", &enginetest::TestArray::StaticClassInfo()).build();
  return info;
}

// Test hooks for scripts: code strings, kept handlers, the event loop, failures from outside.
class Probe : public TJObject {
  RT_CLASS(Probe)
 public:
  Probe(TJBaseEngine* e, TJValueList* p) : TJObject(e, p) {
    RegistName("Probe");
    ++live;
  }
  ~Probe() override { --live; }
  static bool IsMakeGlobalInstance() { return false; }
  void RegistMethods() override {
    TJObject::RegistMethods();
    RegistMethod("evalHere", &Probe::DoEvalHere);
    RegistMethod("keep", &Probe::DoKeep);
    RegistMethod("startLoop", &Probe::DoStartLoop);
    RegistMethod("stopLoop", &Probe::DoStopLoop);
    RegistMethod("fail", &Probe::DoFail);
  }
  TJEngine& Eng() { return *static_cast<TJEngine*>(Engine()); }
  void DoEvalHere(TJValueList* args, TJValue& result) {
    Eng().EvalCode(AsString(&(*args)[0]), nullptr, result);
  }
  void DoKeep(TJValueList* args, TJValue&) { kept = (*args)[0]; }
  void DoStartLoop(TJValueList*, TJValue&) { Eng().Global()->StartEventLoop(); }
  void DoStopLoop(TJValueList*, TJValue&) { Eng().Global()->Terminate(); }
  void DoFail(TJValueList*, TJValue&) { throw std::runtime_error("outside failure"); }
  static inline TJValue kept;
  static inline int live = 0;
};

const rt::ClassInfo& Probe::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<Probe>("Probe", &TJObject::StaticClassInfo()).build();
  return info;
}

// A pump that never waits.
class QuickPump : public IMessagePump {
 public:
  void ProcessPending() override { ++passes; }
  void Sleep(uint32_t) override {}
  int passes = 0;
};

// A component with every event recorded.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = EngineExtensions();
    RegisterKnownClass(TJKnownClass::Array, ScriptArray::StaticClassInfo());
    EngineExtensions().RegisterStandardClasses = [](TJEngine& e) {
      e.ImportObject("Array", ClassOf<ScriptArray>());
      e.ImportObject("Probe", ClassOf<Probe>());
    };
    component_ = std::make_unique<TBrindle>();
    component_->Engine().Pump = &pump_;
    component_->SetOnStdout([this](TBrindle* sender, const std::string& s) {
      EXPECT_EQ(sender, component_.get());
      out += s;
    });
    component_->SetOnStderr([this](TBrindle*, const std::string& s) { err += s; });
    component_->SetOnError([this](TBrindle*, int32_t line, const std::string& msg) {
      errors.push_back(std::to_string(line) + ":" + msg);
    });
  }
  void TearDown() override {
    Probe::kept.Clear();
    component_.reset();
    EngineExtensions() = saved_;
  }
  // Compiles and runs; the exit code, or -100 when compiling failed.
  int32_t Run(const std::string& source) {
    if (!component_->Compile(source)) return -100;
    return component_->RunNoArgs();
  }
  TJEngine& Eng() { return component_->Engine(); }

  std::unique_ptr<TBrindle> component_;
  QuickPump pump_;
  std::string out;
  std::string err;
  std::vector<std::string> errors;

 private:
  TJEngineExtensions saved_;
};

}  // namespace

TEST_F(EngineTest, AComponentWithoutEventsRunsSilently) {
  TBrindle quiet;
  EXPECT_EQ(quiet.RunNoArgs(), 0) << "no program yet";
  EXPECT_TRUE(quiet.Compile("x = 1; y = x + 1;"));
  EXPECT_EQ(quiet.RunNoArgs(), 0);
  EXPECT_FALSE(quiet.Compile("x = ;"));
  EXPECT_EQ(quiet.LastErrorText(), "SyntaxError: Line(1) => Text( ; )\r\n");
}

TEST_F(EngineTest, ErrorReportsGoToStderrAndTheErrorEvent) {
  struct Case {
    const char* source;
    int32_t code;
    const char* stderrText;
    const char* errorEvent;
  };
  const Case cases[] = {
      {"throw 'x';", 0, "Exception: EThrow(1) => \r\n", "1:Exception: EThrow(1) => "},
      {"a = 1;\n\nb = nothing;", 0, "Exception: ENameError(3) => undefined - nothing\r\n",
       "3:Exception: ENameError(3) => undefined - nothing"},
      {"x = 1;\nif x;", -100, "SyntaxError: Line(2) => Text( x )\r\n", "2:SyntaxError: Line(2) => Text( x )"},
      {"\n\nx = NaN * 2;", -100, "Exception: ETypeError => vtNaN - vtInteger\r\n",
       "3:Exception: ETypeError => vtNaN - vtInteger"},
      {"x = 1;\n\nbreak;", 0, "Exception: ESyntaxError(3) => break\r\n", "3:Exception: ESyntaxError(3) => break"},
      {"x = new Missing();", 0, "Exception: ENameError(1) => create object error Missing\r\n",
       "1:Exception: ENameError(1) => create object error Missing"},
      {"p = new Probe(); x = p.fail.call;", 0, "Exception: ENameError(1) => member error call\r\n",
       "1:Exception: ENameError(1) => member error call"},
      {"f = function() {}; f.nothing = 1;", 0, "Exception: ENameError(1) => member assign error nothing\r\n",
       "1:Exception: ENameError(1) => member assign error nothing"},
      {"x = 5; x(1);", 0, "Exception: ECallError(1) => call function error,need function or object\r\n",
       "1:Exception: ECallError(1) => call function error,need function or object"},
      {"with (1) {}", 0, "Exception: ETypeError(1) => need object - with\r\n",
       "1:Exception: ETypeError(1) => need object - with"},
  };
  for (const auto& c : cases) {
    err.clear();
    errors.clear();
    EXPECT_EQ(Run(c.source), c.code) << c.source;
    EXPECT_EQ(err, c.stderrText) << c.source;
    EXPECT_EQ(errors, std::vector<std::string>{c.errorEvent}) << c.source;
  }
}

TEST_F(EngineTest, RunAndDoneFramedByTheRunAlsoAfterAnError) {
  std::vector<std::string> events;
  component_->SetOnRun([&](TBrindle*) { events.push_back("run"); });
  component_->SetOnDone([&](TBrindle*) { events.push_back("done"); });
  component_->SetOnStdout([&](TBrindle*, const std::string& s) { events.push_back(s); });
  ASSERT_TRUE(component_->Compile("Global.print('body'); throw 1;"));
  component_->RunNoArgs();
  EXPECT_EQ(events, (std::vector<std::string>{"run", "done"})) << "Global here has no print";
  component_->SetOnRun(nullptr);
  events.clear();
  component_->RunNoArgs();
  EXPECT_EQ(events, (std::vector<std::string>{"done"}));
}

// The interpreter remembers where names were found; a second run, and a run after the engine was
// cleared, work on fresh scopes and must not reach the variables of the first.
TEST_F(EngineTest, RunsAgainAfterRunAndAfterClearWithFreshVariables) {
  ASSERT_TRUE(component_->Compile("var t = 0; function add(n) { t += n; return t; }\n"
                                  "for (var i = 0; i < 5; i++) { t += i; add(1); }\n"
                                  "return t + add(0) * 100;"));
  EXPECT_EQ(component_->RunNoArgs(), 1515) << err;
  EXPECT_EQ(component_->RunNoArgs(), 1515) << err;
  Eng().ClearEngine();
  EXPECT_EQ(component_->RunNoArgs(), 1515) << err;
  EXPECT_EQ(err, "");
}

TEST_F(EngineTest, StepAbortReportsTheLineOfTheStatement) {
  int steps = 0;
  component_->SetOnStep([&](TBrindle*, bool& abort) { abort = ++steps == 4; });
  // Steps: the module, a, b, then c on line 4.
  EXPECT_EQ(Run("a = 1;\nb = 2;\n\nc = 3;\nd = 4;"), 0);
  EXPECT_EQ(err, "Abort Script(4)\r\n");
  EXPECT_EQ(errors, std::vector<std::string>{"4:Abort Script(4)"});
  // An abort passes try and catch.
  steps = 0;
  err.clear();
  // Steps: the module, the try, its block, then x on line 2.
  component_->SetOnStep([&](TBrindle*, bool& abort) { abort = ++steps == 4; });
  EXPECT_EQ(Run("try {\n x = 1;\n} catch (e) { y = 2; }\nz = 3;"), 0);
  EXPECT_EQ(err, "Abort Script(2)\r\n");
}

TEST_F(EngineTest, CompileAndRunRefusedWhileAScriptRuns) {
  bool nestedCompile = true;
  int32_t nestedRun = -1;
  component_->SetOnStep([&](TBrindle* sender, bool&) {
    nestedCompile = sender->Compile("y = 2;");
    nestedRun = sender->RunNoArgs();
    sender->Clear();  // ignored under running code
  });
  EXPECT_EQ(Run("x = 1; p = new Probe(); p.x = x;"), 0) << err;
  EXPECT_FALSE(nestedCompile);
  EXPECT_EQ(nestedRun, 0);
  EXPECT_EQ(err, "") << "clearing under the script would have broken it";
}

TEST_F(EngineTest, LibraryPathIsTheSameAfterCompile) {
  component_->LibraryPath() = {"/one", "/two"};
  EXPECT_TRUE(component_->Compile("x = 1;"));
  EXPECT_FALSE(component_->Compile("x = ;"));
  EXPECT_EQ(component_->LibraryPath(), (std::vector<std::string>{"/one", "/two"}));
}

TEST_F(EngineTest, NewObjectAndDebugEvents) {
  std::vector<std::string> made;
  component_->SetOnNewObject([&](TBrindle*, TJObject* o) { made.push_back(o->Name()); });
  std::vector<std::string> trace;
  component_->SetOnDebugout([&](TBrindle*, const std::string& s) { trace.push_back(s); });
  ASSERT_TRUE(component_->Compile("o = {};"));
  EXPECT_EQ(trace, (std::vector<std::string>{"295( o )", "316( = )", "301( { )", "302( } )", "305( ; )"}));
  // The module's global instances (one per class), then the literal.
  made.clear();
  component_->RunNoArgs();
  EXPECT_EQ(made, (std::vector<std::string>{"Array", "Object", "Object"}));
  // With new objects watched, every call has its arguments array.
  made.clear();
  Run("function f() {} f();");
  EXPECT_EQ(made, (std::vector<std::string>{"Array", "Object", "Array"}));
}

TEST_F(EngineTest, ArgumentsCalleeAndTheApplyMode) {
  EXPECT_EQ(Run("function f(a) { return arguments.length * 10 + arguments[2]; }\n"
                "r = f(1, 2, 3);\n"
                "function g() { return arguments.callee == g; }\n"
                "if (!g()) throw 'callee';\n"
                "function h(a, b) { return this.tag + a + b; }\n"
                "o = {tag: 'o'};\n"
                "s = h.apply(o, [1, 2]);\n"
                "try { h.apply(o, 5); } catch (e) { t = e; }\n"
                "return r;"),
            33)
      << err;
  TJValue s;
  ASSERT_TRUE(Eng().FindVariable("s", s));
  EXPECT_EQ(AsString(&s), "o12");
  ASSERT_TRUE(Eng().FindVariable("t", s));
  EXPECT_EQ(AsString(&s), "ETypeError");
}

TEST_F(EngineTest, ForInOverIndexedObjects) {
  EXPECT_EQ(Run("a = [5, 6, 7]; s = 0; for (i in a) s = s * 10 + i; return s;"), 12) << err;
  EXPECT_EQ(Run("@set @VERSION7 = true\na = [5, 6, 7]; s = 0; for (v in a) s = s * 10 + v; return s;"), 567) << err;
  // Items the body removes read as undefined; the count was read once.
  EXPECT_EQ(Run("@set @VERSION7 = 1\na = [1, 2, 3]; n = 0; u = 0;\n"
                "for (v in a) { n++; a.pop(); if (typeof(v) == 'undefined') u++; }\n"
                "return n * 10 + u;"),
            31)
      << err;
}

TEST_F(EngineTest, CodeStringsSeeTheRunningFunction) {
  EXPECT_EQ(Run("function f(x) { var local = x * 2; return Probe.evalHere('local + x'); }\n"
                "p = new Probe(); return f(5) + Probe.evalHere('3 * 3');"),
            0)
      << "Probe is not a global instance";
  EXPECT_NE(err, "");
  err.clear();
  EXPECT_EQ(Run("p = new Probe();\n"
                "function f(x) { var local = x * 2; return p.evalHere('local + x'); }\n"
                "function again(n) { return n == 0 ? 0 : p.evalHere('n + again(n - 1)'); }\n"
                "return f(5) + p.evalHere('3 * 3') + again(3);"),
            15 + 9 + 6)
      << err;
  // A code string that does not parse is a syntax error, reported on the running line.
  EXPECT_EQ(Run("p = new Probe();\ntry { p.evalHere('1 +'); } catch (e) { r = e; }"), 0);
  TJValue r;
  ASSERT_TRUE(Eng().FindVariable("r", r));
  EXPECT_EQ(AsString(&r), "ESyntaxError");
  EXPECT_EQ(Run("p = new Probe();\n\n\np.evalHere('1 +');"), 0);
  EXPECT_EQ(err, "SyntaxError: Line(4) => Text( ; )\r\n");
}

// Many distinct code strings: the cache keeps a bounded number of texts, a tree goes once neither
// the cache nor a function value holds it, and functions made by evicted texts still run.
TEST_F(EngineTest, CodeStringTreesAreBoundedAndLiveAsLongAsTheirFunctions) {
  const size_t texts = TJCodeCache::kCapacity * 3;
  EXPECT_EQ(Run("p = new Probe(); t = 0; kept = p.evalHere('function (a) { return a * 100; }');\n"
                "self = p.evalHere('arguments.callee');\n"
                "for (i = 0; i < " + std::to_string(texts) + "; i++) { t += p.evalHere(i + ' + 1'); }\n"
                "again = 0; for (i = 0; i < 10; i++) { again += p.evalHere('2 * 3'); }\n"
                "p.keep(p.evalHere('function (b) { return b + 1; }'));\n"
                "return t + kept(2) + again + (typeof(self()) == 'function' ? 1000 : 0);"),
            int32_t(texts * (texts + 1) / 2 + 200 + 60 + 1000))
      << err;
  const TJCodeCache& cache = Eng().CodeCache();
  EXPECT_EQ(cache.TextCount(), TJCodeCache::kCapacity);
  // The cached texts, the first one still held by `kept` and the second by the text's own function
  // (`self`), although both were evicted long ago.
  EXPECT_EQ(cache.TreeCount(), TJCodeCache::kCapacity + 2);
  // The handler still runs; the next run lets go of every text, and each tree goes with its last
  // function.
  TJValue handler = Probe::kept;
  TJValueList args{TJValue::Integer(41)};
  TJValue result;
  Eng().CallHandler(handler, &args, result, nullptr);
  EXPECT_EQ(AsInteger(&result), 42);
  EXPECT_EQ(Run("return 1;"), 1);
  EXPECT_EQ(cache.TextCount(), 0u);
  EXPECT_EQ(cache.TreeCount(), 1u) << "the handler's tree is held by the handler";
  Probe::kept.Clear();
  handler.Clear();
  EXPECT_EQ(cache.TreeCount(), 0u);
}

TEST_F(EngineTest, HandlersAfterTheMainProgramReportTheirErrors) {
  ASSERT_EQ(Run("p = new Probe();\np.keep(function(a) {\n  if (a == 1) throw 'late';\n  return a * 2;\n});"), 0)
      << err;
  TJValue handler = Probe::kept;
  ASSERT_TRUE(IsScriptFunction(&handler));
  TJValueList args{TJValue::Integer(21)};
  TJValue result;
  Eng().CallHandler(handler, &args, result, nullptr);
  EXPECT_EQ(AsInteger(&result), 42);
  TJValueList bad{TJValue::Integer(1)};
  EXPECT_NO_THROW(Eng().CallHandler(handler, &bad, result, nullptr));
  EXPECT_EQ(err, "Exception: EThrow(3) => \r\n");
  EXPECT_EQ(errors, std::vector<std::string>{"3:Exception: EThrow(3) => "});
  // A code string as handler.
  TJValue code = TJValue::String("'text' + 1");
  Eng().CallHandler(code, nullptr, result, nullptr);
  EXPECT_EQ(AsString(&result), "text1");
}

// Native code hands script functions values of its own: each call binds them as a call with a
// list would (copies in the parameters, missing ones undefined, the rest through `arguments`), for
// every kind of function, and leaves the values as they were.
TEST_F(EngineTest, CallsWithValuesInPlaceBindLikeCallsWithAList) {
  struct Case {
    const char* function;
    const char* expected;
  };
  const Case cases[] = {
      {"function (a, b) { var r = a + '/' + b; a = 'changed'; b = 0; return r; }", "x/7"},
      {"function (a) { return a + ':' + arguments.length + ':' + arguments[2]; }", "x:3:1 + 2"},
      {"function (a, b, c, d) { return typeof(d) + b + c; }", "undefined71 + 2"},
      {"function (a, a) { return a; }", "7"},
      {"p.evalHere", "x"},  // a native: the first value as code
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Run(std::string("p = new Probe(); x = 'x'; p.keep(") + c.function + ");"), 0) << err;
    TJValue function = Probe::kept;
    TJValue values[] = {TJValue::String("x"), TJValue::Integer(7), TJValue::String("1 + 2")};
    const TJValue* places[] = {&values[0], &values[1], &values[2]};
    TJValue inPlace;
    Eng().CallFunction(function, places, 3, inPlace, nullptr);
    EXPECT_EQ(AsString(&inPlace), c.expected) << c.function;
    TJValueList list{values[0], values[1], values[2]};
    TJValue listed;
    Eng().CallFunction(function, &list, listed, nullptr);
    EXPECT_EQ(AsString(&listed), c.expected) << c.function;
    EXPECT_EQ(AsString(&values[0]), "x");
    EXPECT_EQ(AsInteger(&values[1]), 7);
  }
  // A throw leaves the call as a script error, and the next call starts clean.
  ASSERT_EQ(Run("p = new Probe(); p.keep(function (a, b) { if (a) throw b; return b; });"), 0) << err;
  TJValue flag = TJValue::Bool(true), text = TJValue::String("out");
  const TJValue* raise[] = {&flag, &text};
  TJValue result;
  EXPECT_THROW(Eng().CallFunction(Probe::kept, raise, 2, result, nullptr), EJException);
  flag.SetBool(false);
  Eng().CallFunction(Probe::kept, raise, 2, result, nullptr);
  EXPECT_EQ(AsString(&result), "out");
  // Once another program is compiled and the engine cleared, the function's tree is gone: the call
  // is refused, nothing of the old tree read.
  TJValue stale = Probe::kept;
  ASSERT_TRUE(component_->Compile("x = 1;"));
  component_->Clear();
  Probe::kept.Clear();
  try {
    Eng().CallFunction(stale, raise, 2, result, nullptr);
    ADD_FAILURE() << "a stale function ran";
  } catch (const EJThrow& e) {
    EXPECT_EQ(e.ErrorType + " " + e.message(), "ECallError function is no longer valid: ");
  }
}

TEST_F(EngineTest, HandlersDuringTheMainProgramRaiseIntoIt) {
  // The event loop runs handlers while OnDoEvents lets it; a throw there ends the loop.
  int passes = 0;
  component_->SetOnDoEvents([&](TBrindle*, bool&) {
    if (++passes == 2) {
      TJValueList args;
      TJValue result;
      Eng().CallHandler(Probe::kept, &args, result, nullptr);
    }
  });
  EXPECT_EQ(Run("p = new Probe(); p.keep(function() { throw 'in the loop'; }); p.startLoop();"), 0);
  EXPECT_EQ(passes, 2);
  EXPECT_EQ(err, "Exception: EThrow(1) => \r\n");
}

TEST_F(EngineTest, EventLoopRunsUntilTerminatedOrAborted) {
  int passes = 0;
  component_->SetOnDoEvents([&](TBrindle*, bool& abort) { abort = ++passes == 5; });
  EXPECT_EQ(Run("p = new Probe(); p.startLoop();"), 0);
  EXPECT_EQ(passes, 5);
  EXPECT_EQ(pump_.passes, 4);
  // exit() in a handler ends the loop with its code.
  passes = 0;
  component_->SetOnDoEvents([&](TBrindle*, bool&) {
    if (++passes == 3) {
      TJValue result;
      Eng().CallHandler(Probe::kept, nullptr, result, nullptr);
    }
  });
  EXPECT_EQ(Run("p = new Probe(); p.keep(function() { p.stopLoop(); return; }); p.startLoop(); return 1;"), 1);
  EXPECT_EQ(passes, 3);
  // Without a loop the run ends at once.
  passes = 0;
  EXPECT_EQ(Run("x = 1;"), 0);
  EXPECT_EQ(passes, 0);
}

// A C++ exception out of a native ends only the script, as a script error: Run returns to the
// host, which would otherwise have been ended past the script's try.
TEST_F(EngineTest, FailuresFromOutsideTheEngineEndTheScriptNotTheHost) {
  ASSERT_TRUE(component_->Compile("p = new Probe(); p.fail();"));
  EXPECT_NO_THROW(component_->RunNoArgs());
  EXPECT_EQ(errors, std::vector<std::string>{"1:Exception: Exception(1) => Probe.fail error: outside failure"});
  EXPECT_FALSE(Eng().IsRunning());
  EXPECT_EQ(Run("return 5;"), 5) << "the engine runs again";
}

TEST_F(EngineTest, ClearingFreesTheObjectsOfTheRun) {
  ASSERT_EQ(Run("p = new Probe(); q = new Probe(); p.other = q; q.other = p;"), 0);
  EXPECT_EQ(Probe::live, 2) << "alive until the engine is cleared";
  component_->Clear();
  EXPECT_EQ(Probe::live, 0);
  ASSERT_EQ(Run("function f() { var p = new Probe(); return 1; } f(); f();"), 0);
  EXPECT_EQ(Probe::live, 0) << "a local object goes with its call";
}

TEST_F(EngineTest, ClosuresAndFunctionValuesSurviveARecompile) {
  ASSERT_EQ(Run("p = new Probe(); function make(n) { return function() { return n * 2; }; } p.keep(make(4));"), 0);
  TJValue closure = Probe::kept;
  // A new program replaces the tree; the old function keeps working until the engine clears.
  ASSERT_TRUE(component_->Compile("x = 1;"));
  TJValue result;
  Eng().CallHandler(closure, nullptr, result, nullptr);
  EXPECT_EQ(AsInteger(&result), 8);
  // After the clear it refuses to run instead of reaching into freed scopes.
  component_->Clear();
  Probe::kept.Clear();
  try {
    Eng().CallHandler(closure, nullptr, result, nullptr);
    ADD_FAILURE() << "a stale function ran";
  } catch (const EJThrow& e) {
    EXPECT_EQ(e.ErrorType + " " + e.message(), "ECallError function is no longer valid: ");
  }
}

TEST_F(EngineTest, ProgramsRunOneAfterAnotherBindTheirOwnParameters) {
  // Each program's calls take the call scopes the one before used, and its syntax tree may take the
  // place of the freed tree of a program before it (a program without calls in between leaves the
  // scopes as the one before it left them).
  for (int round = 0; round < 40; ++round) {
    ASSERT_EQ(Run("function f(a) { return a; } return f(3);"), 3) << err;
    ASSERT_EQ(Run("return 5;"), 5) << err;
    ASSERT_EQ(Run("function h(q, r) { function inner() { return q * 10 + r; } return inner(); } return h(4, 2);"), 42)
        << err;
    ASSERT_EQ(Run("return 6;"), 6) << err;
    ASSERT_EQ(Run("function g(x, y, z, w, v, u) { return x + y * 2 + z * 3 + w * 4 + v * 5 + u * 6; }\n"
                  "return g(1, 1, 1, 1, 1, 1);"),
              21)
        << err;
    ASSERT_EQ(Run("return 7;"), 7) << err;
  }
  EXPECT_EQ(err, "");
}
