// CWavePlayer: the program's sound player over QAudioSink. The decoded
// samples stay with the player, read in place through a QBuffer, until the
// next sound, Stop, or the player's end.
#pragma once

#include "shell_services.h"

#include <QAudioDevice>

#include <functional>
#include <memory>

class QAudioSink;
class QBuffer;

namespace vantor {

class CWavePlayer : public IWavePlayer {
public:
    // deviceOf names the output each sound goes to, asked afresh every
    // time (a device may come and go); the system's default when not given.
    // A null device means there is none.
    explicit CWavePlayer(std::function<QAudioDevice()> deviceOf = {});
    ~CWavePlayer() override;

    bool Play(CDecodedWave wave) override;
    void Stop() override;

private:
    std::function<QAudioDevice()> m_deviceOf;
    CDecodedWave m_wave;
    std::unique_ptr<QBuffer> m_pBuffer;
    std::unique_ptr<QAudioSink> m_pSink;
};

}  // namespace vantor
