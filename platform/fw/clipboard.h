// The clipboard: the framework's Clipboard object over a service the host installs. Without a
// window system (the console host, tests) a clipboard in memory stands in, private to the process.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/fw/object.h"

namespace fw {

// Clipboard formats the framework names.
inline constexpr uint16_t CF_TEXT = 1;
inline constexpr uint16_t CF_BITMAP = 2;

// Where the clipboard's content lives.
class IClipboardService {
 public:
  virtual ~IClipboardService() = default;
  // The clipboard holds text (possibly empty text).
  virtual bool HasText() = 0;
  // The text; empty when the clipboard holds no text.
  virtual std::string Text() = 0;
  // Replaces whatever the clipboard holds with the text.
  virtual void SetText(const std::string& text) = 0;
  // Empties the clipboard.
  virtual void Clear() = 0;
};

// A clipboard in memory: the default service, and the one tests install.
class TMemoryClipboard : public IClipboardService {
 public:
  bool HasText() override { return content_ == Content::Text; }
  std::string Text() override { return content_ == Content::Text ? text_ : std::string(); }
  void SetText(const std::string& text) override {
    content_ = Content::Text;
    text_ = text;
  }
  void Clear() override {
    content_ = Content::Empty;
    text_.clear();
  }
  // Stands for content that is no text (a picture another program copied).
  void SetOther() {
    content_ = Content::Other;
    text_.clear();
  }

 private:
  enum class Content { Empty, Text, Other };
  Content content_ = Content::Empty;
  std::string text_;
};

// The service the framework's clipboard uses; null restores the memory clipboard.
void SetClipboardService(std::shared_ptr<IClipboardService> service);
IClipboardService& ClipboardService();

class TClipboard : public TPersistent {
  RT_CLASS(TClipboard)
 public:
  // The clipboard's text; empty when it holds none.
  std::string AsText() const;
  void SetAsText(const std::string& text);
  // Only text is known to the framework's clipboard: CF_TEXT answers whether text is there;
  // other formats answer false.
  bool HasFormat(uint16_t format) const;
  void Clear();
};

// The one clipboard object of the process.
TClipboard* Clipboard();

}  // namespace fw
