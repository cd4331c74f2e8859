#include "BenchProcess.h"

#include <cstdio>
#include <exception>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace slidesmith::bench {

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void RunInChild(const std::function<void()>& job) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        try {
            job();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "failed: %s\n", error.what());
            _exit(1);
        }
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

} // namespace slidesmith::bench
