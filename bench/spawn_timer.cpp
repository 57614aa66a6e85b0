// Starts a program with posix_spawn and times what its probe reports through a pipe.
// Prints one line: "<ms to painted> <ms to loaded or -> <peak RSS KiB>".
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

extern char** environ;

int main(int argc, char* argv[]) {
  if (argc < 2) return 2;
  int fds[2];
  if (pipe(fds) != 0) return 2;
  setenv("KELVOR_BENCH_FD", std::to_string(fds[1]).c_str(), 1);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid;
  if (posix_spawn(&pid, argv[1], nullptr, nullptr, argv + 1, environ) != 0) return 2;
  close(fds[1]);

  double painted = -1, loaded = -1;
  std::string buffer;
  char chunk[256];
  ssize_t n;
  while ((n = read(fds[0], chunk, sizeof chunk)) > 0) {
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    buffer.append(chunk, static_cast<size_t>(n));
    if (painted < 0 && buffer.find("painted") != std::string::npos) painted = ms;
    if (loaded < 0 && buffer.find("loaded ") != std::string::npos) loaded = ms;
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (painted < 0) return 1;
  char loadedText[32] = "-";
  if (loaded >= 0) std::snprintf(loadedText, sizeof loadedText, "%.1f", loaded);
  std::printf("%.1f %s %ld\n", painted, loadedText, usage.ru_maxrss);
  return 0;
}
