// POSIX implementation of opening a document: xdg-open in a detached child process.
#include "platform/OpenDocument.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace brisko::platform {

bool OpenDocument(const std::string& path) {
  if (path.empty()) return false;
  // Double fork: the opener is re-parented to init, so no zombie is left behind and the caller
  // never waits for the document's program. A close-on-exec pipe tells whether exec worked.
  pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) ::_exit(1);
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild < 0) ::_exit(1);
    if (grandchild > 0) {
      ::close(pipeFds[1]);
      char failed = 0;
      ssize_t n;
      while ((n = ::read(pipeFds[0], &failed, 1)) < 0 && errno == EINTR) {
      }
      ::_exit(n == 1 ? 1 : 0);
    }
    ::close(pipeFds[0]);
    int devnull = ::open("/dev/null", O_RDWR);
    if (devnull >= 0) {
      ::dup2(devnull, STDIN_FILENO);
      ::dup2(devnull, STDOUT_FILENO);
      ::dup2(devnull, STDERR_FILENO);
    }
    ::execlp("xdg-open", "xdg-open", path.c_str(), static_cast<char*>(nullptr));
    char one = 1;
    (void)!::write(pipeFds[1], &one, 1);
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace brisko::platform
#endif
