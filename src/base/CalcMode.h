#pragma once
// How the energy calculation does its work. The results and the logs are the same either way.

// The reference calculation evaluates every quantity afresh, point by point, on one thread: no
// cache, no row counting of the sampling grid. It is the baseline of the benchmarks and the oracle
// of the identity tests. Chosen by the environment variable ORVANTIS_REFERENCE_CALC set to a value
// other than "0", read once per process.
bool IsReferenceCalculation();
