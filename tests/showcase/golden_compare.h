#pragma once
// Comparisons against the committed golden files: frames within a tolerance (Mesa's software
// renderer may round differently from one version to the next), sound exactly, with a readable
// fingerprint for the report.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace demo::test {

// Empty when `actual` matches `golden`: the same size, no channel off by more than MaxStep on
// more than MaxStrayShare of the pixels, and a mean difference below MaxMeanStep. Otherwise what
// differs, in words.
inline constexpr int MaxStep = 24;
inline constexpr double MaxStrayShare = 0.01;
inline constexpr double MaxMeanStep = 1.5;
std::string compareFrames(const std::filesystem::path& actual, const std::filesystem::path& golden);

// 16-bit stereo sound summed up per window of `windowFrames` frames: its CRC-32 and each window's
// RMS and peak over both channels, as text ("crc32 0x...", then "rms peak" lines).
std::string soundFingerprint(const std::vector<uint8_t>& sound, uint32_t windowFrames);

// The first line at which two fingerprints differ, with both lines, or empty.
std::string firstDifference(const std::string& actual, const std::string& golden);

}  // namespace demo::test
