// The path file's reader over arbitrary bytes: a path it returns is text that the launcher
// would show and could save again.
#include <cstdint>
#include <cstdlib>

#include "core/local_text.h"
#include "launch/exe_path_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<QString> path =
      kelvor::ParseExePath(QByteArrayView(data, static_cast<qsizetype>(size)));
  if (!path) return 0;
  if (path->size() > kelvor::kMaxExePathLength || path->contains(QChar(0))) std::abort();
  if (!kelvor::EncodeLocalText(*path)) std::abort();  // read text always encodes back
  return 0;
}
