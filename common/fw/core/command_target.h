// Command targets: the objects a command (a menu item, an accelerator, a
// tool-bar button) is offered to in turn, and the update-UI question that
// decides whether its menu item, button or status pane is enabled, checked
// or showing a text. The frame builds the chain (active view, its document,
// the frame, the application); the rules here are free of the window system.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>

namespace fw {

// What one update-UI question found out about a command.
struct CommandState {
  bool enabled = true;
  std::optional<bool> checked;       // unset: the item's check mark is left alone
  std::optional<std::u16string> text;  // unset: the item's text is left alone
  bool operator==(const CommandState&) const = default;
};

class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  // Carries the command out; false when this target does not take it.
  virtual bool OnCommand(unsigned /*id*/) { return false; }
  // True when this target takes the command (it may then change state,
  // which starts enabled); false passes the question on.
  virtual bool OnUpdateCommand(unsigned /*id*/, CommandState& /*state*/) { return false; }
};

// Offers the command to the chain's targets in order (null entries are
// skipped); false when none took it.
bool RouteCommand(std::span<CommandTarget* const> chain, unsigned id);

// Asks the chain who takes the command and what its state is. A command that
// no target takes is disabled when autoDisable is set (a menu item without a
// handler is grey), and left enabled otherwise.
CommandState QueryCommand(std::span<CommandTarget* const> chain, unsigned id, bool autoDisable = true);

// The states last shown by the elements that the idle pass keeps current
// (tool-bar buttons, status panes), so that only a change reaches the window.
class CommandStateCache {
 public:
  // True (and the state remembered) when element key has not shown state yet.
  bool Changed(std::uintptr_t key, const CommandState& state);
  // Everything shown again at the next pass (the element was recreated).
  void Forget() { shown_.clear(); }

 private:
  std::map<std::uintptr_t, CommandState> shown_;
};

}  // namespace fw
