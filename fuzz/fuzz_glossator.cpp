// libFuzzer target: arbitrary bytes as an ITL file, lookups with arguments of what was
// loaded, and the written file, which must load back to the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "i18n/Glossator.h"

namespace {

void Load(TGlossator& Dictionary, const char* Bytes, size_t Size) {
  TMemoryStream Stream;
  Stream.WriteBuffer(Bytes, static_cast<int>(Size));
  Dictionary.LoadFromStream(&Stream);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const auto* Bytes = reinterpret_cast<const char*>(Data);
  TGlossator Dictionary("Swivel");
  Load(Dictionary, Bytes, Size);
  std::string Result;
  for (const std::string& Key : Dictionary.Keys()) Dictionary.Translate(Key, {"one", "<%2%>"}, Result);
  Dictionary.Translate(std::string(Bytes, Size), {}, Result);

  const std::string Written = Dictionary.ItlText();
  TGlossator Again("Swivel");
  Load(Again, Written.data(), Written.size());
  if (Again.Keys() != Dictionary.Keys() || Again.Values() != Dictionary.Values()) std::abort();
  return 0;
}
