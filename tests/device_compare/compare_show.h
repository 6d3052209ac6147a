#pragma once
// The show both builds capture for the comparison when no other is given: compare_show.run with a
// tune and two pictures made by the asset writers. It shows every blend mode, fades, moves, sizes,
// blur and spackblur, a grid image under 2D blobs and fadebg, with music.

//
// Also what the comparisons that capture a show two ways share: which show, and how a capture runs.

#include <filesystem>
#include <string>

namespace demo::scenes {

// Writes demo.run (a copy of `script`), song.xm, glow.tga and bars.tga into `folder`.
void writeCompareShow(const std::filesystem::path& folder, const std::filesystem::path& script);

// The folder holding the demo.run to capture: DEMO_COMPARE_SHOW (environment) when set, else
// `configured` when it holds a demo.run (the built-in show's data, once built), else this show,
// made in workDir/compare_show from `script`.
std::filesystem::path compareShowFolder(const std::filesystem::path& configured, const std::filesystem::path& workDir,
                                        const std::filesystem::path& script);

// " --seconds S" from DEMO_COMPARE_SECONDS, or nothing to run the show to its end.
std::string secondsOption();

// The text as one shell word (no single quotes inside, as the build's own paths have none).
std::string shellWord(const std::string& text);

// Runs `program --capture out options` in the show's folder, its output in out.log; the status.
int captureShow(const std::filesystem::path& show, const std::string& program, const std::filesystem::path& out,
                const std::string& options);

}  // namespace demo::scenes
