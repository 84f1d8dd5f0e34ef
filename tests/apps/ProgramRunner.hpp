#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace zelto::testing {

inline std::string readFile(const std::filesystem::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

// A program (searched in PATH without a slash) started with exactly
// `environment`, its output and errors going to files in `folder`; killed
// if still running at the end.
class RunningProgram {
 public:
  RunningProgram(std::vector<std::string> arguments, const std::map<std::string, std::string>& environment,
                 const std::filesystem::path& folder)
      : output_(folder / "stdout"), error_(folder / "stderr") {
    std::vector<std::string> variables;
    for (const auto& [name, value] : environment) variables.push_back(name + "=" + value);
    std::vector<char*> argv, envp;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    for (std::string& variable : variables) envp.push_back(variable.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, output_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, error_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (::posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~RunningProgram() {
    if (pid_ > 0 && !wait(std::chrono::milliseconds(0))) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  pid_t pid() const { return pid_; }
  std::string output() const { return readFile(output_); }
  std::string error() const { return readFile(error_); }

  // The exit status once it ended within `timeout` (-1: killed by a signal
  // or never started); nullopt while it runs on.
  std::optional<int> wait(std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    for (const auto deadline = std::chrono::steady_clock::now() + timeout; pid_ > 0 && !status_;) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      else if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
      else std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return pid_ > 0 ? status_ : -1;
  }

 private:
  std::filesystem::path output_, error_;
  pid_t pid_ = -1;
  std::optional<int> status_;
};

}  // namespace zelto::testing
