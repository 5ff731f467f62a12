#pragma once
// A helper program (the storage tests': helpers/storage_helper.cpp), run as a
// separate process on the same database file, talking through its standard
// input and output.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

class HelperProcess {
 public:
#ifdef VTR_STORAGE_HELPER
  explicit HelperProcess(const std::vector<std::string>& arguments)
      : HelperProcess(VTR_STORAGE_HELPER, arguments) {}
#endif
  HelperProcess(const char* program, const std::vector<std::string>& arguments) {
    int to_child[2];
    int from_child[2];
    // Close-on-exec, so that helpers started later do not hold this one's
    // input open after the test closes it.
    if (::pipe2(to_child, O_CLOEXEC) != 0 || ::pipe2(from_child, O_CLOEXEC) != 0)
      ADD_FAILURE() << "pipe failed";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(to_child[0], STDIN_FILENO);
      ::dup2(from_child[1], STDOUT_FILENO);
      ::close(to_child[1]);
      ::close(from_child[0]);
      ::execv(program, argv.data());
      ::_exit(127);
    }
    ::close(to_child[0]);
    ::close(from_child[1]);
    input_ = to_child[1];
    output_ = from_child[0];
  }
  ~HelperProcess() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
    Wait();
  }

  std::string Answer() {
    std::string line;
    char c;
    while (::read(output_, &c, 1) == 1 && c != '\n') line.push_back(c);
    return line;
  }
  void Send(const std::string& line) {
    const std::string text = line + "\n";
    EXPECT_EQ(::write(input_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  // Ends it at once, as a crash would, and waits for its end.
  void Kill() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
    Wait();
  }
  // Closes its input and waits for its end; the wait status.
  int Wait() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
    int status = 0;
    if (pid_ > 0) ::waitpid(pid_, &status, 0);
    pid_ = -1;
    if (output_ >= 0) ::close(output_);
    output_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
};
