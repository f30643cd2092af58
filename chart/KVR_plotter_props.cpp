// The chart's property objects and their setter rules.
#include "chart/KVR_plotter_props.h"

#include <algorithm>
#include <cmath>

#include "toolkit/Setter.h"

TScaleProps::TScaleProps(QObject* Parent)
    : QObject(Parent), DateFormat_(std::make_unique<TDTLabel>()), Font_(QStringLiteral("MS Sans Serif"), 8) {
  DateFormat_->SetScaleDefaults();
  DateFormat_->OnChange = [this](QObject*) { Changed(); };
}

TScaleProps::~TScaleProps() = default;

void TScaleProps::Changed() {
  if (OnChange) OnChange(this);
}

template <class T>
void TScaleProps::Store(T& Field, const T& V) {
  StoreChanged(Field, V, [this] { Changed(); });
}

void TScaleProps::SetCaption(const QString& V) { Store(Caption_, V); }
void TScaleProps::SetCaptionPosX(int V) { Store(CaptionPosX_, LimitPixels(V)); }
void TScaleProps::SetCaptionPosY(int V) { Store(CaptionPosY_, LimitPixels(V)); }
void TScaleProps::SetCaptionAlignment(TAlignment V) { Store(CaptionAlignment_, V); }
void TScaleProps::SetCaptionAnchor(TScaleUnitAnchor V) { Store(CaptionAnchor_, V); }
void TScaleProps::SetColorScale(TColor V) { Store(ColorScale_, V); }
void TScaleProps::SetDecPlaces(int V) { Store(DecPlaces_, std::clamp(V, -3, 12)); }
void TScaleProps::SetDecimalComma(bool V) { Store(DecimalComma_, V); }
void TScaleProps::SetFont(const QFont& V) { Store(Font_, V); }
void TScaleProps::SetMinTicks(int V) { Store(MinTicks_, V); }
void TScaleProps::SetShortTicks(bool V) { Store(ShortTicks_, V); }
void TScaleProps::SetScaleInscript(const QString& V) { Store(ScaleInscript_, V); }
void TScaleProps::SetScalePos(int V) { Store(ScalePos_, LimitPixels(V)); }
void TScaleProps::SetUserTickText(const QString& V) { Store(UserTickText_, V); }
void TScaleProps::SetVisible(bool V) { Store(Visible_, V); }

void TScaleProps::SetDateFormat(const TDTLabel* V) {
  if (V) DateFormat_->Assign(*V);
}

// Refused quietly, except while a stored design is being applied.
void TScaleProps::SetLogarithmic(bool V) {
  if (!V || Loading_ || LogarithmicAllowed()) Store(Logarithmic_, V);
}

void TScaleProps::SetLabelType(TFigType V) {
  if (V == LabelType_) return;
  TakeLabelType(V);
  Changed();
}

// Non-finite ends are refused, and so is a pair that MinRange would push past the
// largest double.
void TScaleProps::SetRange(double Low, double High) {
  if (!std::isfinite(Low) || !std::isfinite(High) || (Low == RangeLow_ && High == RangeHigh_)) return;
  RangeLow_ = Low;
  RangeHigh_ = High;
  Changed();
}

void TScaleProps::SetRangeLow(double V) {
  if (std::fabs(RangeHigh_ - V) < MinRange_) SetRange(V, V + MinRange_);
  else if (!(Logarithmic_ && V < 1e-100)) SetRange(V, RangeHigh_);
}

void TScaleProps::SetRangeHigh(double V) {
  if (std::fabs(V - RangeLow_) < MinRange_) SetRange(V - MinRange_, V);
  else if (!(Logarithmic_ && V < 1e-100)) SetRange(RangeLow_, V);
}

void TScaleProps::SetMinRange(double V) {
  if (!(V > 1e-100 && V < INFINITY) || V == MinRange_) return;
  MinRange_ = V;
  if (std::fabs(RangeHigh_ - RangeLow_) < V) {
    const double Mid = RangeLow_ / 2 + RangeHigh_ / 2;
    StoreRange(Mid - V / 2, Mid + V / 2);
  }
  Changed();
}

void TScaleProps::StoreRange(double Low, double High) {
  RangeLow_ = Low;
  RangeHigh_ = High;
}

void TScaleProps::SetScaleType(TScaleType V) { Store(ScaleType_, V); }

void TScaleProps::Assign(const TScaleProps& S) {
  static_cast<TScaleSettings&>(*this) = S.Settings();
  Font_ = S.Font_;
  MinRange_ = S.MinRange_;
  ScalePos_ = S.ScalePos_;
  DateFormat_->Assign(*S.DateFormat_);
  Changed();
}

TScalePropsHoriz::TScalePropsHoriz(QObject* Parent) : TScaleProps(Parent) { SetScaleType(sctXT); }

void TScalePropsHoriz::SetScaleLocation(TScaleLocationHoriz V) { SetScaleType(V == slTop ? sctXB : sctXT); }

TScalePropsVert::TScalePropsVert(QObject* Parent) : TScaleProps(Parent) { SetScaleType(sctYR); }

void TScalePropsVert::SetScaleLocation(TScaleLocationVert V) { SetScaleType(V == slLeft ? sctYR : sctYL); }

// --- joint layers ------------------------------------------------------------------

TJointLayers::TJointLayers(QObject* Parent) : QObject(Parent) {
  for (auto& Axis : Controller_)
    for (int I = 0; I < 16; ++I) Axis[I] = I + 1;
}

int TJointLayers::ControlledBy(int Axis, int Layer) const {
  return Layer >= 1 && Layer <= 16 ? Controller_[Axis != 0][Layer - 1] : Layer;
}

void TJointLayers::SetControlledBy(int Axis, int Layer, int Destination) {
  if (Layer < 1 || Layer > 16) return;
  auto& Of = Controller_[Axis != 0];
  if (Destination < 1 || Destination > 16)
    throw EKVRPlotterError("Destination layer " + std::to_string(Destination) + " is out of range");
  if (Of[Layer - 1] == Destination) return;
  if (Destination == Layer) {
    Of[Layer - 1] = Layer;
    return;
  }
  if (Of[Destination - 1] != Destination)
    throw EKVRPlotterError("Destination layer " + std::to_string(Destination) + " is already joined");
  std::string Joined;
  for (int J = 1; J <= 16; ++J)
    if (J != Layer && Of[J - 1] == Layer) Joined += (Joined.empty() ? "" : ", ") + std::to_string(J);
  if (!Joined.empty())
    throw EKVRPlotterError("Layer " + std::to_string(Layer) + " is joined by other layers (" + Joined + ")");
  Of[Layer - 1] = Destination;
  if (OnJoin) OnJoin(Axis, Layer);
  if (OnChange) OnChange(this);
}

// --- background --------------------------------------------------------------------

QString FileNamePart(const QString& Path) {
  const qsizetype Cut = std::max({Path.lastIndexOf(QLatin1Char('/')), Path.lastIndexOf(QLatin1Char('\\')),
                                  Path.lastIndexOf(QLatin1Char(':'))});
  return Path.mid(Cut + 1);
}

template <class T>
void TBakGndImg::Store(T& Field, const T& V) {
  StoreChanged(Field, V, [this] {
    if (OnChange) OnChange(this);
  });
}

void TBakGndImg::SetName(const QString& V) { Store(Name_, IncludePath_ ? V : FileNamePart(V)); }
// The flag itself changes no picture; dropping it shortens the name, which is reported.
void TBakGndImg::SetIncludePath(bool V) {
  IncludePath_ = V;
  Store(Name_, V ? Name_ : FileNamePart(Name_));
}
void TBakGndImg::SetArea(double& Field, double V) {
  if (std::isfinite(V)) Store(Field, V);
}
void TBakGndImg::SetFillMode(TBkgFill V) { Store(FillMode_, V); }
void TBakGndImg::SetAreaMode(TBGAreaMode V) { Store(AreaMode_, V); }
void TBakGndImg::SetAreaColor(TColor V) { Store(AreaColor_, V); }
void TBakGndImg::SetAreaLeft(double V) { SetArea(AreaLeft_, V); }
void TBakGndImg::SetAreaRight(double V) { SetArea(AreaRight_, V); }
void TBakGndImg::SetAreaTop(double V) { SetArea(AreaTop_, V); }
void TBakGndImg::SetAreaBottom(double V) { SetArea(AreaBottom_, V); }
