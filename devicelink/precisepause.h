#pragma once

#include <chrono>

// Sleeps the calling thread for at least duration and wakes as soon after it as the system
// allows, without spinning: the pause after a purge lies on the path of every exchange, so it
// must last 1 ms, not the 1.1 to 1.5 ms an ordinary sleep takes (or the 15 ms of a coarse
// Windows timer), and must not burn the processor meanwhile.
void PrecisePause(std::chrono::microseconds duration);
