#include "platform/fw/colors.h"

#include "platform/fw/errors.h"
#include "platform/rt/numtext.h"

namespace fw {

uint32_t GetSysColor(int index) {
  static const uint32_t table[31] = {
      RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
      RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
      RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
      RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
      RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
      RGB(0, 0, 0),       RGB(0, 0, 128),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(49, 106, 197),
      RGB(236, 233, 216)};
  return index >= 0 && index < 31 ? table[index] : 0;
}

uint32_t ColorToRGB(TColor color) {
  if (color == clNone) return 0xFFFFFF;
  if (color == clDefault) return 0;
  if (color < 0) return GetSysColor(color & 0xFF);
  return uint32_t(color) & 0xFFFFFF;
}

const rt::IdentMap& ColorIdents() {
  static const rt::IdentMap m(
      "TColor",
      {{"clBlack", clBlack},
       {"clMaroon", clMaroon},
       {"clGreen", clGreen},
       {"clOlive", clOlive},
       {"clNavy", clNavy},
       {"clPurple", clPurple},
       {"clTeal", clTeal},
       {"clGray", clGray},
       {"clSilver", clSilver},
       {"clRed", clRed},
       {"clLime", clLime},
       {"clYellow", clYellow},
       {"clBlue", clBlue},
       {"clFuchsia", clFuchsia},
       {"clAqua", clAqua},
       {"clWhite", clWhite},
       {"clMoneyGreen", clMoneyGreen},
       {"clSkyBlue", clSkyBlue},
       {"clCream", clCream},
       {"clMedGray", clMedGray},
       {"clActiveBorder", clActiveBorder},
       {"clActiveCaption", clActiveCaption},
       {"clAppWorkSpace", clAppWorkSpace},
       {"clBackground", clBackground},
       {"clBtnFace", clBtnFace},
       {"clBtnHighlight", clBtnHighlight},
       {"clBtnShadow", clBtnShadow},
       {"clBtnText", clBtnText},
       {"clCaptionText", clCaptionText},
       {"clDefault", clDefault},
       {"clGradientActiveCaption", clGradientActiveCaption},
       {"clGradientInactiveCaption", clGradientInactiveCaption},
       {"clGrayText", clGrayText},
       {"clHighlight", clHighlight},
       {"clHighlightText", clHighlightText},
       {"clHotLight", clHotLight},
       {"clInactiveBorder", clInactiveBorder},
       {"clInactiveCaption", clInactiveCaption},
       {"clInactiveCaptionText", clInactiveCaptionText},
       {"clInfoBk", clInfoBk},
       {"clInfoText", clInfoText},
       {"clMenu", clMenu},
       {"clMenuBar", clMenuBar},
       {"clMenuHighlight", clMenuHighlight},
       {"clMenuText", clMenuText},
       {"clNone", clNone},
       {"clScrollBar", clScrollBar},
       {"cl3DDkShadow", cl3DDkShadow},
       {"cl3DLight", cl3DLight},
       {"clWindow", clWindow},
       {"clWindowFrame", clWindowFrame},
       {"clWindowText", clWindowText}});
  return m;
}

std::string ColorToString(TColor color) {
  if (const std::string* name = ColorIdents().intToIdent(color)) return *name;
  return "$" + rt::IntToHex(uint32_t(color), 8);
}

TColor StringToColor(std::string_view text) {
  int32_t v;
  if (ColorIdents().identToInt(text, v)) return v;
  if (rt::TryStrToInt(text, v)) return v;
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace fw
