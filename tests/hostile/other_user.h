// Another user of a shared folder (uid and gid 65534, "nobody"), acting in a child process
// while the test goes on, for whom file permissions and ownership count as they would.
#pragma once

#include <sys/types.h>

#include <functional>

namespace drovik::hostile {

inline constexpr uid_t kOtherUserId = 65534;

class OtherUser {
 public:
  // Runs `round` again and again until stop(). Each round returns how many times it got what
  // it was after (a file read, a link planted). Only system calls belong in a round: the
  // child is a fork of a program with threads.
  explicit OtherUser(std::function<int()> round);
  ~OtherUser();
  OtherUser(const OtherUser&) = delete;
  OtherUser& operator=(const OtherUser&) = delete;

  // Ends the rounds: their total (at most 100), or -1 when the child could not become the
  // other user or did not end normally.
  int stop();

 private:
  pid_t pid_ = -1;
  int stopFd_ = -1;
};

}  // namespace drovik::hostile
