// Builds the layout file KLXFF.LLO from the readable table data/layouts.txt,
// writing every layout with the program's own layout writer.
//
//   mklayouts <table> <output>
//
// The table holds one block per layout: a line "[name]", then lines
// "Field = value" with the field names of TLabelLayoutRecord. Lines starting
// with '#' and blank lines are ignored. StripeStyle, the center gaps and the
// reserved fields may be left out (0); every other field must be given.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "labelpage/LabelLayout.h"
#include "richtext/Stream.h"

namespace {

const std::set<std::string> OptionalFields = {"StripeStyle", "HorizontalCenterGap", "VerticalCenterGap",
                                              "Reserved1",   "Reserved2",           "Reserved3",
                                              "Reserved4"};

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

struct TParsedLayout {
  TLabelLayoutRecord Layout;
  std::set<std::string> Given;
  int Line = 0;
};

std::runtime_error TableError(const std::string& path, int line, const std::string& message) {
  return std::runtime_error(path + ":" + std::to_string(line) + ": " + message);
}

void CheckComplete(const std::string& path, const TParsedLayout& parsed) {
  for (const auto& field : LayoutIntegerFields)
    if (!parsed.Given.count(field.Name) && !OptionalFields.count(field.Name))
      throw TableError(path, parsed.Line, "layout \"" + parsed.Layout.LayoutName + "\" lacks " + field.Name);
  if (!IsUsableLayout(parsed.Layout))
    throw TableError(path, parsed.Line, "layout \"" + parsed.Layout.LayoutName + "\" needs 1 to 200 labels");
}

std::vector<TLabelLayoutRecord> ReadTable(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::map<std::string, std::int32_t TLabelLayoutRecord::*> members;
  for (const auto& field : LayoutIntegerFields) members[field.Name] = field.Member;

  std::vector<TParsedLayout> parsed;
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    text = Trim(text);
    if (text.empty() || text[0] == '#') continue;
    if (text.front() == '[') {
      if (text.back() != ']' || text.size() < 3) throw TableError(path, line, "expected [layout name]");
      parsed.push_back({});
      parsed.back().Layout.LayoutName = text.substr(1, text.size() - 2);
      parsed.back().Line = line;
      continue;
    }
    const auto equals = text.find('=');
    if (equals == std::string::npos) throw TableError(path, line, "expected Field = value");
    if (parsed.empty()) throw TableError(path, line, "a field before the first [layout name]");
    const std::string key = Trim(text.substr(0, equals));
    const std::string value = Trim(text.substr(equals + 1));
    const auto member = members.find(key);
    if (member == members.end()) throw TableError(path, line, "unknown field " + key);
    if (!parsed.back().Given.insert(key).second)
      throw TableError(path, line, "field " + key + " given twice");
    std::size_t used = 0;
    long long number = 0;
    try {
      number = std::stoll(value, &used);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used == 0 || used != value.size() || number < INT32_MIN || number > INT32_MAX)
      throw TableError(path, line, "not a whole number: " + value);
    parsed.back().Layout.*member->second = static_cast<std::int32_t>(number);
  }

  std::vector<TLabelLayoutRecord> layouts;
  for (const auto& entry : parsed) {
    CheckComplete(path, entry);
    layouts.push_back(entry.Layout);
  }
  if (layouts.size() > static_cast<std::size_t>(MaxLayouts))
    throw std::runtime_error(path + ": more than " + std::to_string(MaxLayouts) + " layouts");
  return layouts;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: mklayouts <table> <output>\n";
    return 2;
  }
  try {
    SaveLLOFile(argv[2], ReadTable(argv[1]));
  } catch (const std::exception& error) {
    std::cerr << "mklayouts: " << error.what() << "\n";
    std::remove(argv[2]);
    return 1;
  }
  return 0;
}
