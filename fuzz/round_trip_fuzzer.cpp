// Writing a list and reading it back: every name the writer can represent comes back
// unchanged, in order; names it cannot represent never crash either side.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

#include "mods/mod_list_file.h"

namespace {

// The names a mod list file keeps whole: text the code page can spell, with no NUL and no
// line end, not beginning with a double quote, and holding one only where it needs no
// quotes, which a comma or a leading blank or tab would call for.
bool Representable(const QString& name) {
  if (name.contains(QChar(0)) || name.contains(u'\r') || name.contains(u'\n')) return false;
  if (name.startsWith(u'"') || name.size() > kelvor::kMaxModNameLength) return false;
  const bool quoted = name.contains(u',') || name.startsWith(u' ') || name.startsWith(u'\t');
  if (quoted && name.contains(u'"')) return false;
  return kelvor::EncodeModList({name}).has_value();
}

}  // namespace

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
  QStringList representable;
  for (const QString& name : names) {
    if (Representable(name)) representable.append(name);
  }
  const std::optional<QByteArray> file = kelvor::EncodeModList(representable);
  if (!file) std::abort();
  const kelvor::ModListReading reading = kelvor::ParseModList(*file);
  if (!reading.complete || reading.names != representable) std::abort();

  (void)kelvor::EncodeModList(names);  // the rest: refused or written, never a crash
  if (const std::optional<QByteArray> all = kelvor::EncodeModList(names)) {
    (void)kelvor::ParseModList(*all);
  }
  return 0;
}
