#pragma once

#include <QString>

namespace kelvor {

// What a message box is for; its icon and buttons follow from that.
enum class MessageKind {
  kFailure,  // something the player asked for could not be done
  kNotice,   // an input was refused, or something to know before going on
  kSuccess,  // what the player asked for was done
};

// The modal boxes through which the windows talk to the player. The windows are given one,
// so tests can script the player's answers instead of waiting on a real box.
class PlayerDialogs {
 public:
  virtual ~PlayerDialogs() = default;

  // Shows `text` and waits until the player has read it.
  virtual void Tell(MessageKind kind, const QString& text) = 0;

  // Asks a yes/no question, Yes offered first; true for Yes.
  virtual bool Confirm(const QString& question) = 0;
};

// The one box for every failure; the launcher goes on afterwards.
void ShowErrorBox(PlayerDialogs& dialogs);

}  // namespace kelvor
