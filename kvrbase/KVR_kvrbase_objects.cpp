// The crosshair, date-time format and text label property objects.
#include "kvrbase/KVR_kvrbase.h"

#include <algorithm>
#include <cmath>

#include "toolkit/Setter.h"

// Every setter of these objects stores and notifies only on a change; positions refuse
// values that are not finite.
template <class T>
void TCrossHair::Store(T& Field, const T& V) {
  StoreChanged(Field, V, [this] {
    if (OnChange) OnChange(this);
  });
}
void TCrossHair::SetPosX(double V) {
  if (std::isfinite(V)) Store(PosX_, V);
}
void TCrossHair::SetPosY(double V) {
  if (std::isfinite(V)) Store(PosY_, V);
}
void TCrossHair::SetColor(TColor V) { Store(Color_, V); }
void TCrossHair::SetMode(TCrossHMode V) { Store(Mode_, V); }
void TCrossHair::SetLineType(TPenStyle V) { Store(LineType_, V); }
void TCrossHair::SetLineWid(int V) { Store(LineWid_, V); }
void TCrossHair::SetLayer(int V) { Store(Layer_, std::clamp(V, 1, 16)); }

template <class T>
void TDTLabel::Store(T& Field, const T& V) {
  StoreChanged(Field, V, [this] {
    if (OnChange) OnChange(this);
  });
}
void TDTLabel::SetTimeFormat(TTimeFormat V) { Store(TimeFormat_, V); }
void TDTLabel::SetDateOrder(TDateOrder V) { Store(DateOrder_, V); }
void TDTLabel::SetDateSeparator(char V) { Store(DateSeparator_, V); }
void TDTLabel::SetTimeSeparator(char V) { Store(TimeSeparator_, V); }
void TDTLabel::SetYearLength(TYearLength V) { Store(YearLength_, V); }
void TDTLabel::SetMonthName(bool V) { Store(MonthName_, V); }
void TDTLabel::SetDateForTime(TDateForTime V) { Store(DateForTime_, V); }

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
  StoreChanged(Field, V, [this] {
    if (OnChange) OnChange(this);
  });
}
void TCustomTextLabel::SetPosX(double V) {
  if (std::isfinite(V)) Store(PosX_, V);
}
void TCustomTextLabel::SetPosY(double V) {
  if (std::isfinite(V)) Store(PosY_, V);
}
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
