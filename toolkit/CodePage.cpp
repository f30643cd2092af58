#include "toolkit/CodePage.h"

#include <QString>

namespace {
// 0x80..0x9F; the five unassigned codes map to the C1 control of the same number.
constexpr char16_t High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                               0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

QChar Cp1252Char(unsigned char Code) { return Code >= 0x80 && Code < 0xA0 ? QChar(High[Code - 0x80]) : QChar(Code); }

bool IsValidUtf8(std::string_view Bytes) {
  size_t I = 0;
  while (I < Bytes.size()) {
    const auto B = static_cast<unsigned char>(Bytes[I]);
    int More = B < 0x80 ? 0 : (B >> 5) == 0x6 ? 1 : (B >> 4) == 0xE ? 2 : (B >> 3) == 0x1E ? 3 : -1;
    if (More < 0 || (More == 1 && B < 0xC2) || (More > 0 && I + More >= Bytes.size())) return false;
    uint32_t Code = More == 0 ? B : B & (0x3F >> More);
    for (int K = 1; K <= More; ++K) {
      const auto C = static_cast<unsigned char>(Bytes[I + K]);
      if ((C & 0xC0) != 0x80) return false;
      Code = (Code << 6) | (C & 0x3F);
    }
    if ((More == 2 && (Code < 0x800 || (Code >= 0xD800 && Code <= 0xDFFF))) || (More == 3 && (Code < 0x10000 || Code > 0x10FFFF)))
      return false;
    I += More + 1;
  }
  return true;
}

std::string Cp1252ToUtf8(std::string_view Bytes) {
  QString Text;
  Text.reserve(static_cast<qsizetype>(Bytes.size()));
  for (char C : Bytes) Text.append(Cp1252Char(static_cast<unsigned char>(C)));
  return Text.toStdString();
}

std::string ToUtf8(std::string_view Bytes) { return IsValidUtf8(Bytes) ? std::string(Bytes) : Cp1252ToUtf8(Bytes); }
