#include "stats/KVR_matrix.h"

#include <algorithm>

#include "stats/KVR_alloc.h"

TMatrix::TMatrix(QObject* Owner) : TComponent(Owner) { Resize(1, 1); }

bool TMatrix::Resize(int Columns, int Rows) {
  Columns = std::max(Columns, 1);
  Rows = std::max(Rows, 1);
  // Build the new storage completely before touching the old, so a failure changes nothing.
  std::vector<std::vector<double>> Grown(static_cast<size_t>(Columns));
  for (int C = 0; C < Columns; ++C) {
    if (!TryAllocate(Grown[C], static_cast<size_t>(Rows)))
      throw EKVRMatrixError(AllocationMessage(this, "not enough memory on heap"));
    if (C < NrOfColumns()) std::copy_n(Columns_[C].begin(), std::min(Rows, Rows_), Grown[C].begin());
  }
  Columns_.swap(Grown);
  Rows_ = Rows;
  Changed();
  return true;
}

void TMatrix::SetElem(int Column, int Row, double Value) {
  if (!InRange(Column, Row)) return;
  Columns_[Column - 1][Row - 1] = Value;
  Changed();
}

void TMatrix::Fill(double Value) {
  for (std::vector<double>& Column : Columns_) std::fill(Column.begin(), Column.end(), Value);
  Changed();
}

void TMatrix::Changed() {
  if (OnChange) OnChange(this);
}
