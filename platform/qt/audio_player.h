// The game's music and effects in the window. The window asks for them from its first moment;
// the players themselves (Qt Multimedia, in a module of their own: libvernadora_audio.so) are
// loaded only after the window's first paint (Start), so that nothing of them delays the game's
// start. With no module, no sound device or no sound server, everything stays silent: no
// message, no wait.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

#include "audio_backend.h"

namespace vern::qt {

class AudioPlayer : public QObject {
    Q_OBJECT
  public:
    // folder: the program folder's audio/. The module is looked for beside the program and in
    // ../lib/games/vernadora from it.
    explicit AudioPlayer(QString folder, QObject* parent = nullptr);
    ~AudioPlayer() override;

    // Loads the module and starts what was asked so far; with the sound off, only once the
    // player turns it on.
    void Start();
    bool started() const { return started_; }
    bool playing() const { return backend_ && backend_->HasDevice(); }

    void SetMusic(const QString& piece);
    void PlayEffect(const QString& effect);
    QString music() const { return music_; }
    void SetVolumes(int music, int effects, bool muted);

  private:
    void LoadWhenAudible();

    QString folder_;
    bool started_ = false, tried_ = false;
    QString music_;
    int musicVolume_ = 70, effectsVolume_ = 70;
    bool muted_ = false;
    std::unique_ptr<AudioBackend> backend_;
};

} // namespace vern::qt
