// TGlossator: the translation dictionary. It reads key/text pairs from an ITL file,
// answers lookups with numbered arguments, translates a window and everything it owns,
// and can collect missing keys and write them with every entry to a new ITL file.
// Texts are UTF-8 bytes; an ITL file that is not valid UTF-8 is read as Windows-1252.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Stream.h"

class QMetaProperty;

class TGlossator {
public:
  using TTranslatedEvent = std::function<void(TGlossator* Sender, const std::string& Key, std::string& Text)>;
  using TTranslateObjectEvent = std::function<void(TGlossator* Sender, QObject* Object, bool& Translate)>;

  explicit TGlossator(const std::string& AppName);
  TGlossator(const TGlossator&) = delete;
  TGlossator& operator=(const TGlossator&) = delete;
  ~TGlossator() = default;
  // The end of a run: writes the ITL file of collected keys and all entries when
  // AutoCreateItlFile is set; the error message, or empty. Destruction writes nothing,
  // so that a failed write is never lost in a destructor.
  QString Close() const;

  TTranslatedEvent OnTranslated;
  TTranslateObjectEvent OnTranslateObject;

  // Replaces every entry by the records of Stream, read from its beginning.
  void LoadFromStream(TStream* Stream);
  // Result: the text of Key (ASCII case ignored) with "<%k%>" replaced by argument k, or
  // the key itself. Never fails.
  void Translate(const std::string& Key, const std::vector<std::string>& Args, std::string& Result);
  QString Translate(const QString& Key);

  // Form translation: every published text property and string-list line that begins
  // with Prefix, in Component and, depth first, everything it owns.
  void TranslateComponent(QObject* Component);
  void TranslateObject(QObject* Object);

  const std::vector<std::string>& Keys() const { return Keys_; }
  const std::vector<std::string>& Values() const { return Values_; }
  const std::vector<std::string>& ItlOutput() const { return ItlOutput_; }
  const std::string& Prefix() const { return Prefix_; }
  bool AutoCreateItlFile() const { return AutoCreateItlFile_; }
  void SetAutoCreateItlFile(bool V) { AutoCreateItlFile_ = V; }
  const std::string& AppName() const { return AppName_; }
  // Where the collected file is written (default: the program's ITL name in the current
  // folder).
  void SetOutputFileName(const QString& FileName) { OutputFileName_ = FileName; }
  // The bytes of the ITL file: the collected keys, then every entry as loaded, so that
  // loading them gives back the same entries after the collected ones.
  std::string ItlText() const;
  // Writes ItlText(); the error message, or empty on success. A failed write leaves the
  // old file as it was.
  QString WriteItlFile() const;

private:
  void TranslateProperty(QObject* Object, const QMetaProperty& Property);

  std::vector<std::string> Keys_, Values_;
  std::string Prefix_ = "GL_";
  std::vector<std::string> ItlOutput_;
  bool AutoCreateItlFile_ = false;
  std::string AppName_;
  QString OutputFileName_;
};

// --- the pure text rules of the ITL format --------------------------------------------

std::string AsciiLower(std::string Text);
// Replaces every Pattern after the previous replacement; inserted text is never searched.
std::string ReplaceAll(const std::string& Text, const std::string& Pattern, const std::string& Replacement,
                       bool IgnoreCase);
// Line breaks and tabs to blanks, runs of blanks to one, no leading blank.
std::string NormalizeKey(std::string Key);
// Line breaks to blanks, backslash-n to a line feed, "<%APPNAME%>" to AppName.
std::string DecodeValue(std::string Value, const std::string& AppName);
// The next record up to and including Delimiter (ASCII case ignored), read in chunks of
// 256 bytes; the stream is left just after it. False when no delimiter is left.
bool ReadUntilDelimiter(TStream& Stream, const std::string& Delimiter, std::string& Record);

// The ITL file of a program: beside it (WithFolder) or as a bare name. A name with a
// three-letter extension has it replaced by "itl"; any other gets ".itl" appended.
QString ItlFileName(const QString& ProgramPath, bool WithFolder);
