// The ALSA tone, played into a WAV file through ALSA's own file plugin and
// measured from the samples: segment lengths, pitch, level and fades.

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/alsa_tone.h"

namespace qv::lnx {
namespace {

namespace fs = std::filesystem;

struct Wav {
  int rate = 0;
  int channels = 0;
  int bits = 0;
  std::vector<std::int16_t> samples;
};

std::uint32_t le(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i)
    v = v << 8 | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
  return v;
}

// Reads the data chunk up to the end of the file as well, in case the plugin
// leaves the header's length unpatched.
Wav readWav(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string b{std::istreambuf_iterator<char>(in), {}};
  Wav wav;
  if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return wav;
  for (std::size_t at = 12; at + 8 <= b.size();) {
    const std::string id = b.substr(at, 4);
    const std::size_t size = le(b, at + 4, 4);
    if (id == "fmt " && at + 24 <= b.size()) {
      wav.channels = static_cast<int>(le(b, at + 10, 2));
      wav.rate = static_cast<int>(le(b, at + 12, 4));
      wav.bits = static_cast<int>(le(b, at + 22, 2));
    } else if (id == "data") {
      for (std::size_t s = at + 8; s + 2 <= b.size(); s += 2)
        wav.samples.push_back(static_cast<std::int16_t>(le(b, s, 2)));
      break;
    }
    at += 8 + size + (size & 1);
  }
  return wav;
}

struct Segment {
  std::size_t begin = 0;
  std::size_t end = 0;  // one past the last sound sample
};

// Runs of sound; quiet stretches shorter than a millisecond (zero crossings,
// the start of a fade) do not split a run.
std::vector<Segment> soundSegments(const Wav& wav) {
  constexpr int kThreshold = 64;
  const std::size_t bridge = static_cast<std::size_t>(wav.rate / 1000);
  std::vector<Segment> out;
  for (std::size_t i = 0; i < wav.samples.size(); ++i) {
    if (std::abs(wav.samples[i]) <= kThreshold) continue;
    if (!out.empty() && i - out.back().end < bridge)
      out.back().end = i + 1;
    else
      out.push_back({i, i + 1});
  }
  return out;
}

double ms(const Wav& wav, std::size_t frames) {
  return 1000.0 * static_cast<double>(frames) / wav.rate;
}

// Pitch from rising zero crossings, interpolated between samples.
double frequency(const Wav& wav, std::size_t begin, std::size_t end) {
  std::vector<double> rising;
  for (std::size_t i = begin + 1; i < end; ++i) {
    const double a = wav.samples[i - 1], b = wav.samples[i];
    if (a < 0 && b >= 0) rising.push_back(static_cast<double>(i - 1) + a / (a - b));
  }
  if (rising.size() < 2) return 0;
  return wav.rate * static_cast<double>(rising.size() - 1) / (rising.back() - rising.front());
}

int peak(const Wav& wav, std::size_t begin, std::size_t end) {
  int p = 0;
  for (std::size_t i = begin; i < end; ++i) p = std::max(p, std::abs(int{wav.samples[i]}));
  return p;
}

template <typename F>
double elapsedMs(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// A private HOME whose .asoundrc defines ALSA's default device. ALSA reads its
// configuration once per process, so the cached one is dropped as well.
class AlsaToneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/quorvane-tone-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    home_ = tmpl;
    setenv("HOME", home_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_ / ".config").c_str(), 1);
    unsetenv("ALSA_CONFIG_PATH");
  }
  // Other tests may share this process.
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value)
        setenv(name, value->c_str(), 1);
      else
        unsetenv(name);
    }
    snd_config_update_free_global();
    if (!home_.empty()) fs::remove_all(home_);
  }

  void useDefault(const std::string& pcm) {
    std::ofstream(home_ / ".asoundrc") << "pcm.!default " << pcm << "\n";
    snd_config_update_free_global();
  }
  fs::path wavFile() const { return home_ / "out.wav"; }
  void useWavFile() {
    useDefault(R"({ type file slave.pcm "null" file ")" + wavFile().string() +
               R"(" format "wav" })");
  }
  // Each beep reopens the device, which starts the file afresh: take it per call.
  Wav takeWav() {
    Wav wav = readWav(wavFile());
    fs::remove(wavFile());
    return wav;
  }

  static std::optional<std::string> env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::optional<std::string>(v) : std::nullopt;
  }
  const std::pair<const char*, std::optional<std::string>> saved_[3] = {
      {"HOME", env("HOME")},
      {"XDG_CONFIG_HOME", env("XDG_CONFIG_HOME")},
      {"ALSA_CONFIG_PATH", env("ALSA_CONFIG_PATH")}};
  fs::path home_;
};

TEST_F(AlsaToneTest, DefaultAlarmPlaysTwoCleanTonesOfTheRightPitchAndLength) {
  useWavFile();
  AlsaTone tone;
  struct Step {
    int hz;
    int ms;
  };
  for (const Step step : {Step{900, 80}, Step{1600, 60}}) {
    SCOPED_TRACE(std::to_string(step.hz) + " Hz");
    const double took = elapsedMs([&] { tone.beep(step.hz, step.ms); });
    const Wav wav = takeWav();
    ASSERT_EQ(wav.channels, 1);
    ASSERT_EQ(wav.bits, 16);
    ASSERT_GE(wav.rate, 44100);

    const std::vector<Segment> sound = soundSegments(wav);
    ASSERT_EQ(sound.size(), 1u) << "a tone is one unbroken sound";
    const auto [begin, end] = sound.front();
    EXPECT_NEAR(ms(wav, end - begin), step.ms, 2.0);
    EXPECT_LE(ms(wav, wav.samples.size()), step.ms + 2.0) << "no trailing padding";

    // Pitch and level from the steady middle, away from the fades.
    const std::size_t margin = static_cast<std::size_t>(wav.rate / 100);
    EXPECT_NEAR(frequency(wav, begin + margin, end - margin), step.hz, step.hz * 0.01);
    const int level = peak(wav, begin + margin, end - margin);
    EXPECT_GT(level, 32767 * 0.4);  // about -6 dBFS, never clipping
    EXPECT_LT(level, 32767 * 0.6);

    // A tone that starts or stops at full level clicks.
    const std::size_t oneMs = static_cast<std::size_t>(wav.rate / 1000);
    EXPECT_LT(peak(wav, begin, begin + oneMs), level / 2);
    EXPECT_LT(peak(wav, end - oneMs, end), level / 2);

    RecordProperty("blocked_ms_" + std::to_string(step.hz), std::to_string(took));
    EXPECT_LT(took, step.ms + 100.0);
  }
}

TEST_F(AlsaToneTest, SilentRequestsOpenNothingAndReturnAtOnce) {
  useWavFile();
  AlsaTone tone;
  struct Case {
    int hz;
    int ms;
  };
  for (const Case c : {Case{0, 80}, Case{900, 0}, Case{0, 0}, Case{-900, 80}, Case{900, -80}}) {
    SCOPED_TRACE(std::to_string(c.hz) + " Hz, " + std::to_string(c.ms) + " ms");
    EXPECT_LT(elapsedMs([&] { tone.beep(c.hz, c.ms); }), 10.0);
    EXPECT_FALSE(fs::exists(wavFile()));
  }
  // Nothing left behind that would spoil the next tone.
  tone.beep(900, 20);
  EXPECT_EQ(soundSegments(takeWav()).size(), 1u);
}

// An unclamped pitch would alias to some arbitrary audible tone.
TEST_F(AlsaToneTest, OutOfRangeRequestsPlayTwentyKilohertzForFiveSeconds) {
  useWavFile();
  AlsaTone tone;
  tone.beep(1'000'000, 60'000);
  const Wav wav = takeWav();
  const std::vector<Segment> sound = soundSegments(wav);
  ASSERT_EQ(sound.size(), 1u);
  EXPECT_NEAR(ms(wav, sound.front().end - sound.front().begin), 5000, 2.0);
  EXPECT_NEAR(frequency(wav, sound.front().begin, sound.front().end), 20'000, 200);
}

// Captures what is written to file descriptor 2, where ALSA complains.
class StderrCapture {
 public:
  StderrCapture() : file_(std::tmpfile()), saved_(dup(2)) {
    std::fflush(stderr);
    dup2(fileno(file_), 2);
  }
  ~StderrCapture() { std::fclose(file_); }
  std::string finish() {
    std::fflush(stderr);
    dup2(saved_, 2);
    close(saved_);
    std::rewind(file_);
    std::string text;
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  std::FILE* file_;
  int saved_;
};

TEST_F(AlsaToneTest, WithoutASoundDeviceItStaysQuietAndDoesNotWait) {
  const std::string cases[] = {
      "{ type hw card 99 }",
      R"({ type hw card "NoSuchCard" })",
      R"({ type plug slave.pcm "nosuchpcm" })",
      "{ type hw card",  // a broken configuration file
      // Opens, then every write fails.
      R"({ type file slave.pcm "null" file "/nonexistent/dir/out.wav" format "wav" })",
  };
  AlsaTone tone;
  for (const std::string& pcm : cases) {
    SCOPED_TRACE(pcm);
    useDefault(pcm);
    StderrCapture err;
    const double took = elapsedMs([&] { tone.beep(900, 80); });
    EXPECT_EQ(err.finish(), "");
    EXPECT_LT(took, 80 + 50.0);
  }
}

}  // namespace
}  // namespace qv::lnx
