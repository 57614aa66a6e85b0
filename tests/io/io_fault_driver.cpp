// Runs one of the launcher's file operations on the data files in FOLDER, through the file
// functions that the windows call, for io_faults.py to fail or kill at each of its system calls.
// Usage: io_fault_driver OPERATION FOLDER
//   save-list       the list saved over the old one (Save list, and so -> Remove, Add Mods'
//                   Close over a list that is there, and Save..., whose calls are the same)
//   add-mods-close  the list written, created if need be (Add Mods' Close)
//   read            start-up's reading of both files, which keeps a copy of either it cannot
//                   read; it prints the path and the names read, a line each
// Exit status: 0 done, 1 failed and said so (for read: a reading incomplete), 2 no such
// operation. A failure's reason is logged on standard error, as the launcher logs it.
#include <unistd.h>

#include <QStringList>
#include <cstdio>
#include <cstring>

#include "core/data_file.h"
#include "launch/exe_path_file.h"
#include "mods/mod_list_file.h"

using namespace kelvor;

namespace {

const QStringList kNewList = {"first", "my mod", "a, b", " lead"};

int Read(const DataFiles& files) {
  const std::optional<QString> path = ReadExePath(files.exePath);
  const ModListReading mods = ReadModList(files.modList);
  std::printf("%s\n", path.value_or("<none>").toUtf8().constData());
  for (const QString& name : mods.names) std::printf("%s\n", name.toUtf8().constData());
  return path && mods.complete ? 0 : 1;
}

// The operation's result, or nothing when there is no such operation.
std::optional<bool> Run(const char* operation, const DataFiles& files) {
  if (!std::strcmp(operation, "save-list")) return SaveModList(files.modList, kNewList);
  if (!std::strcmp(operation, "add-mods-close")) return WriteModList(files.modList, kNewList);
  if (!std::strcmp(operation, "read")) return Read(files) == 0;
  return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) return 2;
  const DataFiles files(QString::fromLocal8Bit(argv[2]));
  // The system calls between these two marks are the operation's own: io_faults.py counts and
  // fails them, and leaves alone those that load and end the program.
  access("io-faults-begin", F_OK);
  const std::optional<bool> done = Run(argv[1], files);
  access("io-faults-end", F_OK);
  if (!done) std::fprintf(stderr, "io_fault_driver: no operation %s\n", argv[1]);
  return !done ? 2 : *done ? 0 : 1;
}
