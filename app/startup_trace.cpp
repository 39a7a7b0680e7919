#include "app/startup_trace.h"

#include "ui/unique_handle.h"

#include <windows.h>

#include <cstdio>

namespace tolvan::startup_trace {

namespace {

constexpr char kVariable[] = "TOLVAN_STARTUP_TRACE";
constexpr int kMaxSteps = 128;

struct Trace {
    enum class State { kUnknown, kOff, kOn, kDone } state = State::kUnknown;
    char path[MAX_PATH] = {};
    ULONGLONG created = 0; // 100 ns units
    int count = 0;
    const char* names[kMaxSteps] = {};
    ULONGLONG times[kMaxSteps] = {};
};

Trace g_trace;

ULONGLONG FileTimeValue(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool On() {
    if (g_trace.state == Trace::State::kUnknown) {
        const DWORD n = ::GetEnvironmentVariableA(kVariable, g_trace.path, sizeof g_trace.path);
        FILETIME created{}, exited{}, kernel{}, user{};
        const bool known = ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user) != 0;
        g_trace.created = FileTimeValue(created);
        g_trace.state = n > 0 && n < sizeof g_trace.path && known ? Trace::State::kOn : Trace::State::kOff;
    }
    return g_trace.state == Trace::State::kOn;
}

void Record(const char* name) {
    if (g_trace.count >= kMaxSteps)
        return;
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    g_trace.names[g_trace.count] = name;
    g_trace.times[g_trace.count] = FileTimeValue(now);
    ++g_trace.count;
}

void Write() {
    UniqueFile file(::CreateFileA(g_trace.path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    for (int i = 0; i < g_trace.count; ++i) {
        char line[160];
        const double ms = static_cast<double>(static_cast<LONGLONG>(g_trace.times[i] - g_trace.created)) / 1e4;
        const int n = std::snprintf(line, sizeof line, "%.3f\t%s\n", ms, g_trace.names[i]);
        DWORD written = 0;
        if (n > 0 && n < static_cast<int>(sizeof line))
            ::WriteFile(file.Get(), line, static_cast<DWORD>(n), &written, nullptr);
    }
}

} // namespace

void Step(const char* name) {
    if (On())
        Record(name);
}

void Finish(const char* name) {
    if (!On())
        return;
    Record(name);
    Write();
    g_trace.state = Trace::State::kDone;
}

} // namespace tolvan::startup_trace
