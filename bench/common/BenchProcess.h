#pragma once

#include <functional>

namespace slidesmith::bench {

// Peak resident memory of this process so far, in MB.
double PeakMegabytes();

// Runs job in a child process and waits for it, so each size's peak memory is its own and
// not the largest of the sizes before it. A job that throws prints why and the child exits 1.
void RunInChild(const std::function<void()>& job);

} // namespace slidesmith::bench
