#include "PrivateTmpfs.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "ScratchFolder.h"

namespace quor::testing {

namespace {

// The first byte of the child's answer says whether the body ran.
constexpr char kRan = 'R';
constexpr char kRefused = 'X';

bool writeProcFile(const char* path, const std::string& text) {
  std::ofstream out(path);
  out << text;
  out.flush();
  return static_cast<bool>(out);
}

// Enters a private mount namespace; someone other than root needs a user namespace for it.
std::string enterPrivateMounts() {
  const uid_t uid = ::geteuid();
  const gid_t gid = ::getegid();
  if (uid == 0) {
    if (::unshare(CLONE_NEWNS) != 0) return std::string("unshare: ") + std::strerror(errno);
  } else {
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
      return std::string("unshare: ") + std::strerror(errno);
    }
    if (!writeProcFile("/proc/self/setgroups", "deny") ||
        !writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
        !writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
      return "cannot map the user into its namespace";
    }
  }
  // Nothing mounted from here on may show in the namespace the tests started in.
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return std::string("private mounts: ") + std::strerror(errno);
  }
  return {};
}

void writeAll(int fd, const std::string& text) {
  const char* data = text.data();
  size_t left = text.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written <= 0) return;
    data += written;
    left -= static_cast<size_t>(written);
  }
}

[[noreturn]] void childMain(int answer, const std::string& folder, const std::string& options,
                            const std::function<std::string(const std::string&)>& body) {
  std::string refusal = enterPrivateMounts();
  if (refusal.empty() && ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
    refusal = std::string("mount tmpfs: ") + std::strerror(errno);
  }
  if (!refusal.empty()) {
    writeAll(answer, kRefused + refusal);
    ::_exit(0);
  }
  std::string result;
  try {
    result = body(folder);
  } catch (const std::exception& error) {
    result = std::string("exception: ") + error.what();
  }
  writeAll(answer, kRan + result);
  ::_exit(0);
}

}  // namespace

std::optional<std::string> onPrivateTmpfs(
    const std::string& options, const std::function<std::string(const std::string&)>& body,
    std::string& whyNot) {
  const ScratchFolder mountPoint;
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
    whyNot = "no pipe";
    return std::nullopt;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    childMain(pipeEnds[1], mountPoint.path().string(), options, body);
  }
  ::close(pipeEnds[1]);
  std::string answer;
  char buffer[4096];
  for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
    if (got < 0) {
      if (errno == EINTR) continue;
      break;
    }
    answer.append(buffer, static_cast<size_t>(got));
  }
  ::close(pipeEnds[0]);
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || answer.empty()) {
    whyNot = "the child process did not answer";
    return std::nullopt;
  }
  if (answer[0] != kRan) {
    whyNot = answer.substr(1);
    return std::nullopt;
  }
  return answer.substr(1);
}

bool remountReadOnly(const std::string& folder, const std::string& options) {
  return ::mount("tmpfs", folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, options.c_str()) == 0;
}

}  // namespace quor::testing
