// The engine held to an outside oracle: the rows of engine_vs_proj.table,
// which make_table.py computed with PROJ, each within its class's tolerance.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iomanip>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "settings/system_values.h"
#include "test_support/case_name.h"

namespace tervela {
namespace {

// A grid system of the table: the eighteen texts of the Settings page and the
// shift its rows use.
struct OracleSystem {
  std::array<std::string, kSystemTextCount> texts;
  TShiftMethod method;
};

enum class Operation { Shift, ToGrid, ToWgs84 };

struct OracleRow {
  std::string system, operation, row_class;
  std::array<double, 2> input, expected;
};

struct OracleTable {
  std::map<std::string, double> tolerances;
  std::map<std::string, OracleSystem> systems;
  std::vector<OracleRow> rows;
  std::vector<std::string> unread;  // lines or fields the runner does not know
};

// The one call into the engine: `operation` on `input` (latitude and
// longitude, or northing and easting), giving the same pair for its output.
Result<std::array<double, 2>> RunEngine(const OracleSystem& system, Operation operation,
                                        const std::array<double, 2>& input) {
  const Result<TGridSystem> read = ReadGridSystem(system.texts, '.');
  if (!read) return read.error();
  const TGridSystem& set = read.value();
  TWorkingPoint point;
  Status status;
  if (operation == Operation::ToWgs84) {
    point.TargetNorthing = input[0];
    point.TargetEasting = input[1];
    status = GridToGeographic(set, system.method, point);
  } else {
    point.Latitude = input[0];
    point.Longitude = input[1];
    status = operation == Operation::ToGrid ? GeographicToGrid(set, system.method, point)
             : system.method == TShiftMethod::ThreeParameter ? ThreeParameterShift(set, point)
                                                             : SevenParameterShift(set, point);
  }
  if (!status) return status.error();
  if (operation == Operation::ToGrid) return std::array{point.Northing, point.Easting};
  return std::array{point.Latitude, point.Longitude};
}

// The Settings page's fields as the table names them, in their order.
constexpr std::array<const char*, kSystemTextCount> kFieldNames = {
    "dx", "dy", "dz", "da", "df", "corr_n", "corr_e", "k0", "x0",
    "y0", "lon0", "tx", "ty", "tz", "rx", "ry", "rz", "k"};

OracleSystem ReadSystem(std::istringstream& line, std::vector<std::string>& unread) {
  std::string method;
  line >> method;
  if (method != "molodensky" && method != "helmert") unread.push_back("shift " + method);
  OracleSystem system{{}, method == "helmert" ? TShiftMethod::SevenParameter
                                              : TShiftMethod::ThreeParameter};
  system.texts.fill("0");
  for (std::string field; line >> field;) {
    const std::size_t equals = field.find('=');
    const auto name = std::find(kFieldNames.begin(), kFieldNames.end(), field.substr(0, equals));
    if (name == kFieldNames.end() || equals == std::string::npos) {
      unread.push_back("field " + field);
    } else {
      system.texts[static_cast<std::size_t>(name - kFieldNames.begin())] = field.substr(equals + 1);
    }
  }
  return system;
}

const OracleTable& Table() {
  static const OracleTable table = [] {
    OracleTable read;
    std::ifstream file(TERVELA_ORACLE_TABLE);
    for (std::string text; std::getline(file, text);) {
      std::istringstream line(text.substr(0, text.find('#')));
      std::string keyword, name;
      if (!(line >> keyword >> name)) continue;
      if (keyword == "system") {
        read.systems[name] = ReadSystem(line, read.unread);
        continue;
      }
      if (keyword == "tolerance") {
        line >> read.tolerances[name];
      } else {
        OracleRow row{name, keyword, "", {}, {}};
        line >> row.row_class >> row.input[0] >> row.input[1] >> row.expected[0] >>
            row.expected[1];
        read.rows.push_back(row);
      }
      if (line.fail()) read.unread.push_back(text);
    }
    return read;
  }();
  return table;
}

// Metres on the ground of a difference in latitude and longitude, on a sphere
// of 6371 km.
double GroundMetres(const std::array<double, 2>& a, const std::array<double, 2>& b) {
  constexpr double kMetresPerDegree = 6371000.0 * std::numbers::pi / 180;
  const double north = (a[0] - b[0]) * kMetresPerDegree;
  const double east = (a[1] - b[1]) * kMetresPerDegree * std::cos(a[0] * std::numbers::pi / 180);
  return std::hypot(north, east);
}

class EngineAgainstProj : public ::testing::TestWithParam<std::size_t> {};

TEST_P(EngineAgainstProj, WithinTheToleranceOfItsClass) {
  const OracleRow& row = Table().rows[GetParam()];
  const auto system = Table().systems.find(row.system);
  const auto tolerance = Table().tolerances.find(row.row_class);
  ASSERT_NE(system, Table().systems.end()) << "no system " << row.system;
  ASSERT_NE(tolerance, Table().tolerances.end()) << "no tolerance for " << row.row_class;
  const std::map<std::string, Operation> operations = {{"shift", Operation::Shift},
                                                       {"to-grid", Operation::ToGrid},
                                                       {"to-wgs84", Operation::ToWgs84}};
  const auto operation = operations.find(row.operation);
  ASSERT_NE(operation, operations.end()) << "no operation " << row.operation;

  const Result<std::array<double, 2>> result =
      RunEngine(system->second, operation->second, row.input);
  ASSERT_TRUE(result.ok()) << result.error().message();
  const double difference =
      operation->second == Operation::ToGrid
          ? std::hypot(result.value()[0] - row.expected[0], result.value()[1] - row.expected[1])
          : GroundMetres(result.value(), row.expected);
  EXPECT_LE(difference, tolerance->second)
      << std::setprecision(12) << row.system << " " << row.operation << " from " << row.input[0]
      << " " << row.input[1] << " gives " << result.value()[0] << " " << result.value()[1]
      << ", PROJ " << row.expected[0] << " " << row.expected[1] << ": " << difference << " m apart";
}

TEST(EngineAgainstProjTable, IsReadWholeWithRowsInEveryClass) {
  EXPECT_EQ(Table().unread, std::vector<std::string>{}) << "in " << TERVELA_ORACLE_TABLE;
  ASSERT_FALSE(Table().systems.empty()) << "no systems in " << TERVELA_ORACLE_TABLE;
  for (const auto& [row_class, tolerance] : Table().tolerances) {
    EXPECT_TRUE(std::any_of(Table().rows.begin(), Table().rows.end(),
                            [&](const OracleRow& row) { return row.row_class == row_class; }))
        << row_class;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, EngineAgainstProj, ::testing::Range<std::size_t>(0, Table().rows.size()),
    [](const ::testing::TestParamInfo<std::size_t>& info) {
      const OracleRow& row = Table().rows[info.param];
      return testing::CaseName(info.index, row.system + " " + row.operation + " " + row.row_class);
    });

}  // namespace
}  // namespace tervela
