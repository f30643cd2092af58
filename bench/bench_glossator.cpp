// Loading ITL files of 10,000 and 100,000 records of about 80 bytes, 1,000 lookups of
// present and absent keys, and a baseline that only reads the file into memory.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <map>
#include <string>

#include "i18n/Glossator.h"

namespace {

std::string Record(int I) {
  std::string R = "[Key_" + std::to_string(I) + "]=The text of entry " + std::to_string(I) + ", long enough\\n";
  R.resize(76, '.');
  return R + "|$$\r\n";
}

const QString& ItlFile(int Records) {
  static QTemporaryDir Dir;
  static std::map<int, QString> Files;
  QString& Name = Files[Records];
  if (Name.isEmpty()) {
    Name = Dir.filePath(QStringLiteral("b%1.itl").arg(Records));
    TFileStream Out(Name, fmCreate);
    for (int I = 0; I < Records; ++I) {
      const std::string R = Record(I);
      Out.WriteBuffer(R.data(), static_cast<int>(R.size()));
    }
  }
  return Name;
}

void BM_ReadFileOnly(benchmark::State& State) {
  for (auto _ : State) {
    TFileStream In(ItlFile(static_cast<int>(State.range(0))), fmOpenRead);
    TMemoryStream Memory;
    Memory.CopyFrom(In, 0);
    benchmark::DoNotOptimize(Memory.Memory());
  }
}
BENCHMARK(BM_ReadFileOnly)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LoadFromStream(benchmark::State& State) {
  for (auto _ : State) {
    TFileStream In(ItlFile(static_cast<int>(State.range(0))), fmOpenRead);
    TGlossator G("");
    G.LoadFromStream(&In);
    benchmark::DoNotOptimize(G.Keys().data());
  }
}
BENCHMARK(BM_LoadFromStream)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ThousandLookups(benchmark::State& State) {
  TFileStream In(ItlFile(10000), fmOpenRead);
  TGlossator G("");
  G.LoadFromStream(&In);
  std::string Result;
  for (auto _ : State)
    for (int I = 0; I < 1000; ++I) G.Translate(I % 2 ? "key_" + std::to_string(I * 9) : "absent_" + std::to_string(I), {}, Result);
}
BENCHMARK(BM_ThousandLookups)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
