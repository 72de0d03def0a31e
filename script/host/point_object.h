// The script value of a point ("Point"): `x`, `y`, and `point`, its text "{x:1,y:2}", which can be
// written back. Scripts cannot make one with `new`; the GUI bridge hands them out:
//
//   engine::TJValue v;
//   v.SetObject(host::NewPoint(engine, fw::Point(10, 20)));
//
// and reads one a script passes in with ToPoint.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/fw/types.h"
#include "script/core/object.h"

namespace host {

class TJPoint : public engine::TJObject {
  RT_CLASS(TJPoint)
 public:
  TJPoint(engine::TJBaseEngine* engine, engine::TJValueList* param);

  int32_t X() const { return x_; }
  void SetX(int32_t x) { x_ = x; }
  int32_t Y() const { return y_; }
  void SetY(int32_t y) { y_ = y; }
  // "{x:%d,y:%d}".
  std::string PointText() const;
  // Takes x and y from the first "{x:N,y:N}" in the text (blanks removed, case ignored; N may have
  // a minus sign); a text without one changes nothing.
  void SetPointText(std::string text);

  void FromPoint(const fw::TPoint& p) { x_ = p.X; y_ = p.Y; }
  fw::TPoint ToPoint() const { return {x_, y_}; }

  std::string ToString(const engine::TJValue* argument) override { return PointText(); }

 private:
  int32_t x_ = 0;
  int32_t y_ = 0;
};

TJPoint* NewPoint(engine::TJBaseEngine* engine, const fw::TPoint& p);

// Reads "{name1:N,name2:N,...}" from `text` as the `point` and `rect` properties do: blanks are
// removed, names match ignoring case, the first such group anywhere counts. False when there is
// none; a number that does not fit 32 bits reads as 0.
bool ReadCoordinateText(std::string text, std::initializer_list<const char*> names, int32_t* values);

}  // namespace host
