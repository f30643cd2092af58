// The chart's property objects: the settings of one axis of one layer (TScaleProps),
// the coupling of layer ranges (TJointLayers) and the chart-area background
// (TBakGndImg). Each reports every change to the chart through OnChange.
#pragma once

#include <QFont>
#include <QObject>
#include <QString>
#include <array>
#include <memory>

#include "chart/KVR_Scale.h"
#include "kvrbase/KVR_kvrbase.h"
#include "toolkit/Translatable.h"

class EKVRPlotterError : public EKVRError {
public:
  using EKVRError::EKVRError;
};

enum TScaleLocationHoriz : uint8_t { slTop, slBottom };
enum TScaleLocationVert : uint8_t { slLeft, slRight };
enum TBkgFill : uint8_t { bfSimple, bfStretch, bfTile };
enum TBGAreaMode : uint8_t { bamNone, bamLeft, bamRight, bamTop, bamBottom, bamVStripe, bamHStripe, bamRect };

class TScaleProps : public QObject, public TTranslatable, private TScaleSettings {
  Q_OBJECT
  Q_INTERFACES(TTranslatable)
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(QString ScaleInscript READ ScaleInscript WRITE SetScaleInscript)
  Q_PROPERTY(QString UserTickText READ UserTickText WRITE SetUserTickText)

public:
  explicit TScaleProps(QObject* Parent = nullptr);
  ~TScaleProps() override;

  QString Caption() const { return Caption_; }
  void SetCaption(const QString& V);
  int CaptionPosX() const { return CaptionPosX_; }
  void SetCaptionPosX(int V);
  int CaptionPosY() const { return CaptionPosY_; }
  void SetCaptionPosY(int V);
  TAlignment CaptionAlignment() const { return CaptionAlignment_; }
  void SetCaptionAlignment(TAlignment V);
  TScaleUnitAnchor CaptionAnchor() const { return CaptionAnchor_; }
  void SetCaptionAnchor(TScaleUnitAnchor V);
  TColor ColorScale() const { return ColorScale_; }
  void SetColorScale(TColor V);
  TDTLabel* DateFormat() const { return DateFormat_.get(); }
  void SetDateFormat(const TDTLabel* V);
  int DecPlaces() const { return DecPlaces_; }
  void SetDecPlaces(int V);  // limited to -3..12
  bool DecimalComma() const { return DecimalComma_; }
  void SetDecimalComma(bool V);
  const QFont& Font() const { return Font_; }
  void SetFont(const QFont& V);
  bool Logarithmic() const { return Logarithmic_; }
  void SetLogarithmic(bool V);
  TFigType LabelType() const { return LabelType_; }
  void SetLabelType(TFigType V);
  int MinTicks() const { return MinTicks_; }
  void SetMinTicks(int V);
  double MinRange() const { return MinRange_; }
  void SetMinRange(double V);  // finite and above 1e-100, or ignored
  double RangeLow() const { return RangeLow_; }
  void SetRangeLow(double V);
  double RangeHigh() const { return RangeHigh_; }
  void SetRangeHigh(double V);
  bool ShortTicks() const { return ShortTicks_; }
  void SetShortTicks(bool V);
  QString ScaleInscript() const { return ScaleInscript_; }
  void SetScaleInscript(const QString& V);
  int ScalePos() const { return ScalePos_; }
  void SetScalePos(int V);
  QString UserTickText() const { return UserTickText_; }
  void SetUserTickText(const QString& V);
  bool Visible() const { return Visible_; }
  void SetVisible(bool V);

  TScaleType ScaleType() const { return ScaleType_; }
  // The range setters refuse non-finite values. StoreRange stores both ends as they are,
  // without the setters' rules or a notification.
  void StoreRange(double Low, double High);
  bool Loading() const { return Loading_; }
  void EndLoading() { Loading_ = false; }
  // The settings shared with the scale, which the chart hands to its scale as they are.
  const TScaleSettings& Settings() const { return *this; }
  // Copies every setting of Source, the side of the chart included.
  void Assign(const TScaleProps& Source);

  TNotifyEvent OnChange;

protected:
  // The side of the chart is stored as the scale type alone, so nothing can tell
  // another side than the one the scale is drawn on.
  void SetScaleType(TScaleType V);
  void Changed();

private:
  template <class T>
  void Store(T& Field, const T& V);
  void SetRange(double Low, double High);

  std::unique_ptr<TDTLabel> DateFormat_;
  QFont Font_;
  double MinRange_ = 1e-10;
  int ScalePos_ = 0;
  bool Loading_ = true;
};

class TScalePropsHoriz : public TScaleProps {
  Q_OBJECT

public:
  explicit TScalePropsHoriz(QObject* Parent = nullptr);
  TScaleLocationHoriz ScaleLocation() const { return ScaleType() == sctXB ? slTop : slBottom; }
  void SetScaleLocation(TScaleLocationHoriz V);
};

class TScalePropsVert : public TScaleProps {
  Q_OBJECT

public:
  explicit TScalePropsVert(QObject* Parent = nullptr);
  TScaleLocationVert ScaleLocation() const { return ScaleType() == sctYR ? slLeft : slRight; }
  void SetScaleLocation(TScaleLocationVert V);
};

// Which layer controls the horizontal and the vertical range of each layer (1..16).
// Joins are one level deep: a controller is never controlled.
class TJointLayers : public QObject {
  Q_OBJECT

public:
  explicit TJointLayers(QObject* Parent = nullptr);

  // Axis 0 is horizontal (LnnxControlledBy), 1 vertical (LnnyControlledBy).
  int ControlledBy(int Axis, int Layer) const;
  // Raises EKVRPlotterError for a destination out of range, already joined, or a layer
  // that others are joined to.
  void SetControlledBy(int Axis, int Layer, int Destination);

  // Called after a successful join with the joined layer and axis.
  std::function<void(int Axis, int Layer)> OnJoin;
  TNotifyEvent OnChange;

private:
  std::array<std::array<int, 16>, 2> Controller_;
};

class TBakGndImg : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Name READ Name WRITE SetName)

public:
  explicit TBakGndImg(QObject* Parent = nullptr) : QObject(Parent) {}

  QString Name() const { return Name_; }
  void SetName(const QString& V);  // only the file name unless IncludePath
  bool IncludePath() const { return IncludePath_; }
  void SetIncludePath(bool V);
  TBkgFill FillMode() const { return FillMode_; }
  void SetFillMode(TBkgFill V);
  TBGAreaMode AreaMode() const { return AreaMode_; }
  void SetAreaMode(TBGAreaMode V);
  TColor AreaColor() const { return AreaColor_; }
  void SetAreaColor(TColor V);
  double AreaLeft() const { return AreaLeft_; }
  void SetAreaLeft(double V);
  double AreaRight() const { return AreaRight_; }
  void SetAreaRight(double V);
  double AreaTop() const { return AreaTop_; }
  void SetAreaTop(double V);
  double AreaBottom() const { return AreaBottom_; }
  void SetAreaBottom(double V);

  TNotifyEvent OnChange;

private:
  template <class T>
  void Store(T& Field, const T& V);
  void SetArea(double& Field, double V);  // non-finite values refused
  QString Name_;
  bool IncludePath_ = false;
  TBkgFill FillMode_ = bfStretch;
  TBGAreaMode AreaMode_ = bamNone;
  TColor AreaColor_ = 0xDDDDDD;
  double AreaLeft_ = -1, AreaRight_ = 1, AreaTop_ = 1, AreaBottom_ = -1;
};

// The file-name part of a path: the text after the last separator or drive colon.
QString FileNamePart(const QString& Path);
