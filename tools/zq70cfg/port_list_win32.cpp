// The serial ports of Windows: the COM port devices that SetupAPI knows (with their USB
// ids, maker, friendly name and serial number), then any other COM name that Windows
// knows (a virtual port, or a port that Wine maps to a Linux device).
#include <algorithm>
#include <vector>
#include <windows.h>

#include <initguid.h>

#include <devguid.h>
#include <setupapi.h>

#include "port_list.h"
#include "port_name.h"
#include "port_pattern.h"

namespace zq70cfg {

namespace {

// GUID_DEVINTERFACE_COMPORT, spelled out: not every SDK's headers have it.
DEFINE_GUID(kComPortInterface, 0x86E0D1E0L, 0x8089, 0x11D0, 0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30,
            0x1F, 0x73);

constexpr DWORD kTextSize = 1024;

// A text property of the device (the first string of a list); "" when it has none.
std::string property(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD which) {
    char text[kTextSize] = "";
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(devices, &device, which, &type,
                                           reinterpret_cast<BYTE*>(text), sizeof text - 2, nullptr))
        return "";
    text[kTextSize - 1] = '\0';
    return text;
}

std::string port_name_of(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) return "";
    char name[256] = "";
    DWORD size = sizeof name - 1;
    DWORD type = 0;
    const LONG read =
        RegQueryValueExA(key, "PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS || type != REG_SZ) return "";
    name[sizeof name - 1] = '\0';
    return name;
}

void add_devices(const GUID& guid, DWORD flags, std::vector<PortInfo>& ports) {
    HDEVINFO devices = SetupDiGetClassDevsA(&guid, nullptr, nullptr, flags);
    if (devices == INVALID_HANDLE_VALUE) return;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
        PortInfo port;
        port.name = port_name_of(devices, device);
        // The Ports class holds printer ports too.
        if (windows_device_of(port.name).empty()) continue;
        if (std::any_of(ports.begin(), ports.end(),
                        [&port](const PortInfo& known) { return known.name == port.name; }))
            continue;
        usb_ids_of(property(devices, device, SPDRP_HARDWAREID), port.vendor_id, port.product_id);
        port.manufacturer = property(devices, device, SPDRP_MFG);
        port.product = property(devices, device, SPDRP_FRIENDLYNAME);
        if (port.product.empty()) port.product = property(devices, device, SPDRP_DEVICEDESC);
        char instance[kTextSize] = "";
        if (SetupDiGetDeviceInstanceIdA(devices, &device, instance, sizeof instance, nullptr))
            port.serial = serial_of_instance(instance);
        ports.push_back(port);
    }
    SetupDiDestroyDeviceInfoList(devices);
}

// COM names among the DOS device names.
void add_dos_devices(std::vector<PortInfo>& ports) {
    std::vector<char> names(64 * 1024);
    const DWORD size = QueryDosDeviceA(nullptr, names.data(), static_cast<DWORD>(names.size()));
    for (DWORD at = 0; at < size && names[at] != '\0';) {
        const std::string name = names.data() + at;
        at += static_cast<DWORD>(name.size()) + 1;
        if (windows_device_of(name).empty() || name.find('\\') != std::string::npos) continue;
        if (std::any_of(ports.begin(), ports.end(),
                        [&name](const PortInfo& known) { return known.name == name; }))
            continue;
        ports.emplace_back();
        ports.back().name = name;
    }
}

} // namespace

std::vector<PortInfo> system_ports() {
    std::vector<PortInfo> ports;
    add_devices(kComPortInterface, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE, ports);
    add_devices(GUID_DEVCLASS_PORTS, DIGCF_PRESENT, ports);
    add_dos_devices(ports);
    std::sort(ports.begin(), ports.end(),
              [](const PortInfo& a, const PortInfo& b) { return natural_less(a.name, b.name); });
    return ports;
}

// No sharing: an open that another program's handle stops fails with access denied.
PortCheck port_in_use(const std::string& device) {
    const HANDLE handle = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_ACCESS_DENIED ? PortCheck::Busy : PortCheck::CannotOpen;
    CloseHandle(handle);
    return PortCheck::NotProbed;
}

} // namespace zq70cfg
