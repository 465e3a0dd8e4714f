#pragma once
// Independent pieces of a calculation shared between this thread and a helper on every further
// core, with every trace the pieces leave (calculation-log lines, general-log messages, message
// boxes) carried out afterwards by this thread in piece order: the logs read exactly as after
// the plain loop.

#include <cstddef>
#include <functional>

// Calls work(i) for every i in [0, count) and returns when all calls are done. Calls may run on
// several threads at once, so they must only read what they share. The plain loop runs instead
// for the reference calculation, on a single core, for fewer than two pieces and for work
// nested in such a piece. An exception thrown by a piece is thrown again here, after the
// traces of the pieces before it.
void RunInOrder(size_t count, const std::function<void(size_t)>& work);
