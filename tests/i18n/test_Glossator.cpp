// The dictionary: ITL records, lookups, collected keys and the file written at the end.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <optional>
#include <random>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "i18n/Glossator.h"

namespace {

// A dictionary loaded from the given ITL bytes.
struct TLoaded {
  TGlossator G{""};
  explicit TLoaded(const std::string& Itl) {
    TMemoryStream S;
    S.WriteBuffer(Itl.data(), static_cast<int>(Itl.size()));
    G.LoadFromStream(&S);
  }
  std::string Get(const std::string& Key, const std::vector<std::string>& Args = {}) {
    std::string R;
    G.Translate(Key, Args, R);
    return R;
  }
};

TEST(Glossator, WithoutEntriesEveryKeyShowsItself) {
  TLoaded D("");
  EXPECT_TRUE(D.G.Keys().empty());
  EXPECT_EQ(D.Get("Regression and Rotated Data"), "Regression and Rotated Data");
  EXPECT_EQ(D.Get("Hello <%1%>", {"you"}), "Hello you");
}

TEST(Glossator, KeysIgnoreAsciiCaseAndAreNormalised) {
  TLoaded D("[Explain_1]=First|$$\r\n[  Reset]=Again|$$\r\n[a\tb\r\nc]=abc|$$\r\n[\xC3\x9C" "ber]=over|$$\r\n"
            "[explain_1]=Second|$$");
  EXPECT_EQ(D.Get("ExPlain_1"), "First");  // the first of two records wins
  EXPECT_EQ(D.Get("Reset"), "Again");
  EXPECT_EQ(D.Get(" Reset"), " Reset");    // the asked key is not normalised
  EXPECT_EQ(D.Get("A B C"), "abc");
  EXPECT_EQ(D.Get("\xC3\x9C" "ber"), "over");
  EXPECT_EQ(D.Get("\xC3\xBC" "ber"), "\xC3\xBC" "ber");  // only ASCII letters fold
}

TEST(Glossator, ValuesDecodeEscapesAndPlaceholders) {
  TLoaded D("[a]=one\\ntwo|$$[b]=one\\Ntwo|$$[c]=raw\r\nbreak|$$[d]=by <%appname%>!|$$[e]=x [y]= z|$$"
            "[f]=<%1%> and <%2%> and <%1%>|$$");
  EXPECT_EQ(D.Get("a"), "one\ntwo");
  EXPECT_EQ(D.Get("b"), "one\\Ntwo");
  EXPECT_EQ(D.Get("c"), "raw  break");
  EXPECT_EQ(D.Get("d"), "by !");
  EXPECT_EQ(D.Get("e"), "x [y]= z");
  EXPECT_EQ(D.Get("f", {"A", "B"}), "A and B and A");
}

TEST(Glossator, MalformedRecordsAreCutByTheRules) {
  TLoaded D("\r\nNoBracket]=text|$$\r\n[no equals|$$[ok]=fine|$$[lost]=no terminator");
  ASSERT_EQ(D.G.Keys().size(), 3u);
  EXPECT_EQ(D.G.Keys()[0], "nobracket");
  EXPECT_EQ(D.G.Values()[0], "text");
  EXPECT_EQ(D.G.Keys()[1], "");
  EXPECT_EQ(D.G.Values()[1], " [no equals");  // from its second character: the LF, now a blank
  EXPECT_EQ(D.Get("lost"), "lost");
}

TEST(Glossator, RecordsLongerThanAChunkAndTerminatorsAcrossChunks) {
  const std::string Long(300, 'x');
  std::string Itl = "[long]=" + Long + "|$$";
  Itl += std::string(256 - Itl.size() % 256 - 1, ' ') + "[next]=n|$$";  // "|$$" straddles a boundary
  TLoaded D(Itl);
  EXPECT_EQ(D.Get("long"), Long);
  EXPECT_EQ(D.Get("next"), "n");
}

TEST(Glossator, Windows1252FilesAreConverted) {
  TLoaded D("[umlaut]=Gr\xFC\xDF" "e|$$");
  EXPECT_EQ(D.Get("umlaut"), "Gr\xC3\xBC\xC3\x9F" "e");
  TLoaded U("[umlaut]=Gr\xC3\xBC\xC3\x9F" "e|$$");
  EXPECT_EQ(U.Get("umlaut"), "Gr\xC3\xBC\xC3\x9F" "e");
}

TEST(Glossator, CollectsMissingKeysOnceAndWritesThemFirst) {
  QTemporaryDir Dir;
  const QString Out = Dir.filePath("swivel.itl");
  {
    TLoaded D("[Known]=Bekannt|$$[Multi]=a\\nb|$$");
    D.G.SetAutoCreateItlFile(true);
    D.G.SetOutputFileName(Out);
    for (int I = 0; I < 3; ++I) D.Get("Reset");
    D.Get("RESET");
    D.Get("Known");
    EXPECT_EQ(D.G.ItlOutput(), std::vector<std::string>{"[Reset]=Reset|$$"});
    EXPECT_EQ(D.G.Close(), "");
  }
  QFile F(Out);
  ASSERT_TRUE(F.open(QIODevice::ReadOnly));
  EXPECT_EQ(F.readAll(), QByteArray("[Reset]=Reset|$$\r\n[known]=Bekannt|$$\r\n[multi]=a\\nb|$$\r\n"));
}

TEST(Glossator, TranslatedHookMayChangeTheText) {
  TLoaded D("[k]=v|$$");
  D.G.OnTranslated = [](TGlossator*, const std::string& Key, std::string& Text) { Text += "(" + Key + ")"; };
  EXPECT_EQ(D.Get("K"), "v(K)");
  EXPECT_EQ(D.Get("missing"), "missing");
}

TEST(TextRules, ReplaceAllNormalizeKeyAndFileNames) {
  EXPECT_EQ(ReplaceAll("aa", "a", "aa", false), "aaaa");  // inserted text is not searched again
  EXPECT_EQ(ReplaceAll("abc", "", "x", false), "abc");
  EXPECT_EQ(ReplaceAll("xAx", "a", "-", true), "x-x");
  EXPECT_EQ(NormalizeKey("  a  \t b "), "a b ");
  EXPECT_EQ(NormalizeKey(" \t "), "");
  EXPECT_EQ(ItlFileName("/opt/swivel/swivel", true), "/opt/swivel/swivel.itl");
  EXPECT_EQ(ItlFileName("/opt/swivel/swivel.exe", true), "/opt/swivel/swivel.itl");
  EXPECT_EQ(ItlFileName("/opt/swivel/swivel.exe", false), "swivel.itl");
  EXPECT_EQ(ItlFileName("/opt/sw.v2/swivel", false), "swivel.itl");
  // Only an extension of exactly three characters is replaced.
  EXPECT_EQ(ItlFileName("/opt/swivel/swivel.ex", false), "swivel.ex.itl");
  EXPECT_EQ(ItlFileName("/opt/swivel/swivel.e.x", false), "swivel.e.x.itl");
  EXPECT_EQ(ItlFileName("/opt/swivel/sw.i\\v", false), "sw.i\\v.itl");
  EXPECT_EQ(ItlFileName("/opt/swivel/.abc", false), ".itl");
  EXPECT_EQ(ItlFileName("/opt/swivel/abc", false), "abc.itl");
}

}  // namespace

namespace {

// Random and mutated ITL bytes: loading and lookups must neither crash nor hang.
TEST(GlossatorRobustness, RandomAndMutatedFiles) {
  std::mt19937 Gen(2026);
  const std::string Pieces[] = {"[", "]=", "|$$", "|$", "\\n", "<%", "%>", "<%1%>", "<%APPNAME%>", "\r\n", "\t",
                                " ", "key", "Value", "\xC3", "\xFC", "\x80", std::string(1, '\0'), "]", "$$"};
  for (int Round = 0; Round < 3000; ++Round) {
    std::string Itl;
    const int Parts = static_cast<int>(Gen() % 60);
    for (int I = 0; I < Parts; ++I) Itl += Gen() % 4 == 0 ? std::string(1, char(Gen() % 256)) : Pieces[Gen() % std::size(Pieces)];
    if (Round % 100 == 0) Itl += std::string(Gen() % 5000, 'x') + "|$$";
    TLoaded D(Itl);
    ASSERT_EQ(D.G.Keys().size(), D.G.Values().size());
    for (const std::string& Key : D.G.Keys()) D.Get(Key, {"a", "<%1%>"});
    D.Get(Itl.substr(0, Gen() % (Itl.size() + 1)), {"x"});
  }
}

}  // namespace

namespace {

// What a write and a reload give: the same entries, or the reason they differ.
void ExpectRoundTrip(const std::string& Itl, const std::string& AppName = "") {
  TGlossator First(AppName), Again(AppName);
  TMemoryStream S;
  S.WriteBuffer(Itl.data(), static_cast<int>(Itl.size()));
  First.LoadFromStream(&S);
  const std::string Written = First.ItlText();
  TMemoryStream W;
  W.WriteBuffer(Written.data(), static_cast<int>(Written.size()));
  Again.LoadFromStream(&W);
  EXPECT_EQ(Again.Keys(), First.Keys()) << Itl;
  EXPECT_EQ(Again.Values(), First.Values()) << Itl;
}

TEST(GlossatorWriter, NulBytesAndLineBreaksSurviveAReload) {
  using namespace std::string_literals;
  const std::string Itl = "[nul]=a\0b|$$[break]=one\\ntwo|$$[back]=c:\\\\new|$$"s;
  TLoaded D(Itl);
  EXPECT_EQ(D.Get("nul"), "a\0b"s);
  EXPECT_EQ(D.Get("back"), "c:\\\new");
  EXPECT_EQ(D.G.ItlText(), "[nul]=a\0b|$$\r\n[break]=one\\ntwo|$$\r\n[back]=c:\\\\new|$$\r\n"s);
  ExpectRoundTrip(Itl);
}

// A record without "]=" takes its value from the second character on: a whole UTF-8
// character, never a part of one, so the written file is still UTF-8.
TEST(GlossatorWriter, MalformedRecordsKeepCharactersWhole) {
  TLoaded D("\xC3\xA9t\xC3\xA9|$$[gr]=Gr\xC3\xBC\xC3\x9F" "e|$$\xE2\x82\xAC|$$");
  ASSERT_EQ(D.G.Values().size(), 3u);
  EXPECT_EQ(D.G.Values()[0], "t\xC3\xA9");
  EXPECT_EQ(D.G.Values()[2], "");
  ExpectRoundTrip("\xC3\xA9t\xC3\xA9|$$[gr]=Gr\xC3\xBC\xC3\x9F" "e|$$\xE2\x82\xAC|$$");
  ExpectRoundTrip("[umlaut]=Gr\xFC\xDF" "e|$$\xFC" "ber|$$");  // Windows-1252, written as UTF-8
}

TEST(GlossatorWriter, RandomUtf8DictionariesReloadUnchanged) {
  std::mt19937 Gen(20);
  const std::string Pieces[] = {"[", "]=", "|$$", "|$", "\\n", "\\", "<%1%>", "\r\n", "\n", "\t", " ", "key", "Value",
                                "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", std::string(1, '\0'), "]", "=", "$"};
  for (int Round = 0; Round < 3000; ++Round) {
    std::string Itl;
    const int Parts = static_cast<int>(Gen() % 40);
    for (int I = 0; I < Parts; ++I) Itl += Pieces[Gen() % std::size(Pieces)];
    ExpectRoundTrip(Itl, "Swivel");
    if (HasFailure()) return;
  }
}

// Sets a file-size limit for this process (SIGXFSZ ignored, so a write fails with EFBIG).
struct TFileSizeLimit {
  rlimit Old{};
  explicit TFileSizeLimit(rlim_t Bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &Old);
    rlimit New = Old;
    New.rlim_cur = Bytes;
    setrlimit(RLIMIT_FSIZE, &New);
  }
  ~TFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &Old); }
};

std::string ManyEntries() {
  std::string Itl;
  for (int I = 0; I < 400; ++I) Itl += "[key" + std::to_string(I) + "]=" + std::string(40, 'v') + "|$$";
  return Itl;
}

QByteArray Contents(const QString& Name) {
  QFile F(Name);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

void WriteFile(const QString& Name, const QByteArray& Bytes) {
  QFile F(Name);
  ASSERT_TRUE(F.open(QIODevice::WriteOnly));
  F.write(Bytes);
}

// A failed write is reported and leaves the old file as it was, and no temporary file.
void ExpectFailedWriteKeepsOldFile(const QString& Folder, bool LimitFileSize) {
  const QString Name = Folder + "/swivel.itl";
  const QByteArray Old(18000, 'o');
  WriteFile(Name, Old);
  TLoaded D(ManyEntries());
  D.G.SetOutputFileName(Name);
  QString Error;
  {
    std::optional<TFileSizeLimit> Limit;
    if (LimitFileSize) Limit.emplace(8192);
    Error = D.G.WriteItlFile();
  }
  EXPECT_TRUE(Error.startsWith("Cannot write the ITL file " + Name)) << Error.toStdString();
  EXPECT_EQ(Contents(Name), Old);
  EXPECT_EQ(QDir(Folder).entryList(QDir::Files), QStringList{"swivel.itl"});
}

TEST(GlossatorWriter, ASizeLimitLeavesTheOldFileIntact) {
  QTemporaryDir Dir;
  ExpectFailedWriteKeepsOldFile(Dir.path(), true);
  // Without the limit the same write succeeds.
  TLoaded D(ManyEntries());
  D.G.SetOutputFileName(Dir.filePath("swivel.itl"));
  EXPECT_EQ(D.G.WriteItlFile(), "");
  EXPECT_EQ(Contents(Dir.filePath("swivel.itl")), QByteArray::fromStdString(D.G.ItlText()));
}

// Only Close writes, and it says why it could not; destruction writes nothing.
TEST(GlossatorWriter, CloseWritesAndReportsAndDestructionDoesNot) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("swivel.itl"), Unwritable = Dir.filePath("no/such/folder/swivel.itl");
  {
    TLoaded D("[a]=b|$$");
    D.G.SetAutoCreateItlFile(true);
    D.G.SetOutputFileName(Unwritable);
    EXPECT_TRUE(D.G.Close().startsWith("Cannot write the ITL file " + Unwritable));
    D.G.SetOutputFileName(Name);
  }
  EXPECT_FALSE(QFileInfo::exists(Name));
  TLoaded Off("[a]=b|$$");
  Off.G.SetOutputFileName(Name);
  EXPECT_EQ(Off.G.Close(), "");  // without AutoCreateItlFile nothing is written
  EXPECT_FALSE(QFileInfo::exists(Name));
}

// A first file is as private as the umask asks; a replaced one keeps its own mode.
TEST(GlossatorWriter, AFirstFileFollowsTheUmaskAndAReplacedOneKeepsItsMode) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("swivel.itl");
  const auto ModeOf = [&Name] {
    struct stat Info {};
    return ::stat(QFile::encodeName(Name).constData(), &Info) == 0 ? Info.st_mode & 07777 : 07777u;
  };
  TLoaded D("[a]=b|$$");
  D.G.SetOutputFileName(Name);
  const mode_t Old = ::umask(077);
  const QString Error = D.G.WriteItlFile();
  ::umask(Old);
  EXPECT_EQ(Error, "");
  EXPECT_EQ(ModeOf(), 0600u);
  ASSERT_EQ(::chmod(QFile::encodeName(Name).constData(), 0640), 0);
  EXPECT_EQ(D.G.WriteItlFile(), "");
  EXPECT_EQ(ModeOf(), 0640u);
}

TEST(GlossatorWriter, AFullDeviceLeavesTheOldFileIntact) {
  QTemporaryDir Dir;
  const QByteArray Mount = QFile::encodeName(Dir.path());
  if (::geteuid() != 0 || ::mount("tmpfs", Mount.constData(), "tmpfs", 0, "size=24k") != 0)
    GTEST_SKIP() << "needs root to mount a small tmpfs";
  ExpectFailedWriteKeepsOldFile(Dir.path(), false);
  ::umount(Mount.constData());
}

}  // namespace
