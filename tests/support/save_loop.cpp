// Saves two versions of a mod list of 100,000 names ("v-mod-i") in turn until it is killed,
// so that a test can kill it at any moment of a save.
#include <QCoreApplication>
#include <cstdio>

#include "mods/mod_list_file.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QStringList lists[2];
  for (int i = 0; i < 100'000; ++i) {
    for (int v = 0; v < 2; ++v) lists[v].append(QStringLiteral("%1-mod-%2").arg(v).arg(i));
  }
  for (int round = 0;; ++round) {
    if (!kelvor::WriteModList(QCoreApplication::arguments().value(1), lists[round % 2])) return 1;
    if (round == 0) std::puts("saving");
    std::fflush(stdout);
  }
}
