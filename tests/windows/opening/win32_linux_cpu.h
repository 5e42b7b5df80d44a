#pragma once
// CPU time as Linux counts it, read under Wine through the Z: drive: this process (all its
// threads) and the wineserver of this process's prefix. Wine's own GetProcessTimes advances in
// 10 ms steps and mostly reads 0 for short spans, too coarse for a 2 s wait that should cost
// almost nothing.

#include <optional>

namespace folivex::testing {

struct LinuxCpu {
    double process = 0.0;    // seconds
    double wineserver = 0.0; // seconds; 0 when no wineserver was found
    bool wineserverFound = false;
};

// Nothing when /proc cannot be read (not running under Wine on Linux).
std::optional<LinuxCpu> ReadLinuxCpu();

} // namespace folivex::testing
