// The module that plays the game's music and effects (libvernadora_audio.so, with Qt
// Multimedia): what it offers the window, which loads it after its first paint (audio_player.h).
#pragma once

#include <QObject>
#include <QString>

namespace vern::qt {

// What the module plays: the piece loops (a short phrase plays once) and changes with a short
// fade; an effect plays at once, the same one not more often than a listener tells apart.
class AudioBackend {
  public:
    virtual ~AudioBackend() = default;
    // False when there is no device to play on (then the backend does nothing).
    virtual bool HasDevice() const = 0;
    virtual void SetMusic(const QString& piece) = 0;
    virtual void PlayEffect(const QString& effect) = 0;
    // 0..100 each; muted silences both.
    virtual void SetVolumes(int music, int effects, bool muted) = 0;
};

// The module's one entry: a backend playing the files under folder (music/NAME.ogg,
// sfx/NAME.ogg), or null.
using MakeAudioBackend = AudioBackend* (*)(const QString& folder, QObject* parent);
inline constexpr const char* kMakeAudioBackend = "vernadora_make_audio";

} // namespace vern::qt
