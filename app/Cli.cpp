#include "app/Cli.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QRegularExpression>

#include "app/uswivel.h"
#include "i18n/Glossator.h"

namespace {

// An integer option value within Low..High.
std::optional<long long> IntegerValue(const QString& Text, long long Low, long long High) {
  bool Ok = false;
  const long long V = Text.toLongLong(&Ok);
  if (!Ok || V < Low || V > High) return std::nullopt;
  return V;
}

QString ColorText(TColor Color) {
  const TColor Rgb = ColorToRGB(Color);
  return QStringLiteral("#%1%2%3")
      .arg(Rgb & 0xFF, 2, 16, QLatin1Char('0'))
      .arg((Rgb >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
      .arg((Rgb >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

QJsonArray Pair(double A, double B) { return QJsonArray{A, B}; }

}  // namespace

QString UsageText() {
  return QStringLiteral(
      "Usage: swivel [options]\n"
      "Turn a cloud of 15 random points and watch the least-squares line follow.\n\n"
      "Options for authors who script figures:\n"
      "  --seed N            seed the random generator with N (0 to 9223372036854775807)\n"
      "                      instead of the clock\n"
      "  --step N            after start-up, go on to lesson step N (1-5)\n"
      "  --angle P           rotate position P in tenths of a degree (clamped to the step's range)\n"
      "  --magnification P   y-axis magnification position P (0-48; 40 is normal), with --step 4\n"
      "  --snapshot FILE     start without boxes, render the main window to FILE (PNG) and exit\n"
      "  --report            start without boxes, print what the window shows as JSON and exit\n"
      "  --language CODE     show the program in language CODE (en, de, fr, ...), from the\n"
      "                      dictionary swivel.CODE.itl (swivel.itl for en); without it, the\n"
      "                      language of the user's locale when its dictionary is installed, else en\n"
      "  --about             with --snapshot, render the about box instead of the main window\n"
      "  --check-dictionary FILE  check a translated dictionary against swivel.itl and exit\n"
      "                      (0 when clean; each finding on a line of its own otherwise)\n"
      "  --help              show this text\n");
}

std::variant<TOptions, QString> ParseOptions(const QStringList& Args) {
  TOptions O;
  for (int I = 0; I < Args.size(); ++I) {
    const QString& A = Args[I];
    if (A.startsWith(QLatin1String("/serverhandle="), Qt::CaseInsensitive)) continue;
    if (A.startsWith(QLatin1Char('-')) && !A.startsWith(QLatin1String("--"))) {
      // Qt's own options (-platform xcb, -style ...) and their values.
      if (I + 1 < Args.size() && !Args[I + 1].startsWith(QLatin1Char('-'))) ++I;
      continue;
    }
    if (A == QLatin1String("--help")) {
      O.Help = true;
      continue;
    }
    if (A == QLatin1String("--report")) {
      O.Report = true;
      continue;
    }
    if (A == QLatin1String("--about")) {
      O.About = true;
      continue;
    }
    const bool Known = A == QLatin1String("--seed") || A == QLatin1String("--step") || A == QLatin1String("--angle") ||
                       A == QLatin1String("--magnification") || A == QLatin1String("--snapshot") ||
                       A == QLatin1String("--language") || A == QLatin1String("--check-dictionary");
    if (!Known) return QStringLiteral("swivel: unknown option '%1' (see swivel --help)").arg(A);
    // An option is never the value of the one before it: "--snapshot --report" misses
    // its file name.
    if (I + 1 >= Args.size() || Args[I + 1].startsWith(QLatin1String("--")))
      return QStringLiteral("swivel: option %1 needs a value").arg(A);
    const QString Value = Args[++I];
    auto Bad = [&](const QString& What) { return QStringLiteral("swivel: %1 needs %2, not '%3'").arg(A, What, Value); };
    if (A == QLatin1String("--seed")) {
      const auto V = IntegerValue(Value, 0, INT64_MAX);
      if (!V) return Bad(QStringLiteral("a whole number from 0"));
      O.Seed = static_cast<uint64_t>(*V);
    } else if (A == QLatin1String("--step")) {
      const auto V = IntegerValue(Value, 1, 5);
      if (!V) return Bad(QStringLiteral("a lesson step from 1 to 5"));
      O.Step = static_cast<int>(*V);
    } else if (A == QLatin1String("--angle")) {
      const auto V = IntegerValue(Value, 0, 3600);
      if (!V) return Bad(QStringLiteral("a position from 0 to 3600"));
      O.Angle = static_cast<int>(*V);
    } else if (A == QLatin1String("--magnification")) {
      const auto V = IntegerValue(Value, 0, 48);
      if (!V) return Bad(QStringLiteral("a position from 0 to 48"));
      O.Magnification = static_cast<int>(*V);
    } else if (A == QLatin1String("--language")) {
      static const QRegularExpression Code(QStringLiteral("^[a-z]{2}$"));
      if (!Code.match(Value).hasMatch()) return Bad(QStringLiteral("a two-letter language code such as de"));
      O.Language = Value;
    } else if (A == QLatin1String("--check-dictionary")) {
      if (Value.isEmpty()) return Bad(QStringLiteral("a file name"));
      O.CheckDictionary = Value;
    } else {
      if (Value.isEmpty()) return Bad(QStringLiteral("a file name"));
      O.Snapshot = Value;
    }
  }
  // Only step 4 shows the magnification bar; in the others the lesson keeps the normal
  // y range, and the lines it draws assume it.
  if (O.Magnification && O.Step != 4)
    return QStringLiteral("swivel: --magnification needs --step 4, the step with the magnification bar");
  return O;
}

QStringList InstalledLanguages(const QString& ProgramFile) {
  const QFileInfo Own(ItlFileName(ProgramFile, true));
  const QString Stem = Own.completeBaseName();
  QStringList Codes;
  if (Own.exists()) Codes << QStringLiteral("en");
  static const QRegularExpression Code(QStringLiteral("^[a-z]{2}$"));
  for (const QFileInfo& F : QDir(Own.absolutePath()).entryInfoList({Stem + QStringLiteral(".??.itl")}, QDir::Files)) {
    const QString C = F.completeBaseName().mid(Stem.size() + 1);
    if (Code.match(C).hasMatch()) Codes << C;
  }
  Codes.sort();
  return Codes;
}

std::optional<QString> ChooseDictionary(const QString& ProgramFile, const QString& Language, const QString& LocaleName,
                                        QString& Error) {
  const QStringList Installed = InstalledLanguages(ProgramFile);
  auto FileOf = [&](const QString& Code) {
    return Code == QLatin1String("en") ? QString() : ItlFileName(ProgramFile, true).chopped(3) + Code + ".itl";
  };
  if (Language.isEmpty()) {
    const QString FromLocale = LocaleName.left(LocaleName.indexOf(QLatin1Char('_')));
    return Installed.contains(FromLocale) ? FileOf(FromLocale) : QString();
  }
  if (Installed.contains(Language)) return FileOf(Language);
  Error = QStringLiteral("swivel: no dictionary for language '%1'; installed: %2").arg(Language, Installed.join(", "));
  return std::nullopt;
}

void ApplyOptions(TForm1& Form, const TOptions& O) {
  while (Form.LessonStep < O.Step && Form.BButNext->isEnabled()) Form.BButNextClick(Form.BButNext);
  if (O.Magnification) Form.SBarMagnif->SetPosition(*O.Magnification);
  if (O.Angle) Form.SBarRotate->SetPosition(*O.Angle);
}

QByteArray ReportJson(TForm1& Form) {
  TPlotter* P = Form.Plotter1;
  double K = 0, D = 0, Q = 0;
  try {
    Form.Stats->CalcLinFit(K, D, Q);
  } catch (const EKVRError&) {
  }
  QJsonArray Points, Lines;
  for (int I = 0; I < P->ItemCount(); ++I) {
    const TChartItem& Item = P->Item(I);
    if (Item.ChartItemKind == ikMark) Points.append(Pair(Item.X1, Item.Y1));
    else Lines.append(QJsonArray{Item.X1, Item.Y1, Item.X2, Item.Y2, ColorText(Item.Color)});
  }
  const QJsonObject Report{
      {"step", Form.LessonStep},
      {"rotate", QJsonObject{{"position", Form.SBarRotate->Position()}, {"min", Form.SBarRotate->Min()},
                             {"max", Form.SBarRotate->Max()}}},
      {"angle", DegreesOf(Form.SBarRotate->Position())},
      {"magnification", QJsonObject{{"position", Form.SBarMagnif->Position()}, {"visible", Form.SBarMagnif->isVisible()}}},
      {"xrange", Pair(P->Scale1X()->RangeLow(), P->Scale1X()->RangeHigh())},
      {"yrange", Pair(P->Scale1Y()->RangeLow(), P->Scale1Y()->RangeHigh())},
      {"slope", K},
      {"intercept", D},
      {"r2", Q},
      {"readout", Form.RdoRxy->DisplayText()},
      {"next_enabled", Form.BButNext->isEnabled()},
      {"memo", Form.Memo1->toPlainText()},
      {"caption", Form.windowTitle()},
      {"points", Points},
      {"lines", Lines}};
  return QJsonDocument(Report).toJson(QJsonDocument::Compact);
}

bool SaveSnapshot(QWidget& Window, const QString& FileName, QString& Error) {
  QCoreApplication::processEvents();  // pending layout, such as the memo's scroll bar
  const QPixmap Picture = Window.grab();
  if (Picture.save(FileName, "PNG")) return true;
  Error = QStringLiteral("swivel: cannot write the snapshot to '%1'").arg(FileName);
  return false;
}
