// Form translation: walks a window's published text properties, the translatable objects
// and string lists its properties hold, and everything it owns, through Qt's meta-object
// system. It knows the toolkit only: an axis's settings are reached by their mark.
#include <QMetaProperty>

#include "i18n/Glossator.h"
#include "toolkit/Collection.h"
#include "toolkit/Component.h"
#include "toolkit/Strings.h"
#include "toolkit/Translatable.h"

void TGlossator::TranslateComponent(QObject* Component) {
  if (!Component) return;
  TranslateObject(Component);
  if (const TComponentBase* Owner = AsComponent(Component)) {
    const int Count = Owner->ComponentCount();
    for (int I = 0; I < Count; ++I) TranslateComponent(Owner->Components(I));
  }
}

void TGlossator::TranslateObject(QObject* Object) {
  bool Translate = true;
  if (OnTranslateObject) OnTranslateObject(this, Object, Translate);
  if (!Translate) return;
  const QMetaObject* Meta = Object->metaObject();
  for (int I = 0; I < Meta->propertyCount(); ++I) TranslateProperty(Object, Meta->property(I));
}

void TGlossator::TranslateProperty(QObject* Object, const QMetaProperty& Property) {
  const QString Prefix = QString::fromStdString(Prefix_);
  if (Property.metaType().id() == QMetaType::QString) {
    // Component names are never translated (Qt calls the name objectName).
    const QLatin1String Name(Property.name());
    if (Name == QLatin1String("Name") || Name == QLatin1String("objectName") || !Property.isWritable()) return;
    const QString Text = Property.read(Object).toString();
    if (Text.startsWith(Prefix)) Property.write(Object, Translate(Text.mid(Prefix.size())));
    return;
  }
  if (!(Property.metaType().flags() & QMetaType::PointerToQObject)) return;
  QObject* Value = Property.read(Object).value<QObject*>();
  if (!Value) return;
  if (auto* Collection = qobject_cast<TCollection*>(Value)) {
    const int Count = Collection->Count();
    for (int I = 0; I < Count; ++I) TranslateObject(Collection->Items(I));
  } else if (qobject_cast<TTranslatable*>(Value)) {
    TranslateObject(Value);
  } else if (auto* Lines = qobject_cast<TStrings*>(Value)) {
    for (int L = Lines->Count() - 1; L >= 0; --L)
      if (Lines->Strings(L).startsWith(Prefix)) Lines->SetStrings(L, Translate(Lines->Strings(L).mid(Prefix.size())));
  }
}
