// Outcome of a device transfer; the numbers show in "Unknown error (%d)".
#pragma once

namespace zq70 {

enum TransferResult : int {
    Ok = 0,
    DeviceNotFound = 1,
    TransferFailed = 2,
    InvalidHeader = 3,
    PortOpenFailed = 4,
    NoGoodCombos = 5,
};

} // namespace zq70
