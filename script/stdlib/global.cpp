#include "script/stdlib/global.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/rt/utf8.h"
#include "script/stdlib/global_natives.h"

namespace stdlib {

using namespace engine;

const rt::ClassInfo& TJGlobalObject::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJGlobalObject>("TJGlobalObject", &TJGlobalBase::StaticClassInfo())
          .property("arguments", &TJGlobalObject::ArgumentsProperty)
          .property("applicationHandle", &TJGlobalObject::ApplicationHandleProperty)
          .property("mainFormHandle", &TJGlobalObject::MainFormHandleProperty)
          .property("terminated", &TJGlobalObject::TerminatedProperty)
          .property("platform", &TJGlobalObject::PlatformProperty)
          .property("finalizer", &TJGlobalObject::FinalizerProperty)
          .build();
  return info;
}

TJGlobalObject::TJGlobalObject(TJBaseEngine* engine, TJValueList* param) : TJGlobalBase(engine, param) {}

void TJGlobalObject::RegistMethods() {
  TJGlobalBase::RegistMethods();
  Regist<DoEscape>("escape");
  Regist<DoUnescape>("unescape");
  Regist<DoEval>("eval");
  Regist<DoIsFinite>("isFinite");
  Regist<DoIsNaN>("isNaN");
  Regist<DoParseFloat>("parseFloat");
  Regist<DoParseInt>("parseInt");
  Regist<DoPrint>("print");
  Regist<DoPrintln>("println");
  Regist<DoPrint>("write");
  Regist<DoPrintln>("writeln");
  Regist<DoAlert>("alert");
  Regist<DoPrompt>("prompt");
  Regist<DoConfirm>("confirm");
  Regist<DoTextArea>("textArea");
  Regist<DoExit>("exit");
  Regist<DoMsgBox>("msgBox");
  Regist<DoScriptEngine>("scriptEngine");
  Regist<DoBuildVersion>("scriptEngineBuildVersion");
  Regist<DoMajorVersion>("scriptEngineMajorVersion");
  Regist<DoMinorVersion>("scriptEngineMinorVersion");
  Regist<DoRead>("read");
  Regist<DoReadln>("readln");
  Regist<DoVersion>("scriptEngineVersion");
  Regist<DoIsConsole>("isConsole");
  Regist<DoDecodeURI>("decodeURI");
  Regist<DoDecodeURIComponent>("decodeURIComponent");
  Regist<DoEncodeURI>("encodeURI");
  Regist<DoEncodeURIComponent>("encodeURIComponent");
  Regist<DoFormat>("format");
  Regist<DoFormatFloat>("formatFloat");
  Regist<DoFormat>("sprintf");
  Regist<DoEventLoop>("eventLoop");
  Regist<DoTerminate>("terminate");
  Regist<DoPrintf>("printf");
  Regist<DoPrintfln>("printfln");
  Regist<DoDoEvents>("doEvents");
  Regist<DoSleep>("sleep");
  Regist<DoIsNull>("isNull");
  Regist<DoIsUndefined>("isUndefined");
  Regist<DoNameOf>("nameOf");
}

bool& ConsoleApplication() {
  static bool console = false;
  return console;
}

namespace {

// Where a name falls in the filter: its hash without regard to case (published names match
// without it).
uint32_t FilterBit(std::string_view name) {
  uint32_t h = 2166136261u;
  for (char c : name) h = (h ^ uint8_t(rt::asciiLower(c))) * 16777619u;
  return h & 1023u;
}

}  // namespace

void TJGlobalObject::Mark(std::string_view name) {
  uint32_t bit = FilterBit(name);
  filter_[bit / 64] |= uint64_t(1) << (bit % 64);
}

bool TJGlobalObject::MayHold(std::string_view name) const {
  uint32_t bit = FilterBit(name);
  return (filter_[bit / 64] >> (bit % 64)) & 1u;
}

bool TJGlobalObject::HasKey(std::string_view name) {
  if (!filterBuilt_) {
    std::vector<std::string> names;
    GetMemberNames(names, 0, 0);
    for (const std::string& n : names) Mark(n);
    for (const std::string& n : PublishedNames()) Mark(n);
    filterBuilt_ = true;
  }
  return MayHold(name) && TJGlobalBase::HasKey(name);
}

void TJGlobalObject::PutMember(std::string_view name, const TJValue& value, bool bracketAccess, TJValueList* param) {
  Mark(name);
  TJGlobalBase::PutMember(name, value, bracketAccess, param);
}

void TJGlobalObject::Clear() {
  TJGlobalBase::Clear();
  std::fill(std::begin(filter_), std::end(filter_), 0);
  filterBuilt_ = false;
}

// None of the platform names the system knows ("win32s", "windows", "nt") describes this one.
std::string TJGlobalObject::PlatformProperty() const { return "unknown"; }

std::function<uint32_t()>& ApplicationHandleSource() {
  static std::function<uint32_t()> source;
  return source;
}

std::function<uint32_t()>& MainFormHandleSource() {
  static std::function<uint32_t()> source;
  return source;
}

uint32_t TJGlobalObject::ApplicationHandleProperty() const {
  return ApplicationHandleSource() ? ApplicationHandleSource()() : 0;
}

uint32_t TJGlobalObject::MainFormHandleProperty() const {
  return MainFormHandleSource() ? MainFormHandleSource()() : 0;
}

}  // namespace stdlib
