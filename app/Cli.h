// The command line of the program: options for authors who script figures, and the
// snapshot and report that they produce.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <variant>

#include "app/Residuals.h"

class QTranslator;
class QWidget;
class TForm1;

struct TOptions {
  std::optional<uint64_t> Seed;
  int Step = 1;
  std::optional<int> Angle, Magnification;
  QString Snapshot;
  QString Language;  // "de": the German dictionary swivel.de.itl
  QString CheckDictionary;  // a dictionary to check instead of starting the lesson
  bool About = false;       // the snapshot shows the about box
  TOverlays Show;           // what the chart shows beside the points and lines
  std::optional<int> Scale;  // of the snapshot: device pixels to a pixel, 1 to 4
  bool Report = false;
  bool Help = false;
  bool Version = false;
  // A picture, a report or a check: run start-up without boxes, print or save, and end.
  bool Scripted() const { return Report || !Snapshot.isEmpty() || !CheckDictionary.isEmpty(); }
};

// The options of Args (the program name excluded), or the error text for the first bad
// one. Arguments for the companion link ("/serverhandle=...") and Qt's own single-dash
// options are left to their owners.
std::variant<TOptions, QString> ParseOptions(const QStringList& Args);
QString UsageText();
// "swivel" and the version the build was made with.
QString VersionText();

// The languages with a dictionary beside ProgramFile: "en" for its own ITL file, and CODE
// for each swivel.CODE.itl, sorted.
QStringList InstalledLanguages(const QString& ProgramFile);
// The ITL file to load for Language ("" for the program's own, English); without a
// language, the one for the user's locale (LocaleName, "de_DE" say) when it is installed,
// else English. Null, with the reason in Error, when the language asked for has none.
std::optional<QString> ChooseDictionary(const QString& ProgramFile, const QString& Language, const QString& LocaleName,
                                        QString& Error);
// Loads into Translator Qt's own texts (the file dialog, standard buttons) in the language
// of DictionaryFile, as ChooseDictionary names it. False for English, the language they
// are written in, and when the system has no translation of them.
bool LoadQtTranslation(QTranslator& Translator, const QString& DictionaryFile);

// After start-up: the lesson step, angle and magnification the options ask for.
void ApplyOptions(TForm1& Form, const TOptions& Options);
// What the window shows, as one JSON object.
QByteArray ReportJson(TForm1& Form);
// Renders a whole window to a PNG file, as a screen of device pixel ratio Scale shows
// it (without a scale, at the window's own ratio); false with a reason when it cannot
// be written.
bool SaveSnapshot(QWidget& Window, const QString& FileName, std::optional<int> Scale, QString& Error);
