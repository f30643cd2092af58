// libFuzzer target: arbitrary bytes as an ITL file, then lookups of what was loaded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "i18n/Glossator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  Stream.WriteBuffer(Data, static_cast<int>(Size));
  TGlossator Dictionary("app");
  Dictionary.LoadFromStream(&Stream);
  std::string Result;
  for (const std::string& Key : Dictionary.Keys()) Dictionary.Translate(Key, {"one", "<%2%>"}, Result);
  Dictionary.Translate(std::string(reinterpret_cast<const char*>(Data), Size), {}, Result);
  return 0;
}
