#include "cli/system_settings.h"

#include <algorithm>

#include "settings/system_values.h"
#include "systems/operation_texts.h"
#include "systems/projected_system.h"
#include "systems/system_search.h"
#include "systems/system_texts.h"

namespace tervela {

namespace {

// Refuses an operation code that none of `systems` took for the shift it was
// asked for: it is not one of their candidates.
Status RefuseCodesNotTaken(const TOperationChoice& choice, const std::vector<const TProjectedSystem*>& systems) {
  const std::pair<const std::string*, std::optional<TDatumOperation> TProjectedSystem::*> asked[] = {
      {&choice.three_parameter, &TProjectedSystem::three_parameter},
      {&choice.seven_parameter, &TProjectedSystem::seven_parameter}};
  for (const auto& [code, shift] : asked) {
    if (code->empty()) continue;
    std::string named;
    for (const TProjectedSystem* system : systems) {
      if ((system->*shift) && (system->*shift)->code == *code) return {};
      named += (named.empty() ? "" : " and ") + QuotedText(system->code) + " (" + system->name + ")";
    }
    const std::string list = systems.size() == 1 ? QuotedText(systems.front()->code) : "SYSTEM";
    return Error::SystemRefused(named + (systems.size() == 1 ? " has" : " have") + " no datum operation " +
                                QuotedText(*code) + " to WGS 84 without a grid; --list-operations " + list +
                                " lists the candidates");
  }
  return {};
}

}  // namespace

TOperationChoice OperationChoice(const TCommandLine& command) {
  return {command.near, command.operation_3p, command.operation_7p};
}

Result<TSettingsTexts> CommandSettings(const TCommandLine& command, char decimal_separator,
                                       TUsedOperations* used) {
  TSettingsTexts settings;
  std::optional<TProjectedSystem> filled[2];
  if (!command.settings_path.empty()) {
    if (Status read = ReadSettingsRecord(command.settings_path, settings); !read) return read.error();
  }
  const TOperationChoice choice = OperationChoice(command);
  std::vector<const TProjectedSystem*> systems;
  const std::pair<const std::string*, TLocalSystem> targets[] = {
      {&command.system_a, TLocalSystem::A}, {&command.system_b, TLocalSystem::B}};
  for (const auto& [code, target] : targets) {
    if (code->empty()) continue;
    Result<TProjectedSystem> system = FillFromProj(*code, choice);
    if (!system) return system.error();
    PutSystem(system.value(), target, decimal_separator, settings);
    systems.push_back(&filled[target == TLocalSystem::A ? 0 : 1].emplace(std::move(system.value())));
  }
  if (Status taken = RefuseCodesNotTaken(choice, systems); !taken) return taken.error();
  if (used != nullptr) {
    const TConversionDirection direction = command.conversion.direction;
    const bool seven = command.conversion.method == TShiftMethod::SevenParameter;
    const auto from_proj = [&](TLocalSystem system) {
      const std::optional<TProjectedSystem>& filled_system = filled[system == TLocalSystem::A ? 0 : 1];
      const bool uses = SourceSystem(direction) == system ||
                        (GridToGrid(direction) && TargetSystem(direction) == system);
      return uses && filled_system ? &*filled_system : nullptr;
    };
    used->text = RunOperationsText(command.conversion.method, from_proj(TLocalSystem::A),
                                   from_proj(TLocalSystem::B));
    for (const TLocalSystem system : {TLocalSystem::A, TLocalSystem::B}) {
      const TProjectedSystem* const applied = from_proj(system);
      const std::optional<TDatumOperation>& operation =
          applied == nullptr ? std::nullopt : seven ? applied->seven_parameter : applied->three_parameter;
      if (!operation || !operation->box) continue;
      used->areas.push_back({system, {operation->code + " " + operation->name + ": " +
                                          AreaText(operation->area, operation->box),
                                      *operation->box}});
    }
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

Result<std::string> DescribeSystemText(const TCommandLine& command, char decimal_separator) {
  const Result<TProjectedSystem> system = FillFromProj(command.describe_system, OperationChoice(command));
  if (!system) return system.error();
  if (Status taken = RefuseCodesNotTaken(OperationChoice(command), {&system.value()}); !taken) {
    return taken.error();
  }
  return DescribeSystem(system.value(), decimal_separator);
}

Result<std::string> OperationListText(const TCommandLine& command) {
  const Result<TProjectedSystem> system = FillFromProj(command.list_operations, {command.near, {}, {}});
  if (!system) return system.error();
  std::string list;
  for (const TOperationCandidate& candidate : system.value().operations) list += CandidateLine(candidate) + "\n";
  if (list.empty()) {
    return Error::SystemRefused(QuotedText(command.list_operations) + " (" + system.value().name +
                                ") is on WGS 84 itself: its shifts are zero");
  }
  return list;
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
