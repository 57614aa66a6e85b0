// Stands in for the game. It writes what it was started with to a file of its own in the
// folder named by KELVOR_GAME_RECORDS, one item per line: its program path, its working
// folder, then each argument. The file appears whole, under the process id as its name.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char* argv[]) {
  const char* records = std::getenv("KELVOR_GAME_RECORDS");
  if (records == nullptr) return 2;
  const std::string name = std::string(records) + "/" + std::to_string(getpid());
  {
    std::ofstream out(name + ".part", std::ios::binary);
    out << argv[0] << '\n' << std::filesystem::current_path().string() << '\n';
    for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
    if (!out.flush()) return 1;
  }
  return std::rename((name + ".part").c_str(), name.c_str()) == 0 ? 0 : 1;
}
