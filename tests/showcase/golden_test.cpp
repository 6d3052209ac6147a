// Pictures of chosen moments of the showcase and its first seconds of sound, captured small and
// compared with the files in golden/. DEMO_UPDATE_GOLDEN=1 writes what the capture shows as the
// new golden files instead (look at them before committing).

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "capture/capture_fixture.h"
#include "golden_compare.h"
#include "showcase_files.h"

namespace demo::test {
namespace {

constexpr uint32_t Fps = 5;
constexpr uint32_t Seconds = 92;  // through the drive
constexpr uint32_t SoundWindow = Rate / 10;      // 100 ms
constexpr uint64_t SoundFrames = 5ull * Rate;    // start's 2 s pause, then 3 s of the tune

// Frame numbers at 5 fps: the first 10 are start's pause; after it, the music clock runs at about
// 0.95 of the frames' time.
struct Moment {
  uint64_t frame;
  const char* what;
};
constexpr Moment Moments[] = {
    {27, "the title over the dusk"}, {81, "bars in addcolor over the plasma"}, {139, "moves, sizes and fades"},
    {169, "the plasma blurred, the title sharpening"}, {247, "the blob lens"},
    {330, "the voyage: the first camera's flight towards the pillar, the caption over it"},
    {362, "the voyage: the second camera, the solid pass faded out under the wireframe"},
    {373, "the voyage: lights, reflections and glass, the flare over them"},
    {406, "metaballs mirroring the depths"}, {434, "the drive: the tunnel's flight, its caption over it"},
    {447, "the drive: sparks streaming out of the tunnel"}, {457, "the drive: the fill's roll, bursting into light"}};

struct ShowCapture {
  TempDir dir;
  int status = -1;
  std::string log;
};

// One capture for every test here, at 80 x 60, which keeps the golden pictures a few KB each.
const ShowCapture& showCapture() {
  static const std::unique_ptr<ShowCapture> capture = [] {
    auto c = std::make_unique<ShowCapture>();
    CaptureOptions options;
    options.output = (c->dir / "out").string();
    options.fps = Fps;
    options.width = 80;
    options.height = 60;
    options.seconds = Seconds;
    c->status = captureShowcase(options, c->log);
    return c;
  }();
  return *capture;
}

std::string withoutComments(const std::string& text) {
  std::istringstream in(text);
  std::string out, line;
  while (std::getline(in, line))
    if (line.empty() || line[0] != '#') out += line + "\n";
  return out;
}

class ShowGolden : public CaptureTest {};

TEST_F(ShowGolden, ChosenMomentsLookAsTheGoldenPictures) {
  const ShowCapture& capture = showCapture();
  ASSERT_EQ(capture.status, 0) << capture.log;
  const auto frames = frameFiles(capture.dir / "out");
  ASSERT_EQ(frames.size(), Seconds * Fps);
  for (const Moment& moment : Moments) {
    const auto name = frames[moment.frame].filename();
    if (updatingGolden()) {
      std::filesystem::copy_file(frames[moment.frame], goldenFolder() / name,
                                 std::filesystem::copy_options::overwrite_existing);
      continue;
    }
    const std::string difference = compareFrames(frames[moment.frame], goldenFolder() / name);
    if (difference.empty()) continue;
    const auto kept = actualFolder() / name;
    std::filesystem::copy_file(frames[moment.frame], kept, std::filesystem::copy_options::overwrite_existing);
    ADD_FAILURE() << "frame " << moment.frame << " (" << moment.what << "): " << difference << "\n  captured: " << kept
                  << "\n  golden:   " << goldenFolder() / name;
  }
}

TEST_F(ShowGolden, FirstSecondsOfSoundMatchTheGoldenFingerprintExactly) {
  const ShowCapture& capture = showCapture();
  ASSERT_EQ(capture.status, 0) << capture.log;
  WavSound sound = readWav(capture.dir / "out" / "audio.wav");
  ASSERT_GE(sound.data.size(), SoundFrames * 4);
  sound.data.resize(SoundFrames * 4);
  const std::string actual = soundFingerprint(sound.data, SoundWindow);
  const auto goldenFile = goldenFolder() / "sound.txt";
  const std::string header =
      "# The showcase's first 5 s of captured sound (44100 Hz, 16-bit stereo): start's 2 s pause, then the\n"
      "# tune. The CRC-32 of the samples, then per 100 ms the RMS and the peak over both channels.\n";
  if (updatingGolden()) {
    writeFile(goldenFile, {header.begin(), header.end()});
    std::vector<unsigned char> bytes = readFile(goldenFile);
    bytes.insert(bytes.end(), actual.begin(), actual.end());
    writeFile(goldenFile, bytes);
    return;
  }
  const std::vector<unsigned char> bytes = readFile(goldenFile);
  const std::string golden = withoutComments({bytes.begin(), bytes.end()});
  const std::string difference = firstDifference(actual, golden);
  if (difference.empty()) return;
  const auto kept = actualFolder() / "sound.txt";
  writeFile(kept, {actual.begin(), actual.end()});
  ADD_FAILURE() << "the sound differs from " << goldenFile << " at " << difference
                << "\n  the whole fingerprint: " << kept;
}

}  // namespace
}  // namespace demo::test
