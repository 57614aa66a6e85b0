// The mod list's reader over arbitrary bytes: every name is text the launcher could save, and
// the names read are read the same way once written again.
#include <cstdint>
#include <cstdlib>

#include "mods/mod_list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const kelvor::ModListReading reading =
      kelvor::ParseModList(QByteArrayView(data, static_cast<qsizetype>(size)));
  for (const QString& name : reading.names) {
    if (name.size() > kelvor::kMaxModNameLength || name.contains(QChar(0))) std::abort();
  }
  // Whatever was read can be saved, and reads back the same.
  const std::optional<QByteArray> file = kelvor::EncodeModList(reading.names);
  if (!file || kelvor::ParseModList(*file).names != reading.names) std::abort();
  return 0;
}
