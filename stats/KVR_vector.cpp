#include "stats/KVR_vector.h"

#include <algorithm>

#include "stats/KVR_alloc.h"

std::string AllocationMessage(const QObject* Component, const char* What) {
  return "Component \"" + Component->objectName().toStdString() + "\": " + What;
}

TVector::TVector(QObject* Owner) : TComponent(Owner) {
  if (!TryAllocate(Data_, 1)) throw EKVRVectorError(AllocationMessage(this, "not enough memory on heap"));
}

void TVector::SetNrOfElem(int Value) {
  if (Value > 0 && Value != NrOfElem()) Resize(Value);
}

bool TVector::Resize(int Count) {
  if (Count == NrOfElem()) return true;
  if (Count < 1) return false;
  std::vector<double> Grown;
  if (!TryAllocate(Grown, static_cast<size_t>(Count))) throw EKVRVectorError(AllocationMessage(this, "not enough memory"));
  std::copy_n(Data_.begin(), std::min(Count, NrOfElem()), Grown.begin());
  Data_.swap(Grown);
  Changed();
  return true;
}

void TVector::SetElem(int Index, double Value) {
  if (!InRange(Index)) return;
  Data_[Index - 1] = Value;
  Changed();
}

void TVector::Clear() {
  std::fill(Data_.begin(), Data_.end(), 0.0);
  Changed();
}

void TVector::Changed() {
  if (OnChange) OnChange(this);
}
