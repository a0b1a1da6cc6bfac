// The requests to stop a long-running console program (Ctrl+C, a termination request).
#pragma once

namespace brisko::platform {

// Calls `handler` (which must be async-signal-safe) on an interrupt or termination request (SIGINT,
// SIGTERM, and SIGHUP where there is one). File
// reads and writes of work in progress go on undisturbed where the system allows it.
void OnStopSignals(void (*handler)(int));

}  // namespace brisko::platform
