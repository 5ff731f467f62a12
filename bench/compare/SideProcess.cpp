#include "bench/compare/SideProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

template <typename T>
void Put(std::string& out, const T& value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <typename T>
T Take(const std::string& in, size_t& at) {
  if (in.size() - at < sizeof(T)) throw std::runtime_error("the results of a side came back cut short");
  T value;
  std::memcpy(&value, in.data() + at, sizeof value);
  at += sizeof value;
  return value;
}

std::string Serialized(const std::vector<StepResult>& results) {
  std::string out;
  for (const StepResult& result : results) {
    Put(out, result.work.size());
    out += result.work;
    Put(out, result.seconds);
    Put(out, result.checksum.rows);
    Put(out, result.checksum.amounts);
    Put(out, result.checksum.text_bytes);
    Put(out, result.commits);
    Put(out, result.peak_kib);
  }
  return out;
}

std::vector<StepResult> Deserialized(const std::string& in) {
  std::vector<StepResult> results;
  for (size_t at = 0; at < in.size();) {
    StepResult result;
    const auto length = Take<size_t>(in, at);
    if (in.size() - at < length) throw std::runtime_error("the results of a side came back cut short");
    result.work = in.substr(at, length);
    at += length;
    result.seconds = Take<double>(in, at);
    result.checksum.rows = Take<int64_t>(in, at);
    result.checksum.amounts = Take<double>(in, at);
    result.checksum.text_bytes = Take<int64_t>(in, at);
    result.commits = Take<bool>(in, at);
    result.peak_kib = Take<int64_t>(in, at);
    results.push_back(std::move(result));
  }
  return results;
}

bool WriteAll(int fd, const std::string& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string ReadAll(int fd) {
  std::string bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return bytes;
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

[[noreturn]] void RunChild(int out, BenchEngine& engine, const WorkloadSizes& sizes,
                           const std::string& folder) {
  int code = 0;
  try {
    if (!WriteAll(out, Serialized(RunSteps(engine, sizes, folder)))) code = 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", engine.Name().c_str(), e.what());
    code = 1;
  }
  std::fflush(stdout);
  std::fflush(stderr);
  ::_exit(code);
}

}  // namespace

std::vector<StepResult> RunStepsApart(BenchEngine& engine, const WorkloadSizes& sizes,
                                      const std::string& folder) {
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
  if (child == 0) {
    ::close(pipe_ends[0]);
    RunChild(pipe_ends[1], engine, sizes, folder);
  }
  ::close(pipe_ends[1]);
  const std::string bytes = ReadAll(pipe_ends[0]);
  ::close(pipe_ends[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("the steps of " + engine.Name() + " failed");
  return Deserialized(bytes);
}
