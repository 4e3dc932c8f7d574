// How many received bytes wake a program that watches a serial device. On
// Unix the terminal driver can be asked to report the device readable only
// once a given number of bytes is in (VMIN with no inter-byte timer), and to
// hand over fewer than that on a read that does not wait. Elsewhere neither
// is available and every byte is reported as it comes.
#pragma once

#include <QtGlobal>

namespace zelta {

// Asks the driver to report the device readable once `bytes` are waiting
// (1: at every byte, as the device was opened). False when it cannot.
bool setTtyReadThreshold(qintptr handle, int bytes);

// Reads up to `most` bytes that are waiting, without waiting for more.
// The number read, 0 when none are there or it cannot.
qint64 readWaitingBytes(qintptr handle, char* into, qint64 most);

}  // namespace zelta
