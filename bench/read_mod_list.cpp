// Reads the mod list in the folder given, as start-up does; prints how many names it got.
#include <cstdio>

#include "mods/mod_list_file.h"

int main(int argc, char* argv[]) {
  if (argc != 2) return 2;
  const kelvor::ModListReading reading = kelvor::ReadModList(QString::fromLocal8Bit(argv[1]));
  std::printf("%lld\n", static_cast<long long>(reading.names.size()));
  return reading.complete ? 0 : 1;
}
