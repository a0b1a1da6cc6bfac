// How the core asks and tells the user; the desktop program, the command line and the tests answer it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/Notifier.h"

namespace brisko::core {

// The kinds of message box; each has its own caption and icon.
enum class MessageKind { Warning, Error, Information, Confirmation, Custom };

// Caption of a message box of the given kind ("Warning", "Error", "Information", "Confirm");
// the custom kind takes the application's title.
inline const char* KindCaption(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning:
      return "Warning";
    case MessageKind::Error:
      return "Error";
    case MessageKind::Information:
      return "Information";
    case MessageKind::Confirmation:
      return "Confirm";
    case MessageKind::Custom:
      break;
  }
  return "Brisko ZIP Backup";
}

// Answers to the overwrite question of a restore, which may meet many existing files.
enum class OverwriteAnswer { Yes, No, YesToAll, NoToAll, Cancel };

// Answers to the question about project changes that are not saved yet.
enum class UnsavedAnswer { Save, Discard, Cancel };

// Every question or notice the core needs answered or shown goes through this interface.
// Implementations must not call back into the core while answering.
class UserInteraction {
 public:
  virtual ~UserInteraction() = default;

  // A question with the buttons Yes and No; true for Yes. kind picks caption and icon.
  virtual bool Confirm(MessageKind kind, const std::string& text) = 0;

  // A modal message box with one OK button (error, warning or information).
  virtual void ShowMessage(MessageKind kind, const std::string& text) = 0;

  // A one-button message that closes itself after `seconds`; it must never wait longer.
  // An empty caption means the caption of the kind.
  virtual void ShowTimedMessage(MessageKind kind, const std::string& caption, const std::string& text,
                                int seconds) = 0;

  // Folder browser; nullopt when cancelled.
  virtual std::optional<std::string> PickFolder(const std::string& caption,
                                                const std::string& startFolder) = 0;

  // File chooser with multiple selection; empty when cancelled.
  virtual std::vector<std::string> PickFiles(const std::string& caption, const std::string& startFolder) = 0;

  // The name dialog ("Please enter new project name"); nullopt on Cancel. The answer is
  // returned as typed; a blank answer is refused by the dialog itself.
  virtual std::optional<std::string> AskName(const std::string& caption, const std::string& initial) = 0;

  // Runs the add-project wizard modally; true when it ended with Finish and wrote a project.
  virtual bool RunAddProjectWizard() = 0;

  // Whether an existing file may be replaced (restore with the prompt rule, copy onto an existing file).
  virtual bool AskOverwrite(const std::string& caption, const std::string& text) = 0;

  // The same question during a restore, offering Yes, No, Yes to all, No to all and Cancel (No is
  // the default). Hosts that cannot offer more ask AskOverwrite.
  virtual OverwriteAnswer AskOverwriteDuringRestore(const std::string& caption, const std::string& text) {
    return AskOverwrite(caption, text) ? OverwriteAnswer::Yes : OverwriteAnswer::No;
  }

  // Work the user did not start by hand (a scheduled run) ended in a way they must learn of. Hosts on
  // a desktop raise a notification that waits for nobody; others show it as a message.
  virtual void NotifyUnattended(const Notice& notice) {
    ShowMessage(notice.kind == NoticeKind::Failure ? MessageKind::Error : MessageKind::Information,
                notice.title + "\r" + notice.body);
  }

  // Changes to the project would be lost: Save, Discard or Cancel (what was about to happen does not).
  // Hosts that cannot offer three answers keep the changes by cancelling.
  virtual UnsavedAnswer AskUnsavedChanges(const std::string& text) {
    (void)text;
    return UnsavedAnswer::Cancel;
  }
};

}  // namespace brisko::core
