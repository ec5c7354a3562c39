// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace platform {

// A serial port read without ever waiting: a USB GPS's NMEA 0183 at 4800 or 38400 baud,
// 8 data bits, no parity, one stop bit.
class SerialPort {
public:
    enum class Open { Done, Missing, Busy, Failed };

    SerialPort() = default;
    ~SerialPort() { Close(); }
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // "/dev/ttyUSB0", "COM3". Busy: another program holds it (the port is not shared, so
    // that two readers never split its sentences between them).
    Open OpenPort(const std::string& name, int baud);
    // Another speed on the open port.
    bool SetBaud(int baud);
    void Close();
    bool IsOpen() const { return handle != -1; }
    // What has come in, up to size bytes: 0 when nothing has, -1 when the port has gone
    // (unplugged) or fails.
    long Read(char* buffer, long size);
    // The system's words for the last failure.
    const std::string& Error() const { return error; }

private:
    long long handle = -1;
    std::string error;
};

// The serial ports this computer has now, USB adapters first; by name, for the user.
std::vector<std::string> SerialPorts();

}  // namespace platform
