#pragma once

#include <sys/resource.h>

#include <csignal>
#include <stdexcept>

namespace norvale::test {

// Makes every write past `bytes` into any file of this process fail (EFBIG), as a full
// disk would, for the life of the object. Running as root, permission bits stop no
// write, so this is how a test makes a save fail half-way.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        if (::getrlimit(RLIMIT_FSIZE, &saved_) != 0)
            throw std::runtime_error("getrlimit failed");
        // Without this the kernel ends the process with SIGXFSZ instead of failing the write.
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            throw std::runtime_error("setrlimit failed");
    }
    ~TFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
};

}  // namespace norvale::test
