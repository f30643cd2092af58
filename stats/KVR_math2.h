// TCurveFit: running sums over a stream of (x, y) pairs and the least-squares line
// y = k x + d with its coefficient of determination. It also keeps the higher moments,
// reciprocal and logarithmic sums, power sums and a copy of the pairs for other fits.
// The line needs only the pairs, so the sums are brought up to date when they are read,
// pair by pair in the order the pairs came: the same figures as summing on every add.
#pragma once

#include <cstdint>
#include <memory>

#include "stats/KVR_matrix.h"
#include "stats/KVR_vector.h"

class EKVRMath2Error : public EKVRError {
public:
  using EKVRError::EKVRError;
};

// Bits of TCurveFit::UndefinedFlags: a transform met a value outside its domain.
enum TUndefinedTransform : uint8_t { utLnX = 1, utLnY = 2, utInvX = 4, utInvY = 8 };

// The sums, in the order they are kept.
struct TCurveFitSums {
  double X = 0, Y = 0;
  double X2 = 0, Y2 = 0;
  double XMinusY = 0, XMinusY2 = 0;
  double XY = 0;
  double X2Y = 0, XY2 = 0, X3 = 0, Y3 = 0, X4 = 0;
  double InvY = 0, InvXY = 0, InvY2 = 0, XDivY = 0, YDivX = 0, InvX = 0, InvX2 = 0;
  double LnX = 0, LnXLnY = 0, LnX2 = 0, YLnX = 0, XLnX = 0, LnXDivY = 0;
  double LnY = 0, LnY2 = 0, XLnY = 0, X2LnY = 0;
  bool operator==(const TCurveFitSums&) const = default;
};

class TCurveFit : public TComponent {
  Q_OBJECT

public:
  static constexpr int PowerSumCount = 18;
  static constexpr int WeightedSumCount = 9;
  static constexpr int PairStoreGrowth = 1000;

  explicit TCurveFit(QObject* Owner = nullptr);
  ~TCurveFit() override;

  void ResetStats();
  void AddPair(double X, double Y);
  // The line and r² from sums centred on the means, in two passes over the pair store
  // (the raw sums above cancel for data far from zero). Raises EKVRMath2Error with fewer
  // than 2 pairs, data that are not finite, x all equal or differing by less than double
  // precision resolves at their size, or a line too steep for doubles.
  void CalcLinFit(double& Slope, double& Intercept, double& Quality) const;

  const TCurveFitSums& Sums() const;
  int N() const { return N_; }
  double MinX() const { return MinX_; }
  double MaxX() const { return MaxX_; }
  double MinY() const { return MinY_; }
  double MaxY() const { return MaxY_; }
  uint8_t UndefinedFlags() const;
  const TVector& PowerSums() const;          // element i: sum of x^(i-1)
  const TVector& WeightedPowerSums() const;  // element i: sum of y x^(i-1)
  const TMatrix& Pairs() const { return *Pairs_; }  // column 1 x, column 2 y

private:
  // Adds the pairs not yet summed to the sums, the power sums and the flags.
  void CatchUp() const;
  void AddSums(long double X, long double Y) const;
  void AddReciprocals(long double X, long double Y) const;
  void AddLogarithms(long double X, long double Y) const;
  void AddPowers(long double X, long double Y) const;

  int N_ = 0;
  double MinX_ = 0, MaxX_ = 0, MinY_ = 0, MaxY_ = 0;
  // The sums, power sums and flags of the first Summed_ pairs.
  mutable TCurveFitSums Sums_;
  std::unique_ptr<TVector> PowerSums_;
  mutable uint8_t Flags_ = 0;
  std::unique_ptr<TVector> WeightedSums_;
  mutable int Summed_ = 0;
  std::unique_ptr<TMatrix> Pairs_;
};
