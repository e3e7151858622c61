#include "driver/standard_streams.h"

#if __has_include(<fcntl.h>) && __has_include(<unistd.h>)
#include <fcntl.h>
#include <unistd.h>
#define NCABS_HAVE_POSIX 1
#endif

namespace ncabs {

void guard_standard_streams() {
#ifdef NCABS_HAVE_POSIX
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1) continue;
        // open() takes the lowest free descriptor: this one.
        int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened != fd && opened != -1) close(opened);
    }
#endif
}

}  // namespace ncabs
