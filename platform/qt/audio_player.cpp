// The window's side of the sound: what the game asked for, and the module loaded after the
// first paint.
#include "audio_player.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace vern::qt {

AudioPlayer::AudioPlayer(QString folder, QObject* parent)
    : QObject(parent), folder_(std::move(folder)) {}

AudioPlayer::~AudioPlayer() = default;

void AudioPlayer::Start() {
    if (started_) return;
    started_ = true;
    LoadWhenAudible();
}

void AudioPlayer::LoadWhenAudible() {
    // A game with the sound off (muted, or both volumes at nothing) does not load the players
    // and their libraries until the player turns the sound up.
    if (!started_ || tried_ || muted_ || (musicVolume_ == 0 && effectsVolume_ == 0)) return;
    tried_ = true;
    const QString exe = QCoreApplication::applicationDirPath();
    for (const QString& dir : {exe, QDir(exe).filePath(QStringLiteral("../lib/games/vernadora"))}) {
        QLibrary module(QDir(dir).filePath(QStringLiteral("libvernadora_audio")));
        const auto make = reinterpret_cast<MakeAudioBackend>(module.resolve(kMakeAudioBackend));
        if (!make) continue;
        backend_.reset(make(folder_, nullptr));
        break;
    }
    if (!backend_) return;
    backend_->SetVolumes(musicVolume_, effectsVolume_, muted_);
    backend_->SetMusic(music_);
}

void AudioPlayer::SetMusic(const QString& piece) {
    music_ = piece;
    if (backend_) backend_->SetMusic(piece);
}

void AudioPlayer::PlayEffect(const QString& effect) {
    if (backend_) backend_->PlayEffect(effect);
}

void AudioPlayer::SetVolumes(int music, int effects, bool muted) {
    musicVolume_ = music;
    effectsVolume_ = effects;
    muted_ = muted;
    if (backend_)
        backend_->SetVolumes(music, effects, muted);
    else
        LoadWhenAudible();
}

} // namespace vern::qt
