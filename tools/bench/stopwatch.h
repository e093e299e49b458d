#pragma once
// Elapsed time in milliseconds from the performance counter.

#include <windows.h>

namespace bench {

class Stopwatch {
public:
    Stopwatch() { ::QueryPerformanceCounter(&start_); }
    double Milliseconds() const {
        LARGE_INTEGER now, frequency;
        ::QueryPerformanceCounter(&now);
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 /
               static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_;
};

// Now, as GetSystemTimeAsFileTime gives it (100 ns units): the clock the
// stand-in game stamps its start with.
inline unsigned long long FileTimeNow() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    return (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

}  // namespace bench
