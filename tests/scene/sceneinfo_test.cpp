// sceneinfo on every real 3DS file of the shared test data, against the reference summary beside
// it. The summaries hold the file's own values; the engine's have y and z exchanged, and the mesh
// matrix rows rearranged (X axis, Z axis, Y axis, origin).

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "support/json_value.h"
#include "support/scene_files.h"
#include "support/testdata.h"

namespace demo::test {
namespace {

struct ToolRun {
  int status = -1;
  std::string out, err;
};

ToolRun sceneinfo(const std::string& arguments, const TempDir& dir) {
  ToolRun run;
  const auto errFile = dir / "stderr.txt";
  FILE* pipe = popen((std::string(SCENEINFO_EXE) + " " + arguments + " 2>" + errFile.string()).c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const auto bytes = readFile(errFile);
  run.err.assign(bytes.begin(), bytes.end());
  return run;
}

std::string quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

// Within float precision of the larger magnitude.
void expectClose(double actual, double expected, const std::string& what) {
  const double tolerance = 1e-6 * std::max(1.0, std::abs(expected));
  EXPECT_NEAR(actual, expected, tolerance) << what;
}

// A point of the file, exchanged.
void expectExchanged(const JsonValue& actual, const JsonValue& file, const std::string& what) {
  ASSERT_EQ(actual.size(), 3u) << what;
  expectClose(actual[0].number, file[0].number, what + " x");
  expectClose(actual[1].number, file[2].number, what + " y");
  expectClose(actual[2].number, file[1].number, what + " z");
}

void expectMatrix(const JsonValue& actual, const JsonValue& mesh, const std::string& what) {
  if (!mesh["has_matrix_chunk"].boolean) {
    for (size_t r = 0; r < 4; ++r)
      for (size_t c = 0; c < 4; ++c) EXPECT_EQ(actual[r][c].number, 0.0) << what << " has no matrix chunk";
    return;
  }
  const JsonValue& m = mesh["matrix"];  // X axis, Y axis, Z axis, origin as stored
  const size_t fileRowOf[4] = {0, 2, 1, 3};
  for (size_t r = 0; r < 4; ++r) {
    const size_t f = fileRowOf[r] * 3;
    const std::string row = what + " matrix row " + std::to_string(r);
    expectClose(actual[r][0].number, m[f].number, row);
    expectClose(actual[r][1].number, m[f + 2].number, row);
    expectClose(actual[r][2].number, m[f + 1].number, row);
    EXPECT_EQ(actual[r][3].number, r == 3 ? 1.0 : 0.0) << row;
  }
}

int kindOfChunk(const std::string& chunk) { return static_cast<int>(std::stoul(chunk, nullptr, 16)) - 0xB002 + 1; }

void expectNodes(const JsonValue& actual, const JsonValue& reference) {
  const JsonValue& nodes = reference["file_order"]["nodes"];
  ASSERT_EQ(actual.size(), nodes.size());
  // The engine's kinds by chunk: B002 object 1, B003 camera 2, B004 target 3, B005 light 4, B006 light
  // target 6, B007 spotlight 5.
  const int kindOf[6] = {1, 2, 3, 4, 6, 5};
  const char* trackNames[] = {"position", "rotation", "scale", "fov", "roll", "colour", "hotspot", "falloff"};
  for (size_t i = 0; i < nodes.size(); ++i) {
    const JsonValue& a = actual[i];
    const JsonValue& r = nodes[i];
    const std::string what = "node " + std::to_string(i);
    EXPECT_EQ(a["name"].string, r["name"].string) << what;
    EXPECT_EQ(a["index"].number, static_cast<double>(i)) << what;
    EXPECT_EQ(a["parent"].number, r["parent_id"].number) << what;
    EXPECT_EQ(a["kind"].number, kindOf[kindOfChunk(r["chunk"].string) - 1]) << what;
    for (const char* track : trackNames) {
      const std::string name = track == std::string("colour") ? "color" : track;
      const bool inReference = r["tracks"].has(track) || r["tracks"].has(name);
      ASSERT_EQ(a["tracks"].has(track), inReference) << what << " track " << track;
      if (inReference) {
        EXPECT_EQ(a["tracks"][track].number, r["tracks"][r["tracks"].has(track) ? track : name]["keys"].number)
            << what << " track " << track;
      }
    }
  }
}

// Where the summaries report a default of the program that made them for a chunk the file lacks:
// the engine keeps the 0 of a field the file does not give.
bool withoutShininessChunk(const JsonValue& reference, const std::string& material) {
  return reference["file"].string == "glmark2_horse.3ds" && material == "Material.001";
}

void expectLikeReference(const JsonValue& actual, const JsonValue& reference) {
  const JsonValue& keyframer = reference["file_order"]["keyframer_chunks"];
  const bool segment = !keyframer.isNull() && keyframer.has("segment_first");
  EXPECT_EQ(actual["segment"][0].number, segment ? keyframer["segment_first"].number : 0.0);
  EXPECT_EQ(actual["segment"][1].number, segment ? keyframer["segment_last"].number : 0.0);

  const JsonValue& meshes = reference["meshes"];
  ASSERT_EQ(actual["meshes"].size(), meshes.size());
  for (size_t i = 0; i < meshes.size(); ++i) {
    const JsonValue& a = actual["meshes"][i];
    const JsonValue& r = meshes[i];
    const std::string what = "mesh " + r["name"].string;
    EXPECT_EQ(a["name"].string, r["name"].string);
    EXPECT_EQ(a["vertices"].number, r["vertices"].number) << what;
    EXPECT_EQ(a["faces"].number, r["faces"].number) << what;
    EXPECT_EQ(a["mapping"].boolean, r["has_mapping"].boolean) << what;
    expectMatrix(a["matrix"], r, what);
    ASSERT_EQ(a["firstVertices"].size(), r["first_vertices"].size()) << what;
    for (size_t v = 0; v < r["first_vertices"].size(); ++v)
      expectExchanged(a["firstVertices"][v], r["first_vertices"][v], what + " vertex " + std::to_string(v));
    const JsonValue& groups = r["face_material_groups"];
    ASSERT_EQ(a["faceGroups"].size(), groups.size()) << what;
    for (size_t g = 0; g < groups.size(); ++g) {
      EXPECT_EQ(a["faceGroups"][g]["material"].string, groups[g]["material"].string) << what;
      EXPECT_EQ(a["faceGroups"][g]["faces"].number, groups[g]["faces"].number) << what;
    }
  }

  const JsonValue& materials = reference["materials"];
  ASSERT_EQ(actual["materials"].size(), materials.size());
  for (size_t i = 0; i < materials.size(); ++i) {
    const JsonValue& a = actual["materials"][i];
    const JsonValue& r = materials[i];
    const std::string what = "material " + r["name"].string;
    EXPECT_EQ(a["name"].string, r["name"].string);
    for (const char* colour : {"ambient", "diffuse", "specular"})
      for (size_t c = 0; c < 3; ++c) expectClose(a[colour][c].number, r[colour][c].number, what + " " + colour);
    expectClose(a["shininess"].number, withoutShininessChunk(reference, r["name"].string) ? 0.0 : r["shininess"].number,
                what + " shininess");
    expectClose(a["transparency"].number, r["transparency"].number, what + " transparency");
    expectClose(a["selfIllumination"].number, r["self_illum_pct"].number, what + " self-illumination");
    const JsonValue& maps = r["maps"];
    const auto mapName = [&](const char* key) { return maps[key].isNull() ? std::string() : maps[key]["name"].string; };
    EXPECT_EQ(a["texture"].string, mapName("texture1")) << what;
    EXPECT_EQ(a["reflection"].string, mapName("reflection")) << what;
    EXPECT_EQ(a["opacity"].string, mapName("opacity")) << what;
  }

  const JsonValue& cameras = reference["file_order"]["cameras_raw"];
  ASSERT_EQ(actual["cameras"].size(), cameras.size());
  for (size_t i = 0; i < cameras.size(); ++i) {
    const JsonValue& a = actual["cameras"][i];
    const JsonValue& r = cameras[i];
    EXPECT_EQ(a["name"].string, r["name"].string);
    expectExchanged(a["position"], r["position"], "camera position");
    expectExchanged(a["target"], r["target"], "camera target");
    expectClose(a["bank"].number, r["roll"].number, "camera bank");
    expectClose(a["lens"].number, r["lens"].number, "camera lens");
  }
  EXPECT_EQ(actual["lights"].size(), reference["file_order"]["lights_raw"].size());
  expectNodes(actual["nodes"], reference);
}

std::string nameOf(const ::testing::TestParamInfo<std::filesystem::path>& info) {
  std::string name;
  for (char c : info.param.filename().string()) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

std::vector<std::filesystem::path> realFiles() {
  std::vector<std::filesystem::path> files = testdataFiles("3ds", {".3ds"});
  if (files.empty()) files.push_back({});  // one case, which skips
  return files;
}

class RealScene : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(RealScene, SceneinfoPrintsWhatTheReferenceSays) {
  DEMO_REQUIRE_TESTDATA();
  const std::filesystem::path file = GetParam();
  const auto referenceBytes = readFile(file.string() + ".json");
  const JsonValue reference = JsonValue::parse({referenceBytes.begin(), referenceBytes.end()});
  TempDir dir;
  const ToolRun run = sceneinfo(quoted(file), dir);
  if (!reference["lib3ds_load"].boolean) {
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "sceneinfo: " + file.string() + ": the file is shorter than a chunk header (0 bytes)\n");
    return;
  }
  ASSERT_EQ(run.status, 0) << run.err;
  expectLikeReference(JsonValue::parse(run.out), reference);
}

INSTANTIATE_TEST_SUITE_P(SharedTestdata, RealScene, ::testing::ValuesIn(realFiles()), nameOf);

TEST(Sceneinfo, CommandLine) {
  TempDir dir;
  EXPECT_EQ(sceneinfo("--help", dir).status, 0);
  EXPECT_NE(sceneinfo("--help", dir).out.find("usage: sceneinfo FILE.3ds"), std::string::npos);
  EXPECT_EQ(sceneinfo("--version", dir).out, "sceneinfo " DEMO_VERSION " (demo engine, GPL-2.0-or-later)\n");
  EXPECT_EQ(sceneinfo("", dir).status, 2);
  const ToolRun two = sceneinfo("a.3ds b.3ds", dir);
  EXPECT_EQ(two.status, 2);
  EXPECT_EQ(two.err, "sceneinfo: too many arguments: b.3ds\n(sceneinfo --help shows the usage)\n");
  const ToolRun unknown = sceneinfo("--size=4 a.3ds", dir);
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err.substr(0, unknown.err.find('\n')), "sceneinfo: unknown option --size");
  const ToolRun missing = sceneinfo(quoted(dir / "missing.3ds"), dir);
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err,
            "sceneinfo: " + (dir / "missing.3ds").string() + ": not found (neither in the archive nor on disk)\n");
}

TEST(Sceneinfo, PrintsTheKeysScriptsRead) {
  TempDir dir;
  // One named object "a\"b" with a one-vertex mesh (1, 2, 3).
  writeFile(dir / "tiny.3ds", meshFile([](ChunkWriter& out) {
              out.begin(0x4110);
              out.u16(1);
              out.floats({1, 2, 3});
              out.end();
            }, "a\"b"));
  const ToolRun run = sceneinfo(quoted(dir / "tiny.3ds"), dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"segment\": [0, 0], \"meshes\": [{\"name\": \"a\\\"b\", \"vertices\": 1, \"faces\": 0, \"mapping\": false, "
            "\"matrix\": [[0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0]], \"firstVertices\": [[1, 3, 2]], "
            "\"faceGroups\": []}], \"materials\": [], \"cameras\": [], \"lights\": [], \"nodes\": []}\n");
}

}  // namespace
}  // namespace demo::test
