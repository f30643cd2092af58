#include "toolkit/Component.h"

#include <algorithm>

TComponentBase* AsComponent(QObject* Object) { return dynamic_cast<TComponentBase*>(Object); }

void TComponentBase::Prune() const {
  std::erase_if(Components_, [](const QPointer<QObject>& P) { return P.isNull(); });
}

int TComponentBase::ComponentCount() const {
  Prune();
  return static_cast<int>(Components_.size());
}

QObject* TComponentBase::Components(int Index) const {
  Prune();
  return Index >= 0 && Index < static_cast<int>(Components_.size()) ? Components_[Index].data() : nullptr;
}

void TComponentBase::InsertComponent(QObject* Component) {
  if (!Component) return;
  Components_.emplace_back(Component);
  if (TComponentBase* C = AsComponent(Component); C && HasState(csLoading)) C->Include(csLoading);
}

void TComponentBase::NotifyLoaded() {
  for (int I = 0; I < ComponentCount(); ++I)
    if (TComponentBase* C = AsComponent(Components(I))) C->Loaded();
  Loaded();
}

TComponent::TComponent(QObject* Owner) : QObject(Owner) {
  if (TComponentBase* O = AsComponent(Owner)) O->InsertComponent(this);
}

TComponent::~TComponent() { Include(csDestroying); }
