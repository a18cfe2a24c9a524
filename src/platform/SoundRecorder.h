#pragma once
// Recording from the machine's sound inputs (PulseAudio or PipeWire through Qt): the devices by
// name, the formats each one takes, and one recording of a set length into a buffer. Recording
// runs while the program goes on painting; stopping early keeps the full length, the part not
// reached holding silence.

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "base/ByteIO.h"
#include "sound/RecordingFormat.h"

class QAudioSource;
class QIODevice;

namespace celvane {

class SoundRecorder : public QObject {
    Q_OBJECT
public:
    SoundRecorder();
    ~SoundRecorder() override;

    // The input devices' names, in the machine's order; empty when there are none.
    static std::vector<std::string> deviceNames();
    // The format bits (RecordingFormat) the device takes.
    static uint32_t formatBits(int device);

    // Starts recording `bytes` in a format; false with the device's reason when it will not.
    bool start(int device, uint32_t formatBit, size_t bytes, std::string& error);
    bool recording() const { return source_ != nullptr; }
    // Ends a recording early.
    void stop();
    // The last recording, its full length.
    const Bytes& recorded() const { return buffer_; }
    const RecordingFormat& format() const { return format_; }

signals:
    void finished();

private:
    void take();
    void finish();

    std::unique_ptr<QAudioSource> source_;
    QIODevice* input_ = nullptr;
    RecordingFormat format_;
    Bytes buffer_;
    size_t filled_ = 0;
};

} // namespace celvane
