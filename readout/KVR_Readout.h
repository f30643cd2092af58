// TReadout: one number in a framed label field, with a caption to its left and a unit
// to its right. Every change of a property repaints at once through an off-screen
// bitmap; the text last drawn is DisplayText(). A screen reader finds a labelled value
// (KVR_ReadoutAccessible.h) and hears the shown text when it changes.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

#include "kvrbase/KVR_kvrbase.h"
#include "readout/KVR_ReadoutFormat.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Component.h"
#include "toolkit/Controls.h"

using TBeforeDisplayEvent = std::function<void(QObject* Sender, QString& Text)>;

class TReadout : public QWidget, public TComponentBase {
  Q_OBJECT
  Q_PROPERTY(double Value READ Value WRITE SetValue)
  Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
  Q_PROPERTY(bool Comma READ Comma WRITE SetComma)
  Q_PROPERTY(bool ForcePlusSign READ ForcePlusSign WRITE SetForcePlusSign)
  Q_PROPERTY(bool Empty READ Empty WRITE SetEmpty)
  Q_PROPERTY(QString OverflowIndicator READ OverflowIndicator WRITE SetOverflowIndicator)
  Q_PROPERTY(QString StateText READ StateText WRITE SetStateText)
  Q_PROPERTY(QString DTFormat READ DTFormat WRITE SetDTFormat)
  Q_PROPERTY(QString LeftText READ LeftText WRITE SetLeftText)
  Q_PROPERTY(QString RightText READ RightText WRITE SetRightText)
  Q_PROPERTY(int LeftSpace READ LeftSpace WRITE SetLeftSpace)
  Q_PROPERTY(int LabelWidth READ LabelWidth WRITE SetLabelWidth)

public:
  explicit TReadout(QWidget* Parent = nullptr);

  double Value() const { return Value_; }
  void SetValue(double V);
  TDisplay DisplayType() const { return Format_.DisplayType; }
  void SetDisplayType(TDisplay V);
  int Precision() const { return Format_.Precision; }
  void SetPrecision(int V);  // negative ignored, above 15 stored as 15
  bool Comma() const { return Format_.Comma; }
  void SetComma(bool V);
  bool ForcePlusSign() const { return Format_.ForcePlusSign; }
  void SetForcePlusSign(bool V);
  bool Empty() const { return Empty_; }
  void SetEmpty(bool V);
  QString OverflowIndicator() const { return OverflowIndicator_; }
  void SetOverflowIndicator(const QString& V);
  QString StateText() const { return Format_.StateText; }
  void SetStateText(const QString& V);
  QString DTFormat() const { return Format_.DTFormat; }
  void SetDTFormat(const QString& V);
  QString LeftText() const { return LeftText_; }
  void SetLeftText(const QString& V);
  QString RightText() const { return RightText_; }
  void SetRightText(const QString& V);
  TAlignment LeftTextAlignment() const { return LeftTextAlignment_; }
  void SetLeftTextAlignment(TAlignment V);
  TAlignment RightTextAlignment() const { return RightTextAlignment_; }
  void SetRightTextAlignment(TAlignment V);
  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment V);
  int LeftSpace() const { return LeftSpace_; }
  void SetLeftSpace(int V);  // negative ignored, beyond the width stored as the width
  int LabelWidth() const { return LabelWidth_; }
  void SetLabelWidth(int V);
  TFrameStyle FrameStyle() const { return FrameStyle_; }
  void SetFrameStyle(TFrameStyle V);
  TColorScheme ColorScheme() const { return ColorScheme_; }
  void SetColorScheme(TColorScheme V);
  TColor ColorLabBakG() const { return ColorLabBakG_; }
  void SetColorLabBakG(TColor V);
  TColor ColorLabText() const { return ColorLabText_; }
  void SetColorLabText(TColor V);
  TColor ColorOutBakG() const { return ColorOutBakG_; }
  void SetColorOutBakG(TColor V);
  TColor ColorOutText() const { return ColorOutText_; }
  void SetColorOutText(TColor V);

  // 0 over the left text, 1 over the label field, 2 right of it; set by mouse moves.
  int MouseArea() const { return MouseArea_; }
  const QString& DisplayText() const { return DisplayText_; }
  // The picture of the last paint, as copied onto the control.
  const TBitmap& Picture() const { return Picture_; }

  // Copies the settings of another readout (not Comma, ForcePlusSign, DTFormat, the
  // font or the event) and repaints.
  void Assign(const TReadout& Source);
  // Draws the whole control now (nothing while it is hidden).
  void Paint();

  // While the shown text keeps changing, screen readers hear it at most once in this
  // time, and always its last state.
  static constexpr int AnnounceIntervalMs = 500;

  TBeforeDisplayEvent OnBeforeDisplay;
  TNotifyEvent OnClick;
  TMouseMoveEvent OnMouseMove;

  // Draws what was set while the window was being loaded.
  void Loaded() override;

signals:
  // The shown text was told to screen readers (a value-change event).
  void Announced(const QString& Text);

protected:
  void paintEvent(QPaintEvent* Event) override;
  void changeEvent(QEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

private:
  template <class T>
  void Change(T& Field, const T& V);
  void Repaint();
  void RepaintValue();
  void DrawSideTexts(TCanvas* C);
  void DrawLabelFrame(TCanvas* C);
  // The value's text as the field shows it (formatted, passed to OnBeforeDisplay, the
  // overflow indicator when too wide) and its width in pixels.
  struct TShownValue {
    QString Text;
    int Width;
  };
  TShownValue ShownValue(TCanvas* C);
  QRect ValueField() const;
  void DrawValue(TCanvas* C, const TShownValue& Shown);
  void AnnounceChange();
  void SendValueChange();

  double Value_ = 0.0;
  TReadoutFormat Format_;
  bool Empty_ = false;
  QString OverflowIndicator_ = QStringLiteral("*********");
  QString LeftText_, RightText_;
  TAlignment LeftTextAlignment_ = taRightJustify, RightTextAlignment_ = taLeftJustify, Alignment_ = taCenter;
  int LeftSpace_ = 35, LabelWidth_ = 80;
  TFrameStyle FrameStyle_ = fsLowered;
  TColorScheme ColorScheme_ = csBWG;
  TColor ColorLabBakG_ = clBtnFace, ColorLabText_ = clBlack, ColorOutBakG_ = clBtnFace, ColorOutText_ = clBlack;
  TFrameColors Frame_;
  int MouseArea_ = 0;
  QString DisplayText_;
  TBitmap Picture_;
  bool PictureStale_ = true;
  int TextY_ = 0;  // the top of every text, set by the last paint
  QTimer AnnounceTimer_;
  bool AnnouncePending_ = false;
};
