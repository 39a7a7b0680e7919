// Per-step timing of start-up, for the start-up benchmark (bench/startup_bench.py). It is off unless the
// environment variable TOLVAN_STARTUP_TRACE names a file; then each step's time since the process was created is
// kept, and the steps are appended to that file when the last one is reached. Off, a step costs one test of a
// flag (and the first one a look at the environment).
#pragma once

namespace tolvan::startup_trace {

// name: a text that lives as long as the process (a literal).
void Step(const char* name);
// The last step: records it and writes every step to the file. Later steps are not recorded.
void Finish(const char* name);

} // namespace tolvan::startup_trace
