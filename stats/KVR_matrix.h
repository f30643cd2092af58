// TMatrix: a resizable two-dimensional array of doubles, one array per column, indexed
// [column, row] from 1, that reports every change. Reads outside give 0.0, writes there
// are dropped.
#pragma once

#include <functional>
#include <vector>

#include "stats/KVR_vector.h"

class EKVRMatrixError : public EKVRError {
public:
  using EKVRError::EKVRError;
};

// Declared for user-defined row distances; no operation of this library raises it.
using TOnCalcDistanceEvent = std::function<void(QObject* Sender, int Row1, int Row2, double& Distance)>;

class TMatrix : public TComponent {
  Q_OBJECT
  Q_PROPERTY(int NrOfColumns READ NrOfColumns WRITE SetNrOfColumns)
  Q_PROPERTY(int NrOfRows READ NrOfRows WRITE SetNrOfRows)
  Q_PROPERTY(QString DataID READ DataID WRITE SetDataID)

public:
  explicit TMatrix(QObject* Owner = nullptr);

  int NrOfColumns() const { return static_cast<int>(Columns_.size()); }
  void SetNrOfColumns(int Value) { Resize(Value, NrOfRows()); }
  int NrOfRows() const { return Rows_; }
  void SetNrOfRows(int Value) { Resize(NrOfColumns(), Value); }
  QString DataID() const { return DataID_; }
  void SetDataID(const QString& Value) { DataID_ = Value; }

  // Sizes below 1 count as 1; the overlapping part keeps its values, new elements are 0.
  bool Resize(int Columns, int Rows);
  double Elem(int Column, int Row) const {
    return InRange(Column, Row) ? Columns_[Column - 1][Row - 1] : 0.0;
  }
  void SetElem(int Column, int Row, double Value);
  void Fill(double Value);

  TNotifyEvent OnChange;
  TSortExchgEvent OnSortExchange;
  TOnCalcDistanceEvent OnCalcDistance;

private:
  bool InRange(int Column, int Row) const {
    return Column >= 1 && Column <= NrOfColumns() && Row >= 1 && Row <= Rows_;
  }
  void Changed();
  std::vector<std::vector<double>> Columns_;
  int Rows_ = 0;
  QString DataID_;
};
