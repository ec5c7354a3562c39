// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Serial.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {
namespace {

speed_t Speed(int baud) {
    switch (baud) {
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B0;
    }
}

}  // namespace

SerialPort::Open SerialPort::OpenPort(const std::string& name, int baud) {
    Close();
    error.clear();
    if (Speed(baud) == B0) {
        error = "unsupported speed";
        return Open::Failed;
    }
    const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        if (errno == ENOENT || errno == ENXIO || errno == ENODEV) return Open::Missing;
        return errno == EBUSY ? Open::Busy : Open::Failed;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode) || !::isatty(fd)) {
        error = "not a serial port";
        ::close(fd);
        return Open::Failed;
    }
    // Another reader (gpsd, a plotter program) would take half of each sentence.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = std::strerror(errno);
        ::close(fd);
        return Open::Busy;
    }
    handle = fd;
    if (!SetBaud(baud)) {
        Close();
        return Open::Failed;
    }
    return Open::Done;
}

bool SerialPort::SetBaud(int baud) {
    if (handle == -1 || Speed(baud) == B0) return false;
    const int fd = static_cast<int>(handle);
    termios mode{};
    if (::tcgetattr(fd, &mode) != 0) {
        error = std::strerror(errno);
        return false;
    }
    ::cfmakeraw(&mode);
    mode.c_cflag |= CLOCAL | CREAD;
    mode.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    mode.c_cc[VMIN] = 0;
    mode.c_cc[VTIME] = 0;
    ::cfsetispeed(&mode, Speed(baud));
    ::cfsetospeed(&mode, Speed(baud));
    if (::tcsetattr(fd, TCSANOW, &mode) != 0) {
        error = std::strerror(errno);
        return false;
    }
    ::tcflush(fd, TCIFLUSH);  // bytes read at the old speed are noise
    return true;
}

void SerialPort::Close() {
    if (handle == -1) return;
    ::close(static_cast<int>(handle));
    handle = -1;
}

long SerialPort::Read(char* buffer, long size) {
    if (handle == -1) return -1;
    for (;;) {
        const ssize_t n = ::read(static_cast<int>(handle), buffer, static_cast<size_t>(size));
        if (n > 0) return static_cast<long>(n);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            error = std::strerror(errno);  // a USB adapter pulled out: EIO or ENODEV
            return -1;
        }
        // A raw terminal reads 0 bytes both when nothing came and once its far end hung up.
        pollfd state{static_cast<int>(handle), POLLIN, 0};
        if (::poll(&state, 1, 0) == 1 && (state.revents & (POLLHUP | POLLERR | POLLNVAL))) {
            error = "hung up";
            return -1;
        }
        return 0;
    }
}

std::vector<std::string> SerialPorts() {
    std::vector<std::string> usb, other;
    if (DIR* dev = ::opendir("/dev")) {
        while (const dirent* entry = ::readdir(dev)) {
            const std::string name = entry->d_name;
            if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0)
                usb.push_back("/dev/" + name);
            else if (name.rfind("ttyS", 0) == 0 && name.size() <= 5)  // ttyS0..ttyS9, not every stub
                other.push_back("/dev/" + name);
        }
        ::closedir(dev);
    }
    std::sort(usb.begin(), usb.end());
    std::sort(other.begin(), other.end());
    usb.insert(usb.end(), other.begin(), other.end());
    return usb;
}

}  // namespace platform
