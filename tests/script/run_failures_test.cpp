// Instructions that cannot do their work stop the show as before, and now say what failed, where
// and why: the statement as written, its line, and the reader's or the loader's reason.
#include <gtest/gtest.h>

#include "fakes.h"
#include "support/show_harness.h"
#include "support/testdata.h"
#include "writers/3ds_writer.h"
#include "writers/tga_writer.h"

namespace demo::test {
namespace {

// Compiles the script with the names of `dir` in place of DIR and runs frames until the show stops
// (or 10 frames pass); the report of why it stopped, or "" when it did not fail.
// A scene of one triangle and, when given, one camera; `lastVertex` beyond 2 names a vertex the mesh
// lacks, which the reader refuses.
std::vector<uint8_t> triangleScene(uint16_t lastVertex, const char* camera = nullptr) {
  Scene3ds scene;
  Mesh3ds mesh;
  mesh.name = "Box01";
  mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  mesh.faces = {{0, 1, lastVertex}};
  scene.meshes.push_back(mesh);
  if (camera) scene.cameras.push_back({camera, {0, -10, 0}, {0, 0, 0}});
  return write3ds(scene);
}

std::string failureOf(ShowHarness& h, const TempDir& dir, std::string script) {
  for (size_t at = script.find("DIR"); at != std::string::npos; at = script.find("DIR"))
    script.replace(at, 3, dir.path().string());
  if (!h.compile(script)) return "does not compile: " + h.compiler().detail;
  for (uint32_t frame = 0; frame < 10; ++frame)
    if (h.frame(frame * 100) == StepResult::Stop) break;
  return h.show.failure.failed() ? h.show.failureReport() : "";
}

TEST(RunFailures, LoadingCommandsNameTheFileAndTheLoadersReason) {
  TempDir dir;
  writeFile(dir / "short.tga", {0, 0, 2});
  const std::vector<uint8_t> picture = writeTga(TgaLayout{}, 2, 2, {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000});
  writeFile(dir / "good.tga", {picture.begin(), picture.end()});
  writeFile(dir / "scene.3ds", triangleScene(5));
  std::vector<uint8_t> cut = triangleScene(2);
  cut.resize(cut.size() - 4);
  writeFile(dir / "cut.3ds", cut);
  const std::string d = dir.path().string();
  const struct {
    const char* script;
    std::string report;
  } cases[] = {
      {"start\n# a comment\nloadtexture <t> \"DIR/logo.tga\" 4 4 0\n",
       "demo.run:3: loadtexture \"" + d + "/logo.tga\": not found (neither in the archive nor on disk)"},
      {"loadtexture <t> \"DIR/short.tga\" 4 4 0\n",
       "demo.run:1: loadtexture \"" + d + "/short.tga\": file shorter than the 18-byte header"},
      {"loadtexture <t> \"DIR/good.txt\" 4 4 0\n",
       "demo.run:1: loadtexture \"" + d + "/good.txt\": not a .tga file name"},
      {"loadmusic <m> \"DIR/song.xm\"\n",
       "demo.run:1: loadmusic \"" + d + "/song.xm\": not found (neither in the archive nor on disk)"},
      {"loadscene <s> \"DIR/x.3ds\"\n",
       "demo.run:1: loadscene \"" + d + "/x.3ds\": not found (neither in the archive nor on disk)"},
      {"loadscene <s> \"DIR/scene.3ds\"\n",
       "demo.run:1: loadscene \"" + d + "/scene.3ds\": chunk 0x4100 at offset 44: face 0 uses vertex 5 of 3"},
      {"start\nloadscene <s> \"DIR/cut.3ds\"\n",
       "demo.run:2: loadscene \"" + d +
           "/cut.3ds\": the main chunk's length 164 runs beyond the end of the file at 160"},
  };
  for (const auto& c : cases) {
    ShowHarness h;
    h.music.canLoad = false;  // as the real player, which cannot open what is not there
    h.music.problem = ModuleProblem::OpenFailed;
    EXPECT_EQ(failureOf(h, dir, c.script), c.report);
  }
}

TEST(RunFailures, AModuleThePlayerRefusesGivesThePlayersReason) {
  TempDir dir;
  writeFile(dir / "song.xm", {'M', 'Z'});
  ShowHarness h;
  h.music.canLoad = false;
  h.music.problem = ModuleProblem::NotXm;
  EXPECT_EQ(failureOf(h, dir, "start\n  loadmusic <m> \"DIR/song.xm\"\n"),
            "demo.run:2: loadmusic \"" + dir.path().string() +
                "/song.xm\": not an XM module (it does not begin with \"Extended Module: \")");
}

TEST(RunFailures, ObjectsThatAreMissingOrTooSmallAreNamed) {
  TempDir dir;
  const std::vector<uint8_t> picture = writeTga(TgaLayout{}, 2, 2, {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000});
  writeFile(dir / "good.tga", {picture.begin(), picture.end()});
  const struct {
    const char* script;
    const char* report;
  } cases[] = {
      {"loadtexture <t> \"DIR/good.tga\" 4 4 0\nfreetexture <t>\nmakeimage <i> <t> 0 0 1 1\n",
       "demo.run:3: makeimage <i> <t>: no picture is loaded under <t> (its loadtexture has not run yet, or "
       "freetexture freed it)"},
      {"loadtexture <t> \"DIR/good.tga\" 4 4 0\nmakegridimage <g> <t> 0 0\n",
       "demo.run:2: makegridimage <g> <t> 0 0: a grid needs 1 to 32767 columns and rows"},
      {"loadtexture <t> \"DIR/good.tga\" 4 4 0\nmakegridimage <g> <t> 4096 4096\n",
       "demo.run:2: makegridimage <g> <t> 4096 4096: more than 4194304 grid points ((columns + 1) x (rows + 1))"},
      {"loadtexture <t> \"DIR/good.tga\" 4 4 0\nmakeimage <i> <t> 0 0 1 1\nfreeimage <i>\nmakeparticles <p> <i> 10\n",
       "demo.run:4: makeparticles <p> <i> 10: no image is made under <i> (its makeimage has not run yet, or "
       "freeimage freed it)"},
      {"loadtexture <t> \"DIR/good.tga\" 4 4 0\nmakeimage <i> <t> 0 0 1 1\nmakeparticles <p> <i> 0\n",
       "demo.run:3: makeparticles <p> <i> 0: a particle system needs room for at least 1 particle"},
      {"loadmusic <m> \"x.xm\"\nend\nplaymusic <m>\n", ""},  // end stops first: no failure
  };
  for (const auto& c : cases) {
    ShowHarness h;
    EXPECT_EQ(failureOf(h, dir, c.script), c.report);
  }
  ShowHarness empty;
  empty.show.names.music.declareName("m");
  EXPECT_EQ(failureOf(empty, dir, "start playmusic <m>\n"),
            "demo.run:1: playmusic <m>: no music is loaded under that name (its loadmusic has not run yet, or end "
            "freed it)");
}

TEST(RunFailures, ScenesWithoutTheCameraOrNodeAsked) {
  TempDir dir;
  ShowHarness camera;
  auto scene = std::make_unique<FakeScene>();
  scene->cameras = {"Camera01"};
  camera.show.names.scenes.declareName("s")->object = camera.show.objects.keep(std::move(scene));
  EXPECT_EQ(failureOf(camera, dir, "selectcam <s> \"Camera01\"\nselectcam <s> \"camera01\"\n"),
            "demo.run:2: selectcam <s> \"camera01\": the scene has no camera of that name "
            "(names are compared exactly)");

  ShowHarness node;
  node.show.names.scenes.declareName("s")->object = node.show.objects.keep(std::make_unique<FakeScene>());
  node.show.names.effects.declareName("p")->object =
      node.show.objects.keep(std::make_unique<FakeParticles>(nullptr, 10));
  EXPECT_EQ(failureOf(node, dir, "\n\npartobject <p> <s> \"Box01\"\n"),
            "demo.run:3: partobject <p> <s> \"Box01\": the scene has no object node of that name");
}

TEST(RunFailures, ALoadedSceneWithoutTheCameraStopsAtTheSelectcam) {
  TempDir dir;
  writeFile(dir / "scene.3ds", triangleScene(2, "Camera01"));
  ShowHarness h;
  EXPECT_EQ(failureOf(h, dir,
                      "loadscene <s> \"DIR/scene.3ds\"\nselectcam <s> \"Camera01\"\n"
                      "selectcam <s> \"Camera01 \"\n"),
            "demo.run:3: selectcam <s> \"Camera01 \": the scene has no camera of that name "
            "(names are compared exactly)");
  EXPECT_EQ(h.show.timeline.programCounter, 2);
}

TEST(RunFailures, TheFirstReasonWinsAndTheShowStopsAtIt) {
  TempDir dir;
  ShowHarness h;
  EXPECT_EQ(failureOf(h, dir, "loadtexture <a> \"DIR/a.tga\" 4 4 0\nloadtexture <b> \"DIR/b.tga\" 4 4 0\n"),
            "demo.run:1: loadtexture \"" + dir.path().string() +
                "/a.tga\": not found (neither in the archive nor on disk)");
  EXPECT_EQ(h.show.timeline.programCounter, 0);
}

}  // namespace
}  // namespace demo::test
