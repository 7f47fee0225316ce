// The longest the desktop program's event loop stands still while the window waits on
// something outside: the send dialog opening against a print server that takes connections
// and never answers, and a profile deleted while another process holds the data folder's lock.
// Each figure is the largest gap between the ticks of a 2 ms timer over the whole operation.
#pragma once

namespace drovik::bench {

// Milliseconds; negative when the case could not be set up.
double sendDialogStallMs();
// `self` is this program, started again as the process that holds the lock.
double lockedDeleteStallMs(const char* self);

// A fleet window running a plan of `rows` rows against printer simulators (one old printer,
// one new printer per row, on FTP): the longest stall of its event loop, the run's wall time
// and the rows that completed. A negative stall: the simulators could not be started.
struct FleetRunFigures {
  double stallMs;
  double wallMs;
  int completed;
};
FleetRunFigures fleetRunStall(int rows);

// The lock holder's side: "--hold-lock DIR MS" takes the folder lock of DIR, says so with one
// byte on its standard output and keeps the lock for MS milliseconds.
int holdFolderLock(const char* dir, const char* milliseconds);

}  // namespace drovik::bench
