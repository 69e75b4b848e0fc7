#pragma once
// What the benchmarks measure of their own process, and the anchor of the file readers.

#include <QString>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace zorva::bench {

// CPU seconds: on a loaded machine the wall clock measures the neighbours too.
inline double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline long PeakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Counts the lines of a file read in 64 KB blocks: the least a reader of a text file does,
// in less memory than any reader (the benchmarks report their peak memory).
inline long long CountLines(const QString& path) {
    std::FILE* f = std::fopen(path.toLocal8Bit().constData(), "rb");
    if (!f) return -1;
    std::vector<char> block(1 << 16);
    long long lines = 0;
    std::size_t got = 0;
    while ((got = std::fread(block.data(), 1, block.size(), f)) > 0) {
        const char* p = block.data();
        const char* end = p + got;
        while (const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
            ++lines;
            p = static_cast<const char*>(nl) + 1;
        }
    }
    std::fclose(f);
    return lines;
}

}  // namespace zorva::bench
