#pragma once

#include <memory>

#include "byte_stream.h"

class QSerialPort;

namespace dorvel {

// The program's serial channel to the meter. Chunks are handed on in the
// order they arrive, on the thread that runs the Qt event loop, each as soon
// as it is read; a failed read hands on a chunk of 0 bytes.
class SerialPort : public ByteStream {
  public:
    SerialPort();
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    void Configure(ChunkHandler notify, size_t bufferSize) override;
    bool Open() override;
    void Close() override;
    bool IsOpen() const override;
    size_t Write(std::string_view bytes) override;
    int PollIdle() override;
    const LineError& LastError() const override { return error_; }

  private:
    bool Fail(LineFailure failure, std::string detail);
    void ReadChunk();
    void OnError(int error);

    std::unique_ptr<QSerialPort> port_;
    ChunkHandler notify_;
    LineError error_;
    bool open_ = false;
    int failedReads_ = 0;
};

// What a failed open means: a missing device, missing rights, or another fault.
LineFailure ClassifyOpenFailure(const std::string& device, bool permissionError);

}  // namespace dorvel
