// TMailMessage: one mail message as header fields, body text and attachment files. Parse takes a
// received message apart (text parts into Body, Base64 parts saved as files in AttachFolder); Build
// writes the message to send (a multipart/mixed message with Base64 attachments when there are
// files to attach). Texts are bytes: converting Japanese text to and from ISO-2022-JP is the
// caller's business.
//
// What arrives from a mail server is untrusted: an attachment's file name is cut down to a plain
// name of its own inside AttachFolder (shortened when too long for a file, keeping its extension)
// and never replaces an existing file. No attachment is dropped in silence: one that cannot be
// saved makes Parse raise ELocalError once the rest of the message is read. What goes out carries
// no line break inside a header line, and Base64 lines of 76 characters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/hash_table.h"

namespace net {

class TMailMessage {
 public:
  TMailMessage();
  TMailMessage(const TMailMessage&) = delete;
  TMailMessage& operator=(const TMailMessage&) = delete;

  // Full paths of the attachment files: the saved ones after Parse, the ones to send before Build.
  std::vector<std::string> Attachments;
  // Header name -> value, 13 buckets, letter case ignored.
  support::TStringHashTable Headers{13, true};
  std::vector<std::string> HeaderLines;
  // The message number on the server (GetSummary sets it), 0 otherwise.
  int32_t Number = 0;
  int32_t Size = 0;
  std::vector<std::string> BodyLines;
  std::string Body;
  // 42 random letters.
  std::string Boundary;
  // Where Parse writes the attachments.
  std::string AttachFolder;

  // Everything emptied, a new boundary.
  void Clear();
  // The value, empty when absent.
  std::string GetHeader(const std::string& name) const;
  void Assign(const TMailMessage& other);
  // ELocalError when an attachment could not be saved (those that could are saved and listed).
  void Parse(const std::string& raw);
  // Raises ELocalError when an attachment cannot be read or a header name is not fit for a line.
  void Build(std::string& raw);

  // Header lines and body lines as text, CR LF after each line.
  std::string HeaderText() const;
  std::string BodyText() const;
};

// A received attachment name as a plain file name: the last component of the path, without control
// characters and leading dots; empty when nothing usable is left.
std::string SafeAttachmentName(const std::string& name);

// The text of a header parameter ("boundary", "name", "filename"): quoted or not; empty when absent.
std::string HeaderParameter(const std::string& value, const std::string& parameter);

// The lines of a text; CR LF, LF and CR all end a line, and a final line without an end counts.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace net
