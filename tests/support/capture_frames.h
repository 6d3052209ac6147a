#pragma once
// Two captures of one show (folders of frame_NNNNNN.png and audio.wav, as `demo --capture` writes
// them), compared frame by frame: the Direct3D 8 comparison and the browser comparison use this.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace demo::test {

// The frame files of a capture folder, in order.
std::vector<std::filesystem::path> captureFrames(const std::filesystem::path& folder);
// A whole file's bytes (empty when it cannot be read).
std::vector<char> fileBytes(const std::filesystem::path& path);

// How far two renderers' frames may differ: within one step per channel, but for at most
// `pixels` pixels a frame, of which at most `widePixels` may differ by more than 2 steps, and none
// by more than `steps`.
struct FrameTolerance {
  int pixels = 0;
  int widePixels = 0;
  int steps = 1;
};

// When DEMO_SNAPSHOT_DIR is set: two RGBA pictures of the same size and their difference (scaled up)
// side by side, written there as NAME.
void writeFrameEvidence(const std::string& name, const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                        uint32_t width, uint32_t height);

// Frame `a` of the capture by renderer `nameA` against `b` by `nameB`. Where they differ at all,
// the evidence is EVIDENCE-FRAME.png.
::testing::AssertionResult framesAgree(const std::filesystem::path& a, const std::filesystem::path& b,
                                       const FrameTolerance& tolerance, const char* nameA, const char* nameB,
                                       const std::string& evidence);

}  // namespace demo::test
