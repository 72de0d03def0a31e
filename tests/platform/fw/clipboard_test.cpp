#include "platform/fw/clipboard.h"

#include <gtest/gtest.h>

#include <memory>

namespace fw {
namespace {

TEST(Clipboard, TextOnlyWhileTheClipboardHoldsText) {
  auto memory = std::make_shared<TMemoryClipboard>();
  SetClipboardService(memory);
  TClipboard* cb = Clipboard();
  EXPECT_FALSE(cb->HasFormat(CF_TEXT));
  cb->SetAsText("日本語\r\nline 2");
  EXPECT_EQ(cb->AsText(), "日本語\r\nline 2");
  EXPECT_TRUE(cb->HasFormat(CF_TEXT));
  EXPECT_FALSE(cb->HasFormat(CF_BITMAP));
  cb->SetAsText("");  // empty text is still text
  EXPECT_TRUE(cb->HasFormat(CF_TEXT));
  memory->SetOther();  // another program copied a picture
  EXPECT_EQ(cb->AsText(), "");
  EXPECT_FALSE(cb->HasFormat(CF_TEXT));
  cb->SetAsText("x");
  cb->Clear();
  EXPECT_FALSE(cb->HasFormat(CF_TEXT));
  SetClipboardService(nullptr);
  EXPECT_EQ(cb->AsText(), "");  // a fresh memory clipboard
}

}  // namespace
}  // namespace fw
