#include "cli/system_settings.h"

#include <algorithm>

#include "settings/system_values.h"
#include "systems/projected_system.h"
#include "systems/system_search.h"
#include "systems/system_texts.h"

namespace tervela {

Result<TSettingsTexts> CommandSettings(const TCommandLine& command, char decimal_separator,
                                       std::string* operations) {
  TSettingsTexts settings;
  std::optional<TProjectedSystem> filled[2];
  if (!command.settings_path.empty()) {
    if (Status read = ReadSettingsRecord(command.settings_path, settings); !read) return read.error();
  }
  const std::pair<const std::string*, TLocalSystem> targets[] = {
      {&command.system_a, TLocalSystem::A}, {&command.system_b, TLocalSystem::B}};
  for (const auto& [code, target] : targets) {
    if (code->empty()) continue;
    const Result<TProjectedSystem> system = FillFromProj(*code);
    if (!system) return system.error();
    // Its zero translation would convert hundreds of metres off, as a success.
    const bool converts = command.write_settings_path.empty();
    if (converts && command.conversion.method == TShiftMethod::ThreeParameter &&
        !system.value().three_parameter) {
      return Error::SystemRefused(QuotedText(*code) +
                                  " has no three-parameter shift in PROJ's database; use --seven");
    }
    PutSystem(system.value(), target, decimal_separator, settings);
    filled[target == TLocalSystem::A ? 0 : 1] = system.value();
  }
  if (operations != nullptr) {
    const TConversionDirection direction = command.conversion.direction;
    const auto used = [&](TLocalSystem system) {
      const std::optional<TProjectedSystem>& from_proj = filled[system == TLocalSystem::A ? 0 : 1];
      const bool uses = SourceSystem(direction) == system ||
                        (GridToGrid(direction) && TargetSystem(direction) == system);
      return uses && from_proj ? &*from_proj : nullptr;
    };
    *operations = RunOperationsText(command.conversion.method, used(TLocalSystem::A),
                                    used(TLocalSystem::B));
  }
  return settings;
}

Status WriteCommandSettings(const std::string& path, const TSettingsTexts& settings, char decimal_separator,
                            const std::string& settings_path) {
  for (const TLocalSystem system : {TLocalSystem::A, TLocalSystem::B}) {
    const TSystemTexts texts = ParameterTexts(settings, system);
    if (std::all_of(texts.begin(), texts.end(), [](const std::string& text) { return text.empty(); })) continue;
    TSystemValues values;
    if (const Status read = ReadSystemValues(texts, decimal_separator, values); !read) {
      const std::uint64_t first_line = FirstParameterIndex(system);
      return read.error()
          .WithSentence("Nothing written: every number of the record must read with the decimal separator '" +
                        std::string(1, decimal_separator) + "', or --decimal-separator names another.")
          .At(settings_path, first_line + read.error().line());
    }
  }
  return WriteSettingsRecord(path, settings);
}

Result<std::string> DescribeSystemText(const std::string& code, char decimal_separator) {
  const Result<TProjectedSystem> system = FillFromProj(code);
  if (!system) return system.error();
  return DescribeSystem(system.value(), decimal_separator);
}

Result<std::string> SystemListText(const std::string& text) {
  const Result<std::vector<TSystemSummary>> found = FindTransverseMercatorSystems(text);
  if (!found) return found.error();
  std::string list;
  for (const TSystemSummary& system : found.value()) {
    list += system.code + "\t" + system.name + "\t" + system.area + "\n";
  }
  if (list.empty()) {
    return Error::SystemRefused("No Transverse Mercator system's name holds '" + QuotedText(text) + "'");
  }
  return list;
}

}  // namespace tervela
