// Stands in for the game: writes its program path, its working folder and each argument, one
// a line, to a file named after its process id in the folder KELVOR_GAME_RECORDS names. The
// file appears whole, renamed from a ".part" file once written.
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
