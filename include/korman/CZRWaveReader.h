// A reader of uncompressed PCM WAV files, for showing and playing the audio of WAV parts.
#pragma once

#include <korman/Export.h>

#include <cstdint>
#include <memory>

class CZRWaveReaderImpl;

/// Reads the sample frames of a PCM WAV file (format tag 1, one or two channels, at least 8 bits
/// per sample) from a settable position. Closed after construction; open after a successful
/// open(). Failures answer 0 and set no error code. Not copyable.
class KORMAN_API CZRWaveReader {
public:
    /// A closed reader. Readers are independent of managers and of each other: any number may be
    /// used on any threads at once, each by one thread at a time.
    CZRWaveReader();
    /// Closes the file, if one is open.
    ~CZRWaveReader();
    CZRWaveReader(const CZRWaveReader&) = delete;
    CZRWaveReader& operator=(const CZRWaveReader&) = delete;

    /// Opens and checks the file at `path` (a file open before is closed first). 1 on success; 0
    /// for a null path, a file that is not a RIFF "WAVE" file with "fmt " and "data" chunks, a
    /// format other than PCM, fewer than 8 bits per sample, or other than one or two channels.
    int open(const wchar_t* path);
    /// Closes the file; the getters then answer 0.
    void close();

    /// The format tag (1 for PCM); 0 when closed.
    unsigned int getFormatTag() const;
    /// Samples per second; 0 when closed.
    int getSampleRate() const;
    /// Bits per sample; 0 when closed.
    int getSampleReso() const;
    /// 1 or 2; 0 when closed.
    int getChannels() const;
    /// Bytes of sample data; 0 when closed.
    unsigned int getDataSize() const;
    /// Sample frames in the file; 0 when closed.
    unsigned int getSampleNum() const;

    /// Moves to frame `frame`; a frame past the end is accepted and the position clamped to the
    /// end. 0 when closed.
    int seekPosSample(unsigned int frame);
    /// Moves to the frame at `seconds` (truncated); 0 when closed or for a negative time or NaN.
    int seekPosSec(double seconds);
    /// Copies up to `frames` frames from the position into `buffer` as they stand in the file (the
    /// buffer must hold frames x channels x bytes per sample) and advances past them. The result
    /// is the number of whole frames copied: fewer at the end of the data, 0 when closed, for a
    /// null buffer or for no frames.
    unsigned int readSamples(std::int16_t* buffer, unsigned int frames);

private:
    std::unique_ptr<CZRWaveReaderImpl> impl_;
};
