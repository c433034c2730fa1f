// Runs a program several times as a whole process and prints the median CPU
// time (user + system), the median wall time and the largest peak memory, with
// microsecond precision: GNU time counts CPU in 10 ms steps, too coarse for a
// program that runs for a few milliseconds. POSIX only, like the benchmark.
//
// Usage: process_timer RUNS PROGRAM [ARGUMENTS...]
// Prints "CPU_MS WALL_MS PEAK_KB"; the program's output goes to /dev/null.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double milliseconds(const timeval& t) {
    return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: process_timer RUNS PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    std::vector<double> cpu, wall;
    long peak = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        pid_t child = 0;
        if (const int error = posix_spawn(&child, argv[2], &quiet, nullptr, argv + 2, environ)) {
            std::fprintf(stderr, "process_timer: cannot start %s (error %d)\n", argv[2], error);
            return 2;
        }
        int status = 0;
        rusage usage{};
        pid_t done = 0;
        do
            done = wait4(child, &status, 0, &usage);
        while (done < 0 && errno == EINTR);
        const auto end = std::chrono::steady_clock::now();
        if (done != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "process_timer: %s failed\n", argv[2]);
            return 1;
        }
        cpu.push_back(milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime));
        wall.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        peak = std::max(peak, usage.ru_maxrss); // kilobytes on Linux
    }
    posix_spawn_file_actions_destroy(&quiet);
    std::printf("%.2f %.2f %ld\n", median(cpu), median(wall), peak);
    return 0;
}
