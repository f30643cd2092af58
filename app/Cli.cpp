#include "app/Cli.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QThread>
#include <QTranslator>
#include <QWindow>
#include <algorithm>
#include <functional>

#include "app/uswivel.h"
#include "i18n/Glossator.h"
#include "toolkit/Bitmap.h"

namespace {

// Two lowercase ASCII letters, as "de". Checked by hand: the first regular expression a
// program matches costs most of a millisecond at start-up.
bool IsLanguageCode(const QString& Text) {
  return Text.size() == 2 && std::all_of(Text.begin(), Text.end(), [](QChar C) { return C >= u'a' && C <= u'z'; });
}

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

// The overlays of a comma-separated list such as "residuals,mean-squares".
std::optional<TOverlays> OverlaysOf(const QString& List) {
  TOverlays Overlays;
  for (const QString& Name : List.split(QLatin1Char(','))) {
    if (Name == QLatin1String("residuals")) Overlays.Residuals = true;
    else if (Name == QLatin1String("squares")) Overlays.Squares = true;
    else if (Name == QLatin1String("mean-squares")) Overlays.MeanSquares = true;
    else return std::nullopt;
  }
  return Overlays;
}

// What an option does with its value: nothing when it was taken, else what the value
// should have been.
using TTakeValue = std::function<std::optional<QString>(TOptions& O, const QString& Value)>;

// One command-line option: its name, the name of its value (none for a switch), its help
// text (lines after the first are continuations) and what it does with the value.
struct TOptionSpec {
  QLatin1String Name;
  QLatin1String ValueName;
  const char* Help;
  TTakeValue Take;
};

// A whole number within Low..High, handed to Store; What says what it must be otherwise.
TTakeValue Integer(long long Low, long long High, const char* What, void (*Store)(TOptions&, long long)) {
  return [=](TOptions& O, const QString& Value) -> std::optional<QString> {
    const auto N = IntegerValue(Value, Low, High);
    if (!N) return QString::fromUtf8(What);
    Store(O, *N);
    return std::nullopt;
  };
}

// A file name (not empty) into Field.
TTakeValue FileName(QString TOptions::*Field) {
  return [=](TOptions& O, const QString& Value) -> std::optional<QString> {
    if (Value.isEmpty()) return QStringLiteral("a file name");
    O.*Field = Value;
    return std::nullopt;
  };
}

// An option without a value: it sets Field.
TTakeValue Switch(bool TOptions::*Field) {
  return [=](TOptions& O, const QString&) -> std::optional<QString> {
    O.*Field = true;
    return std::nullopt;
  };
}

// Every option, in the order of the help text. Adding an option is adding an entry here.
const TOptionSpec Options[] = {
    {QLatin1String("--seed"), QLatin1String("N"),
     "seed the random generator with N (0 to 9223372036854775807)\ninstead of the clock",
     Integer(0, INT64_MAX, "a whole number from 0", [](TOptions& O, long long N) { O.Seed = static_cast<uint64_t>(N); })},
    {QLatin1String("--step"), QLatin1String("N"), "after start-up, go on to lesson step N (1-5)",
     Integer(1, 5, "a lesson step from 1 to 5", [](TOptions& O, long long N) { O.Step = static_cast<int>(N); })},
    {QLatin1String("--angle"), QLatin1String("P"), "rotate position P in tenths of a degree (clamped to the step's range)",
     Integer(0, 3600, "a position from 0 to 3600", [](TOptions& O, long long N) { O.Angle = static_cast<int>(N); })},
    {QLatin1String("--magnification"), QLatin1String("P"),
     "y-axis magnification position P (0-48; 40 is normal), with --step 4",
     Integer(0, 48, "a position from 0 to 48", [](TOptions& O, long long N) { O.Magnification = static_cast<int>(N); })},
    {QLatin1String("--snapshot"), QLatin1String("FILE"),
     "start without boxes, render the main window to FILE (PNG) and exit", FileName(&TOptions::Snapshot)},
    {QLatin1String("--report"), QLatin1String(), "start without boxes, print what the window shows as JSON and exit",
     Switch(&TOptions::Report)},
    {QLatin1String("--language"), QLatin1String("CODE"),
     "show the program in language CODE (en, de, fr, ...), from the\n"
     "dictionary swivel.CODE.itl (swivel.itl for en); without it, the\n"
     "language of the user's locale when its dictionary is installed, else en",
     [](TOptions& O, const QString& Value) -> std::optional<QString> {
       if (!IsLanguageCode(Value)) return QStringLiteral("a two-letter language code such as de");
       O.Language = Value;
       return std::nullopt;
     }},
    {QLatin1String("--show"), QLatin1String("LIST"),
     "show on the chart what LIST names, separated by commas: residuals\n"
     "(to the red line), squares (of the residuals), mean-squares (of the\n"
     "distances from the mean of y, with its line)",
     [](TOptions& O, const QString& Value) -> std::optional<QString> {
       const auto Overlays = OverlaysOf(Value);
       if (!Overlays) return QStringLiteral("a list of residuals, squares and mean-squares, separated by commas");
       O.Show = *Overlays;
       return std::nullopt;
     }},
    {QLatin1String("--scale"), QLatin1String("N"), "with --snapshot, render N device pixels to a pixel (1-4)",
     Integer(1, 4, "a scale from 1 to 4", [](TOptions& O, long long N) { O.Scale = static_cast<int>(N); })},
    {QLatin1String("--about"), QLatin1String(), "with --snapshot, render the about box instead of the main window",
     Switch(&TOptions::About)},
    {QLatin1String("--check-dictionary"), QLatin1String("FILE"),
     "check a translated dictionary against swivel.itl and exit\n(0 when clean; each finding on a line of its own otherwise)",
     FileName(&TOptions::CheckDictionary)},
    {QLatin1String("--version"), QLatin1String(), "print the program's version and exit", Switch(&TOptions::Version)},
    {QLatin1String("--help"), QLatin1String(), "show this text", Switch(&TOptions::Help)},
};

const TOptionSpec* FindOption(const QString& Name) {
  for (const TOptionSpec& Spec : Options)
    if (Name == Spec.Name) return &Spec;
  return nullptr;
}

}  // namespace

// The help column starts at 22; a longer name and value push it two spaces further.
QString UsageText() {
  constexpr int HelpColumn = 22;
  QString Text = QStringLiteral(
      "Usage: swivel [options]\n"
      "Turn a cloud of 15 random points and watch the least-squares line follow.\n\n"
      "Options for authors who script figures:\n");
  for (const TOptionSpec& Spec : Options) {
    QString Head = QStringLiteral("  ") + Spec.Name;
    if (!Spec.ValueName.isEmpty()) Head += QLatin1Char(' ') + Spec.ValueName;
    const QStringList Lines = QString::fromUtf8(Spec.Help).split(QLatin1Char('\n'));
    Text += Head.leftJustified(HelpColumn - 2) + QStringLiteral("  ") + Lines.first() + QLatin1Char('\n');
    for (qsizetype L = 1; L < Lines.size(); ++L) Text += QString(HelpColumn, QLatin1Char(' ')) + Lines[L] + QLatin1Char('\n');
  }
  return Text;
}

QString VersionText() { return QStringLiteral("swivel " SWIVEL_VERSION); }

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
    const TOptionSpec* Spec = FindOption(A);
    if (!Spec) return QStringLiteral("swivel: unknown option '%1' (see swivel --help)").arg(A);
    QString Value;
    if (!Spec->ValueName.isEmpty()) {
      // An option is never the value of the one before it: "--snapshot --report" misses
      // its file name.
      if (I + 1 >= Args.size() || Args[I + 1].startsWith(QLatin1String("--")))
        return QStringLiteral("swivel: option %1 needs a value").arg(A);
      Value = Args[++I];
    }
    if (const std::optional<QString> Wanted = Spec->Take(O, Value))
      return QStringLiteral("swivel: %1 needs %2, not '%3'").arg(A, *Wanted, Value);
  }
  // Only step 4 shows the magnification bar; in the others the lesson keeps the normal
  // y range, and the lines it draws assume it.
  if (O.Magnification && O.Step != 4)
    return QStringLiteral("swivel: --magnification needs --step 4, the step with the magnification bar");
  if (O.Scale && O.Snapshot.isEmpty()) return QStringLiteral("swivel: --scale needs --snapshot, the picture it scales");
  return O;
}

QStringList InstalledLanguages(const QString& ProgramFile) {
  const QFileInfo Own(ItlFileName(ProgramFile, true));
  const QString Stem = Own.completeBaseName();
  QStringList Codes;
  if (Own.exists()) Codes << QStringLiteral("en");
  // The names as ChooseDictionary makes them, case and all; English is the program's own.
  // Matched by hand: a name filter would compile a regular expression.
  const QString Prefix = Stem + QLatin1Char('.'), Suffix = QStringLiteral(".itl");
  for (const QString& Name : QDir(Own.absolutePath()).entryList(QDir::Files)) {
    if (Name.size() != Prefix.size() + 2 + Suffix.size() || !Name.startsWith(Prefix) || !Name.endsWith(Suffix)) continue;
    const QString C = Name.mid(Prefix.size(), 2);
    if (IsLanguageCode(C) && C != QLatin1String("en")) Codes << C;
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

bool LoadQtTranslation(QTranslator& Translator, const QString& DictionaryFile) {
  if (DictionaryFile.isEmpty()) return false;
  const QString Code = DictionaryFile.chopped(4).right(2);  // "de" of swivel.de.itl
  return Translator.load(QLocale(Code), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void ApplyOptions(TForm1& Form, const TOptions& O) {
  while (Form.LessonStep < O.Step && Form.BButNext->isEnabled()) Form.BButNextClick(Form.BButNext);
  if (O.Magnification) Form.SBarMagnif->SetPosition(*O.Magnification);
  if (O.Angle) Form.SBarRotate->SetPosition(*O.Angle);
  Form.SetOverlays(O.Show);
}

QByteArray ReportJson(TForm1& Form) {
  TPlotter* P = Form.Plotter1;
  double K = 0, D = 0, Q = 0;
  try {
    Form.Stats->CalcLinFit(K, D, Q);
  } catch (const EKVRError&) {
  }
  const TSumsOfSquares Sums = SumsOfSquares(RotateCloud(Form.DataPoints, Form.SBarRotate->Position()), K, D);
  QJsonArray Points, Lines, Squares;
  for (int I = 0; I < P->ItemCount(); ++I) {
    const TChartItem& Item = P->Item(I);
    const QJsonArray Corners{Item.X1, Item.Y1, Item.X2, Item.Y2, ColorText(Item.Color)};
    if (Item.ChartItemKind == ikMark) Points.append(Pair(Item.X1, Item.Y1));
    else if (Item.ChartItemKind == ikLine) Lines.append(Corners);
    else Squares.append(Corners);
  }
  QJsonObject Report{
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
      {"ss_residual", Sums.Residual},
      {"ss_total", Sums.Total},
      {"readout", Form.RdoRxy->DisplayText()},
      {"next_enabled", Form.BButNext->isEnabled()},
      {"memo", Form.Memo1->toPlainText()},
      {"caption", Form.windowTitle()},
      {"points", Points},
      {"lines", Lines}};
  if (!Squares.isEmpty()) Report.insert(QStringLiteral("squares"), Squares);
  return QJsonDocument(Report).toJson(QJsonDocument::Compact);
}

namespace {

// The frame the window shows at its own scale: on the offscreen platform, the event
// processing that shows a window paints it into the window's backing store at once, so
// the frame is there to be saved without a second paint or a copy. Null elsewhere, and
// below one device pixel to a pixel, where the window's own frame leaves controls
// unpainted.
const QImage* ShownFrame(QWidget& Window) {
  const qreal Ratio = Window.devicePixelRatioF();
  if (QGuiApplication::platformName() != QLatin1String("offscreen") || !(Ratio >= 1)) return nullptr;
  const QWindow* Handle = Window.windowHandle();
  QBackingStore* Store = Window.backingStore();
  QPaintDevice* Device = Store && Handle && Handle->isExposed() ? Store->paintDevice() : nullptr;
  if (!Device || Device->devType() != QInternal::Image) return nullptr;
  const auto* Frame = static_cast<const QImage*>(Device);
  return Frame->size() == Window.size() * Ratio ? Frame : nullptr;
}

// Runs the events, user input held back, until Done() or for LimitMs at most.
template <typename Predicate>
void AwaitUntil(Predicate Done, int LimitMs) {
  QElapsedTimer Waited;
  Waited.start();
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (Done() || Waited.elapsed() >= LimitMs) return;
    QThread::msleep(5);
  }
}

// On a display the window manager maps the window some time after show(), and then
// usually gives it the focus; drawn before that, it lacks the active colours and the
// focus frame the user sees. Waits, a bounded while, until the window is exposed, then
// briefly for that focus: a display that withholds it shows the window inactive, and so
// does the picture. Keys typed meanwhile wait too, so the picture is the state asked for.
void AwaitOnScreen(const QWidget& Window) {
  AwaitUntil([&] { return Window.windowHandle() && Window.windowHandle()->isExposed(); }, 2000);
  AwaitUntil([&] { return Window.isActiveWindow(); }, 200);
}

// The window drawn afresh at Ratio device pixels to a pixel.
QPixmap Rendered(QWidget& Window, qreal Ratio) {
  QPixmap Picture(Window.size() * Ratio);
  Picture.setDevicePixelRatio(Ratio);
  Window.render(&Picture);
  return Picture;
}

}  // namespace

bool SaveSnapshot(QWidget& Window, const QString& FileName, std::optional<int> Scale, QString& Error) {
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) AwaitOnScreen(Window);
  // Pending layout and paints, such as the memo's scroll bar; not the user's input.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  const QImage* Frame = Scale ? nullptr : ShownFrame(Window);
  const QString Reason =
      SavePng(Frame ? *Frame : Rendered(Window, Scale ? *Scale : Window.devicePixelRatioF()).toImage(), FileName);
  if (Reason.isEmpty()) return true;
  Error = QStringLiteral("swivel: cannot write the snapshot to '%1': %2").arg(FileName, Reason);
  return false;
}
