// zq70cfg's exit codes. Scripts and production benches test them, so a number once given
// keeps its meaning; --help and the README show the same table.
#pragma once

#include "link/transfer_result.h"

namespace zq70cfg {

enum ExitCode : int {
    kExitOk = 0,
    kExitDifferent = 1,      // diff: the two differ; check: warnings but no errors
    kExitUsage = 2,          // bad command line
    kExitBadInput = 3,       // input unreadable, not a configuration, or refused by the encoder
    kExitCannotWrite = 4,    // an output file or the log could not be written
    kExitPortOpenFailed = 5, // the port is absent, in use, or not a serial port
    kExitTransferFailed = 6, // the ZQ70 did not answer, or answered wrongly
    kExitVerifyFailed = 7,   // the read-back differs from what was written
    kExitCheckErrors = 8,    // check found errors
    kExitSeriesFailed = 9,   // write --repeat: at least one device failed
    kExitInterrupted = 130,  // Ctrl+C cut a transfer short (128 + the signal number)
};

// The exit code of a transfer's result.
inline int exit_code_of(zq70::TransferResult result) {
    switch (result) {
    case zq70::Ok: return kExitOk;
    case zq70::PortOpenFailed: return kExitPortOpenFailed;
    default: return kExitTransferFailed;
    }
}

inline constexpr const char* kExitCodeTable = R"(Exit codes:
  0    success (diff: no differences; check: nothing found)
  1    diff: the configurations differ; check: warnings only
  2    usage error
  3    input cannot be read, is not a valid configuration, or the encoder refuses it
  4    an output file or the log cannot be written
  5    the serial port cannot be opened (absent, in use, or not a serial port)
  6    the ZQ70 did not answer, or answered wrongly
  7    verify failed: the ZQ70 holds other bytes than those written
  8    check found errors
  9    write --repeat: at least one device of the series failed
  130  interrupted by Ctrl+C in the middle of a transfer (143: by SIGTERM)
)";

} // namespace zq70cfg
