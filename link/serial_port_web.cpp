#include "serial_port_web.h"

#include <emscripten.h>

// Each call goes to Module.serialLink (serial_port_web.js). The ones that wait suspend the
// module through Asyncify until their promise settles; the others return at once.
// clang-format off
EM_ASYNC_JS(int, zq70_web_open, (), { return await Module["serialLink"].open(); });
EM_ASYNC_JS(int, zq70_web_configure, (), { return await Module["serialLink"].configure(); });
EM_JS(void, zq70_web_send, (int byte), { Module["serialLink"].send(byte); });
EM_ASYNC_JS(int, zq70_web_receive, (int timeout_ms), {
    return await Module["serialLink"].receive(timeout_ms);
});
EM_JS(void, zq70_web_discard, (), { Module["serialLink"].discard(); });
EM_ASYNC_JS(void, zq70_web_close, (), { await Module["serialLink"].close(); });
EM_ASYNC_JS(void, zq70_web_pump, (int ms), { await Module["serialLink"].pump(ms); });
EM_JS(int, zq70_web_stop_requested, (), { return Module["serialLink"].stopRequested ? 1 : 0; });
EM_JS(int, zq70_web_port_lost, (), { return Module["serialLink"].lost ? 1 : 0; });
// clang-format on

namespace zq70 {

SerialPort make_web_serial_port() {
    SerialPort port;
    port.open = [] { return zq70_web_open() != 0; };
    port.configure = [] { return zq70_web_configure() != 0; };
    port.send_byte = [](uint8_t byte) { zq70_web_send(byte); };
    port.receive_byte = [](int timeout_ms) { return zq70_web_receive(timeout_ms); };
    port.discard_input = [] { zq70_web_discard(); };
    port.close = [] { zq70_web_close(); };
    return port;
}

Pump web_pump() {
    return [](int ms) { zq70_web_pump(ms); };
}

bool web_stop_requested() {
    return zq70_web_stop_requested() != 0;
}

bool web_port_lost() {
    return zq70_web_port_lost() != 0;
}

} // namespace zq70
