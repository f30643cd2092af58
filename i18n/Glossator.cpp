#include "i18n/Glossator.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

#include "toolkit/CodePage.h"

namespace {
const std::string Terminator = "|$$";

char AsciiLowerChar(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

// 1-based position of Pattern in Text, 0 when absent.
size_t Position(const std::string& Text, const std::string& Pattern) {
  const size_t P = Text.find(Pattern);
  return P == std::string::npos ? 0 : P + 1;
}

// Count characters of Text after position From (1-based), or empty when Count <= 0.
std::string After(const std::string& Text, size_t From, long long Count) {
  if (Count <= 0 || From >= Text.size()) return {};
  return Text.substr(From, static_cast<size_t>(Count));
}
}  // namespace

std::string AsciiLower(std::string Text) {
  for (char& C : Text) C = AsciiLowerChar(C);
  return Text;
}

std::string ReplaceAll(const std::string& Text, const std::string& Pattern, const std::string& Replacement,
                       bool IgnoreCase) {
  if (Pattern.empty()) return Text;
  const auto Same = [IgnoreCase](char A, char B) { return IgnoreCase ? AsciiLowerChar(A) == AsciiLowerChar(B) : A == B; };
  auto At = std::search(Text.begin(), Text.end(), Pattern.begin(), Pattern.end(), Same);
  if (At == Text.end()) return Text;
  std::string Result;
  auto From = Text.begin();
  for (; At != Text.end(); At = std::search(From, Text.end(), Pattern.begin(), Pattern.end(), Same)) {
    Result.append(From, At).append(Replacement);
    From = At + static_cast<std::ptrdiff_t>(Pattern.size());
  }
  return Result.append(From, Text.end());
}

std::string NormalizeKey(std::string Key) {
  if (Key.empty()) return Key;
  std::replace(Key.begin(), Key.end(), '\r', ' ');
  std::replace(Key.begin(), Key.end(), '\n', ' ');
  std::replace(Key.begin(), Key.end(), '\t', ' ');
  Key.erase(std::unique(Key.begin(), Key.end(), [](char A, char B) { return A == ' ' && B == ' '; }), Key.end());
  Key.erase(0, Key.find_first_not_of(' ') == std::string::npos ? Key.size() : Key.find_first_not_of(' '));
  return Key;
}

std::string DecodeValue(std::string Value, const std::string& AppName) {
  if (Value.empty()) return Value;
  std::replace(Value.begin(), Value.end(), '\r', ' ');
  std::replace(Value.begin(), Value.end(), '\n', ' ');
  Value = ReplaceAll(Value, "\\n", "\n", false);
  return ReplaceAll(Value, "<%APPNAME%>", AppName, true);
}

bool ReadUntilDelimiter(TStream& Stream, const std::string& Delimiter, std::string& Record) {
  const int64_t Start = Stream.Position();
  const std::string Wanted = AsciiLower(Delimiter);
  Record.clear();
  size_t Found = std::string::npos;
  char Chunk[256];
  while (Found == std::string::npos) {
    const int N = Stream.Read(Chunk, sizeof Chunk);
    // Only the new chunk, and the end of the previous one, can hold a first occurrence.
    const size_t From = Record.size() >= Wanted.size() ? Record.size() - Wanted.size() + 1 : 0;
    Record.append(Chunk, static_cast<size_t>(std::max(N, 0)));
    const auto It = std::search(Record.begin() + static_cast<std::ptrdiff_t>(From), Record.end(), Wanted.begin(),
                                Wanted.end(), [](char A, char B) { return AsciiLowerChar(A) == B; });
    if (It != Record.end()) Found = static_cast<size_t>(It - Record.begin());
    if (N < static_cast<int>(sizeof Chunk)) break;
  }
  if (Found == std::string::npos) return false;
  Record.resize(Found + Delimiter.size());
  Stream.SetPosition(Start + static_cast<int64_t>(Record.size()));
  return true;
}

QString ItlFileName(const QString& ProgramPath, bool WithFolder) {
  const QFileInfo Info(ProgramPath);
  const QString Name = WithFolder ? ProgramPath : Info.fileName();
  static const QRegularExpression ThreeLetterExtension(QStringLiteral("\\.[^./\\\\]{3}$"));
  return ThreeLetterExtension.match(Info.fileName()).hasMatch() ? Name.left(Name.size() - 3) + QStringLiteral("itl")
                                                                  : Name + QStringLiteral(".itl");
}

TGlossator::TGlossator(const std::string& AppName) : AppName_(AppName) {}

TGlossator::~TGlossator() {
  if (AutoCreateItlFile_) WriteItlFile();
}

void TGlossator::LoadFromStream(TStream* Stream) {
  Keys_.clear();
  Values_.clear();
  // The records are read from a copy in memory (the same bytes, without a file seek for
  // every record); the file as a whole decides its encoding.
  TMemoryStream Bytes;
  Bytes.CopyFrom(*Stream, 0);
  Bytes.SetPosition(0);
  const bool Utf8 = IsValidUtf8(std::string_view(Bytes.Memory(), static_cast<size_t>(Bytes.Size())));
  std::string Record;
  while (ReadUntilDelimiter(Bytes, Terminator, Record)) {
    if (!Utf8) Record = Cp1252ToUtf8(Record);
    // The record ends with its terminator, so that is the first one in it.
    const size_t P1 = Position(Record, "["), P2 = Position(Record, "]="), P3 = Record.size() - Terminator.size() + 1;
    const auto L1 = static_cast<long long>(P1), L2 = static_cast<long long>(P2), L3 = static_cast<long long>(P3);
    Keys_.push_back(NormalizeKey(AsciiLower(After(Record, P1, L2 - L1 - 1))));
    Values_.push_back(DecodeValue(After(Record, P2 + 1, L3 - L2 - 2), AppName_));
  }
}

void TGlossator::Translate(const std::string& Key, const std::vector<std::string>& Args, std::string& Result) {
  const auto Found = std::find(Keys_.begin(), Keys_.end(), AsciiLower(Key));
  const bool Known = Found != Keys_.end();
  Result = Known ? Values_[static_cast<size_t>(Found - Keys_.begin())] : Key;
  for (size_t K = 0; K < Args.size(); ++K)
    Result = ReplaceAll(Result, "<%" + std::to_string(K + 1) + "%>", Args[K], true);
  if (Known) {
    if (OnTranslated) OnTranslated(this, Key, Result);
    return;
  }
  if (!AutoCreateItlFile_) return;
  const std::string Line = "[" + Key + "]=" + Key + "|$$";
  const std::string Lower = AsciiLower(Line);
  if (std::none_of(ItlOutput_.begin(), ItlOutput_.end(), [&](const std::string& L) { return AsciiLower(L) == Lower; }))
    ItlOutput_.push_back(Line);
}

QString TGlossator::Translate(const QString& Key) {
  std::string Result;
  Translate(Key.toStdString(), {}, Result);
  return QString::fromStdString(Result);
}

// UTF-8, CR LF lines; line feeds inside texts go back to the backslash-n escape so that
// the file reads back as it was loaded.
void TGlossator::WriteItlFile() const {
  std::vector<std::string> Lines = ItlOutput_;
  for (size_t I = 0; I < Keys_.size(); ++I) Lines.push_back("[" + Keys_[I] + "]=" + Values_[I] + "|$$");
  const QString Name = OutputFileName_.isEmpty() ? ItlFileName(QCoreApplication::applicationFilePath(), false)
                                                 : OutputFileName_;
  QFile File(Name);
  if (!File.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    qWarning("Cannot write the ITL file %s: %s", qPrintable(Name), qPrintable(File.errorString()));
    return;
  }
  for (const std::string& Line : Lines) File.write((ReplaceAll(Line, "\n", "\\n", false) + "\r\n").c_str());
}
