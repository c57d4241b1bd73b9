#include "FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>

#include "FileErrorText.h"
#include "ToneError.h"

namespace quor {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(int error, const std::string& fileName) {
  throw ToneError(fileErrorText(error, fileName));
}

// The new content's file until it takes the target's name; removed if it never does.
class PendingFile {
 public:
  PendingFile(const fs::path& folder, mode_t mode, const std::string& fileName) {
    // Exclusive creation under a name of our own; another save at the same moment picks the
    // next number.
    for (int attempt = 0;; ++attempt) {
      path_ = folder / (".quor-save-" + std::to_string(::getpid()) + "-" + std::to_string(attempt));
      fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
      if (fd_ >= 0) return;
      if (errno != EEXIST || attempt >= 100) fail(errno, fileName);
    }
  }
  ~PendingFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Writes, flushes to the disk and closes; the error number of the first failure, or 0.
  int write(std::string_view bytes, std::optional<mode_t> keepMode) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      bytes.remove_prefix(static_cast<size_t>(written));
    }
    if (keepMode && ::fchmod(fd_, *keepMode) != 0) return errno;
    if (::fsync(fd_) != 0) return errno;
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) != 0 ? errno : 0;
  }

  // Gives the file the target's name; the error number, or 0.
  int takeName(const fs::path& target) {
    if (::rename(path_.c_str(), target.c_str()) != 0) return errno;
    path_.clear();
    return 0;
  }

 private:
  fs::path path_;
  int fd_ = -1;
};

// Makes the rename itself durable; a folder that cannot be synced changes nothing for the user.
void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void replaceFile(const std::string& fileName, std::string_view bytes) {
  if (fileNameTooLong(fileName)) fail(ENAMETOOLONG, fileName);
  fs::path target(fileName);
  std::error_code error;
  if (fs::is_symlink(target, error)) {
    const fs::path resolved = fs::canonical(target, error);
    if (!error) target = resolved;
  }

  std::optional<mode_t> keepMode;
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) {
    // A device or a pipe would be swapped for a file by the rename.
    if (!S_ISREG(existing.st_mode)) fail(EACCES, fileName);
    // A file the user may not write stays refused, although its folder would take a new one.
    if (::access(target.c_str(), W_OK) != 0) fail(errno, fileName);
    keepMode = existing.st_mode & 07777;
  } else if (errno != ENOENT) {
    fail(errno, fileName);
  }

  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  PendingFile pending(folder, keepMode.value_or(0666), fileName);
  if (const int failure = pending.write(bytes, keepMode); failure != 0) fail(failure, fileName);
  if (const int failure = pending.takeName(target); failure != 0) fail(failure, fileName);
  syncFolder(folder);
}

}  // namespace quor
