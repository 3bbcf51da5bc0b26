#include "platform/linux/alsa_tone.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace qv::lnx {
namespace {

constexpr int kRate = 48000;
constexpr double kAmplitude = 0.5 * 32767;     // -6 dBFS: audible without being harsh
constexpr int kFadeFrames = kRate * 3 / 1000;  // 3 ms ramps so the edges do not click
constexpr int kLatencyUs = 50'000;
// Above 20 kHz nobody hears it and it nears the 24 kHz Nyquist limit; a longer
// setting than 5 s is a typo that should not freeze the program.
constexpr int kMaxFrequencyHz = 20'000;
constexpr int kMaxLengthMs = 5'000;

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

std::vector<std::int16_t> sineFrames(int frequencyHz, int lengthMs) {
  const int frames = static_cast<int>(std::int64_t{kRate} * lengthMs / 1000);
  const int fade = std::min(kFadeFrames, frames / 2);
  const double step = 2 * std::numbers::pi * frequencyHz / kRate;
  std::vector<std::int16_t> out(static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    const int edge = std::min(i, frames - 1 - i);
    const double gain = edge < fade ? static_cast<double>(edge) / fade : 1.0;
    out[static_cast<std::size_t>(i)] =
        static_cast<std::int16_t>(std::lround(kAmplitude * gain * std::sin(step * i)));
  }
  return out;
}

void play(snd_pcm_t* pcm, const std::vector<std::int16_t>& frames) {
  if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kRate, 1,
                         kLatencyUs) < 0)
    return;
  const std::int16_t* next = frames.data();
  auto left = static_cast<snd_pcm_uframes_t>(frames.size());
  while (left > 0) {
    snd_pcm_sframes_t written = snd_pcm_writei(pcm, next, left);
    if (written < 0) {
      // An underrun or a signal costs a moment of the tone; anything else ends it.
      if ((written == -EPIPE || written == -EINTR) &&
          snd_pcm_recover(pcm, static_cast<int>(written), 1) == 0)
        continue;
      return;
    }
    next += written;
    left -= static_cast<snd_pcm_uframes_t>(written);
  }
  snd_pcm_drain(pcm);
}

}  // namespace

void AlsaTone::beep(int frequencyHz, int lengthMs) {
  if (frequencyHz <= 0 || lengthMs <= 0) return;
  // ALSA would otherwise report a missing sound card on stderr at every alarm.
  [[maybe_unused]] static const bool quiet = (snd_lib_error_set_handler(ignoreAlsaError), true);

  // Opened non-blocking so a card held by another program fails at once
  // instead of waiting; writes and the drain then block as a beep should.
  snd_pcm_t* pcm = nullptr;
  if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return;
  if (snd_pcm_nonblock(pcm, 0) == 0)
    play(pcm, sineFrames(std::min(frequencyHz, kMaxFrequencyHz), std::min(lengthMs, kMaxLengthMs)));
  snd_pcm_close(pcm);
}

}  // namespace qv::lnx
