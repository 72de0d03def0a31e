#include "game/title_menu.h"

#include "game/world.h"

namespace game {

void TitleMenu::Tick(uint8_t& enterLatch, TABitmap& image) {
  if (KeyDown(VK_RETURN)) {
    if (!enterLatch) {
      enterLatch = 1;
      if (MenuState == 0) ClickStart();
      else if (MenuState == 1) ClickSetting();
    }
  } else {
    enterLatch = 0;
  }
  if (KeyDown(VK_DOWN)) {
    MenuState = 1;
    ShowMusicBox(true);
  }
  if (KeyDown(VK_UP)) {
    MenuState = 0;
    ShowMusicBox(false);
  }
  for (int& glow : Glow)
    if (glow > 0) --glow;
  Draw(image);
}

void TitleMenu::Draw(TABitmap& image) {
  image.SetSize(kImageWidth, kImageHeight);
  image.FillColor(0, 0, 0);
  fw::TFont* font = image.Canvas()->Font();
  font->SetColor(fw::clWhite);
  font->SetSize(15);
  const bool startChosen = MenuState == 0;
  image.DrawSmoothText(10, 0, startChosen ? "=  Start  =" : "-  Start  -", *font);
  image.DrawSmoothText(10, 25, startChosen ? "- Setting -" : "= Setting =", *font);
  const int chosen = startChosen ? kStart : kSetting;
  if (Highlight[chosen] < 70) ++Highlight[chosen];
  if (Highlight[1 - chosen] > 0) --Highlight[1 - chosen];
  image.BlendRectColorMMX(0, 0, kImageWidth, 20, fw::clWhite, Highlight[kStart]);
  image.BlendRectColorMMX(0, 25, kImageWidth, 20, fw::clWhite, Highlight[kSetting]);
}

}  // namespace game
