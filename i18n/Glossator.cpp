#include "i18n/Glossator.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "toolkit/CodePage.h"

namespace {
const std::string Terminator = "|$$";

char AsciiLowerChar(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

// "name.exe", not "name", "name.ex" or "name.e.x" (checked by hand: the first regular
// expression a program matches costs most of a millisecond at start-up).
bool HasThreeLetterExtension(const QString& FileName) {
  const qsizetype N = FileName.size();
  if (N < 4 || FileName[N - 4] != u'.') return false;
  for (qsizetype I = N - 3; I < N; ++I)
    if (FileName[I] == u'.' || FileName[I] == u'/' || FileName[I] == u'\\') return false;
  return true;
}

// The bytes of Text from From up to To, empty when To is not beyond From.
std::string Slice(const std::string& Text, size_t From, size_t To) {
  return From < To ? Text.substr(From, To - From) : std::string();
}

// The index just after the UTF-8 character that begins at At.
size_t AfterCharacter(const std::string& Text, size_t At) {
  size_t Next = At + 1;
  while (Next < Text.size() && (static_cast<unsigned char>(Text[Next]) & 0xC0) == 0x80) ++Next;
  return Next;
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
  return HasThreeLetterExtension(Info.fileName()) ? Name.left(Name.size() - 3) + QStringLiteral("itl")
                                                  : Name + QStringLiteral(".itl");
}

TGlossator::TGlossator(const std::string& AppName) : AppName_(AppName) {}

QString TGlossator::Close() const { return AutoCreateItlFile_ ? WriteItlFile() : QString(); }

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
    // The key lies between the first "[" (or the record's start) and the first "]=";
    // the value runs from there, or without "]=" from the second character, up to the
    // terminator, the first one in the record. Every cut falls between UTF-8 characters.
    const size_t Open = Record.find('['), Equals = Record.find("]="), End = Record.size() - Terminator.size();
    const size_t KeyFrom = Open == std::string::npos ? 0 : Open + 1;
    Keys_.push_back(NormalizeKey(AsciiLower(Equals == std::string::npos ? std::string() : Slice(Record, KeyFrom, Equals))));
    const size_t ValueFrom = Equals == std::string::npos ? AfterCharacter(Record, 0) : Equals + 2;
    Values_.push_back(DecodeValue(Slice(Record, ValueFrom, End), AppName_));
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

// UTF-8, CR LF lines; line feeds inside texts go back to the backslash-n escape, and
// every other byte (a NUL among them) is written as it is, so that the file reads back
// as it was loaded.
std::string TGlossator::ItlText() const {
  std::string Text;
  const auto Add = [&Text](const std::string& Line) { Text += ReplaceAll(Line, "\n", "\\n", false) + "\r\n"; };
  for (const std::string& Line : ItlOutput_) Add(Line);
  for (size_t I = 0; I < Keys_.size(); ++I) Add("[" + Keys_[I] + "]=" + Values_[I] + "|$$");
  return Text;
}

QString TGlossator::WriteItlFile() const {
  const QString Name = OutputFileName_.isEmpty() ? ItlFileName(QCoreApplication::applicationFilePath(), false)
                                                 : OutputFileName_;
  const QString Why = ReplaceFile(Name, QByteArray::fromStdString(ItlText()));
  if (Why.isEmpty()) return {};
  return QStringLiteral("Cannot write the ITL file %1: %2").arg(Name, Why);
}
