// Stands in for the game: records its path, working folder and arguments, one a line, in a file
// named after its process id in the folder KELVOR_GAME_RECORDS names, renamed in once whole.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char* argv[]) {
  const std::string name = std::getenv("KELVOR_GAME_RECORDS") + ("/" + std::to_string(getpid()));
  std::ofstream out(name + ".part", std::ios::binary);
  out << argv[0] << '\n' << std::filesystem::current_path().string() << '\n';
  for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
  out.close();
  return std::rename((name + ".part").c_str(), name.c_str());
}
