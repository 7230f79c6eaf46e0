#include "serial_port.h"

#include <unistd.h>

#include <QSerialPort>
#include <cerrno>
#include <cstring>

namespace dorvel {

LineFailure ClassifyOpenFailure(const std::string& device, bool permissionError) {
    if (::access(device.c_str(), F_OK) != 0)
        return LineFailure::NoDevice;
    // Qt also reports a port locked by another program as a permission error;
    // only a device we really may not open is a matter of group membership.
    if (::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES)
        return LineFailure::NoAccess;
    (void)permissionError;
    return LineFailure::Io;
}

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() {
    open_ = false;
    if (port_)
        port_->disconnect();
}

void SerialPort::Configure(ChunkHandler notify, size_t bufferSize) {
    Close();
    notify_ = std::move(notify);
    settings.bufferSize = bufferSize;
    error_ = {};
}

bool SerialPort::Fail(LineFailure failure, std::string detail) {
    error_ = {failure, settings.portName, std::move(detail)};
    open_ = false;
    if (port_) {
        port_->disconnect();
        port_.reset();
    }
    return false;
}

bool SerialPort::Open() {
    if (open_)
        Close();
    error_ = {};
    if (!notify_)
        return Fail(LineFailure::Io, "kein Empfänger für die Daten");
    if (settings.portName.empty())
        return Fail(LineFailure::NoDevice, "kein Anschluss gewählt");

    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(QString::fromStdString(settings.portName));
    if (!port_->open(QIODevice::ReadWrite)) {
        const bool permission = port_->error() == QSerialPort::PermissionError;
        const std::string text = port_->errorString().toStdString();
        return Fail(ClassifyOpenFailure(settings.portName, permission), text);
    }
    const auto parity = settings.parity == 0 ? QSerialPort::NoParity : QSerialPort::EvenParity;
    const auto stop = settings.stopBits == 0 ? QSerialPort::OneStop : QSerialPort::TwoStop;
    const bool softFlow = (settings.flowFlags & 3u) != 0;
    if (!port_->setBaudRate(settings.baudRate) ||
        !port_->setDataBits(static_cast<QSerialPort::DataBits>(settings.byteSize)) ||
        !port_->setParity(parity) || !port_->setStopBits(stop) ||
        !port_->setFlowControl(softFlow ? QSerialPort::SoftwareControl
                                        : QSerialPort::NoFlowControl)) {
        return Fail(LineFailure::Io, port_->errorString().toStdString());
    }
    // Whatever the line held before belongs to nobody's reply.
    port_->clear(QSerialPort::AllDirections);
    QObject::connect(port_.get(), &QSerialPort::readyRead, [this] { ReadChunk(); });
    QObject::connect(port_.get(), &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError e) { OnError(static_cast<int>(e)); });
    open_ = true;
    failedReads_ = 0;
    return true;
}

void SerialPort::ReadChunk() {
    if (!open_ || !port_)
        return;
    const QByteArray bytes = port_->readAll();
    if (!bytes.isEmpty())
        failedReads_ = 0;
    if (notify_)
        notify_(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void SerialPort::OnError(int error) {
    const auto e = static_cast<QSerialPort::SerialPortError>(error);
    if (e != QSerialPort::ResourceError && e != QSerialPort::ReadError)
        return;
    if (!open_)
        return;
    error_ = {LineFailure::Io, settings.portName, port_->errorString().toStdString()};
    // A failed read is still a read: the owner hears of it as a chunk of 0 bytes.
    if (notify_)
        notify_({});
    // A device that went away (the adapter pulled, the far end of a terminal
    // closed) keeps failing every read: the line is gone, not just one read.
    if (e == QSerialPort::ResourceError || ::access(settings.portName.c_str(), F_OK) != 0 ||
        ++failedReads_ >= 3) {
        const LineError lost = error_;
        Close();
        if (lost_)
            lost_(lost);
    }
}

void SerialPort::Close() {
    open_ = false;
    if (!port_)
        return;
    port_->disconnect();
    if (port_->isOpen()) {
        port_->clear(QSerialPort::AllDirections);
        port_->close();
    }
    // The owner may close from inside this port's own signal; let the event loop free it.
    port_.release()->deleteLater();
}

bool SerialPort::IsOpen() const {
    return open_;
}

size_t SerialPort::Write(std::string_view bytes) {
    if (!open_ || !port_)
        return 0;
    const qint64 written = port_->write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (written < 0) {
        port_->clearError();
        return 0;
    }
    port_->flush();
    return static_cast<size_t>(written);
}

int SerialPort::PollIdle() {
    if (open_ && port_ && port_->bytesAvailable() > 0 && port_->bytesToWrite() == 0)
        return 0;
    return 1;
}

}  // namespace dorvel
