// The path file's reader over arbitrary bytes: a path it returns is text that the launcher
// would show, could save again, and would read back the same.
#include <cstdint>
#include <cstdlib>

#include "core/field_writer.h"
#include "launch/exe_path_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<QString> path =
      kelvor::ParseExePath(QByteArrayView(data, static_cast<qsizetype>(size)));
  if (!path) return 0;
  if (path->size() > kelvor::kMaxExePathLength || path->contains(QChar(0))) std::abort();
  const std::optional<QByteArray> line = kelvor::EncodeFieldLine(*path);
  if (!line || kelvor::ParseExePath(*line) != path) std::abort();
  return 0;
}
