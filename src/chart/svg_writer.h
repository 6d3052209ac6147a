#pragma once
// A small writer of SVG text: elements with attributes, nested by open/close, text escaped. Enough
// for charts; it knows nothing of what it draws.

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace demo {

class SvgWriter {
 public:
  using Attributes = std::initializer_list<std::pair<const char*, std::string>>;

  // The root element, sized in pixels.
  SvgWriter(double width, double height);

  // <name attributes> ... </name>; close() ends the most recently opened one.
  SvgWriter& open(const char* name, Attributes attributes = {});
  SvgWriter& close();
  // <name attributes/>, or with text content <name attributes>text</name>.
  SvgWriter& element(const char* name, Attributes attributes, const std::string& text = {});
  // A <title> child: what a browser shows on hover over its parent.
  SvgWriter& title(const std::string& text) { return element("title", {}, text); }

  // The finished document (closes what is still open).
  std::string finish();

  // Numbers as SVG wants them: no exponent, at most two decimals, no trailing zeros.
  static std::string number(double value);
  // &, <, > and quotes as entities.
  static std::string escape(const std::string& text);

 private:
  void startTag(const char* name, Attributes attributes);

  std::string text_;
  std::vector<const char*> open_;
};

}  // namespace demo
