// Writing a list and reading it back: for any list of names, the writer either refuses it or the
// reader gives back exactly that list. There is no third outcome.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

#include "mods/mod_list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  QStringList names;
  while (input.remaining_bytes() > 0 && names.size() < 64) {
    const std::string bytes = input.ConsumeRandomLengthString(64);
    // Either UTF-8 (valid or not) or raw UTF-16 units, lone surrogates included.
    names.append(input.ConsumeBool()
                     ? QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))
                     : QString(reinterpret_cast<const QChar*>(bytes.data()),
                               static_cast<qsizetype>(bytes.size() / 2)));
  }
  if (const std::optional<QByteArray> file = kelvor::EncodeModList(names)) {
    const kelvor::ModListReading reading = kelvor::ParseModList(*file);
    if (!reading.complete || reading.names != names) std::abort();
  }
  return 0;
}
