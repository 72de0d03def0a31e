// The mail message parser on arbitrary text: header fields, folded lines, MIME header words,
// multipart bodies (nested ones too) and Base64 attachments. Every attachment it saves must lie in
// the attachment folder or be a temporary file of its own; the header words must decode without
// harm; a message built from the parsed fields must parse again.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "net/mail_clients.h"
#include "net/mail_message.h"
#include "support/jconvert.h"

namespace fs = std::filesystem;

namespace {

// A folder of its own, removed when the run ends.
struct Folder {
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "mail-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) abort();
    path = pattern + "/";
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  std::string path;
};

const std::string& AttachFolder() {
  static const Folder folder;
  return folder.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  std::string raw(reinterpret_cast<const char*>(data), size);
  net::TMailMessage message;
  message.AttachFolder = AttachFolder();
  message.Parse(raw);
  for (const std::string& path : message.Attachments) {
    bool inFolder = path.compare(0, AttachFolder().size(), AttachFolder()) == 0 &&
                    path.find('/', AttachFolder().size()) == std::string::npos;
    bool temporary = fs::path(path).filename().string().rfind("gpop3", 0) == 0;
    if (!inFolder && !temporary) abort();
    if (path.find("/../") != std::string::npos) abort();
    fs::remove(path);
  }
  message.Headers.ForEach([](const auto& item) { support::DecodeMimeHeader(item.Value); });
  support::DecodeMimeHeader(raw.substr(0, 4096));
  try {
    net::MailAddresses(message.GetHeader("To"));
  } catch (const net::ELocalError&) {
  }

  // Building from what was parsed never puts a line break inside a header line.
  message.Attachments.clear();
  std::string built;
  try {
    message.Build(built);
  } catch (const net::ELocalError&) {
    return 0;  // a field name unfit for a line
  }
  net::TMailMessage again;
  again.AttachFolder = AttachFolder();
  again.Parse(built);
  if (again.Headers.Count() < message.Headers.Count()) abort();
  return 0;
}
