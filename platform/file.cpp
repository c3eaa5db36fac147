#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/host_path.h"

namespace platform {
namespace {

// The byte range whose locks stand for Windows share modes.
constexpr off_t kShareLockOffset = off_t{1} << 31;
constexpr off_t kShareLockLength = 1;

bool OfdLock(int fd, short type, off_t offset, off_t length) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = offset;
  lock.l_len = length;
  return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

std::string ErrnoText(const std::string& what, const std::string& path, int error) {
  return what + " \"" + path + "\": " + std::strerror(error);
}

}  // namespace

TFile::~TFile() { Close(); }

TFile::TFile(TFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

TFile& TFile::operator=(TFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

void TFile::Close() {
  if (fd_ >= 0) {
    ::close(fd_);  // releases every OFD lock taken through this description
    fd_ = -1;
  }
}

TFile TFile::Open(const std::string& path, TFileAccess access, TFileShare share,
                  TFileCreation creation) {
  const std::string host = HostPath(path);
  int flags = O_CLOEXEC;
  flags |= access == TFileAccess::ReadWrite ? O_RDWR : O_RDONLY;
  if (creation == TFileCreation::CreateAlways) {
    flags |= O_CREAT;
  }
  const int fd = ::open(host.c_str(), flags, 0666);
  if (fd < 0) {
    const int error = errno;
    const auto reason = error == ENOENT                     ? EFileError::TReason::NotFound
                        : (error == EACCES || error == EROFS) ? EFileError::TReason::AccessDenied
                                                              : EFileError::TReason::Other;
    throw EFileError(ErrnoText("Cannot open file", path, error), reason);
  }
  TFile file(fd);
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    throw EFileError("Cannot open file \"" + path + "\": it is a folder",
                     EFileError::TReason::AccessDenied);
  }
  // A write lock needs a descriptor open for writing; a read-only exclusive open borrows one.
  bool locked = false;
  if (share == TFileShare::Exclusive) {
    if (access == TFileAccess::ReadWrite) {
      locked = OfdLock(fd, F_WRLCK, kShareLockOffset, kShareLockLength);
    } else {
      const int writer = ::open(host.c_str(), O_RDWR | O_CLOEXEC);
      if (writer >= 0) {
        // The lock belongs to the borrowed description; keep that one and drop the first.
        locked = OfdLock(writer, F_WRLCK, kShareLockOffset, kShareLockLength);
        if (locked) {
          file = TFile(writer);
        } else {
          ::close(writer);
        }
      } else {
        locked = OfdLock(fd, F_RDLCK, kShareLockOffset, kShareLockLength);
      }
    }
  } else {
    locked = OfdLock(fd, F_RDLCK, kShareLockOffset, kShareLockLength);
  }
  if (!locked) {
    throw EFileError("Cannot open file \"" + path + "\": it is being used by another process",
                     EFileError::TReason::SharingViolation);
  }
  if (creation == TFileCreation::CreateAlways && access == TFileAccess::ReadWrite) {
    file.Truncate(0);
  }
  return file;
}

std::size_t TFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t n = ::pread(fd_, buffer.data() + done, buffer.size() - done,
                              static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      throw EPlatformError(std::string("Read error: ") + std::strerror(errno));
    }
    if (n == 0) {
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  return done;
}

void TFile::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n =
        ::pwrite(fd_, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      throw EPlatformError(std::string("Write error: ") + std::strerror(errno));
    }
    done += static_cast<std::size_t>(n);
  }
}

std::uint64_t TFile::Size() const {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    throw EPlatformError(std::string("Cannot read file size: ") + std::strerror(errno));
  }
  return static_cast<std::uint64_t>(info.st_size);
}

void TFile::Truncate(std::uint64_t size) {
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
    throw EPlatformError(std::string("Cannot set file size: ") + std::strerror(errno));
  }
}

void TFile::Flush() {
  if (::fsync(fd_) != 0) {
    throw EPlatformError(std::string("Cannot flush file: ") + std::strerror(errno));
  }
}

bool TFile::TryLockByte(std::uint64_t offset) {
  if (OfdLock(fd_, F_WRLCK, static_cast<off_t>(offset), 1)) {
    return true;
  }
  // A read-only description cannot hold a write lock; its read lock still excludes every
  // writer's lock, which is all a reader has to keep out.
  return errno == EBADF && OfdLock(fd_, F_RDLCK, static_cast<off_t>(offset), 1);
}

void TFile::UnlockByte(std::uint64_t offset) {
  OfdLock(fd_, F_UNLCK, static_cast<off_t>(offset), 1);
}

}  // namespace platform
