#pragma once

#include <array>
#include <string>

#include "io/buffered_writer.h"
#include "maps/map_writer.h"

namespace tervela {

// A table of the converted points for a spreadsheet (RFC 4180, UTF-8 with a
// byte-order mark, CRLF line ends): a header line naming the columns, then
// one line per point: its text; the input's two numbers as read and the
// output's two as written; WGS84 latitude and longitude; the grid
// convergence and point scale factor of the grid point; and, where the run's
// systems came from PROJ's database, the datum operations applied.
class CsvWriter final : public MapWriter {
 public:
  // `labels`: the names of the four coordinate columns, input first.
  // `operation`: the text of the operation column, or empty for none.
  CsvWriter(io::FileDescriptor file, const std::array<std::string_view, 4>& labels,
            std::string operation);

  Status Add(const TMapFeature& feature) override;
  Status Finish() override;
  bool WantsGridScale() const override { return true; }

 private:
  io::BufferedWriter file_;
  std::string header_;     // written before the first line or at Finish
  std::string operation_;  // the operation column's field, formed once
  std::string text_;       // the line being formed, reused
};

}  // namespace tervela
