#include "settings/record_systems.h"

#include <algorithm>

namespace tervela {

namespace {

TRecordSystem ReadRecordSystem(const TSettingsTexts& record, TLocalSystem system,
                               char decimal_separator, const std::string& file_name) {
  TSystemValues values;
  const Status read = ReadSystemValues(ParameterTexts(record, system), decimal_separator, values);
  const std::string& name = record[NameIndex(system)];
  const double false_easting = values[TSystemField::FalseEasting];
  if (!read) {
    // The system's lines follow those of the systems before it.
    const Error placed = read.error().At(file_name, FirstParameterIndex(system) + read.error().line());
    return {placed, name, false_easting};
  }
  return {GridSystemOf(values), name, false_easting};
}

}  // namespace

TRecordSystems ReadRecordSystems(const TSettingsTexts& record, char decimal_separator,
                                 const std::string& file_name) {
  return {ReadRecordSystem(record, TLocalSystem::A, decimal_separator, file_name),
          ReadRecordSystem(record, TLocalSystem::B, decimal_separator, file_name)};
}

void PutSystemTexts(TSettingsTexts& record, TLocalSystem system,
                    const std::array<std::string, kSystemTextCount>& texts, const std::string& name) {
  std::copy(texts.begin(), texts.end(), record.begin() + static_cast<std::ptrdiff_t>(FirstParameterIndex(system)));
  record[NameIndex(system)] = name;
}

}  // namespace tervela
