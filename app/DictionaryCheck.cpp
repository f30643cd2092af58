#include "app/DictionaryCheck.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QScrollBar>
#include <algorithm>

#include "app/TextFit.h"
#include "app/uswivel.h"
#include "i18n/Glossator.h"
#include "toolkit/Stream.h"

namespace {

// Settings and texts that a dictionary may hold and the English one leaves out.
const std::vector<std::string> OptionalKeys = {"$decimalcomma$", "aboutdescription", "aboutmoreinformation",
                                               "aboutcopyright", "appiconname"};

bool Holds(const std::vector<std::string>& Keys, const std::string& Key) {
  return std::find(Keys.begin(), Keys.end(), Key) != Keys.end();
}

QStringList KeyFindings(const TGlossator& Dictionary, const TGlossator& English) {
  QStringList Findings;
  for (const std::string& Key : English.Keys())
    if (!Holds(Dictionary.Keys(), Key)) Findings << QStringLiteral("missing key [%1]").arg(QString::fromStdString(Key));
  for (const std::string& Key : Dictionary.Keys())
    if (!Holds(English.Keys(), Key) && !Holds(OptionalKeys, Key))
      Findings << QStringLiteral("unknown key [%1]").arg(QString::fromStdString(Key));
  return Findings;
}

// The reader turns "\n" into a line feed and fills "<%APPNAME%>" and "<%1%>", "<%2%>" ...;
// any other backslash or placeholder would reach the screen as it stands.
QStringList EscapeFindings(const TGlossator& Dictionary) {
  static const QRegularExpression Unreadable(QStringLiteral(R"(\\.?|<%(?!\d+%>)[^%]*%>)"));
  QStringList Findings;
  for (size_t I = 0; I < Dictionary.Keys().size(); ++I) {
    const QString Value = QString::fromStdString(Dictionary.Values()[I]);
    for (const QRegularExpressionMatch& M : Unreadable.globalMatch(Value))
      Findings << QStringLiteral("[%1]: unreadable escape %2").arg(QString::fromStdString(Dictionary.Keys()[I]), M.captured());
  }
  return Findings;
}

// The window and the about box in the dictionary's language, through all lesson steps.
QStringList ScreenFindings(const QString& File) {
  TStartMode Mode;
  Mode.Scripted = true;
  Mode.DictionaryFile = File;
  TForm1 Form(Mode);
  TFrmAbout About(&Form);
  Form.FrmAbout = &About;
  Form.SetSeed(1);
  Form.show();
  QStringList Findings = ClippedTexts(&About);
  for (int Step = 1; Step <= 5; ++Step) {
    if (Step > 1) Form.BButNextClick(Form.BButNext);
    QCoreApplication::processEvents();  // the memo lays out its text
    if (Form.Memo1->verticalScrollBar()->maximum() > 0)
      Findings << QStringLiteral("the lesson text of step %1 needs the memo to scroll").arg(Step);
    Findings << ClippedTexts(&Form);
  }
  Findings.removeDuplicates();
  return Findings;
}

}  // namespace

QStringList CheckDictionary(const QString& File, const QString& EnglishFile) {
  TGlossator Dictionary("Swivel"), English("Swivel");
  for (auto [Glossator, Name] : {std::pair{&Dictionary, &File}, std::pair{&English, &EnglishFile}}) {
    try {
      TFileStream Stream(*Name, fmOpenRead);
      Glossator->LoadFromStream(&Stream);
    } catch (const EFOpenError& Error) {
      return {QString::fromStdString(Error.what())};
    }
  }
  return KeyFindings(Dictionary, English) + EscapeFindings(Dictionary) + ScreenFindings(File);
}
