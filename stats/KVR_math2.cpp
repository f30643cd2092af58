#include "stats/KVR_math2.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr long double ZeroGuard = 1e-30L;       // |v| <= this counts as zero
constexpr long double Substitute = 1.7e38L;     // stands for an undefined reciprocal
constexpr double InitialMinimum = 1.7e308;

// A standard deviation of x below this fraction of the largest |x| is no more than the
// rounding that the values themselves carry.
constexpr long double ResolvableSpread = 16 * std::numeric_limits<double>::epsilon();

bool IsZero(long double V) { return std::fabs(V) <= ZeroGuard; }

// Each term is formed in extended precision and the sum is stored back as a double.
void Add(double& Sum, long double Term) { Sum = static_cast<double>(Sum + Term); }

// Means of the stored pairs and the sums of squared and crossed deviations from them.
struct TCentredSums {
  long double MeanX, MeanY, Sxx, Sxy, Syy;
};

// Two passes over the pair store. The means are measured from the smallest values: those
// offsets are never negative, so their sum cannot cancel, and constant data centre
// exactly (every deviation is then 0). A mean still carries the rounding of its own
// magnitude, which is large beside the spread of data far from zero; the sums of the
// deviations measure that rounding, and the corrections below remove it.
TCentredSums CentredSums(const TMatrix& Pairs, int N, double MinX, double MinY) {
  long double OffsetX = 0, OffsetY = 0;
  for (int I = 1; I <= N; ++I) {
    OffsetX += Pairs.Elem(1, I) - static_cast<long double>(MinX);
    OffsetY += Pairs.Elem(2, I) - static_cast<long double>(MinY);
  }
  const long double MeanX = MinX + OffsetX / N, MeanY = MinY + OffsetY / N;
  long double Dx = 0, Dy = 0, Sxx = 0, Sxy = 0, Syy = 0;
  for (int I = 1; I <= N; ++I) {
    const long double X = Pairs.Elem(1, I) - MeanX, Y = Pairs.Elem(2, I) - MeanY;
    Dx += X, Dy += Y;
    Sxx += X * X, Sxy += X * Y, Syy += Y * Y;
  }
  return {MeanX + Dx / N, MeanY + Dy / N, Sxx - Dx * Dx / N, Sxy - Dx * Dy / N, Syy - Dy * Dy / N};
}

}  // namespace

TCurveFit::TCurveFit(QObject* Owner)
    : TComponent(Owner),
      PowerSums_(std::make_unique<TVector>()),
      WeightedSums_(std::make_unique<TVector>()),
      Pairs_(std::make_unique<TMatrix>()) {
  PowerSums_->SetNrOfElem(PowerSumCount);
  WeightedSums_->SetNrOfElem(WeightedSumCount);
  Pairs_->Resize(2, PairStoreGrowth);
  ResetStats();
}

TCurveFit::~TCurveFit() = default;

void TCurveFit::ResetStats() {
  Sums_ = TCurveFitSums();
  PowerSums_->Clear();
  WeightedSums_->Clear();
  // Only the rows written since the last reset need zeros: the store grows with zeros and
  // only AddPair writes to it. Filling all 1000 rows on every redraw cost more than the fit.
  for (int Row = 1; Row <= N_; ++Row) Pairs_->SetElem(1, Row, 0.0), Pairs_->SetElem(2, Row, 0.0);
  N_ = 0;
  MinX_ = MinY_ = InitialMinimum;
  MaxX_ = MaxY_ = -InitialMinimum;
  Flags_ = 0;
  Summed_ = 0;
}

void TCurveFit::AddPair(double X, double Y) {
  if (X < MinX_) MinX_ = X;
  if (Y < MinY_) MinY_ = Y;
  if (X > MaxX_) MaxX_ = X;
  if (Y > MaxY_) MaxY_ = Y;
  ++N_;
  if (Pairs_->NrOfRows() < N_) Pairs_->Resize(2, Pairs_->NrOfRows() + PairStoreGrowth);
  Pairs_->SetElem(1, N_, X);
  Pairs_->SetElem(2, N_, Y);
}

const TCurveFitSums& TCurveFit::Sums() const {
  CatchUp();
  return Sums_;
}

uint8_t TCurveFit::UndefinedFlags() const {
  CatchUp();
  return Flags_;
}

const TVector& TCurveFit::PowerSums() const {
  CatchUp();
  return *PowerSums_;
}

const TVector& TCurveFit::WeightedPowerSums() const {
  CatchUp();
  return *WeightedSums_;
}

void TCurveFit::CatchUp() const {
  for (; Summed_ < N_; ++Summed_) AddSums(Pairs_->Elem(1, Summed_ + 1), Pairs_->Elem(2, Summed_ + 1));
}

void TCurveFit::AddSums(long double x, long double y) const {
  Add(Sums_.X, x);
  Add(Sums_.Y, y);
  Add(Sums_.X2, x * x);
  Add(Sums_.Y2, y * y);
  Add(Sums_.XMinusY, x - y);
  Add(Sums_.XMinusY2, (x - y) * (x - y));
  Add(Sums_.XY, x * y);
  Add(Sums_.X2Y, x * x * y);
  Add(Sums_.XY2, x * y * y);
  Add(Sums_.X3, x * x * x);
  Add(Sums_.Y3, y * y * y);
  Add(Sums_.X4, x * x * x * x);
  AddReciprocals(x, y);
  AddLogarithms(x, y);
  AddPowers(x, y);
}

void TCurveFit::AddReciprocals(long double x, long double y) const {
  if (!IsZero(y)) {
    Add(Sums_.InvY, 1 / y);
    Add(Sums_.InvY2, 1 / (y * y));
    Add(Sums_.XDivY, x / y);
    if (!IsZero(x)) {
      Add(Sums_.InvXY, (1 / x) / y);
    } else {
      Flags_ |= utInvX;
      Add(Sums_.InvXY, Substitute / y);
    }
  } else {
    Flags_ |= utInvY;
    Add(Sums_.InvY, Substitute);
    Add(Sums_.InvY2, Substitute * Substitute);
    Add(Sums_.XDivY, Substitute * x);
    if (!IsZero(x)) {
      Add(Sums_.InvXY, Substitute / x);
    } else {
      Add(Sums_.InvXY, Substitute);
      Flags_ |= utInvX;
    }
  }
  if (!IsZero(x)) {
    Add(Sums_.InvX, 1 / x);
    Add(Sums_.InvX2, 1 / (x * x));
    Add(Sums_.YDivX, y / x);
  } else {
    Flags_ |= utInvX;
    Add(Sums_.InvX, Substitute);
    Add(Sums_.InvX2, Substitute * Substitute);
    Add(Sums_.YDivX, Substitute * y);
  }
}

void TCurveFit::AddLogarithms(long double x, long double y) const {
  if (x > 0) {
    const long double LnX = std::log(x);
    Add(Sums_.LnX, LnX);
    Add(Sums_.LnX2, LnX * LnX);
    Add(Sums_.YLnX, y * LnX);
    Add(Sums_.XLnX, x * LnX);
    if (y != 0) Add(Sums_.LnXDivY, LnX / y);
    else Flags_ |= utInvY;
    if (y > 0) Add(Sums_.LnXLnY, LnX * std::log(y));
    else Flags_ |= utLnY;
  } else {
    Flags_ |= utLnX;
  }
  if (y > 0) {
    const long double LnY = std::log(y);
    Add(Sums_.LnY, LnY);
    Add(Sums_.LnY2, LnY * LnY);
    Add(Sums_.XLnY, x * LnY);
    Add(Sums_.X2LnY, x * x * LnY);
  } else {
    Flags_ |= utLnY;
  }
}

void TCurveFit::AddPowers(long double x, long double y) const {
  long double P = 1.0L;
  for (int I = 1; I <= PowerSumCount; ++I) {
    PowerSums_->SetElem(I, static_cast<double>(PowerSums_->Elem(I) + P));
    if (I <= WeightedSumCount) WeightedSums_->SetElem(I, static_cast<double>(WeightedSums_->Elem(I) + y * P));
    P *= x;
  }
}

void TCurveFit::CalcLinFit(double& Slope, double& Intercept, double& Quality) const {
  Slope = Intercept = Quality = 0;
  if (N_ < 2) throw EKVRMath2Error("CalcLinFit: not enough data points");
  const TCentredSums S = CentredSums(*Pairs_, N_, MinX_, MinY_);
  if (!std::isfinite(S.Sxx) || !std::isfinite(S.Sxy) || !std::isfinite(S.Syy))
    throw EKVRMath2Error("CalcLinFit: the data contain values that are not finite numbers");
  if (MinX_ == MaxX_) throw EKVRMath2Error("CalcLinFit: all x values are equal, so the line is vertical");
  const long double Resolvable = ResolvableSpread * std::max(std::fabs(MinX_), std::fabs(MaxX_));
  if (S.Sxx < N_ * Resolvable * Resolvable)
    throw EKVRMath2Error("CalcLinFit: the x values differ by less than double precision resolves at their size");
  const long double K = S.Sxy / S.Sxx;
  const double D = static_cast<double>(S.MeanY - K * S.MeanX);
  if (!std::isfinite(static_cast<double>(K)) || !std::isfinite(D))
    throw EKVRMath2Error("CalcLinFit: the line is too steep for double precision");
  Slope = static_cast<double>(K);
  Intercept = D;
  // Within 0..1 by construction; the clamp absorbs what rounding could add to a perfect fit.
  Quality = S.Syy == 0 ? 1.0 : static_cast<double>(std::clamp(S.Sxy * S.Sxy / (S.Sxx * S.Syy), 0.0L, 1.0L));
}
