// drovik_save_loop_child DIR STEP VARIANT: saves the loop states into the store in DIR,
// starting at the given step and state, until it is killed. Writes "R" on stdout when the
// loop starts and "S" after each step that returned success; a failed save ends it with
// status 1.
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "hostile/loop_states.h"

int main(int argc, char** argv) {
  using namespace drovik;
  using drovik::hostile::kLoopStepCount;
  if (argc != 4) {
    std::cerr << "usage: drovik_save_loop_child DIR STEP VARIANT\n";
    return 2;
  }
  const ProfileStore store(StorePaths::inDirectory(argv[1]));
  const hostile::LoopStates states;
  int step = std::atoi(argv[2]) % kLoopStepCount;
  int variant = std::atoi(argv[3]) & 1;
  if (::write(STDOUT_FILENO, "R", 1) != 1) return 1;
  while (true) {
    if (Status saved = states.apply(store, step, variant); !saved) {
      std::cerr << saved.message() << '\n';
      return 1;
    }
    if (::write(STDOUT_FILENO, "S", 1) != 1) return 1;
    if (++step == kLoopStepCount) {
      step = 0;
      variant ^= 1;
    }
  }
}
