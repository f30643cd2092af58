// TVector: a resizable array of doubles with 1-based indices that reports every change.
// Reads outside the range give 0.0, writes there are dropped.
#pragma once

#include <functional>
#include <vector>

#include "kvrbase/KVR_kvrbase.h"
#include "toolkit/Component.h"

class EKVRVectorError : public EKVRError {
public:
  using EKVRError::EKVRError;
};

// Declared for sorting; no operation of this library raises it.
using TSortExchgEvent =
    std::function<void(QObject* Sender, uint8_t ExchgWhat, int Index1, int Index2, int First, int Last)>;

// "Component "<name>": <what>", the allocation failure text of the containers.
std::string AllocationMessage(const QObject* Component, const char* What);

class TVector : public TComponent {
  Q_OBJECT
  Q_PROPERTY(int NrOfElem READ NrOfElem WRITE SetNrOfElem)

public:
  explicit TVector(QObject* Owner = nullptr);

  int NrOfElem() const { return static_cast<int>(Data_.size()); }
  void SetNrOfElem(int Value);
  bool Resize(int Count);
  double Elem(int Index) const { return InRange(Index) ? Data_[Index - 1] : 0.0; }
  void SetElem(int Index, double Value);
  void Clear();

  TNotifyEvent OnChange;
  TSortExchgEvent OnSortExchange;

private:
  bool InRange(int Index) const { return Index >= 1 && Index <= NrOfElem(); }
  void Changed();
  std::vector<double> Data_;
};
