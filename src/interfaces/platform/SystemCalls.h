#pragma once

#include <sys/stat.h>
#include <sys/types.h>

namespace tov::platform {

// The system calls the data volume's files are made of, one function each, so that a test can make
// any single one of them fail as a pulled stick or a full device makes it fail. Each returns what
// the system call returns and leaves errno as the system call leaves it.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    virtual int open(const char* path, int flags, mode_t mode) = 0;
    virtual ssize_t read(int fd, void* buffer, size_t length) = 0;
    virtual ssize_t pread(int fd, void* buffer, size_t length, off_t offset) = 0;
    virtual ssize_t pwrite(int fd, const void* data, size_t length, off_t offset) = 0;
    virtual int fsync(int fd) = 0;
    virtual int ftruncate(int fd, off_t length) = 0;
    virtual int close(int fd) = 0;
    virtual int stat(const char* path, struct stat* st) = 0;
    virtual int fstat(int fd, struct stat* st) = 0;
    virtual int unlink(const char* path) = 0;
};

// The host's own calls.
class HostSystemCalls final : public SystemCalls {
public:
    int open(const char* path, int flags, mode_t mode) override;
    ssize_t read(int fd, void* buffer, size_t length) override;
    ssize_t pread(int fd, void* buffer, size_t length, off_t offset) override;
    ssize_t pwrite(int fd, const void* data, size_t length, off_t offset) override;
    int fsync(int fd) override;
    int ftruncate(int fd, off_t length) override;
    int close(int fd) override;
    int stat(const char* path, struct stat* st) override;
    int fstat(int fd, struct stat* st) override;
    int unlink(const char* path) override;
};

} // namespace tov::platform
