#pragma once
// Runs one of the command-line programs as a user's shell would, and catches what it says.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace test_support {

struct ProgramRun {
  int status = -1;  // the exit status; -1 when the program did not end by itself
  std::string out;
  std::string err;
};

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// `word` as one word of a shell command line.
inline std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs `commandLine` through the shell, its output streams caught in `scratch`.out and .err
// (removed again).
inline ProgramRun RunCommandLine(const std::string& commandLine,
                                 const std::filesystem::path& scratch) {
  const std::filesystem::path out = scratch.string() + ".out";
  const std::filesystem::path err = scratch.string() + ".err";
  const int raw = std::system((commandLine + " >" + Quoted(out) + " 2>" + Quoted(err)).c_str());
  ProgramRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(out), ReadAll(err)};
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return run;
}

// Runs `program` with `arguments`, each one word; `prefix` goes before it (such as "timeout 60").
inline ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::filesystem::path& scratch, const std::string& prefix = "") {
  std::string commandLine = prefix.empty() ? "" : prefix + " ";
  commandLine += Quoted(program);
  for (const std::string& argument : arguments) commandLine += " " + Quoted(argument);
  return RunCommandLine(commandLine, scratch);
}

}  // namespace test_support
