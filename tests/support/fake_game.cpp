// Stands in for the game. Where it runs, it writes "game": the program that ran, the folder it
// runs in, the command line as Windows hands it over (empty elsewhere, where a program gets no
// line), then each argument, a line each, in UTF-8.
#include <cstdio>
#include <fstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace {

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(size > 1 ? static_cast<size_t>(size - 1) : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

}  // namespace

int main() {
  std::ofstream out("game.part", std::ios::binary);
  wchar_t path[32768];
  GetModuleFileNameW(nullptr, path, 32768);
  out << Utf8(path) << '\n';
  GetCurrentDirectoryW(32768, path);
  out << Utf8(path) << '\n';
  out << Utf8(GetCommandLineW()) << '\n';
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) out << Utf8(arguments[i]) << '\n';
  out.close();
  return std::rename("game.part", "game");
}

#else
#include <unistd.h>

int main(int argc, char* argv[]) {
  std::ofstream out("game.part", std::ios::binary);
  char path[4096] = {};
  if (readlink("/proc/self/exe", path, sizeof path - 1) < 0) path[0] = '\0';
  out << path << '\n';
  out << (getcwd(path, sizeof path) ? path : "") << '\n';
  out << '\n';
  for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
  out.close();
  return std::rename("game.part", "game");
}
#endif
