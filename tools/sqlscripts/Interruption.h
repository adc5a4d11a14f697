// Ctrl-C and SIGTERM. A thread of the program's own waits for them, so that a statement waiting for the
// server can be cancelled from there: the run then stops at its next check and says how it ended. When it has
// not ended a second later (a link that stalled, on which even the cancel gets no answer), that thread ends
// the program: the snapshots being recorded are ended as cut short, the temporary files are removed, and the
// exit status is 128 + the signal. Before a run catches the signals, they end the program that way at once.
#pragma once

class InterruptionWatch {
public:
    // First thing in main, before any other thread starts: every thread leaves the signals to the watch.
    InterruptionWatch();
    InterruptionWatch(const InterruptionWatch&) = delete;
    InterruptionWatch& operator=(const InterruptionWatch&) = delete;
    // The program ends its own way from here: a signal that comes now is left alone.
    ~InterruptionWatch();
};

// From now on the run looks at InterruptionSignal and stops itself; a signal cancels the statements under
// way.
void CatchInterruptions();
// The signal that asked the run to stop; 0 when none did.
int InterruptionSignal();
// After a signal: every snapshot being recorded says that the export was interrupted or stopped, so that its
// replay tells why statements are missing.
void CutShortRecordingsBySignal();

// What the run made on a server and undoes before it ends (a scratch database, dropped again): from
// CleanupBegun to CleanupEnded, the end of the program after a signal waits up to ten seconds for it. Each
// called from any thread, once for each.
void CleanupBegun();
void CleanupEnded();
