#include "loader_fixtures.h"

namespace demo::test {

namespace {

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// One statement of every command.
const char* const everyCommand =
    "# every command once\n"
    "loadtexture <t> \"pic.tga\" 256 256 1\n"
    "loadmusic <m> \"song.xm\"\n"
    "loadscene <s> \"scene.3ds\"\n"
    "makeimage <i> <t> 0 0 1 1\n"
    "makegridimage <g> <t> 64 64\n"
    "makeparticles <p> <i> 500\n"
    "partobject <p> <s> \"Box01\"\n"
    "partpos <p> -1 -1 -1 +2 +2 +2\n"
    "partspd <p> 0 0 0 1 1 1\n"
    "partacc <p> 0 -1 0 0 -1 0\n"
    "partlife <p> 0.01 1 2\n"
    "makeblobs <b>\n"
    "make2dblobs <f> <g>\n"
    "setfarplane <s> 5000\n"
    "selectcam <s> \"Camera01\"\n"
    "start\n"
    "playmusic <m>\n"
    "at 1:000 [one]\n"
    "  playscene <s> 0 @25 +2:000\n"
    "  showimage <i> mixalpha +1:000\n"
    "  fadeimage <i> 0 0xffffffff +1:000\n"
    "  blurimage <i> 0 10 +1:000\n"
    "  spackblurimage <i> 0 20 50 100 +1:000\n"
    "  moveimage <i> 0 1 0 +-1 +1:000\n"
    "  sizeimage <i> 1 0.5 1 0.5 +1:000\n"
    "  showparticles <p> +1:000\n"
    "  fadebg 0 0xff000000 +1:000\n"
    "  verteximage <i> <s> \"Box01\" +1:000\n"
    "  playblobs <b> <i> +1:000\n"
    "  show2dblobs <f> +1:000\n"
    "  fadesalpha <s> 1 0 +1:000\n"
    "  fadewalpha <s> 0 1 +1:000\n"
    "  showtunnel <s> <g> 0 100 +1:000\n"
    "at [one]+2:000\n"
    "freeimage <i>\n"
    "freetexture <t>\n"
    "end\n";

const char* const timesAndLabels =
    "loadtexture <a b> \"dir\\\\pic #1.TGA\" 0x100 010 0\n"
    "makeimage <x#y> <a b> 0 0 1.5 -2.5e1\n"
    "START\n"
    "[intro]\n"
    "at[intro]+11:000 fadeimage <x#y> 0xffffffff 0x00ffffff +1:00 # two statements\n"
    "at 700\tshowimage <x#y> ADDALPHA 1:5\n"
    "at 2:58:00 [part2] showimage <x#y> add [intro]+1:1500:20\n"
    "at [part2]   +3:02:00\n"
    "fadebg -2147483648 4294967295 [part2]+0\n"
    "end\n";

}  // namespace

std::vector<Fixture> scriptFixtures() {
  std::string crlf;
  for (const char* c = everyCommand; *c; ++c) crlf += *c == '\n' ? std::string("\r\n") : std::string(1, *c);
  return {
      {"every_command.run", bytesOf(everyCommand)},
      {"times_and_labels.run", bytesOf(timesAndLabels)},
      {"crlf.run", bytesOf(crlf)},
  };
}

}  // namespace demo::test
