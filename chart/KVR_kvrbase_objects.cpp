// The crosshair, date-time format and text label property objects.
#include "chart/KVR_kvrbase.h"

#include <algorithm>

void TCrossHair::Changed() {
  if (OnChange) OnChange(this);
}
void TCrossHair::SetPosX(double V) { PosX_ = V, Changed(); }
void TCrossHair::SetPosY(double V) { PosY_ = V, Changed(); }
void TCrossHair::SetColor(TColor V) { Color_ = V, Changed(); }
void TCrossHair::SetMode(TCrossHMode V) { Mode_ = V, Changed(); }
void TCrossHair::SetLineType(TPenStyle V) { LineType_ = V, Changed(); }
void TCrossHair::SetLineWid(int V) { LineWid_ = V, Changed(); }
void TCrossHair::SetLayer(int V) { Layer_ = std::clamp(V, 1, 16), Changed(); }

void TDTLabel::Changed() {
  if (OnChange) OnChange(this);
}
void TDTLabel::SetTimeFormat(TTimeFormat V) { TimeFormat_ = V, Changed(); }
void TDTLabel::SetDateOrder(TDateOrder V) { DateOrder_ = V, Changed(); }
void TDTLabel::SetDateSeparator(char V) {
  if (V != DateSeparator_) DateSeparator_ = V, Changed();
}
void TDTLabel::SetTimeSeparator(char V) {
  if (V != TimeSeparator_) TimeSeparator_ = V, Changed();
}
void TDTLabel::SetYearLength(TYearLength V) {
  if (V != YearLength_) YearLength_ = V, Changed();
}
void TDTLabel::SetMonthName(bool V) {
  if (V != MonthName_) MonthName_ = V, Changed();
}
void TDTLabel::SetDateForTime(TDateForTime V) {
  if (V != DateForTime_) DateForTime_ = V, Changed();
}

void TDTLabel::SetScaleDefaults() {
  SetTimeFormat(tfHHMMSS);
  SetDateSeparator('-');
  SetTimeSeparator(':');
  SetYearLength(ylYYYY);
  SetMonthName(true);
  SetDateForTime(dtOnePerDay);
  SetDateOrder(doDDMMYY);
}

void TDTLabel::Assign(const TDTLabel& Source) {
  SetTimeFormat(Source.TimeFormat_);
  SetDateSeparator(Source.DateSeparator_);
  SetTimeSeparator(Source.TimeSeparator_);
  SetYearLength(Source.YearLength_);
  SetMonthName(Source.MonthName_);
  SetDateOrder(Source.DateOrder_);
  SetDateForTime(Source.DateForTime_);
}

TCustomTextLabel::TCustomTextLabel(QObject* Parent)
    : QObject(Parent), Font_(QStringLiteral("MS Sans Serif"), 8) {}

template <class T>
void TCustomTextLabel::Store(T& Field, const T& V) {
  Field = V;
  if (OnChange) OnChange(this);
}
void TCustomTextLabel::SetPosX(double V) { Store(PosX_, V); }
void TCustomTextLabel::SetPosY(double V) { Store(PosY_, V); }
void TCustomTextLabel::SetLayer(int V) {
  if (V >= 1 && V <= 16) Store(Layer_, V);
}
void TCustomTextLabel::SetAttachToData(TTxtLblAttachMode V) { Store(AttachToData_, V); }
void TCustomTextLabel::SetAlignment(TAlignment V) { Store(Alignment_, V); }
void TCustomTextLabel::SetVerticalAlignment(TVerticalAlignment V) { Store(VerticalAlignment_, V); }
void TCustomTextLabel::SetColorBkg(TColor V) { Store(ColorBkg_, V); }
void TCustomTextLabel::SetColorBorder(TColor V) { Store(ColorBorder_, V); }
void TCustomTextLabel::SetColorShadow(TColor V) { Store(ColorShadow_, V); }
void TCustomTextLabel::SetShadowDx(int V) { Store(ShadowDx_, V); }
void TCustomTextLabel::SetShadowDy(int V) { Store(ShadowDy_, V); }
void TCustomTextLabel::SetTransparent(bool V) { Store(Transparent_, V); }
void TCustomTextLabel::SetFont(const QFont& V) { Store(Font_, V); }
void TCustomTextLabel::SetCaption(const QString& V) { Store(Caption_, V); }
void TCustomTextLabel::SetMode(TTxtLblMode V) { Store(Mode_, V); }
void TCustomTextLabel::SetVisible(bool V) { Store(Visible_, V); }
