#include "readout/KVR_ReadoutAccessible.h"

#include <QAccessibleWidget>
#include <cmath>

#include "readout/KVR_Readout.h"

namespace {

class TReadoutAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
  explicit TReadoutAccessible(TReadout* Readout) : QAccessibleWidget(Readout, QAccessible::StaticText) {}

  void* interface_cast(QAccessible::InterfaceType Type) override {
    if (Type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(Type);
  }

  // The name is the caption (with the unit, if any); a name set on purpose wins.
  QString text(QAccessible::Text Type) const override {
    if (Type == QAccessible::Value) return Readout()->DisplayText();
    if (Type == QAccessible::Name && Readout()->accessibleName().isEmpty())
      return QStringList{Readout()->LeftText(), Readout()->RightText()}.join(QLatin1Char(' ')).trimmed();
    return QAccessibleWidget::text(Type);
  }

  QAccessible::State state() const override {
    QAccessible::State S = QAccessibleWidget::state();
    S.readOnly = true;
    return S;
  }

  // The number as shown (0.9045, not 0.9045034234...); one shown in a form that is no
  // plain number, a time say, reads as the value itself. A value the readout cannot show
  // reads as nothing.
  QVariant currentValue() const override {
    const double V = Readout()->Value();
    if (Readout()->Empty() || !std::isfinite(V)) return {};
    bool Plain = false;
    const double Shown = QString(Readout()->DisplayText()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&Plain);
    return Plain ? Shown : V;
  }
  void setCurrentValue(const QVariant&) override {}  // read-only
  QVariant maximumValue() const override { return {}; }
  QVariant minimumValue() const override { return {}; }
  QVariant minimumStepSize() const override { return {}; }

private:
  TReadout* Readout() const { return static_cast<TReadout*>(widget()); }
};

}  // namespace

QAccessibleInterface* ReadoutAccessibleFactory(const QString& ClassName, QObject* Object) {
  if (ClassName != QLatin1String(TReadout::staticMetaObject.className()) || !Object || !Object->isWidgetType())
    return nullptr;
  return new TReadoutAccessible(static_cast<TReadout*>(Object));
}
