// Conversion between the two forms of a component description: binary form data ("TPF0" ...) and
// form text ("object Form1: TForm1 ... end"). Both read from the source's current position.
#pragma once

#include <string>

#include "platform/fw/stream.h"

namespace fw {

// Text -> binary. Malformed text raises EParserError "<message> on line <n>".
void ObjectTextToBinary(TStream& input, TStream& output);
// Binary -> text (lines end with CR LF, two spaces of indent per level). Malformed data raises
// EReadError.
void ObjectBinaryToText(TStream& input, TStream& output);

std::string ObjectTextToBinary(const std::string& text);
std::string ObjectBinaryToText(const std::string& binary);

enum TStreamOriginalFormat { sofUnknown, sofBinary, sofText };
// sofBinary when the stream (from its current position) starts with the "TPF0" signature, sofText
// when it starts, after blanks, with "object", "inherited" or "inline"; the position is unchanged.
TStreamOriginalFormat TestStreamFormat(TStream& stream);

}  // namespace fw
