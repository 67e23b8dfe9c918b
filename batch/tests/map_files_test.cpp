// Map files beside a run: one feature per output line, in record order, at
// the record's WGS84 position, named by its trimmed text escaped for each
// format, carrying the coordinates as the run read and wrote them.

#include <gtest/gtest.h>

#include "batch/tests/run_helpers.h"

namespace tervela {
namespace {

using D = TConversionDirection;

struct MapCase {
  const char* name;
  D direction;
  std::string free_text;  // of every record
  std::string json_name, xml_name;
  bool stops = false;  // a bad third record ends the run
};

// The text between the first `before` after `from` and the next `after`.
std::string Between(const std::string& text, const std::string& before, const std::string& after,
                    std::size_t from = 0) {
  const std::size_t start = text.find(before, from) + before.size();
  return text.substr(start, text.find(after, start) - start);
}

std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& start) {
  std::vector<std::string> lines;
  for (std::size_t at = text.find("\n" + start); at != std::string::npos; at = text.find("\n" + start, at + 1)) {
    lines.push_back(text.substr(at + 1, text.find('\n', at + 1) - at - 1));
  }
  return lines;
}

std::pair<double, double> LongitudeLatitude(const std::string& pair) {
  return {std::stod(pair), std::stod(pair.substr(pair.find(',') + 1))};
}

class MapFiles : public ::testing::TestWithParam<MapCase> {};

TEST_P(MapFiles, HoldOneFeaturePerOutputLine) {
  const MapCase& c = GetParam();
  const std::string reading = FromWgs(c.direction)                         ? "45.22568 13.58477"
                              : SourceSystem(c.direction) == TLocalSystem::A ? "5010498.551 388863.697"
                                                                             : "5009927.168 388948.141";
  const std::string record = reading + c.free_text + "\n";
  testing::ScratchFolder folder;
  testing::WriteBytes(folder / "in.txt", record + record + (c.stops ? "1 x\n" + record : ""));
  TFileConversion request{c.direction, TShiftMethod::ThreeParameter, false, folder / "in.txt", folder / "out.txt"};
  request.geojson_name = folder / "out.geojson";
  request.kml_name = folder / "out.kml";
  EXPECT_EQ(ConvertPointFile(request, testing::WorkedExampleSystems()).ok(), !c.stops);

  // The WGS84 position: the input's, or the one a run to WGS84 writes.
  std::pair<double, double> wgs{45.22568, 13.58477};
  if (!FromWgs(c.direction)) {
    const std::string to_wgs = testing::RunOn(reading + "\n", SourceSystem(c.direction) == TLocalSystem::A
                                                                  ? D::AToWgs : D::BToWgs).output;
    wgs = {std::stod(to_wgs), std::stod(to_wgs.substr(to_wgs.find(' ')))};
  }
  const std::string output = testing::ReadBytes(folder / "out.txt");
  const std::vector<std::string> json = LinesStartingWith(testing::ReadBytes(folder / "out.geojson"), "{\"type\":\"Feature\"");
  const std::vector<std::string> kml = LinesStartingWith(testing::ReadBytes(folder / "out.kml"), "<Placemark>");
  ASSERT_EQ(json.size(), 2u);
  ASSERT_EQ(kml.size(), 2u);
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 2);
  const std::string first_out = output.substr(0, output.find(' '));
  const std::string second_out = output.substr(first_out.size() + 1, output.find_first_of(" \r", first_out.size() + 1) - first_out.size() - 1);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(Between(json[i], "\"name\":\"", "\",\"input_"), c.json_name);
    EXPECT_EQ(Between(kml[i], "<name>", "</name>"), c.xml_name);
    for (const std::string& value : {first_out, second_out, reading.substr(0, reading.find(' ')), reading.substr(reading.find(' ') + 1)}) {
      EXPECT_NE(json[i].find("\":\"" + value + "\""), std::string::npos) << value;
      EXPECT_NE(kml[i].find("<value>" + value + "</value>"), std::string::npos) << value;
    }
    for (const auto& [longitude, latitude] : {LongitudeLatitude(Between(json[i], "\"coordinates\":[", "]")),
                                             LongitudeLatitude(Between(kml[i], "<coordinates>", "<"))}) {
      EXPECT_NEAR(latitude, wgs.first, 1e-8);
      EXPECT_NEAR(longitude, wgs.second, 1e-8);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    PointFile, MapFiles,
    ::testing::Values(
        MapCase{"WgsToA", D::WgsToA, " P1", "P1", "P1"}, MapCase{"WgsToB", D::WgsToB, " P1", "P1", "P1"},
        MapCase{"AToWgs", D::AToWgs, " P1", "P1", "P1"}, MapCase{"BToWgs", D::BToWgs, " P1", "P1", "P1"},
        MapCase{"AToB", D::AToB, " P1", "P1", "P1"}, MapCase{"BToAStoppedByAnError", D::BToA, " P1", "P1", "P1", true},
        MapCase{"QuotesBackslashTrimmed", D::WgsToA, " \t said \"hi\" \\ \r", "said \\\"hi\\\" \\\\",
                "said &quot;hi&quot; \\"},
        MapCase{"MarkupStopped", D::AToWgs, " <a & b>'", "<a & b>'", "&lt;a &amp; b&gt;&apos;", true},
        MapCase{"ControlBytes", D::WgsToB, " a\x01x\x1f\x7f", "a\\u0001x\\u001f\\u007f",
                "a\xE2\x90\x81x\xE2\x90\x9F\x7f"},
        MapCase{"NotUtf8AsLatin1", D::AToB, " caf\xe9 \xc3( \xc5\xbd", "caf\xc3\xa9 \xc3\x83( \xc5\xbd",
                "caf\xc3\xa9 \xc3\x83( \xc5\xbd"},
        MapCase{"NonCharactersNotXml", D::AToWgs, " \xEF\xBF\xBE\xEF\xBF\xBF\xEF\xB7\x90",
                "\xEF\xBF\xBE\xEF\xBF\xBF\xEF\xB7\x90", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xB7\x90"},
        MapCase{"NoText", D::WgsToA, "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tervela
