// Whether a serial device is in use, on POSIX systems.
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "port_list.h"

namespace zq70cfg {

// Opened without waiting for a carrier and closed again at once, touching nothing. Its
// owner is found by what it holds: the terminal's exclusive mode (TIOCEXCL, which stops
// others but not root, so it is asked for with TIOCGEXCL too), or a lock on the device (as
// zq70cfg and other serial programs take it).
PortCheck port_in_use(const std::string& device) {
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EBUSY) return PortCheck::Busy;
        if (errno == EACCES || errno == EPERM) return PortCheck::NoAccess;
        return PortCheck::CannotOpen;
    }
    PortCheck use = PortCheck::NotProbed;
#ifdef TIOCGEXCL
    int exclusive = 0;
    if (ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0) use = PortCheck::Busy;
#endif
    if (use == PortCheck::NotProbed && flock(fd, LOCK_EX | LOCK_NB) != 0 &&
        (errno == EWOULDBLOCK || errno == EAGAIN))
        use = PortCheck::Busy;
    close(fd);
    return use;
}

} // namespace zq70cfg
