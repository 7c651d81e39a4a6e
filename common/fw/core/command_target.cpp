#include "command_target.h"

namespace fw {

bool RouteCommand(std::span<CommandTarget* const> chain, unsigned id) {
  for (CommandTarget* target : chain) {
    if (target && target->OnCommand(id)) return true;
  }
  return false;
}

CommandState QueryCommand(std::span<CommandTarget* const> chain, unsigned id, bool autoDisable) {
  for (CommandTarget* target : chain) {
    CommandState state;
    if (target && target->OnUpdateCommand(id, state)) return state;
  }
  CommandState none;
  none.enabled = !autoDisable;
  return none;
}

bool CommandStateCache::Changed(std::uintptr_t key, const CommandState& state) {
  auto [it, inserted] = shown_.try_emplace(key, state);
  if (inserted) return true;
  if (it->second == state) return false;
  it->second = state;
  return true;
}

}  // namespace fw
