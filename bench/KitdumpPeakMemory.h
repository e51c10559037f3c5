#pragma once
// Peak resident memory of one kitdump run on a file, for the memory targets: kitdump is the library's
// whole road as a program, so its peak is what a level-high parse costs.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace KitdumpPeakMemory {

// build/tools/kitdump beside build/bench/<this program>.
inline std::filesystem::path kitdumpPath() {
  namespace fs = std::filesystem;
  return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" / "kitdump";
}

// Writes `text` to a temporary file named with `extension`, runs `kitdump <arguments...> FILE <options...>`
// with its output discarded, and gives the peak resident set in bytes, or nothing when kitdump failed.
inline std::optional<double> peakBytes(const std::string& text, const std::string& extension,
                                       const std::vector<std::string>& arguments,
                                       const std::vector<std::string>& options = {}) {
  namespace fs = std::filesystem;
  const fs::path file = fs::temp_directory_path() / ("bench-kitdump-" + std::to_string(::getpid()) + extension);
  std::ofstream(file, std::ios::binary) << text;
  const std::string program = kitdumpPath().string();
  std::vector<std::string> words{"kitdump"};
  words.insert(words.end(), arguments.begin(), arguments.end());
  words.push_back(file.string());
  words.insert(words.end(), options.begin(), options.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    std::FILE* sink = std::freopen("/dev/null", "w", stdout);
    (void)sink;
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  fs::remove(file);
  // kitdump parse exits 0 with findings; anything else is a failure here.
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return static_cast<double>(usage.ru_maxrss) * 1024;
}

}  // namespace KitdumpPeakMemory
