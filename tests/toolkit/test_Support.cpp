// Component ownership and loading, string lists, streams, the message box hook and
// the code page conversion.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "toolkit/CodePage.h"
#include "toolkit/Component.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Stream.h"
#include "toolkit/Strings.h"

namespace {

class TRecorder : public TComponent {
public:
  TRecorder(QObject* Owner, std::vector<QString>* Log) : TComponent(Owner), Log_(Log) {}
  void Loaded() override {
    Log_->push_back(Name() + (HasState(csLoading) ? " loading" : " idle"));
    TComponent::Loaded();
  }

private:
  std::vector<QString>* Log_;
};

TEST(Component, OwnedComponentsInheritLoadingAndAreLoadedInCreationOrder) {
  std::vector<QString> Log;
  TComponent Window;
  Window.Include(csLoading);
  auto* B = new TRecorder(&Window, &Log);
  B->SetName("B");
  auto* A = new TRecorder(&Window, &Log);
  A->SetName("A");
  EXPECT_TRUE(A->HasState(csLoading));
  EXPECT_EQ(Window.ComponentCount(), 2);
  EXPECT_EQ(Window.Components(0), B);
  Window.NotifyLoaded();
  EXPECT_EQ(Log, (std::vector<QString>{"B loading", "A loading"}));
  EXPECT_FALSE(A->HasState(csLoading));
  EXPECT_FALSE(Window.HasState(csLoading));
  delete B;
  EXPECT_EQ(Window.ComponentCount(), 1);
  EXPECT_EQ(Window.Components(5), nullptr);
}

TEST(Strings, ListOperationsReportChanges) {
  TStrings L;
  int Changes = 0;
  L.OnChange = [&](QObject*) { ++Changes; };
  L.Add("one");
  L.Add("two");
  L.SetStrings(1, "zwei");
  L.SetStrings(1, "zwei");  // unchanged: no report
  L.SetStrings(7, "x");     // outside: ignored
  EXPECT_EQ(L.Count(), 2);
  EXPECT_EQ(L.Strings(1), "zwei");
  EXPECT_EQ(L.Strings(-1), "");
  EXPECT_EQ(L.Text(), "one\nzwei\n");
  EXPECT_EQ(Changes, 3);
  L.SetText("a\r\nb\n");
  EXPECT_EQ(L.Count(), 2);
  L.Clear();
  EXPECT_EQ(L.Count(), 0);
}

TEST(Streams, MemoryStreamGrowsAndReadingPastTheEndRaises) {
  TMemoryStream S;
  S.WriteValue<int32_t>(42);
  S.WriteBuffer("abc", 3);
  EXPECT_EQ(S.Size(), 7);
  S.SetPosition(0);
  EXPECT_EQ(S.ReadValue<int32_t>(), 42);
  char Buf[8] = {};
  EXPECT_EQ(S.Read(Buf, 8), 3);
  EXPECT_STREQ(Buf, "abc");
  S.SetPosition(5);
  try {
    S.ReadValue<int32_t>();
    FAIL() << "no exception";
  } catch (const EReadError& E) {
    EXPECT_STREQ(E.what(), "Stream read error");
  }
}

TEST(Streams, FileStreamRoundTripAndMissingFile) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("data.bin");
  {
    TFileStream Out(Name, fmCreate);
    Out.WriteBuffer("hello", 5);
  }
  TFileStream In(Name, fmOpenRead);
  TMemoryStream Copy;
  EXPECT_EQ(Copy.CopyFrom(In, 0), 5);
  EXPECT_EQ(std::string(Copy.Memory(), 5), "hello");
  EXPECT_THROW(TFileStream(Dir.filePath("missing"), fmOpenRead), EFOpenError);
}

TEST(MessageBoxHook, CapturesTheTextInsteadOfShowingABox) {
  QStringList Shown;
  TMessageBoxHook Previous = SetMessageBoxHook([&](const QString& T) { Shown << T; });
  ShowInformation("Plotter: busy");
  SetMessageBoxHook(Previous);
  EXPECT_EQ(Shown, QStringList{"Plotter: busy"});
}

TEST(CodePage, Utf8IsKeptAndOtherBytesAreReadAsWindows1252) {
  EXPECT_TRUE(IsValidUtf8("Gr\xC3\xBC\xC3\x9F" "e"));
  EXPECT_FALSE(IsValidUtf8("Gr\xFC\xDF" "e"));
  EXPECT_FALSE(IsValidUtf8("\xC3"));          // cut short
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
  EXPECT_EQ(ToUtf8("Gr\xFC\xDF" "e \x80"), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
  EXPECT_EQ(ToUtf8("Gr\xC3\xBC\xC3\x9F" "e"), "Gr\xC3\xBC\xC3\x9F" "e");
  EXPECT_EQ(Cp1252Char(0x41), QChar('A'));
}

}  // namespace
