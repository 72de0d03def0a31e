#include "script/stdlib/text_format.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/rt/exception.h"
#include "platform/rt/numtext.h"
#include "platform/rt/utf8.h"
#include "script/core/error_table.h"
#include "script/stdlib/number_format.h"

namespace stdlib {

namespace {

// Widths and precisions above this are refused: a pattern must not ask for gigabytes of blanks.
constexpr int64_t kMaxWidth = 65536;
constexpr int kMaxDigits = 18;

[[noreturn]] void InvalidFormat(std::string_view pattern) {
  throw rt::EConvertError(engine::ErrorMessage(engine::jeFormatInvalid, {pattern}));
}

[[noreturn]] void MissingArgument(std::string_view pattern) {
  throw rt::EConvertError(engine::ErrorMessage(engine::jeFormatNoArgument, {pattern}));
}

// Integer digits with a separator between groups of three.
std::string Grouped(std::string_view digits) {
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += kThousandSeparator;
    out += digits[i];
  }
  return out;
}

// The integer digits ("0" for none) and exactly `decimals` fraction digits of a value rounded
// half away from zero, keeping at most `maxSignificant` significant digits. False when the value
// has more integer digits than that (the caller writes it in the general format instead).
bool FixedParts(double value, int maxSignificant, int decimals, bool& negative, std::string& whole,
                std::string& fraction) {
  TFloatDigits d = FloatDigits(value, maxSignificant, decimals);
  if (d.exponent > maxSignificant) return false;
  negative = d.negative;
  whole.clear();
  fraction.clear();
  if (d.exponent > 0) {
    whole.assign(d.digits, 0, std::min<size_t>(d.digits.size(), size_t(d.exponent)));
    whole.resize(size_t(d.exponent), '0');
  } else {
    whole = "0";
  }
  if (d.exponent < 0) fraction.assign(size_t(-d.exponent), '0');
  if (int(d.digits.size()) > std::max(d.exponent, 0)) fraction.append(d.digits, size_t(std::max(d.exponent, 0)));
  fraction.resize(size_t(decimals), '0');
  return true;
}

std::string FixedText(double value, int decimals, bool grouped) {
  bool negative;
  std::string whole, fraction;
  if (!FixedParts(value, kMaxDigits, decimals, negative, whole, fraction)) return rt::FloatToStrGeneral(value, 15);
  std::string out = negative ? "-" : "";
  out += grouped ? Grouped(whole) : whole;
  if (decimals > 0) {
    out += kDecimalSeparator;
    out += fraction;
  }
  return out;
}

std::string CurrencyText(double value, int decimals) {
  bool negative;
  std::string whole, fraction;
  if (!FixedParts(value, kMaxDigits, decimals, negative, whole, fraction)) return rt::FloatToStrGeneral(value, 15);
  std::string amount = Grouped(whole);
  if (decimals > 0) {
    amount += kDecimalSeparator;
    amount += fraction;
  }
  return std::string(negative ? "-" : "") + kCurrencySymbol + amount;
}

// The directive reader of FormatText.
class Directives {
 public:
  Directives(std::string_view pattern, const std::vector<TFormatCell>& cells) : pattern_(pattern), cells_(cells) {}

  std::string Run() {
    std::string out;
    size_t i = 0;
    while (i < pattern_.size()) {
      size_t percent = pattern_.find('%', i);
      if (percent == std::string_view::npos) {
        out.append(pattern_, i);
        break;
      }
      out.append(pattern_, i, percent - i);
      pos_ = percent + 1;
      if (Peek() == '%') {
        out += '%';
        i = pos_ + 1;
        continue;
      }
      out += Directive();
      i = pos_;
    }
    return out;
  }

 private:
  char Peek() const { return pos_ < pattern_.size() ? pattern_[pos_] : '\0'; }

  const TFormatCell& Next() {
    if (next_ >= cells_.size()) MissingArgument(pattern_);
    return cells_[next_++];
  }

  // Digits or "*"; -1 when neither is there.
  int64_t Number() {
    if (Peek() == '*') {
      ++pos_;
      const TFormatCell& cell = Next();
      if (cell.kind != TFormatCell::Integer) InvalidFormat(pattern_);
      return cell.integer;
    }
    if (Peek() < '0' || Peek() > '9') return -1;
    int64_t n = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      n = n * 10 + (Peek() - '0');
      if (n > kMaxWidth) InvalidFormat(pattern_);
      ++pos_;
    }
    return n;
  }

  std::string Directive() {
    int64_t n = Number();
    if (Peek() == ':') {
      ++pos_;
      if (n < 0) InvalidFormat(pattern_);
      next_ = size_t(n);
      n = -1;
    }
    bool left = false;
    if (n < 0 && Peek() == '-') {
      left = true;
      ++pos_;
    }
    int64_t width = n >= 0 ? n : Number();
    int64_t precision = -1;
    if (Peek() == '.') {
      ++pos_;
      precision = Number();
      if (precision < 0) precision = 0;
    }
    if (width > kMaxWidth || precision > kMaxWidth) InvalidFormat(pattern_);
    if (pos_ >= pattern_.size()) InvalidFormat(pattern_);
    char type = rt::asciiUpper(pattern_[pos_++]);
    std::string text = Convert(type, int(precision));
    size_t length = rt::utf8::charCount(text);
    if (width > 0 && size_t(width) > length) {
      std::string pad(size_t(width) - length, ' ');
      text = left ? text + pad : pad + text;
    }
    return text;
  }

  std::string Convert(char type, int precision) {
    switch (type) {
      case 'D': case 'U': case 'X': {
        const TFormatCell& cell = Next();
        if (cell.kind != TFormatCell::Integer) InvalidFormat(pattern_);
        bool negative = false;
        std::string digits;
        if (type == 'D') {
          negative = cell.integer < 0;
          digits = std::to_string(negative ? -int64_t(cell.integer) : int64_t(cell.integer));
        } else if (type == 'U') {
          digits = std::to_string(uint32_t(cell.integer));
        } else {
          digits = rt::IntToHex(uint32_t(cell.integer), 1);
        }
        if (precision > int(digits.size())) digits.insert(0, size_t(precision) - digits.size(), '0');
        return negative ? "-" + digits : digits;
      }
      case 'E': case 'F': case 'G': case 'N': case 'M': {
        const TFormatCell& cell = Next();
        if (cell.kind != TFormatCell::Float) InvalidFormat(pattern_);
        double v = cell.number;
        if (!std::isfinite(v)) return rt::FloatToStr(v);
        switch (type) {
          case 'E': return FormatExponent(v, precision < 0 || precision > kMaxDigits ? 15 : std::max(precision, 1), 3);
          case 'F': return FixedText(v, precision < 0 ? 2 : std::min(precision, kMaxDigits), false);
          case 'G': return rt::FloatToStrGeneral(v, precision < 0 || precision > kMaxDigits ? 15 : std::max(precision, 1));
          case 'N': return FixedText(v, precision < 0 ? 2 : std::min(precision, kMaxDigits), true);
          default: return CurrencyText(v, precision < 0 ? kCurrencyDecimals : std::min(precision, kMaxDigits));
        }
      }
      case 'S': {
        const TFormatCell& cell = Next();
        if (cell.kind != TFormatCell::Text) InvalidFormat(pattern_);
        if (precision >= 0) return std::string(rt::utf8::substr(cell.text, 0, size_t(precision)));
        return cell.text;
      }
      default:
        InvalidFormat(pattern_);
    }
  }

  std::string_view pattern_;
  const std::vector<TFormatCell>& cells_;
  size_t pos_ = 0;
  size_t next_ = 0;
};

// --- float patterns ---

// The sections of a float pattern, split at semicolons outside quotes.
std::vector<std::string_view> Sections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
      if (sections.size() == 2) break;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

// What one section asks for.
struct Layout {
  int wholePlaces = 0;     // placeholders before the point
  int wholeZeros = 0;      // of them, from the first "0" on
  int decimals = 0;        // placeholders after the point
  int decimalZeros = 0;    // up to the last "0" after the point
  bool grouped = false;
  bool scientific = false;
  size_t exponentAt = std::string_view::npos;  // where "E+" or the like starts
  int exponentDigits = 0;
  bool exponentSign = false;                   // "+" form: the sign always shows
};

bool IsExponentAt(std::string_view s, size_t i, int& zeros) {
  if (i + 2 >= s.size() + 0 || (s[i] != 'E' && s[i] != 'e') || (s[i + 1] != '+' && s[i + 1] != '-')) return false;
  zeros = 0;
  for (size_t j = i + 2; j < s.size() && s[j] == '0' && zeros < 4; ++j) ++zeros;
  return zeros > 0;
}

Layout Analyse(std::string_view s) {
  Layout l;
  bool afterPoint = false;
  char quote = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    int zeros;
    switch (c) {
      case '"': case '\'': quote = c; break;
      case '.': afterPoint = true; break;
      case ',': if (!afterPoint) l.grouped = true; break;
      case '0': case '#':
        if (afterPoint) {
          ++l.decimals;
          if (c == '0') l.decimalZeros = l.decimals;
        } else {
          ++l.wholePlaces;
          if (c == '0' && l.wholeZeros == 0) l.wholeZeros = 1;
          else if (l.wholeZeros > 0) ++l.wholeZeros;
        }
        break;
      case 'E': case 'e':
        if (IsExponentAt(s, i, zeros)) {
          l.scientific = true;
          l.exponentAt = i;
          l.exponentDigits = zeros;
          l.exponentSign = s[i + 1] == '+';
          return l;
        }
        break;
      default: break;
    }
  }
  return l;
}

// Writes the section with the number's whole digits (without leading zeros, "" for none), its
// fraction digits (already cut to what is shown) and the exponent text (scientific sections).
std::string Render(std::string_view s, const Layout& l, std::string whole, const std::string& fraction,
                   const std::string& exponent) {
  if (int(whole.size()) < l.wholeZeros) whole.insert(0, size_t(l.wholeZeros) - whole.size(), '0');
  std::string out;
  int wholeSeen = 0;
  int decimalSeen = 0;
  bool afterPoint = false;
  char quote = 0;
  auto emitWhole = [&](size_t index) {  // digit `index` of `whole`, with the group separator after it
    out += whole[index];
    size_t fromRight = whole.size() - 1 - index;
    if (l.grouped && fromRight > 0 && fromRight % 3 == 0) out += kThousandSeparator;
  };
  size_t end = l.scientific ? l.exponentAt : s.size();
  for (size_t i = 0; i < end; ++i) {
    char c = s[i];
    if (quote) {
      if (c == quote) quote = 0; else out += c;
      continue;
    }
    switch (c) {
      case '"': case '\'': quote = c; break;
      case ',': if (afterPoint) out += c; break;
      case '.':
        if (!afterPoint) {
          afterPoint = true;
          if (!fraction.empty()) out += kDecimalSeparator;
        } else {
          out += c;
        }
        break;
      case '0': case '#':
        if (afterPoint) {
          if (size_t(decimalSeen) < fraction.size()) out += fraction[size_t(decimalSeen)];
          ++decimalSeen;
        } else {
          // The placeholder stands for the digit at this place from the right; the first one also
          // writes every digit beyond the placeholders.
          int place = l.wholePlaces - 1 - wholeSeen;
          if (wholeSeen == 0)
            for (size_t k = 0; int(whole.size()) - int(k) > place + 1; ++k) emitWhole(k);
          if (place < int(whole.size())) emitWhole(whole.size() - 1 - size_t(place));
          ++wholeSeen;
        }
        break;
      default: out += c; break;
    }
  }
  if (l.scientific) {
    out += exponent;
    quote = 0;  // what follows the exponent is copied, quoted texts without their quotes
    for (char c : s.substr(l.exponentAt + 2 + size_t(l.exponentDigits))) {
      if (quote) {
        if (c == quote) quote = 0; else out += c;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else {
        out += c;
      }
    }
  }
  return out;
}

// Cuts the optional trailing zeros of the fraction ("#" places) down to the "0" places.
std::string ShownFraction(std::string fraction, const Layout& l) {
  while (int(fraction.size()) > l.decimalZeros && fraction.back() == '0') fraction.pop_back();
  return fraction;
}

// The section written for a value of this size; `negative` tells whether a minus sign goes before
// it. Empty when the value rounds to zero in this section.
std::string FormatSection(std::string_view s, double value, bool& zero) {
  Layout l = Analyse(s);
  zero = false;
  if (l.scientific) {
    int places = std::max(l.wholePlaces, 1);
    TFloatDigits d = FloatDigits(value, std::min(places + l.decimals, kMaxDigits), INT_MAX / 2);
    std::string digits = d.digits;
    int exponent = digits.empty() ? 0 : d.exponent - places;
    zero = digits.empty();
    digits.resize(size_t(places + l.decimals), '0');
    std::string whole = digits.substr(0, size_t(places));
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    std::string fraction = ShownFraction(digits.substr(size_t(places)), l);
    std::string exp = std::string(1, s[l.exponentAt]);
    if (exponent < 0) exp += '-'; else if (l.exponentSign) exp += '+';
    std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
    if (int(e.size()) < l.exponentDigits) e.insert(0, size_t(l.exponentDigits) - e.size(), '0');
    return Render(s, l, whole, fraction, exp + e);
  }
  bool negative;
  std::string whole, fraction;
  if (!FixedParts(value, kMaxDigits, l.decimals, negative, whole, fraction)) return rt::FloatToStrGeneral(std::fabs(value), 15);
  zero = whole == "0" && fraction.find_first_not_of('0') == std::string::npos;
  if (whole == "0") whole.clear();
  return Render(s, l, whole, ShownFraction(fraction, l), "");
}

}  // namespace

std::string FormatText(std::string_view pattern, const std::vector<TFormatCell>& cells) {
  return Directives(pattern, cells).Run();
}

std::string FormatFloatPattern(std::string_view pattern, double value) {
  if (!std::isfinite(value)) return rt::FloatToStr(value);
  std::vector<std::string_view> sections = Sections(pattern);
  if (sections[0].empty()) return rt::FloatToStr(value);
  bool zero;
  std::string_view section = sections[0];
  bool useNegative = value < 0 && sections.size() > 1 && !sections[1].empty();
  if (useNegative) section = sections[1];
  std::string text = FormatSection(section, std::fabs(value), zero);
  if (zero) {
    // A value that shows as zero takes the zero section, or the first one without a sign.
    if (sections.size() > 2 && !sections[2].empty()) return FormatSection(sections[2], 0, zero);
    if (useNegative) return FormatSection(sections[0], 0, zero);
    return text;
  }
  return value < 0 && !useNegative ? "-" + text : text;
}

}  // namespace stdlib
