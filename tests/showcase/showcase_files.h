#pragma once
// Where the built show lives, and one capture of it shared by the golden tests.

#include <cstdint>
#include <filesystem>
#include <string>

#include "capture/capture_options.h"

namespace demo::test {

std::filesystem::path showcaseData();        // build/.../show/data: demo.run, the tune, the pictures
std::filesystem::path goldenFolder();        // tests/showcase/golden in the source tree
std::filesystem::path actualFolder();        // where failing tests leave what they saw

// Runs a capture of the show in its data folder (its names are relative) with `options`; the
// status of runCapture, its log in `log`.
int captureShowcase(const CaptureOptions& options, std::string& log);

// True when DEMO_UPDATE_GOLDEN is set: golden tests then write what they see as the new golden files.
bool updatingGolden();

}  // namespace demo::test
