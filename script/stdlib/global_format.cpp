// The global functions format, sprintf, printf, printfln and formatFloat.
#include "platform/rt/exception.h"
#include "script/core/error_table.h"
#include "script/core/exceptions.h"
#include "script/stdlib/global_natives.h"
#include "script/stdlib/text_format.h"

namespace stdlib {

using namespace engine;

namespace {

// The formatted text of the arguments; false without any.
bool Formatted(TJValueList* args, std::string& text) {
  if (!IsParam1(args)) return false;
  std::vector<TFormatCell> cells;
  for (int32_t i = 1; i < ArgCount(args); ++i) {
    const TJValue& v = (*args)[i];
    TFormatCell cell;
    switch (v.ValueType()) {
      case vtInteger:
        cell.kind = TFormatCell::Integer;
        cell.integer = v.vInteger();
        break;
      case vtDouble:
        cell.kind = TFormatCell::Float;
        cell.number = v.vDouble();
        break;
      default:
        cell.kind = TFormatCell::Text;
        cell.text = AsString(&v);
        break;
    }
    cells.push_back(std::move(cell));
  }
  try {
    text = FormatText(AsString(&(*args)[0]), cells);
  } catch (const rt::EConvertError& e) {
    ThrowError(jeConvert, {e.message()});
  }
  return true;
}

}  // namespace

// format(pattern, values...) and sprintf: the formatted text; undefined without arguments.
void DoFormat(TJGlobalObject&, TJValueList* args, TJValue& result) {
  std::string text;
  if (Formatted(args, text))
    result.SetString(text);
  else
    result.Clear();
}

// printf(pattern, values...): prints the formatted text and answers it.
void DoPrintf(TJGlobalObject& self, TJValueList* args, TJValue& result) {
  std::string text;
  if (!Formatted(args, text)) {
    result.Clear();
    return;
  }
  self.Print(text);
  result.SetString(text);
}

// printfln(pattern, values...): the same on a line of its own.
void DoPrintfln(TJGlobalObject& self, TJValueList* args, TJValue& result) {
  std::string text;
  if (!Formatted(args, text)) {
    result.Clear();
    return;
  }
  self.PrintLine(text);
  result.SetString(text);
}

// formatFloat(pattern, number): the number written by the float pattern.
void DoFormatFloat(TJGlobalObject&, TJValueList* args, TJValue& result) {
  if (!IsParam2(args)) {
    result.Clear();
    return;
  }
  try {
    result.SetString(FormatFloatPattern(AsString(&(*args)[0]), AsDouble(&(*args)[1])));
  } catch (const rt::EConvertError& e) {
    ThrowError(jeConvert, {e.message()});
  }
}

}  // namespace stdlib
