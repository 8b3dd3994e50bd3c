// The readers of the block file: the header readers of the four array
// classes, TMat4D's walk and layer reader, and the free layer readers.
// Each request is checked against the file's real size before anything is
// sized, stored or fired (linalg/blockfile.h), so a truncated or lying file
// fails with nothing changed.
#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <vector>

#include "linalg/blockfile.h"
#include "linalg/matrix_4d.h"
#include "linalg/storage_stamps.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"

namespace orv {

using detail::CheckedProduct;
using detail::TBlockFile;
using detail::TBlockHeader;

namespace {

TBlockHeader ReadHeader(const std::string& FName) { return TBlockFile(FName).Header(); }

void HandBack(const TBlockHeader& H, int32_t& NrColumns, int32_t& NrRows, std::string& DataID, int32_t& Format) {
  NrColumns = H.Cols;
  NrRows = H.Rows;
  DataID = H.DataID;
  Format = H.Format;
}
void HandBack(const TBlockHeader& H, int32_t& NrColumns, int32_t& NrRows, int32_t& NrLayers, int32_t& NrTimeSlots,
              std::string& DataID, int32_t& Format) {
  HandBack(H, NrColumns, NrRows, DataID, Format);
  NrLayers = H.Layers;
  NrTimeSlots = H.Slots;
}

// The index of the first value of (Layer, TimeSlot), both from 1 and inside
// the file's counts, or -1 when it leaves int64_t.
int64_t LayerStart(const TBlockHeader& H, int32_t Layer, int32_t TimeSlot) {
  const int64_t Plane = CheckedProduct(H.Cols, H.Rows);
  const int64_t LayerIx = (int64_t{TimeSlot} - 1) * H.Layers + (Layer - 1);  // < 2^62
  return Plane < 0 ? -1 : CheckedProduct(LayerIx, Plane);
}

// The values of one layer of a file whose columns and rows are positive, in
// file order (column fastest); EInOutError when the file does not hold them.
std::vector<double> ReadLayerValues(TBlockFile& F, int32_t Layer, int32_t TimeSlot) {
  const TBlockHeader& H = F.Header();
  const int64_t N = int64_t{H.Cols} * H.Rows;
  const int64_t First = LayerStart(H, Layer, TimeSlot);
  if (H.Cols <= 0 || H.Rows <= 0 || !F.Holds(First, N)) TBlockFile::Truncated();
  std::vector<double> V(static_cast<size_t>(N));
  F.ReadInto(First, N, V.data());
  return V;
}

bool InCount(int32_t I, int32_t Count) { return I >= 1 && I <= Count; }

}  // namespace

bool TMatrix::ReadBinaryHeader(const std::string& FName, int32_t& NrColumns, int32_t& NrRows, std::string& DataID,
                               int32_t& Format) {
  const TBlockHeader H = ReadHeader(FName);
  HandBack(H, NrColumns, NrRows, DataID, Format);
  return H.Layers == 0 && H.Slots == 0 && H.Format == 1;
}

bool TIntMatrix::ReadBinaryHeader(const std::string& FName, int32_t& NrColumns, int32_t& NrRows,
                                  std::string& DataID, int32_t& Format) {
  const TBlockHeader H = ReadHeader(FName);
  HandBack(H, NrColumns, NrRows, DataID, Format);
  return H.Layers == 0 && H.Slots == 0 && H.Format == 2;
}

bool TMat3D::ReadBinaryHeader(const std::string& FName, int32_t& NrColumns, int32_t& NrRows, int32_t& NrLayers,
                              int32_t& NrTimeSlots, std::string& DataID, int32_t& Format) {
  const TBlockHeader H = ReadHeader(FName);
  HandBack(H, NrColumns, NrRows, NrLayers, NrTimeSlots, DataID, Format);
  return H.Layers > 0 && H.Slots == 0 && H.Format == 1;
}

bool TMat4D::ReadBinaryHeader(const std::string& FName, int32_t& NrColumns, int32_t& NrRows, int32_t& NrLayers,
                              int32_t& NrTimeSlots, std::string& DataID, int32_t& Format) {
  const TBlockHeader H = ReadHeader(FName);
  HandBack(H, NrColumns, NrRows, NrLayers, NrTimeSlots, DataID, Format);
  return H.Layers > 0 && H.Slots > 0 && H.Format == 1;
}

int32_t TMat4D::ReadBinary(const std::string& FName, int32_t TSlotStart, int32_t TSlotEnd) {
  TBlockFile F(FName);
  const TBlockHeader H = F.Header();
  if (TSlotStart > H.Slots) return -1;
  int32_t First = 1, Last = H.Slots;
  if (TSlotStart >= 1 && TSlotEnd >= 1) {
    First = TSlotStart;
    Last = std::min(TSlotEnd, H.Slots);
  }
  const int64_t N = int64_t{Last} - First + 1;
  // A count of 0 or below leaves its loop empty: nothing to walk.
  if (N <= 0 || H.Cols <= 0 || H.Rows <= 0 || H.Layers <= 0) return 0;
  const int64_t Volume = CheckedProduct(CheckedProduct(H.Cols, H.Rows), H.Layers);
  const int64_t Total = CheckedProduct(Volume, N);
  const int64_t Skip = CheckedProduct(Volume, int64_t{First} - 1);
  if (Total < 0 || Skip < 0 || !F.Holds(Skip, Total)) TBlockFile::Truncated();

  const int64_t Step = std::max<int64_t>(Total / 100, 1);
  int64_t D = 0, ToNext = Step;
  int32_t Ix = 1, Iy = 1, Il = 1, It = 1;
  F.Read(Skip, Total, [&](std::span<const double> Run) {
    for (const double Value : Run) {
      ++D;
      if (--ToNext == 0) {
        ToNext = Step;
        PercDone(this, static_cast<int32_t>(Round(static_cast<double>(D) * 100.0 / static_cast<double>(Total))));
      }
      ReadElement(this, Ix, Iy, Il, It, Value);
      if (++Ix > H.Cols) {
        Ix = 1;
        if (++Iy > H.Rows) {
          Iy = 1;
          if (++Il > H.Layers) {
            Il = 1;
            ++It;
          }
        }
      }
    }
  });
  return 0;
}

int32_t TMat4D::ReadLayer(const std::string& FName, int32_t Layer, int32_t TSlot) {
  try {
    TBlockFile F(FName);
    const TBlockHeader& H = F.Header();
    const auto Fit = [&] {
      int32_t Code = 0;
      if (!InCount(TSlot, H.Slots) || TSlot > FNumT) Code = -1;
      if (!InCount(Layer, H.Layers) || Layer > FNumZ) Code = -2;
      if (H.Cols != FNumX || H.Rows != FNumY) Code = -3;
      return Code;
    };
    if (const int32_t Code = Fit(); Code != 0) return Code;
    // Read whole before the first store: a failing read leaves the array as it was.
    const std::vector<double> V = ReadLayerValues(F, Layer, TSlot);
    const int64_t N = static_cast<int64_t>(V.size());
    double* Dest = FCells.data() + Offset(1, 1, Layer, TSlot);  // the layer is one run of the storage
    // OnPercentDone may resize the array or move its cells: the layer is
    // then sought again, and the checks above say whether it still fits.
    detail::TStorageGuard Storage(*this);
    const int64_t Step = std::max<int64_t>(N / 100, 1);
    int64_t Stored = 0;
    for (int64_t C = Step; C <= N; C += Step) {
      // Value C is counted (and reported) before it is stored.
      std::copy(V.begin() + Stored, V.begin() + (C - 1), Dest + Stored);
      Stored = C - 1;
      PercDone(this, static_cast<int32_t>(Round(static_cast<double>(C) * 100.0 / static_cast<double>(N))));
      if (!Storage.Intact()) {
        if (const int32_t Code = Fit(); Code != 0) return Code;
        Dest = FCells.data() + Offset(1, 1, Layer, TSlot);
        Storage.Record();
      }
    }
    std::copy(V.begin() + Stored, V.end(), Dest + Stored);
    return 0;
  } catch (const std::exception&) {
    return -4;
  }
}

int32_t Read4DLayer(const std::string& FileName, int32_t Layer, int32_t TimeSlot, TDouble2DArray& Dest) {
  try {
    TBlockFile F(FileName);
    const TBlockHeader& H = F.Header();
    int32_t Code = 0;
    if (!InCount(TimeSlot, H.Slots)) Code = -1;
    if (!InCount(Layer, H.Layers)) Code = -2;
    if (Code != 0) return Code;
    const std::vector<double> V = ReadLayerValues(F, Layer, TimeSlot);
    TDouble2DArray R(static_cast<size_t>(H.Cols), TDoubleArray(static_cast<size_t>(H.Rows)));
    for (size_t Row = 0, K = 0; Row < static_cast<size_t>(H.Rows); ++Row)
      for (size_t Col = 0; Col < static_cast<size_t>(H.Cols); ++Col) R[Col][Row] = V[K++];
    Dest = std::move(R);
    return 0;
  } catch (const std::exception&) {
    return -3;
  }
}

int32_t Read4DLayerAndAccumulate(const std::string& FileName, int32_t Layer, int32_t TimeSlot,
                                 TDouble2DArray& Dest) {
  try {
    TBlockFile F(FileName);
    const TBlockHeader& H = F.Header();
    int32_t Code = 0;
    if (!InCount(Layer, H.Layers)) Code = -1;
    if (!InCount(TimeSlot, H.Slots)) Code = -2;
    // Every column is checked: a ragged destination would be written past its end.
    bool Fits = static_cast<int64_t>(Dest.size()) == H.Cols;
    for (const TDoubleArray& Col : Dest) Fits = Fits && static_cast<int64_t>(Col.size()) == H.Rows;
    if (!Fits) Code = -3;
    if (Code != 0) return Code;
    const std::vector<double> V = ReadLayerValues(F, Layer, TimeSlot);
    for (size_t Row = 0, K = 0; Row < static_cast<size_t>(H.Rows); ++Row)
      for (size_t Col = 0; Col < static_cast<size_t>(H.Cols); ++Col) Dest[Col][Row] += V[K++];
    return 0;
  } catch (const std::exception&) {
    return -4;
  }
}

}  // namespace orv
