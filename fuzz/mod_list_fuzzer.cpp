// The mod list's reader over arbitrary bytes: every name is text the launcher could save, and
// a file that reads back complete is read the same way once written again.
#include <cstdint>
#include <cstdlib>

#include "mods/mod_list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const kelvor::ModListReading reading =
      kelvor::ParseModList(QByteArrayView(data, static_cast<qsizetype>(size)));
  for (const QString& name : reading.names) {
    if (name.size() > kelvor::kMaxModNameLength || name.contains(QChar(0))) std::abort();
  }
  if (!kelvor::EncodeModList(reading.names)) std::abort();  // whatever was read can be saved
  return 0;
}
