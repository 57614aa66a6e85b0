// Saves two versions of the mod list and of the path file in turn until it is killed, so a
// test can kill it at any moment of a save. Version v's list is 50,000 names "v-mod-i".
#include <QByteArray>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "launch/exe_path_file.h"
#include "mods/mod_list_file.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QString folder = QCoreApplication::arguments().value(1);
  QStringList lists[2];
  for (int v = 0; v < 2; ++v) {
    for (int i = 0; i < 50000; ++i) lists[v].append(QStringLiteral("%1-mod-%2").arg(v).arg(i));
  }
  const QString paths[2] = {QStringLiteral("C:\\Games\\Dravik2.exe"),
                            QStringLiteral("D:\\Other place\\Dravik2.exe")};
  for (unsigned round = 0;; ++round) {
    const unsigned v = round % 2;
    if (!kelvor::WriteModList(folder, lists[v]) || !kelvor::SaveExePath(folder, paths[v])) return 1;
    if (round == 0) {
      std::puts("saving");
      std::fflush(stdout);
    }
  }
}
