// The field reader over arbitrary bytes: it ends, moves forward at every field, and every
// field it returns lies inside the bytes it was given.
#include <cstdint>
#include <cstdlib>

#include "core/field_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(data, static_cast<qsizetype>(size));
  kelvor::FieldReader reader(bytes);
  qsizetype fields = 0;
  while (const std::optional<QByteArrayView> field = reader.ReadField()) {
    if (!field->isEmpty() &&
        (field->data() < bytes.data() || field->data() + field->size() > bytes.data() + size)) {
      std::abort();
    }
    if (++fields > bytes.size() + 1) std::abort();  // more fields than bytes: no progress
  }
  if (reader.ReadField()) std::abort();  // once ended, it stays ended
  return 0;
}
