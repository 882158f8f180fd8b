// The log the command-line listener keeps: one record per emission of the command-line
// signal, with the time it was emitted. Binary, so that any forwarded text survives unchanged.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

struct CommandLineBatch {
    LONGLONG emittedAt;  // QueryPerformanceCounter
    std::vector<std::wstring> commandLines;
};

// Appends one record; false when the file could not be written.
bool AppendBatch(const std::wstring& path, const CommandLineBatch& batch);
// Every complete record in the file; none when there is no file.
std::vector<CommandLineBatch> ReadBatches(const std::wstring& path);
