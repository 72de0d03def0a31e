// The HTTP object's `requestHeader`: an ordinary object whose string members are the header
// fields sent with every request (a script writes `http.requestHeader["User-Agent"] = "x"`). A
// member that holds anything but a string is not sent. Not a constructor name.
#pragma once

#include <string>
#include <vector>

#include "script/core/object.h"
#include "script/core/value.h"

namespace host {

class TJRequestObject : public engine::TJObject {
  RT_CLASS(TJRequestObject)
 public:
  TJRequestObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  // The names of the members that hold strings, in member-table order.
  void GetHeaderNames(std::vector<std::string>& names);

  void GetPropertyList(std::vector<std::string>& names) override;
  // "Name: value" lines joined by CR LF.
  std::string ToString(const engine::TJValue* argument) override;
};

}  // namespace host
