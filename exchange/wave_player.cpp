#include "wave_player.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

namespace vantor {

CWavePlayer::CWavePlayer(std::function<QAudioDevice()> deviceOf) : m_deviceOf(std::move(deviceOf))
{
    if (!m_deviceOf)
        m_deviceOf = [] { return QMediaDevices::defaultAudioOutput(); };
}

CWavePlayer::~CWavePlayer()
{
    Stop();
}

bool CWavePlayer::Play(CDecodedWave wave)
{
    Stop();
    if (!wave.IsOk() || wave.samples.empty())
        return false;
    // A machine without sound, or a server that has gone away, leaves no
    // device: the sound is refused, never half-started.
    const QAudioDevice device = m_deviceOf();
    if (device.isNull())
        return false;
    QAudioFormat format;
    format.setSampleRate(wave.nSampleRate);
    format.setChannelCount(wave.nChannels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return false;

    m_wave = std::move(wave);
    // The buffer reads the samples where they lie; they move no more until
    // the next Stop.
    const auto nBytes = static_cast<qsizetype>(m_wave.samples.size() * sizeof(std::int16_t));
    m_pBuffer = std::make_unique<QBuffer>();
    m_pBuffer->setData(QByteArray::fromRawData(reinterpret_cast<const char*>(m_wave.samples.data()), nBytes));
    m_pBuffer->open(QIODevice::ReadOnly);
    m_pSink = std::make_unique<QAudioSink>(device, format);
    QAudioSink* pSink = m_pSink.get();
    // Played to the end, the device is given back at once; the samples stay
    // until the next sound or Stop, which is cheap for the program's sizes.
    QObject::connect(pSink, &QAudioSink::stateChanged, pSink, [pSink](QAudio::State state) {
        if (state == QAudio::IdleState)
            pSink->stop();
    });
    pSink->start(m_pBuffer.get());
    if (pSink->error() != QAudio::NoError || pSink->state() == QAudio::StoppedState) {
        Stop();
        return false;
    }
    return true;
}

void CWavePlayer::Stop()
{
    if (m_pSink) {
        m_pSink->stop();
        m_pSink.reset();
    }
    m_pBuffer.reset();
    m_wave = CDecodedWave();
}

}  // namespace vantor
