#pragma once
// Runs a read in a child process and copies its bytes back. The archive reader has memory
// faults on some damaged archives (heap overruns in its sector tables, divisions by zero);
// in a child they cost only the child, and a read that never ends is stopped at a deadline.
// The child runs the read and ends with _exit; the C library keeps its allocator usable in a
// child forked from a threaded program (the desktop program has Qt's threads).

#include <chrono>
#include <cstdint>
#include <functional>

namespace pixmorph {

// Fills buffer with at most byteCount bytes; sets bytesRead; false when the read failed.
using BufferRead =
    std::function<bool(void* buffer, std::uint32_t byteCount, std::uint32_t& bytesRead)>;

// Runs read in a child process and copies what it read into buffer. False when the read
// failed, the child ended abnormally or the deadline passed; bytesRead is then 0.
bool readInChildProcess(const BufferRead& read, void* buffer, std::uint32_t byteCount,
                        std::uint32_t& bytesRead, std::chrono::milliseconds deadline);

} // namespace pixmorph
