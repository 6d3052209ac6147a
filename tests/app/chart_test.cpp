// demo --chart on a small script: the SVG is read back as XML and its spans, lanes, labels, `at`
// ticks and song positions are checked against what the script and its tune do.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/chart_command.h"
#include "chart/svg_writer.h"
#include "support/square_tune.h"
#include "support/testdata.h"
#include "writers/xm_writer.h"

namespace demo::test {
namespace {

// One element of the document: its name, attributes, and the lane (class "lane" group) it is in.
struct Element {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::string lane;
  std::string title;  // the text of its <title> child
  std::string at(const char* key) const {
    const auto found = attributes.find(key);
    return found == attributes.end() ? "" : found->second;
  }
};

// The five entities of XML back into characters.
std::string unescape(const std::string& text) {
  static const std::pair<const char*, char> Entities[] = {
      {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}, {"&amp;", '&'}};
  std::string out;
  for (size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, c] : Entities) {
      if (text.compare(i, std::strlen(entity), entity) == 0) {
        out += c;
        i += std::strlen(entity);
        replaced = true;
        break;
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

// A reader for the XML the chart writes: tags, attributes in double quotes, text, the declaration.
// Fails the test on anything unbalanced.
std::vector<Element> readSvg(const std::string& text) {
  std::vector<Element> elements;
  std::vector<size_t> open;  // indices into elements
  size_t p = text.find("<svg");
  EXPECT_NE(p, std::string::npos);
  while (p < text.size()) {
    const size_t lt = text.find('<', p);
    if (lt == std::string::npos) break;
    if (!open.empty() && lt > p) {
      const std::string content = text.substr(p, lt - p);
      if (elements[open.back()].name == "title") elements[open.back()].title += unescape(content);
    }
    const size_t gt = text.find('>', lt);
    if (gt == std::string::npos) {
      ADD_FAILURE() << "an unclosed tag";
      break;
    }
    std::string tag = text.substr(lt + 1, gt - lt - 1);
    p = gt + 1;
    if (tag[0] == '/') {
      if (open.empty() || elements[open.back()].name != tag.substr(1)) {
        ADD_FAILURE() << "</" << tag.substr(1) << "> closes nothing open";
        break;
      }
      const size_t closed = open.back();
      open.pop_back();
      if (elements[closed].name == "title" && !open.empty()) elements[open.back()].title = elements[closed].title;
      continue;
    }
    const bool empty = tag.back() == '/';
    if (empty) tag.pop_back();
    Element element;
    size_t q = tag.find(' ');
    element.name = tag.substr(0, q);
    while (q != std::string::npos && q < tag.size()) {
      const size_t eq = tag.find("=\"", q);
      if (eq == std::string::npos) break;
      const size_t end = tag.find('"', eq + 2);
      const size_t start = tag.find_first_not_of(' ', q);
      element.attributes[tag.substr(start, eq - start)] = unescape(tag.substr(eq + 2, end - eq - 2));
      q = end + 1;
    }
    for (size_t i : open)
      if (elements[i].at("class") == "lane") element.lane = elements[i].at("data-name");
    elements.push_back(element);
    if (!empty) open.push_back(elements.size() - 1);
  }
  EXPECT_TRUE(open.empty()) << "elements left open";
  return elements;
}

constexpr const char* SmallScript =
    "loadtexture <t> PICTURE 64 64 1\n"
    "makeimage <a> <t> 0 0 1 1\n"
    "loadmusic <m> SONG\n"
    "start\n"
    "playmusic <m>\n"
    "[one]\n"
    "  showimage <a> copy +2:000\n"
    "  fadeimage <a> 0x00ffffff 0xffffffff 1:500\n"
    "at 1:000\n"
    "[two]\n"
    "  moveimage <a> 0 1 0 1 +0:500\n"
    "  fadebg 0 0xff000000 [two]+2:000\n"
    "  sizeimage <a> 1 +0 1 +0 +0\n"
    "at 3:000\n"
    "  end\n";

class Chart : public ::testing::Test {
 protected:
  void write(const std::string& script) {
    std::string text = script;
    const auto name = [&text](const std::string& placeholder, const std::filesystem::path& path) {
      const size_t at = text.find(placeholder);
      if (at != std::string::npos) text.replace(at, placeholder.size(), "\"" + path.string() + "\"");
    };
    name("PICTURE", dir / "picture.tga");
    name("SONG", dir / "song.xm");
    writeFile(dir / "demo.run", {text.begin(), text.end()});
    saveXm(dir / "song.xm", squareTune());
  }
  int chart() {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = writeChart((dir / "demo.run").c_str(), (dir / "chart.svg").string(), out, err);
    std::rewind(err);
    for (int c; (c = std::fgetc(err)) != EOF;) errors += static_cast<char>(c);
    std::fclose(out);
    std::fclose(err);
    return status;
  }
  std::vector<Element> elements() {
    const std::vector<unsigned char> bytes = readFile(dir / "chart.svg");
    return readSvg(std::string(bytes.begin(), bytes.end()));
  }
  TempDir dir;
  std::string errors;
};

TEST_F(Chart, EveryInstructionsSpanIsABarInItsObjectsLane) {
  write(SmallScript);
  ASSERT_EQ(chart(), 0) << errors;
  using Span = std::tuple<std::string, std::string, int, int, int>;  // lane, command, start, end, line
  std::set<Span> spans;
  for (const Element& e : elements())
    if (e.at("class") == "span")
      spans.insert({e.lane, e.at("data-command"), std::stoi(e.at("data-start")), std::stoi(e.at("data-end")),
                    std::stoi(e.at("data-line"))});
  // Loading before start has no lane; a value set at once (+0) is a mark where start and end meet.
  EXPECT_EQ(spans, (std::set<Span>{{"<m>", "playmusic", 0, 0, 5},
                                   {"<a>", "showimage", 0, 2000, 7},
                                   {"<a>", "fadeimage", 0, 1500, 8},
                                   {"<a>", "moveimage", 1000, 1500, 11},
                                   {"background", "fadebg", 1000, 3000, 12},
                                   {"<a>", "sizeimage", 1000, 1000, 13}}));
}

TEST_F(Chart, LabelsAtTicksAndTheTunesPositionsFollowTheScriptAndTheTune) {
  write(SmallScript);
  ASSERT_EQ(chart(), 0) << errors;
  std::map<std::string, int> labels;
  std::vector<int> ats;
  std::vector<std::tuple<int, int, int>> positions;  // order, start, end
  std::string hover;
  for (const Element& e : elements()) {
    if (e.at("class") == "label") labels[e.at("data-name")] = std::stoi(e.at("data-time"));
    if (e.at("class") == "at") ats.push_back(std::stoi(e.at("data-time")));
    if (e.at("class") == "position")
      positions.emplace_back(std::stoi(e.at("data-order")), std::stoi(e.at("data-start")),
                             std::stoi(e.at("data-end")));
    if (e.at("class") == "span" && e.at("data-command") == "moveimage") hover = e.title;
  }
  EXPECT_EQ(labels, (std::map<std::string, int>{{"one", 0}, {"two", 1000}}));
  EXPECT_EQ(ats, (std::vector<int>{1000, 3000}));
  EXPECT_EQ(hover, "moveimage <a>: 1:000 to 1:500 (line 11)") << "named on hover";
  // The square tune plays its one position from the start to the chart's end at 3 s.
  ASSERT_FALSE(positions.empty());
  EXPECT_EQ(std::get<0>(positions.front()), 0);
  EXPECT_EQ(std::get<1>(positions.front()), 0);
  EXPECT_EQ(std::get<2>(positions.back()), 3000);
}

TEST_F(Chart, AMissingTuneLeavesItOutAndABrokenScriptWritesNothing) {
  write(SmallScript);
  std::filesystem::remove(dir / "song.xm");
  ASSERT_EQ(chart(), 0);
  EXPECT_NE(errors.find(":3: warning: the chart goes without the tune: "), std::string::npos) << errors;
  size_t positions = 0;
  for (const Element& e : elements()) positions += e.at("class") == "position";
  EXPECT_EQ(positions, 0u);

  std::filesystem::remove(dir / "chart.svg");
  write("start\nshowimage <nothing> copy +1:000\n");
  EXPECT_EQ(chart(), -6);
  EXPECT_FALSE(std::filesystem::exists(dir / "chart.svg"));
}

TEST(SvgWriterText, EscapesMarkupAndBytesABrowserRefuses) {
  EXPECT_EQ(SvgWriter::escape("<a> & \"b\""), "&lt;a&gt; &amp; &quot;b&quot;");
  EXPECT_EQ(SvgWriter::escape("caf\xC3\xA9"), "caf\xC3\xA9") << "UTF-8 stays";
  EXPECT_EQ(SvgWriter::escape("caf\xE9\x01"), "caf??") << "Latin-1 and control bytes do not";
  EXPECT_EQ(SvgWriter::number(12.0), "12");
  EXPECT_EQ(SvgWriter::number(1.255), "1.25");
  EXPECT_EQ(SvgWriter::number(-0.001), "0");
}

}  // namespace
}  // namespace demo::test
