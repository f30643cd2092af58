#include "toolkit/Accessible.h"

#include <QAccessibleWidget>
#include <algorithm>
#include <cmath>

#include "toolkit/StdCtrls.h"

namespace {

// The scroll bars of the stored designs set a value (an angle, a magnification) rather
// than scroll a view, so they read as sliders.
class TScrollBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
  explicit TScrollBarAccessible(TScrollBar* Bar) : QAccessibleWidget(Bar, QAccessible::Slider) {}

  void* interface_cast(QAccessible::InterfaceType Type) override {
    if (Type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(Type);
  }
  QString text(QAccessible::Text Type) const override {
    return Type == QAccessible::Value ? Bar()->SpokenValue() : QAccessibleWidget::text(Type);
  }
  QVariant currentValue() const override { return Bar()->SpokenNumber(Bar()->Position()); }
  QVariant maximumValue() const override { return Bar()->SpokenNumber(Bar()->Max()); }
  QVariant minimumValue() const override { return Bar()->SpokenNumber(Bar()->Min()); }
  QVariant minimumStepSize() const override { return Bar()->SpokenNumber(Bar()->SmallChange()); }
  // A value from an assistive tool, in the spoken unit; one that is no number is ignored.
  void setCurrentValue(const QVariant& Value) override {
    bool Ok = false;
    const double Spoken = Value.toDouble(&Ok);
    if (!Ok || !std::isfinite(Spoken)) return;
    const double Position = std::clamp(Spoken / Bar()->SpokenScale(), double(Bar()->Min()), double(Bar()->Max()));
    Bar()->SetPosition(static_cast<int>(std::lround(Position)));
  }

private:
  TScrollBar* Bar() const { return static_cast<TScrollBar*>(widget()); }
};

// Qt reads a plain top-level widget as a "client" area (a filler to screen readers).
class TWindowAccessible : public QAccessibleWidget {
public:
  explicit TWindowAccessible(QWidget* Window) : QAccessibleWidget(Window, QAccessible::Window) {}
};

QAccessibleInterface* ToolkitFactory(const QString& ClassName, QObject* Object) {
  if (!Object || !Object->isWidgetType()) return nullptr;
  auto* W = static_cast<QWidget*>(Object);
  if (ClassName == QLatin1String(TScrollBar::staticMetaObject.className()))
    return new TScrollBarAccessible(static_cast<TScrollBar*>(W));
  if (ClassName == QLatin1String("QWidget") && W->isWindow()) return new TWindowAccessible(W);
  return nullptr;
}

}  // namespace

void InstallAccessibility() { QAccessible::installFactory(ToolkitFactory); }
