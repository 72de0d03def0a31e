// Colours: 0x00BBGGRR for plain colours (red in the low byte), 0xFF0000nn for the system colour
// with index nn, clNone and clDefault for "no colour" and "the control's default".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rt/typeinfo.h"

namespace fw {

using TColor = int32_t;

inline constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) { return TColor(r | (g << 8) | (uint32_t(b) << 16)); }
inline constexpr uint8_t GetRValue(uint32_t c) { return uint8_t(c); }
inline constexpr uint8_t GetGValue(uint32_t c) { return uint8_t(c >> 8); }
inline constexpr uint8_t GetBValue(uint32_t c) { return uint8_t(c >> 16); }

inline constexpr TColor clSystemColor = TColor(0xFF000000);
inline constexpr TColor SystemColor(int index) { return TColor(0xFF000000u | uint32_t(index)); }

inline constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                        clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                        clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                        clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clLtGray = 0xC0C0C0,
                        clDkGray = 0x808080, clWhite = 0xFFFFFF, clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6,
                        clCream = 0xF0FBFF, clMedGray = 0xA4A0A0, clNone = 0x1FFFFFFF, clDefault = 0x20000000;

inline constexpr TColor clScrollBar = SystemColor(0), clBackground = SystemColor(1),
                        clActiveCaption = SystemColor(2), clInactiveCaption = SystemColor(3),
                        clMenu = SystemColor(4), clWindow = SystemColor(5), clWindowFrame = SystemColor(6),
                        clMenuText = SystemColor(7), clWindowText = SystemColor(8), clCaptionText = SystemColor(9),
                        clActiveBorder = SystemColor(10), clInactiveBorder = SystemColor(11),
                        clAppWorkSpace = SystemColor(12), clHighlight = SystemColor(13),
                        clHighlightText = SystemColor(14), clBtnFace = SystemColor(15),
                        clBtnShadow = SystemColor(16), clGrayText = SystemColor(17), clBtnText = SystemColor(18),
                        clInactiveCaptionText = SystemColor(19), clBtnHighlight = SystemColor(20),
                        cl3DDkShadow = SystemColor(21), cl3DLight = SystemColor(22), clInfoText = SystemColor(23),
                        clInfoBk = SystemColor(24), clHotLight = SystemColor(26),
                        clGradientActiveCaption = SystemColor(27), clGradientInactiveCaption = SystemColor(28),
                        clMenuHighlight = SystemColor(29), clMenuBar = SystemColor(30);

// The RGB value of a system colour (a fixed palette); other colours unchanged. clNone and clDefault
// give white and black.
uint32_t GetSysColor(int index);
uint32_t ColorToRGB(TColor color);

// The identifier names of colours for form text ("clBtnFace").
const rt::IdentMap& ColorIdents();
// "clRed", or "$00BBGGRR" for colours without a name.
std::string ColorToString(TColor color);
// A colour name or a number; raises EConvertError otherwise.
TColor StringToColor(std::string_view text);

}  // namespace fw
