#include "chart/svg_writer.h"

#include <cmath>
#include <cstdio>

namespace demo {

SvgWriter::SvgWriter(double width, double height) {
  text_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  open("svg", {{"xmlns", "http://www.w3.org/2000/svg"},
               {"width", number(width)},
               {"height", number(height)},
               {"viewBox", "0 0 " + number(width) + " " + number(height)}});
}

void SvgWriter::startTag(const char* name, Attributes attributes) {
  text_.append(open_.size() * 2, ' ');
  text_ += '<';
  text_ += name;
  for (const auto& [key, value] : attributes) {
    text_ += ' ';
    text_ += key;
    text_ += "=\"";
    text_ += escape(value);
    text_ += '"';
  }
}

SvgWriter& SvgWriter::open(const char* name, Attributes attributes) {
  startTag(name, attributes);
  text_ += ">\n";
  open_.push_back(name);
  return *this;
}

SvgWriter& SvgWriter::close() {
  if (open_.empty()) return *this;
  const char* name = open_.back();
  open_.pop_back();
  text_.append(open_.size() * 2, ' ');
  text_ += "</";
  text_ += name;
  text_ += ">\n";
  return *this;
}

SvgWriter& SvgWriter::element(const char* name, Attributes attributes, const std::string& text) {
  startTag(name, attributes);
  if (text.empty()) {
    text_ += "/>\n";
  } else {
    text_ += '>' + escape(text) + "</" + name + ">\n";
  }
  return *this;
}

std::string SvgWriter::finish() {
  while (!open_.empty()) close();
  return text_;
}

std::string SvgWriter::number(double value) {
  if (!std::isfinite(value)) return "0";
  char text[48];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string s = text;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

namespace {

bool validUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const size_t length = byte < 0x80 ? 1 : (byte >> 5) == 6 ? 2 : (byte >> 4) == 14 ? 3 : (byte >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

}  // namespace

std::string SvgWriter::escape(const std::string& text) {
  // Script names are bytes: a browser refuses a document that is not UTF-8 or holds control
  // characters, so such bytes become '?'.
  const bool utf8 = validUtf8(text);
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || (!utf8 && byte >= 0x80)) {
      out += '?';
      continue;
    }
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace demo
