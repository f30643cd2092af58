// The chart and the mouse: world coordinates of the pointer, pan, drag zoom, the zoom
// window, crosshair and text-label dragging, and the cursor by mode. Every range change
// goes through SetLayerRange, so joined layers follow.
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <tuple>

#include "chart/KVR_plotter.h"

namespace {

// The cursors of the modes, drawn here: 1 hand (pan), 2 zoom window, 3 zoom drag,
// 4 positive zoom window.
QCursor ModeCursor(int Number) {
  QPixmap Picture(24, 24);
  Picture.fill(Qt::transparent);
  QPainter P(&Picture);
  P.setRenderHint(QPainter::Antialiasing);
  P.setPen(QPen(Qt::black, 2));
  P.setBrush(Qt::white);
  if (Number == 1) {
    P.drawRoundedRect(6, 9, 12, 12, 3, 3);
    for (int F = 0; F < 4; ++F) P.drawRoundedRect(6 + F * 3, 3 + (F % 3), 3, 9, 1.5, 1.5);
  } else {
    P.drawEllipse(3, 3, 13, 13);
    P.drawLine(14, 14, 21, 21);
    if (Number == 2 || Number == 4) P.drawRect(6, 6, 7, 7);
    if (Number == 3 || Number == 4) P.drawLine(7, 9, 12, 9), P.drawLine(9, 7, 9, 12);
  }
  return QCursor(Picture, Number == 1 ? 12 : 9, Number == 1 ? 12 : 9);
}

// The application-wide cursor; the default one is no override at all.
void SetApplicationCursor(const QCursor* Cursor) {
  static bool Overridden = false;
  if (!Cursor) {
    if (Overridden) QGuiApplication::restoreOverrideCursor();
    Overridden = false;
  } else if (Overridden) {
    QGuiApplication::changeOverrideCursor(*Cursor);
  } else {
    QGuiApplication::setOverrideCursor(*Cursor);
    Overridden = true;
  }
}

bool UsableRange(double Low, double High) { return std::isfinite(Low) && std::isfinite(High) && Low != High; }

}  // namespace

bool TCustomPlotter::InChartArea(int X, int Y) const { return ChartArea().Contains(X, Y); }

bool TCustomPlotter::IsDragMode() const {
  return MouseAction_ == maPan || MouseAction_ == maPanHoriz || MouseAction_ == maPanVert ||
         MouseAction_ == maZoomDrag || MouseAction_ == maDragCrossH || MouseAction_ == maDragLabel;
}

TCustomPlotter::TLayerRanges TCustomPlotter::CurrentRanges(int Layer) const {
  return {ScaleX(Layer)->RangeLow(), ScaleX(Layer)->RangeHigh(), ScaleY(Layer)->RangeLow(), ScaleY(Layer)->RangeHigh()};
}

void TCustomPlotter::mousePressEvent(QMouseEvent* Event) {
  const QPoint P = Event->position().toPoint();
  if (OnMouseDown) OnMouseDown(this, Event->button(), Event->modifiers(), P.x(), P.y());
  const bool ZoomMode = MouseAction_ == maZoomWind || MouseAction_ == maZoomWindPos;
  if (ZoomMode && Event->button() == Qt::LeftButton && InChartArea(P.x(), P.y()) && !Zoom_.Active) {
    Zoom_ = {true, P.x(), P.y(), P.x(), P.y()};
    DrawZoomWindow();
  }
}

void TCustomPlotter::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint P = Event->position().toPoint();
  const int X = P.x(), Y = P.y();
  if (OnMouseMove) OnMouseMove(this, Qt::NoButton, Event->modifiers(), X, Y);
  if (IsDragMode()) {
    if (!(Event->buttons() & Qt::LeftButton)) DragStarted_ = false;
    else if (!DragStarted_) StartDrag(X, Y);
    else DragStep(X, Y);
  } else if (Zoom_.Active) {
    DrawZoomWindow();  // XOR: erases the previous rectangle
    const TChartArea A = ChartArea();
    Zoom_.X1 = std::clamp(X, A.Left, A.Right);
    int NewY = Y;
    if (Isometric_) NewY = (Y - Zoom_.Y0) * (Zoom_.X1 - Zoom_.X0) < 1 ? Zoom_.Y0 + (Zoom_.X0 - Zoom_.X1) : Zoom_.Y0 + (Zoom_.X1 - Zoom_.X0);
    Zoom_.Y1 = std::clamp(NewY, A.Top, A.Bottom);
    DrawZoomWindow();
  }
  UpdateCursor(X, Y);
  double WX, WY;
  PixelToWorld(CurrentLayer_, X, Y, WX, WY);
  if (OnMouseMoveInChart) OnMouseMoveInChart(this, InChartArea(X, Y), Event->modifiers(), WX, WY);
}

void TCustomPlotter::mouseReleaseEvent(QMouseEvent* Event) {
  const QPoint P = Event->position().toPoint();
  if (OnMouseUp) OnMouseUp(this, Event->button(), Event->modifiers(), P.x(), P.y());
  if (!Zoom_.Active) return;
  if (Event->button() == Qt::RightButton) {
    DrawZoomWindow();
    Zoom_.Active = false;
  } else if (Event->button() == Qt::LeftButton) {
    FinishZoomWindow();
  }
}

void TCustomPlotter::StartDrag(int X, int Y) {
  DragStarted_ = true;
  DragStart_ = QPoint(X, Y);
  for (int L = 1; L <= Layers; ++L) Recorded_[L - 1] = CurrentRanges(L);
  if (MouseAction_ == maDragCrossH) {
    // The nearest crosshair that is on, by the distance to its lines.
    DraggedCrossHair_ = 1;
    int Best = INT_MAX;
    for (int I = 1; I <= 4; ++I) {
      const TCrossHair* C = CrossHair(I);
      if (C->Mode() == chOff) continue;
      int PX, PY;
      WorldToPixel(C->Layer(), C->PosX(), C->PosY(), PX, PY);
      const int64_t DX = std::llabs(int64_t(PX) - X), DY = std::llabs(int64_t(PY) - Y);
      const int64_t D = C->Mode() == chBoth ? std::min(DX, DY) : C->Mode() == chVert ? DX : DY;
      if (D < Best) Best = static_cast<int>(std::min<int64_t>(D, INT_MAX - 1)), DraggedCrossHair_ = I;
    }
  } else if (MouseAction_ == maDragLabel) {
    DraggedLabel_ = 1;
    double Best = INFINITY;
    for (int I = 1; I <= 30; ++I) {
      const TTextLabel* T = TextLabel(I);
      if (!T->Visible() || T->Caption().isEmpty()) continue;
      int PX, PY;
      WorldToPixel(T->Layer(), T->PosX(), T->PosY(), PX, PY);
      const double AX = T->AttachToData() == tlamXOnly || T->AttachToData() == tlamBoth ? PX : T->PosX();
      const double AY = T->AttachToData() == tlamYOnly || T->AttachToData() == tlamBoth ? PY : T->PosY();
      const double D = (AX - X) * (AX - X) + (AY - Y) * (AY - Y);
      if (D < Best) Best = D, DraggedLabel_ = I;
    }
  }
}

void TCustomPlotter::DragStep(int X, int Y) {
  switch (MouseAction_) {
    case maPan: case maPanHoriz: case maPanVert:
      if (InChartArea(X, Y)) PanStep(X, Y);
      break;
    case maZoomDrag:
      if (InChartArea(X, Y)) ZoomDragStep(X, Y);
      break;
    case maDragCrossH: {
      TCrossHair* C = CrossHair(DraggedCrossHair_);
      double WX, WY;
      PixelToWorld(C->Layer(), X, Y, WX, WY);
      C->SetPosX(WX);
      C->SetPosY(WY);
      Paint();
      if (OnCrossHairMove) OnCrossHairMove(this, C);
      break;
    }
    case maDragLabel: {
      TTextLabel* T = TextLabel(DraggedLabel_);
      double WX, WY;
      PixelToWorld(T->Layer(), X, Y, WX, WY);
      const TTxtLblAttachMode A = T->AttachToData();
      T->SetPosX(A == tlamXOnly || A == tlamBoth ? WX : X);
      T->SetPosY(A == tlamYOnly || A == tlamBoth ? WY : Y);
      Paint();
      if (OnTextLabelMove) OnTextLabelMove(this, T);
      break;
    }
    default: break;
  }
}

// Holds painting while every mouse-affected layer takes its new ranges (a step that
// would leave an empty or non-finite range is ignored), then paints once and reports.
void TCustomPlotter::ZoomPanStep(const std::function<TLayerRanges(int Layer)>& NewRanges) {
  const bool Was = PaintSuppressed_;
  PaintSuppressed_ = true;
  for (int L = 1; L <= Layers; ++L) {
    if (!MouseAffected_.Contains(L)) continue;
    const TLayerRanges R = NewRanges(L);
    if (UsableRange(R[0], R[1]) && UsableRange(R[2], R[3])) SetLayerRange(L, R[0], R[1], R[2], R[3]);
  }
  PaintSuppressed_ = Was;
  if (!Was) Paint();
  if (OnZoomPan) OnZoomPan(this);
}

// The content follows the mouse: a drag to the right shows smaller x values.
void TCustomPlotter::PanStep(int X, int Y) {
  ZoomPanStep([&](int L) {
    TLayerRanges New = CurrentRanges(L);
    const TLayerRanges& Rec = Recorded_[L - 1];
    if (MouseAction_ != maPanVert)
      std::tie(New[0], New[1]) = Map(0, L).Dragged(New[0], New[1], Rec[0], Rec[1], X - DragStart_.x());
    if (MouseAction_ != maPanHoriz)
      std::tie(New[2], New[3]) = Map(1, L).Dragged(New[2], New[3], Rec[2], Rec[3], Y - DragStart_.y());
    return New;
  });
}

// A drag to the right or up zooms in about the recorded ranges' centres.
void TCustomPlotter::ZoomDragStep(int X, int Y) {
  const double FX = 1 - double(X - DragStart_.x()) / width();
  const double FY = Isometric_ ? FX : 1 + double(Y - DragStart_.y()) / height();
  ZoomPanStep([&](int L) {
    const TLayerRanges& R = Recorded_[L - 1];
    const double CX = (R[0] + R[1]) / 2, HX = (R[1] - R[0]) / 2 * FX;
    const double CY = (R[2] + R[3]) / 2, HY = (R[3] - R[2]) / 2 * FY;
    return TLayerRanges{CX - HX, CX + HX, CY - HY, CY + HY};
  });
}

// The rubber band: drawn and erased with a white XOR pen on what the control shows.
void TCustomPlotter::DrawZoomWindow() {
  TCanvas* C = FullCanvas();
  C->Pen()->SetMode(pmXor);
  C->Pen()->SetColor(clWhite);
  C->Pen()->SetWidth(1);
  C->Pen()->SetStyle(psSolid);
  C->Brush()->SetStyle(bsClear);
  C->Rectangle(Zoom_.X0, Zoom_.Y0, Zoom_.X1, Zoom_.Y1);
  C->Pen()->SetMode(pmCopy);
  C->Brush()->SetStyle(bsSolid);
  update();
}

void TCustomPlotter::FinishZoomWindow() {
  DrawZoomWindow();
  Zoom_.Active = false;
  if (Zoom_.X1 == Zoom_.X0 || Zoom_.Y1 == Zoom_.Y0) return;
  ZoomPanStep([&](int L) {
    TLayerRanges R;  // xa, xb, ya, yb
    PixelToWorld(L, Zoom_.X0, Zoom_.Y0, R[0], R[2]);
    PixelToWorld(L, Zoom_.X1, Zoom_.Y1, R[1], R[3]);
    if (MouseAction_ == maZoomWindPos) {
      // The axes keep their direction.
      if ((R[1] < R[0]) == (ScaleX(L)->RangeHigh() > ScaleX(L)->RangeLow())) std::swap(R[0], R[1]);
      if ((R[3] < R[2]) == (ScaleY(L)->RangeHigh() > ScaleY(L)->RangeLow())) std::swap(R[2], R[3]);
    }
    return R;
  });
}

void TCustomPlotter::UpdateCursor(int X, int Y) {
  if (!InChartArea(X, Y) || MouseCursorFixed_) return SetApplicationCursor(nullptr);
  switch (MouseAction_) {
    case maNone: {
      static const QCursor Cross(Qt::CrossCursor);
      return SetApplicationCursor(&Cross);
    }
    case maPan: case maPanHoriz: case maPanVert: {
      static const QCursor Hand = ModeCursor(1);
      return SetApplicationCursor(&Hand);
    }
    case maZoomWind: {
      static const QCursor Window = ModeCursor(2);
      return SetApplicationCursor(&Window);
    }
    case maZoomDrag: {
      static const QCursor Drag = ModeCursor(3);
      return SetApplicationCursor(&Drag);
    }
    case maZoomWindPos: {
      static const QCursor Positive = ModeCursor(4);
      return SetApplicationCursor(&Positive);
    }
    case maDragCrossH: case maDragLabel: return SetApplicationCursor(nullptr);
    default: return;  // the other modes leave the cursor as it is
  }
}

void TCustomPlotter::enterEvent(QEnterEvent* Event) {
  QWidget::enterEvent(Event);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TCustomPlotter::leaveEvent(QEvent* Event) {
  QWidget::leaveEvent(Event);
  SetApplicationCursor(nullptr);
  if (OnMouseLeave) OnMouseLeave(this);
}

void TCustomPlotter::keyPressEvent(QKeyEvent* Event) {
  if (OnKeyDown) OnKeyDown(this, Event->key(), Event->modifiers());
  QWidget::keyPressEvent(Event);
}

bool TCustomPlotter::focusNextPrevChild(bool) { return false; }
