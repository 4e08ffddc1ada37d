// The module that plays the game's music and effects with Qt Multimedia.
#include "audio_backend.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace vern::qt {

namespace {

// The same effect again sooner than this is not heard as a new one: skipped.
constexpr int kEffectGapMs = 90;
constexpr int kFadeSteps = 8;
constexpr int kFadeStepMs = 30;

bool PlaysOnce(const QString& piece) {
    return piece == QLatin1String("victory") || piece == QLatin1String("defeat");
}

// The sound system's own complaints (no server to talk to) are not the player's business.
QtMessageHandler previousHandler = nullptr;
void QuietSoundSystem(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("PulseAudioService")) ||
        QLatin1String(context.category ? context.category : "")
            .startsWith(QLatin1String("qt.multimedia")))
        return;
    if (previousHandler) previousHandler(type, context, text);
}

class MultimediaBackend : public QObject, public AudioBackend {
  public:
    MultimediaBackend(QString folder, QObject* parent)
        : QObject(parent), folder_(std::move(folder)) {
        hasDevice_ = !QMediaDevices::defaultAudioOutput().isNull();
        fade_.setInterval(kFadeStepMs);
        QObject::connect(&fade_, &QTimer::timeout, this, [this] {
            fadeLevel_ -= 1.0 / kFadeSteps;
            if (fadeLevel_ > 0) {
                ApplyVolumes();
                return;
            }
            fade_.stop();
            StartPiece();
        });
        if (!hasDevice_) return;
        musicOut_ = new QAudioOutput(this);
        music_ = new QMediaPlayer(this);
        music_->setAudioOutput(musicOut_);
    }

    bool HasDevice() const override { return hasDevice_; }

    void SetMusic(const QString& piece) override {
        if (piece == wanted_) return;
        wanted_ = piece;
        if (!music_) return;
        // The piece that plays fades out first; from silence the new one starts at once.
        if (playing_.isEmpty() || music_->playbackState() != QMediaPlayer::PlayingState)
            StartPiece();
        else if (!fade_.isActive()) {
            fadeLevel_ = 1;
            fade_.start();
        }
    }

    void PlayEffect(const QString& effect) override {
        if (!hasDevice_ || muted_ || effectsVolume_ == 0 || effect.isEmpty()) return;
        QElapsedTimer& last = lastEffect_[effect];
        if (last.isValid() && last.elapsed() < kEffectGapMs) return;
        last.start();
        QMediaPlayer* player = effects_.value(effect);
        if (!player) {
            const QString file = QDir(folder_).filePath(QStringLiteral("sfx/%1.ogg").arg(effect));
            if (!QFileInfo(file).isFile()) return;
            player = new QMediaPlayer(this);
            player->setAudioOutput(new QAudioOutput(player));
            player->setSource(QUrl::fromLocalFile(file));
            effects_.insert(effect, player);
        }
        player->audioOutput()->setVolume(static_cast<float>(effectsVolume_ / 100.0));
        player->setPosition(0);
        player->play();
    }

    void SetVolumes(int music, int effects, bool muted) override {
        musicVolume_ = std::clamp(music, 0, 100);
        effectsVolume_ = std::clamp(effects, 0, 100);
        muted_ = muted;
        ApplyVolumes();
    }

  private:
    void StartPiece() {
        fadeLevel_ = 1;
        ApplyVolumes();
        music_->stop();
        playing_ = wanted_;
        const QString file = QDir(folder_).filePath(QStringLiteral("music/%1.ogg").arg(wanted_));
        if (wanted_.isEmpty() || !QFileInfo(file).isFile()) {
            music_->setSource(QUrl());
            return;
        }
        music_->setSource(QUrl::fromLocalFile(file));
        music_->setLoops(PlaysOnce(wanted_) ? 1 : QMediaPlayer::Infinite);
        music_->play();
    }

    void ApplyVolumes() {
        if (!musicOut_) return;
        const double level = muted_ ? 0 : musicVolume_ / 100.0 * fadeLevel_;
        musicOut_->setVolume(static_cast<float>(level));
        for (QMediaPlayer* player : std::as_const(effects_))
            player->audioOutput()->setVolume(muted_ ? 0.0f
                                                    : static_cast<float>(effectsVolume_ / 100.0));
    }

    QString folder_;
    bool hasDevice_ = false;
    QString wanted_, playing_;
    int musicVolume_ = 70, effectsVolume_ = 70;
    bool muted_ = false;
    QMediaPlayer* music_ = nullptr;
    QAudioOutput* musicOut_ = nullptr;
    QTimer fade_;
    double fadeLevel_ = 1;
    QHash<QString, QMediaPlayer*> effects_;
    QHash<QString, QElapsedTimer> lastEffect_;
};

} // namespace

} // namespace vern::qt

extern "C" Q_DECL_EXPORT vern::qt::AudioBackend* vernadora_make_audio(const QString& folder,
                                                                      QObject* parent);

extern "C" Q_DECL_EXPORT vern::qt::AudioBackend* vernadora_make_audio(const QString& folder,
                                                                      QObject* parent) {
    // The GStreamer media backend: it plays on, silent, where there is no sound device.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
    if (!vern::qt::previousHandler)
        vern::qt::previousHandler = qInstallMessageHandler(vern::qt::QuietSoundSystem);
    return new vern::qt::MultimediaBackend(folder, parent);
}
