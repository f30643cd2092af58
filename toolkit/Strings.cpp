#include "toolkit/Strings.h"

QString TStrings::Strings(int Index) const { return Index >= 0 && Index < Count() ? Lines_[Index] : QString(); }

void TStrings::SetStrings(int Index, const QString& Value) {
  if (Index < 0 || Index >= Count() || Lines_[Index] == Value) return;
  Lines_[Index] = Value;
  Changed();
}

int TStrings::Add(const QString& Value) {
  Lines_.append(Value);
  Changed();
  return Count() - 1;
}

void TStrings::Clear() {
  if (Lines_.isEmpty()) return;
  Lines_.clear();
  Changed();
}

QString TStrings::Text() const {
  QString Result;
  for (const QString& Line : Lines_) Result += Line + QLatin1Char('\n');
  return Result;
}

void TStrings::SetText(const QString& Value) {
  QString Normalised = Value;
  Normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  QStringList Lines = Normalised.split(QLatin1Char('\n'));
  if (!Lines.isEmpty() && Lines.last().isEmpty()) Lines.removeLast();
  if (Lines == Lines_) return;
  Lines_ = Lines;
  Changed();
}

void TStrings::Changed() {
  if (OnChange) OnChange(this);
}
