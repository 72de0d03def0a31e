// ActiveXObject and Enumerator driven by scripts against the test automation server.
#include <gtest/gtest.h>

#include "script/host/activex_object.h"
#include "tests/script/host/host_fixture.h"
#include "tests/script/host/script_runner.h"
#include "tests/script/host/test_automation.h"

using namespace hosttest;

namespace {

std::string RunX(const std::string& body) {
  RegisterTestAutomation();
  ScriptOutcome o = RunScriptText(body);
  return o.out + (o.err.empty() ? "" : "ERR:" + o.err);
}

TEST(ActiveXScript, CreationAndMemberLookups) {
  EXPECT_EQ(RunX("try { new ActiveXObject('No.Such.Server'); } catch (e) { println(e); }\n"
                "var x = new ActiveXObject('brscript.testautomation');\n"  // identifiers ignore case
                "println(x.Text); x.Text = 'changed'; println(x.TEXT);\n"
                "var n = x.Lookups; var m = x.Add; var m2 = x.Add;\n"
                // the method value is stored: the second read asks the server nothing
                "println(x.Lookups - n);\n"
                "println(typeof(m)); println(x.Add(5, 'five')); println(x.Count);\n"
                "try { x.NoSuchMember; } catch (e) { println(e); }\n"
                "try { x.Fail(); } catch (e) { println('fail ' + e); }\n"
                "try { x.Text = 3; } catch (e) { println('put ' + e); }\n"
                "println(x.Nothing === null); println(x.Sum(1, 2.5, 3));\n"),
            "EActiveXError\n"
            "initial\nchanged\n"
            "1\n"  // "Add" once; the second "Add" read finds the stored member
            "function\n2\n2\n"
            "EActiveXError\n"
            "fail EActiveXError\n"
            "put EActiveXError\n"
            "true\n6.5\n");
}

TEST(ActiveXScript, ErrorMessagesNameTheMember) {
  EXPECT_EQ(RunX("try { new ActiveXObject('No.Such'); } catch (e) { }\n"
                "var x = new ActiveXObject('BRScript.TestAutomation');\n"
                "x.Add(1);\n"
                "x.Fail();\n"),
            "ERR:Exception: EActiveXError(4) => Fail\n");
}

TEST(ActiveXScript, IndexesReachTheServerTyped) {
  EXPECT_EQ(RunX("var x = new ActiveXObject('BRScript.TestAutomation');\n"
                "x.Add('a', 'b', 'c');\n"
                "print(x[1]); println(x.LastArgs);\n"       // a number stays a number
                "print(x['c']); println(x.LastArgs);\n"     // a text names the item
                "print(x.Item(2)); println(x.LastArgs);\n"  // the parameterised property as a call
                "x[0] = 'z'; print(x.LastArgs); println(x(0));\n"
                "x.Item(1) = 'y'; print(x.LastArgs); println(x[1]);\n"),
            "bI4\ncBSTR\ncI4\nI4=BSTRz\nI4=BSTRy\n");
}

TEST(ActiveXScript, IndexOnAPropertyResultGoesThroughItsParent) {
  EXPECT_EQ(RunX("var x = new ActiveXObject('BRScript.TestAutomation');\n"
                "var c = x.Child;\n"
                "println(c.Name); println(c[7]); println(x.LastArgs); println(c['k']); println(x.LastArgs);\n"),
            "child\nchild item 7\nI4\nchild item k\nBSTR\n");
}

TEST(ActiveXScript, ArraysAndListsAreAssignedAsOneValue) {
  EXPECT_EQ(RunX("var x = new ActiveXObject('BRScript.TestAutomation');\n"
                "x.Add(0);\n"
                "try { x.Text = [1, 2, 3]; } catch (e) { println(e); }\n"
                "println(x.LastArgs);\n"),
            "EActiveXError\n=EMPTY\n");  // one value (an empty variant), no index arguments
}

TEST(ActiveXScript, DatesAndDispatchValues) {
  EXPECT_EQ(RunX("var x = new ActiveXObject('BRScript.TestAutomation');\n"
                "var d = x.Now; println(d.getUTCFullYear() + '-' + (d.getUTCMonth() + 1) + '-' + d.getUTCDate() + ' ' + d.getUTCHours());\n"
                "x.Record(d, true, null, 1.5); println(x.LastArgs);\n"
                "x.Add(d); println(x[0].getTime() == d.getTime());\n"
                "var y = new ActiveXObject(x.disp); println(y.Count);\n"
                "x.Add(x.Child); println(x[1].Name);\n"),
            "2024-1-1 12\nDATE,BOOL,NULL,R8\ntrue\n1\nchild\n");
}

TEST(ActiveXScript, EnumeratorWalksTheCollection) {
  EXPECT_EQ(RunX("var x = new ActiveXObject('BRScript.TestAutomation');\n"
                "var e = new Enumerator(x); println(e.atEnd());\n"  // empty: at its end at once
                "x.Add(1, 'two', 3.5);\n"
                "for (e = new Enumerator(x); !e.atEnd(); e.moveNext()) print(e.item(), ' ');\n"
                "println(e.item());\n"
                "e.moveFirst(); println(e.item() + ' ' + e[''] + ' ' + e.atEnd());\n"
                "try { new Enumerator(5); } catch (err) { println(err); }\n"
                "try { new Enumerator(); } catch (err) { println(err); }\n"
                "try { new Enumerator(x.Child); } catch (err) { println(err); }\n"),
            "true\n1 two 3.5 undefined\n1 1 false\nEEnumeratorError\nEEnumeratorError\nEEnumeratorError\n");
}

TEST(ActiveXScript, ForInWalksItems) {
  EXPECT_EQ(RunX("var x = new ActiveXObject('BRScript.TestAutomation');\n"
                "for (var v in x) print('never');\n"
                "x.Add('a', 'b', 'c');\n"
                "for (var v in x) print(v);\n"
                "println('');\n"
                "for (var v in x) { if (v == 'b') break; print(v); }\n"
                "println('');\n"
                "function firstAfter(o, w) { var seen = false; for (var v in o) { if (seen) return v; seen = v == w; } }\n"
                "println(firstAfter(x, 'a'));\n"
                "try { for (var v in x) throw v; } catch (e) { println('thrown ' + e); }\n"),
            "abc\na\nb\nthrown a\n");
}

TEST(ActiveXScript, ForInOverAnObjectListsItsTypeInformation) {
  EXPECT_EQ(RunX("var x = new ActiveXObject('BRScript.TestAutomation');\n"
                 // variables first, then properties read without arguments: no methods, no Item(i),
                 // no _NewEnum
                 "println(x.getProperties().join(','));\n"
                 "var c = x.Child; for (var n in c) println(n + '=' + eval('c.' + n));\n"
                 "var none = new ActiveXObject(); var count = 0;\n"
                 "for (var n in none) count++;\n"
                 "println(count + ' ' + none.getProperties().length);\n"
                 "for (var n in ActiveXObject) count++;\n"
                 "println(count);\n"),
            "Version,Text,Count,Child,Now,Nothing,LastArgs,Lookups\n"
            "Name=child\n"
            "0 0\n"
            "0\n");
}

TEST(ActiveXScript, EventsReachHandlersUntilDisconnected) {
  EXPECT_EQ(RunX("function ev_Ping() { println('ping ' + arguments.length); }\n"
                "function ev_Data(a, b) { println('data ' + a + ' ' + b + ' ' + this.Count); }\n"
                "var x = new ActiveXObject('BRScript.TestAutomation', 'ev_');\n"
                "x.Fire(1); x.Fire(2, 'a', 7); x.Fire(3);\n"  // 3 is no event of the interface
                "var quiet = new ActiveXObject('BRScript.TestAutomation', '');\n"
                "quiet.Fire(1);\n"
                "function other_Data(a) { println('other ' + a); }\n"
                "var y = new ActiveXObject('BRScript.TestAutomation', 'other_');\n"
                "y.Fire(1);\n"  // no handler: nothing happens
                "y.Fire(2, 'z');\n"),
            "ping 0\ndata a 7 0\nother z\n");
}

TEST(ActiveXScript, OnlyLiveDispatchObjectsComeBackFromForeignCalls) {
  EXPECT_EQ(RunX("var x = new ActiveXObject('BRScript.TestAutomation');\n"
                 "x.Add('item');\n"
                 "var dc = new DynaCall();\n"
                 "dc.register('libbrs_dynatest.so', 'dt_identity', 'i=a', 'r=a');\n"
                 "var back = dc.dt_identity(x);\n"
                 "println(back.Count); println(back[0]);\n"
                 "println(dc.dt_identity(null));\n"
                 "dc.register('libbrs_dynatest.so', 'dt_identity', 'i=p', 'r=k');\n"
                 "println(dc.dt_identity(123456));\n"),  // not one of ours: null, no crash
            "1\nitem\nnull\nnull\n");
}

// An engine whose script functions are C++ handlers: a variable "<name>" is the handler name.
class EventEngine : public HostEngine {
 public:
  bool FindVariable(std::string_view name, TJValue& value) override {
    if (!handlers.count(std::string(name))) return false;
    value = TJValue::String(name);
    return true;
  }
};

TEST(ActiveXEvents, ConnectionFollowsThePrefixAndEndsWithDisconnect) {
  RegisterTestAutomation();
  EventEngine e;
  host::RegisterActiveXObjects(e);
  std::vector<std::string> got;
  e.handlers["on_Ping"] = [&](TJValueList* args, TJValue&) { got.push_back("ping " + std::to_string(args->Count())); };
  rt::ComPtr<TestAutomation> server(new TestAutomation);
  TJValue d;
  d.SetDispatch(server.get());
  TJValue x = e.New("ActiveXObject", {d});
  auto* object = dynamic_cast<host::TJActiveXObject*>(x.vObject());
  ASSERT_NE(object, nullptr);
  EXPECT_FALSE(object->HasEvents());
  object->SetEventPrefix("");  // an empty prefix connects nothing
  EXPECT_EQ(server->events->SinkCount(), 0u);
  object->SetEventPrefix("on_");
  EXPECT_EQ(server->events->SinkCount(), 1u);
  server->events->Fire(1, {rt::Variant::Int(4)});
  EXPECT_EQ(got, std::vector<std::string>{"ping 1"});
  // A sink the server still holds after the disconnect does nothing.
  rt::ComPtr<com::IConnectionPoint> keep(server->events.get());
  object->DisconnectEvents();
  EXPECT_EQ(server->events->SinkCount(), 0u);
  server->events->Fire(1, {});
  EXPECT_EQ(got.size(), 1u);
  // Reconnected, then the object is cleared by its engine: the sink goes with it.
  object->SetEventPrefix("on_");
  EXPECT_EQ(server->events->SinkCount(), 1u);
  object->Clear();
  EXPECT_EQ(server->events->SinkCount(), 0u);
  EXPECT_EQ(object->Disp(), nullptr);
}

TEST(ActiveXEvents, ALateEventThroughADetachedSinkAnswersFalse) {
  RegisterTestAutomation();
  EventEngine e;
  host::RegisterActiveXObjects(e);
  TJValue x = e.New("ActiveXObject", {S("BRScript.TestAutomation"), S("on_")});
  auto* object = dynamic_cast<host::TJActiveXObject*>(x.vObject());
  rt::ComPtr<host::TJEventSink> sink(new host::TJEventSink(object, {}));
  com::DispParams none;
  EXPECT_EQ(sink->Invoke(1, com::DISPATCH_METHOD, none, nullptr), com::S_FALSE);  // no type information
  sink->Detach();
  EXPECT_EQ(sink->Invoke(1, com::DISPATCH_METHOD, none, nullptr), com::S_FALSE);
}

}  // namespace
