// The text form of the header objects: a first line (if any), then "name: value" and CR LF for
// every string member in member-table order, without the trailing line break.
#pragma once

#include <string>

namespace engine {
class TJObject;
}

namespace host {

std::string HeaderFieldsText(engine::TJObject& headers, std::string firstLine);

}  // namespace host
