// The XML step of the matrix components (ProcessXmlTag), written once for
// every component of ORV_matrix: TMatrix, TIntMatrix and TMat3D, and the 4-D
// array on the same rules. Internal.
//
// A reader walks an XML text tag by tag and hands each recognised tag to the
// component's ProcessXmlTag, after setting FirstCell before the tags of one
// matrix. The rules of the announced counts, which keep counts and storage in
// agreement after every call:
// - A count tag records its count aside (ParseIntegerAt of the content),
//   whatever FirstCell is, so a reader may set FirstCell at any point before
//   the first cell; the component's counts do not change. A later tag of the
//   same axis replaces it. A count after the first cell waits for the next
//   cell that finds FirstCell set (xmlMatEnd drops it first).
// - The first cell tag (FirstCell set) sizes the component to the recorded
//   counts through its own Resize; an axis without a count keeps its current
//   one, and an announced 0 becomes the component's smallest count (0 for the
//   matrices, 1 for the arrays whose counts are never 0). A negative count, or
//   counts whose cells exceed the component's XmlCellLimit, are refused: the
//   cell tag gives -1 and the component stays as it was (also for every
//   further cell tag, as FirstCell stays set). A component whose axes name
//   their CellSize raises instead, for counts whose cells this word size
//   cannot address at all: they go to its Resize, which raises its memory
//   error before it allocates anything. Otherwise FirstCell is cleared and
//   the record dropped.
// - xmlMatEnd (result 1) and xmlInvalid (-1) drop the record: counts with no
//   cell after them never change the component.
// - A cell's indices are the integers of its index attributes (ix="3", whole
//   names, the first occurrence); a cell lacking one is ignored. A cell
//   outside the component is ignored by its SetVal.
// Result 0 for every other tag, any ordinal included.
//
// A component declares `detail::TXmlAnnounced<N> FXmlAnnounced`, the public
// `bool FirstCell` and `int64_t XmlCellLimit`, and calls XmlStep:
//
//   static constexpr detail::TXmlAxes<2> Axes{{xmlMatNumCols, xmlMatNumRows}, {"ix", "iy"}, 0};
//   return detail::XmlStep(Axes, FXmlAnnounced, FirstCell, XmlCellLimit, {FNCol, FNRow}, Tag,
//       Attributes, Content, [&](const std::array<int32_t, 2>& N) { Resize(N[0], N[1]); },
//       [&](const std::array<int32_t, 2>& I, std::string_view Text) { SetVal(I[0], I[1], XmlRealValue(Text)); });
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "linalg/component.h"
#include "orvcalckit/matrix/common.h"
#include "orvcalckit/matrix/xml.h"

namespace orv::detail {

// The axes of a component as its XML step sees them.
template <std::size_t N>
struct TXmlAxes {
  std::array<TMatXmlTag, N> CountTag;         // the tag announcing the count of each axis
  std::array<std::string_view, N> IndexName;  // the attribute holding a cell's index on each axis
  int32_t MinCount;                           // what an announced 0 becomes
  std::size_t CellSize = 0;                   // bytes per cell: counts beyond the word size raise; 0: -1
};

// The 1-based position just behind the opening quote of the attribute Name in
// an attribute text of name="value" pairs (blanks around "=" and single
// quotes as XML allows them), 0 when no attribute has that whole name. The
// first occurrence counts; a value without its closing quote runs to the end.
int32_t FindXmlAttribute(std::string_view Attributes, std::string_view Name);

// The value of a cell of doubles: its content as a real number with exponent
// and decimal point.
inline double XmlRealValue(std::string_view Content) {
  int32_t Pos = 1;
  return ParseRealAt(Content, true, 1, Pos);
}

// The value of a cell of integers: its content as a signed decimal integer.
inline int32_t XmlIntegerValue(std::string_view Content) {
  int32_t Pos = 1;
  return ParseIntegerAt(Content, Pos);
}

// The size the first cell gives a component now of size Current (see the
// rules above) and the cells its storage then holds (at least one per axis);
// false for a negative count.
template <std::size_t N>
bool AnnouncedSize(const TXmlAnnounced<N>& A, int32_t MinCount, const std::array<int32_t, N>& Current,
                   std::array<int32_t, N>& Size, int64_t& Cells) {
  std::array<int32_t, N> Stored;
  for (std::size_t K = 0; K < N; ++K) {
    if (A.Given[K] && A.Count[K] < 0) return false;
    Size[K] = A.Given[K] ? std::max(A.Count[K], MinCount) : Current[K];
    Stored[K] = std::max(Size[K], 1);
  }
  Cells = CellCount(Stored);
  return true;
}

// One ProcessXmlTag step of a component of N axes of size Current. Resize(Size)
// sizes the component; Put(Indices, Content) stores a cell through its SetVal.
template <std::size_t N, class ResizeFn, class PutFn>
int32_t XmlStep(const TXmlAxes<N>& Axes, TXmlAnnounced<N>& A, bool& FirstCell, int64_t Limit,
                const std::array<int32_t, N>& Current, TMatXmlTag Tag, std::string_view Attributes,
                std::string_view Content, ResizeFn&& Resize, PutFn&& Put) {
  switch (Tag) {
    case xmlMatEnd:
      A = {};
      return 1;
    case xmlInvalid:
      A = {};
      return -1;
    case xmlMatCell: {
      if (FirstCell) {
        std::array<int32_t, N> Size;
        int64_t Cells = 0;
        if (!AnnouncedSize(A, Axes.MinCount, Current, Size, Cells)) return -1;
        if (Cells > Limit) {
          if (Axes.CellSize != 0 && !Addressable(Cells, Axes.CellSize)) Resize(Size);  // raises
          return -1;
        }
        Resize(Size);
        FirstCell = false;
        A = {};
      }
      std::array<int32_t, N> Index;
      for (std::size_t K = 0; K < N; ++K) {
        int32_t Pos = FindXmlAttribute(Attributes, Axes.IndexName[K]);
        if (Pos == 0) return 0;
        Index[K] = ParseIntegerAt(Attributes, Pos);
      }
      Put(Index, Content);
      return 0;
    }
    default:
      for (std::size_t K = 0; K < N; ++K)
        if (Tag == Axes.CountTag[K]) {
          int32_t Pos = 1;
          A.Count[K] = ParseIntegerAt(Content, Pos);
          A.Given[K] = true;
        }
      return 0;
  }
}

}  // namespace orv::detail
