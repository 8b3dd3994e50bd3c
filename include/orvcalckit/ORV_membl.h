// Unit ORV_membl: the memory-based learner TMemBasedLearner and its model
// files.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "orvcalckit/ORV_datatable.h"
#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// The role of a model column, kept as the column's attribute.
enum TMBLVarType : int32_t { mblVarIgnore = 0, mblVarIndep = 1, mblVarTarget = 2 };
enum TMBLDistMode : uint8_t { mblDistEuclid = 0, mblDistManhattan = 1, mblDistMahalanobis = 2 };
enum TMBLScalingMode : uint8_t { mblUnscaled = 0, mblStandardized = 1 };
enum TMBLLocalModel : uint8_t { mblLMAverage = 0, mblLMWgtGauss = 1, mblLMMajority = 2, mblLMRegress = 3 };

// "Euclidean", "Manhattan", "Mahalanobis"; empty for any other ordinal.
constexpr std::string_view MBLDistModeText(TMBLDistMode M) {
  constexpr std::string_view Texts[] = {"Euclidean", "Manhattan", "Mahalanobis"};
  return M <= mblDistMahalanobis ? Texts[M] : std::string_view();
}
// "Unscaled", "Standardized".
constexpr std::string_view MBLScalingModeText(TMBLScalingMode M) {
  constexpr std::string_view Texts[] = {"Unscaled", "Standardized"};
  return M <= mblStandardized ? Texts[M] : std::string_view();
}
// "Average", "Weighted Average", "Majority Vote", "Regression".
constexpr std::string_view MBLLocalModelText(TMBLLocalModel M) {
  constexpr std::string_view Texts[] = {"Average", "Weighted Average", "Majority Vote", "Regression"};
  return M <= mblLMRegress ? Texts[M] : std::string_view();
}

// The elements of the XML model file, in the order of their names
// "membasedlearner", "comment", "modelname", "modeldata", "distmode",
// "scaling", "locmodel", "numnnb" and "$invalidtag$".
enum class TMBLxmlTags : uint8_t {
  xmlMBLId, xmlComment, xmlModelName, xmlModelData, xmlDistMode, xmlSclMode, xmlLocalModel, xmlNumNNb, xmlInvalid
};
// The element name of a tag ("$invalidtag$" for any other ordinal).
ORV_API std::string_view MBLxmlTagName(TMBLxmlTags Tag);

// Fired by ApplyModel: the 100 entries of the neighbour list (unfilled ones
// object 0 at uc_MaxReal) and the result code.
using TOnMBLModelApplied = std::function<void(TObject* Sender, int32_t Tag, const TIntArray& NearNix,
                                              const TDoubleArray& NearNDist, int32_t errnum)>;

// ============================================================================
// TMemBasedLearner: predictions from the k nearest objects of a stored model
// ============================================================================
//
// The model is ModelData: one row per known object, one column per variable,
// each column's attribute its TMBLVarType. ApplyModel finds the k nearest
// rows to a query by the independent columns and predicts every target column
// from them.
//
// Distance (CalcDist) of a query s to object m, over the independent columns
// in column order: with ScalingMode mblStandardized both values are
// standardised by the column's mean and sample deviation (only centred where
// the deviation is 0); Euclidean and Mahalanobis (which are the same here)
// take sqrt(sum (s - m)^2), Manhattan sum |s - m|. Categorical columns read
// their stored values rounded (TDataTable::Elem).
//
// Neighbours are kept in a list of 100 entries sorted by distance; of equal
// distances the object entered later (the higher number) comes first. So k
// is at most 100: ApplyModel uses NumNearestNb clamped into 1..100.
//
// The column statistics (mean, sample variance, minimum, maximum over all
// stored values) follow the model through ModelData's OnChange; they are
// computed when next needed, so filling the model cell by cell costs one
// pass at the end.
//
// Nothing is raised by the learner's computations; results report the
// failures. The files raise their stream's errors as documented below.
class ORV_API TMemBasedLearner : public TComponent {
 public:
  // ModelData a new 1 x 1 table whose OnChange and OnPercentDone are this
  // learner's; ModelName "undefined", k = 3, Average, Euclidean, unscaled.
  explicit TMemBasedLearner(TComponent* AOwner = nullptr);
  ~TMemBasedLearner() override;
  std::string ClassName() const override;

  // ---- settings ----
  const std::string& Comment() const { return FComment; }
  void SetComment(const std::string& Value) { FComment = Value; }
  const std::string& ModelName() const { return FModelName; }
  void SetModelName(const std::string& Value) { FModelName = Value; }
  int32_t NumNearestNb() const { return FNumNearestNb; }
  // k := min(Value, ModelData's rows now, 100), at least 1. A loaded model
  // may hold any k; ApplyModel clamps it into 1..100.
  void SetNumNearestNb(int32_t Value);
  TMBLLocalModel LocalModel() const { return FLocModel; }
  TMBLDistMode DistMode() const { return FDistMode; }
  TMBLScalingMode ScalingMode() const { return FScalingMode; }
  // Ordinals outside the enumerations are ignored.
  void SetLocalModel(TMBLLocalModel Value);
  void SetDistMode(TMBLDistMode Value);
  void SetScalingMode(TMBLScalingMode Value);

  // The attribute of column Ix (mblVarIgnore outside the table); writing
  // outside the table is ignored.
  TMBLVarType VarType(int32_t Ix) const;
  TMBLVarType GetVarType(int32_t Ix) const { return VarType(Ix); }
  void SetVarType(int32_t Ix, TMBLVarType Value);
  void SetAllVars(TMBLVarType Value);
  int32_t CountIndependentVars() const;
  int32_t CountTargetVars() const;

  // ---- events ----
  // ModelData's OnChange handler: the column statistics are out of date.
  void DataTableChanged(TObject* Sender);
  // ModelData's OnPercentDone handler: OnPercentDone(this, Percent).
  void PercDone(TObject* Sender, int32_t Percent);
  TOnPercentDoneEvent OnPercentDone;
  TOnMBLModelApplied OnModelApplied;

  // ---- prediction and neighbours ----
  // The distance between Sensor (Sensor[c - 1] for column c) and object obj
  // (an object outside the table reads 0.0 in every column); 0.0 without
  // independent columns. -1.0 when Sensor has fewer elements than columns.
  double CalcDist(const TDoubleArray& Sensor, int32_t obj);
  // Predicts every target column of Sensor from the k nearest objects
  // (ExcludeObj, when inside the table, is left out), k = NumNearestNb
  // clamped into 1..100, N = the rows of ModelData:
  //   Average: the mean of the k targets.
  //   Weighted Average: sum w v / sum w, w = exp(-(d / sigma)^2), sigma the
  //     sample deviation of the distances to all objects entered (0 for
  //     fewer than three); where sigma is 0, or every weight underflows to
  //     0, the mean of the targets of the neighbours at the smallest
  //     distance (the limit for sigma -> 0).
  //   Majority Vote: with s the target column's sample deviation, the
  //     target of the nearest of the neighbours that have the most
  //     neighbours within s of their target (s = 0: the value of row 1).
  //   Regression: the least-squares plane through the k neighbours over
  //     the independent columns plus a constant, evaluated at Sensor; with
  //     fewer than p + 1 neighbours or a near-singular system the
  //     minimum-norm solution (through the SVD), and the result -1. Where
  //     the decomposition fails (no convergence, AbortMathProc) the mean of
  //     the targets, also with -1.
  // The other columns of Sensor keep their values. Results: 0 done, -1 done
  // with a near-singular regression, -2 k >= N (Sensor all 0.0), -3
  // Sensor's length differs from the column count (Sensor all 0.0, no
  // event). OnModelApplied fires for 0, -1 and -2. The regression reads the
  // query before its decompositions, whose steps MathFeedBackProc reports;
  // should the handler resize or replace Sensor, or resize ModelData, the
  // call ends with -3 as well (Sensor, as it then is, all 0.0, no event).
  int32_t ApplyModel(TDoubleArray& Sensor, int32_t ExcludeObj, int32_t Tag);
  // For every object the 100 nearest objects (itself included, as a rule
  // first), kept for kNNOfModelData and kNNDistOfModelData; positions
  // beyond N hold object 0 at uc_MaxReal. O(N^2) distances.
  void CalcNNOfModelData();
  // Position k (1..100) among the neighbours of obj as the last
  // CalcNNOfModelData found them; -1 (-1.0) for k outside 1..100 or obj
  // outside the objects of that computation (also before the first one).
  int32_t kNNOfModelData(int32_t k, int32_t obj) const;
  double kNNDistOfModelData(int32_t k, int32_t obj) const;
  int32_t GetkNNofModelData(int32_t k, int32_t obj) const { return kNNOfModelData(k, obj); }
  double GetkNNDistofModelData(int32_t k, int32_t obj) const { return kNNDistOfModelData(k, obj); }
  // Counts, over every object and its neighbours at positions 2..NumNb + 1
  // (CalcNNOfModelData, run here), the pairs of categories of the
  // categorical column VarIx: ContTab[own - a][neighbour - a] with a..b the
  // range of the column's valid cells, then the margins as in
  // TDataTable::CreateContingencyTable (n + 1 arrays of n + 1, n = b - a +
  // 1). A pair whose own or neighbour category lies outside a..b is not
  // counted. Results: 0; -1 VarIx outside 0..columns; -2 the column is not
  // categorical (VarIx 0 too); -3 no valid cell, or n above 100 or below 2;
  // -4 a below 1 (-3 wins); -5 NumNb outside 1..min(99, N - 1). ContTab is
  // untouched unless the result is 0.
  int32_t CalcContingencyTable(int32_t VarIx, int32_t NumNb, TInt2DArray& ContTab);

  // ---- model files ----
  // Binary model file (TMixedFStream): signature, version, "DataID=" +
  // DataID, Comment, ModelName, k and the three modes, then the model table
  // (comment, size, scales and identifiers, names trimmed, attributes,
  // values, states). Stream errors raise EInOutError; the partial file is
  // then removed.
  void StoreModelBin(const std::string& FName, const std::string& DataID);
  // 0 read; -1 the first line is not "TMemBasedLearner/Kovrant" (case
  // matters); -2 the file cannot be opened or read, is short, holds counts
  // its remaining bytes cannot satisfy, or an ordinal outside its
  // enumeration. Only a complete read changes the learner (settings as
  // stored, k without the setter's limits) and DataId (the third line
  // without its first "dataid=", found ignoring case); then ModelData fires
  // OnResize when its size changed, and OnChangeSetup, OnChangeNames,
  // OnChangeAttrib and OnChangeCellState once each. The model is read aside
  // and complete before these events: their handlers may change it, and the
  // settings that follow read nothing of it.
  int32_t LoadModelBin(const std::string& FName, std::string& DataId);
  // XML model file; the model table in the form that docs/DESIGN.md
  // describes ("Memory-based learner files"), values with 10 significant
  // digits. Stream errors raise EInOutError.
  void StoreModelXML(const std::string& FName, const std::string& DataID);
  // DataId := "", then the id attribute of the root element; the settings as
  // the elements come (k without the setter's limits, EConvertError for a
  // numnnb that is no integer; a mode text that matches none is ignored);
  // reading ends at an unknown element or after the model data. 0 when the
  // model table was read (only then is it replaced), else -1. File errors
  // raise EInOutError.
  int32_t LoadModelXML(const std::string& FName, std::string& DataId);
  // Applies one element: its Content (for xmlModelData the raw XML text
  // inside the element). 0 applied (a mode text that matches none changes
  // nothing); -1 for xmlInvalid and for model data that could not be read
  // (the model then unchanged).
  int32_t ProcessXmlTag(TMBLxmlTags Tag, std::string_view Attributes, std::string_view Content);

  // The model; owned by the learner.
  TDataTable* ModelData = nullptr;

 private:
  struct TStats;       // the column statistics, computed when needed
  struct TDistKernel;  // the distance of CalcDist over prepared columns
  struct TFiles;       // the readers and writers of the model files

  // The column statistics of the current model (computed when out of date).
  const TStats& Stats();
  void WireModel();

  std::string FModelName = "undefined";
  std::string FComment;
  int32_t FNumNearestNb = 3;
  TMBLLocalModel FLocModel = mblLMAverage;
  TMBLDistMode FDistMode = mblDistEuclid;
  TMBLScalingMode FScalingMode = mblUnscaled;
  std::unique_ptr<TStats> FStats;
  TInt2DArray FNNList;      // [position - 1][object - 1]
  TDouble2DArray FNNDist;
  int32_t FNNObjects = 0;   // objects of the last CalcNNOfModelData
};

}  // namespace orv
