// zq70cfg ports: the serial ports of the machine, with what the system knows of each (the
// USB ids and names of an adapter), and whether a ZQ70 answers on it. The system's side is
// read through a seam: on Linux a sysfs folder and a /dev folder (tests give fake ones), on
// Windows SetupAPI (port_list_win32.cpp).
#pragma once

#include <string>
#include <vector>

namespace zq70cfg {

struct PortInfo {
    std::string name;                 // what --port takes: "/dev/ttyUSB0", "COM3"
    std::string vendor_id;            // USB ids in hex, "0403"; "" when not a USB device
    std::string product_id;           // "6001"
    std::string manufacturer;         // "FTDI"
    std::string product;              // "FT232R USB UART", or Windows' friendly name
    std::string serial;               // the adapter's serial number
    std::vector<std::string> aliases; // other names of the same port (/dev/serial/by-id/...)
};

// What a probe found, or that it was not asked for.
enum class PortCheck { NotProbed, Answers, NoAnswer, Busy, NoAccess, CannotOpen };

// "/dev/ttyUSB0  ZQ70  0403:6001  FTDI  FT232R USB UART  serial A50285BI  /dev/serial/..."
// Fields the system does not know are left out; the check only with --probe.
std::string port_line(const PortInfo& port, PortCheck check);

// The serial ports of a Linux system seen through sys_root (/sys) and dev_root (/dev):
// every tty with a device behind it whose node exists, except serial-core ports whose UART
// type is 0 (the legacy ttyS ports that the 8250 driver makes whether or not there is
// hardware), in name order. USB details come from the USB device above the tty, by-id
// names from dev_root/serial/by-id.
std::vector<PortInfo> sysfs_ports(const std::string& sys_root, const std::string& dev_root);

// The ports of this machine: sysfs_ports of /sys and /dev (ZQ70CFG_SYSFS and ZQ70CFG_DEV
// stand in for them when set), or on Windows those that SetupAPI and the COM device names
// know.
std::vector<PortInfo> system_ports();

// Whether another program holds the device, asked without taking it from its owner: Busy,
// NoAccess, CannotOpen, or NotProbed when nothing stands in the way of a probe
// (port_use_posix.cpp, port_list_win32.cpp).
PortCheck port_in_use(const std::string& device);

// The USB ids in a Windows hardware id ("USB\VID_0403&PID_6001&REV_0600",
// "FTDIBUS\COMPORT&VID_0403&PID_6001"); false when it has none.
bool usb_ids_of(const std::string& hardware_id, std::string& vendor, std::string& product);
// The serial number in a Windows device instance id ("USB\VID_0403&PID_6001\A50285BI",
// "FTDIBUS\VID_0403+PID_6001+A50285BIA\0000"), or "" when Windows made one up (it holds '&').
std::string serial_of_instance(const std::string& instance_id);

// zq70cfg ports [--probe]: the exit code.
int ports_command(bool probe);

} // namespace zq70cfg
