#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "line_failure.h"

namespace dorvel {

// Line settings set by the caller before Open(); the meter needs 4800 8N1
// without flow control in every use.
struct LineSettings {
    std::string portName;  // the device to open, e.g. /dev/ttyUSB0
    int baudRate = 4800;
    int byteSize = 8;
    int stopBits = 0;        // 0: one stop bit
    int parity = 0;          // 0: none
    unsigned flowFlags = 0;  // bit 0 XON/XOFF in, bit 1 XON/XOFF out, bit 2 discard NULs
    size_t bufferSize = 1000000;
};

// The session's only view of the line: configure, open, close, write, and
// chunks in. The serial port, a scripted stream in tests and a replayed
// transcript all sit behind it.
class ByteStream {
  public:
    using ChunkHandler = std::function<void(std::string_view chunk)>;
    using LostHandler = std::function<void(const LineError& error)>;

    virtual ~ByteStream() = default;

    // Closes the port if open and remembers who receives the chunks.
    virtual void Configure(ChunkHandler notify, size_t bufferSize) = 0;
    // Opens settings.portName; false leaves the port closed and LastError() says why.
    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Bytes written; 0 when the port is closed or the write failed.
    virtual size_t Write(std::string_view bytes) = 0;
    // 0 only when received bytes wait and nothing waits to be sent; 1 otherwise.
    virtual int PollIdle() = 0;
    virtual const LineError& LastError() const = 0;

    // Told when an open line breaks (the device vanished or reading failed).
    void SetLostHandler(LostHandler handler) { lost_ = std::move(handler); }

    LineSettings settings;

  protected:
    LostHandler lost_;
};

}  // namespace dorvel
