// A line on the process's standard error, for a caller that started the program from a script. A program of the
// window system usually has none on Windows; then nothing is written.
#pragma once

namespace tolvan {

// Writes text and a line end; false when there is no standard error or the write failed.
bool WriteStandardError(const char* text);

} // namespace tolvan
