// Kept apart from SerialPort.cpp: the kernel's termios2 header cannot share a unit with <termios.h>.
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace vyn {

bool SetCustomBaud(int fd, int baud)
{
    if (baud <= 0) return false;
    struct termios2 t {};
    if (::ioctl(fd, TCGETS2, &t) != 0) return false;
    t.c_cflag &= ~static_cast<tcflag_t>(CBAUD);
    t.c_cflag |= BOTHER;
    t.c_ispeed = static_cast<speed_t>(baud);
    t.c_ospeed = static_cast<speed_t>(baud);
    return ::ioctl(fd, TCSETS2, &t) == 0;
}

}  // namespace vyn
