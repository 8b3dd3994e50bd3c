// TDataTable: the checksum texts of the structure (names, attributes,
// scales, identifiers, comment) and of the cell states.
#include <cstdint>
#include <string_view>

#include "linalg/component.h"
#include "orvcalckit/ORV_datatable.h"

namespace orv {

namespace {

using TCRC = detail::TLaneCRC<8>;

// Calls Emit with each UTF-16 code unit of the UTF-8 text S. A byte that
// starts no valid sequence (stray, truncated, overlong, a surrogate, beyond
// U+10FFFF) gives U+FFFD, and decoding goes on at the next byte.
template <class F>
void ForEachUtf16Unit(std::string_view S, F&& Emit) {
  std::size_t I = 0;
  while (I < S.size()) {
    const auto B = static_cast<unsigned char>(S[I]);
    std::size_t Len = 0;
    uint32_t Cp = 0;
    if (B < 0x80) {
      Len = 1;
      Cp = B;
    } else if (B >= 0xC2 && B <= 0xDF) {
      Len = 2;
      Cp = B & 0x1Fu;
    } else if (B >= 0xE0 && B <= 0xEF) {
      Len = 3;
      Cp = B & 0x0Fu;
    } else if (B >= 0xF0 && B <= 0xF4) {
      Len = 4;
      Cp = B & 0x07u;
    }
    bool Valid = Len > 0 && I + Len <= S.size();
    for (std::size_t K = 1; Valid && K < Len; ++K) {
      const auto C = static_cast<unsigned char>(S[I + K]);
      Valid = (C & 0xC0) == 0x80;
      Cp = (Cp << 6) | (C & 0x3Fu);
    }
    if (Valid && Len == 3) Valid = Cp >= 0x800 && (Cp < 0xD800 || Cp > 0xDFFF);
    if (Valid && Len == 4) Valid = Cp >= 0x10000 && Cp <= 0x10FFFF;
    if (!Valid) {
      Emit(uint16_t{0xFFFD});
      ++I;
      continue;
    }
    if (Cp >= 0x10000) {
      Emit(static_cast<uint16_t>(0xD800 + ((Cp - 0x10000) >> 10)));
      Emit(static_cast<uint16_t>(0xDC00 + ((Cp - 0x10000) & 0x3FF)));
    } else {
      Emit(static_cast<uint16_t>(Cp));
    }
    I += Len;
  }
}

// The bytes of a text at positions 1, 2, ...
void AddText(TCRC& CRC, std::string_view S) {
  for (std::size_t J = 0; J < S.size(); ++J) CRC.AddByte(static_cast<int64_t>(J) + 1, static_cast<uint8_t>(S[J]));
}

// The low byte of each attribute, at positions 1, 2, ...
void AddLowBytes(TCRC& CRC, const TIntArray& Att) {
  for (std::size_t I = 0; I < Att.size(); ++I) CRC.AddByte(static_cast<int64_t>(I) + 1, static_cast<uint8_t>(Att[I]));
}

}  // namespace

std::string TDataTable::CRCofNamesAndAttributes() const {
  TCRC CRC;
  int64_t Unit = 0;
  ForEachUtf16Unit(FComment, [&](uint16_t U) { CRC.AddByte(++Unit, static_cast<uint8_t>(U)); });
  for (const TDTNameStr& N : FColName) AddText(CRC, N);
  AddLowBytes(CRC, FColAtt);
  for (const TDTNameStr& N : FRowName) AddText(CRC, N);
  AddLowBytes(CRC, FRowAtt);
  for (std::size_t C = 0; C < FVType.size(); ++C) CRC.AddByte(static_cast<int64_t>(C) + 1, FVType[C].MScaleType);
  for (const TVTypeSpec& V : FVType)
    for (const TNominalIDStr& ID : V.IDs) AddText(CRC, ID);
  return CRC.Text();
}

std::string TDataTable::CRCofCellStates() const {
  TCRC CRC;
  for (const auto& Col : FCState)
    for (std::size_t R = 0; R < Col.size(); ++R) CRC.AddByte(static_cast<int64_t>(R) + 1, Col[R]);
  return CRC.Text();
}

}  // namespace orv
