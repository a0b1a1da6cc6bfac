// The entry that makes the desktop start the program when the user logs in.
#pragma once

#include <string>

namespace brisko::platform {

// Name of the autostart entry; also the value name shown in its error message.
inline constexpr const char* kAutostartName = "Brisko Compress Backup";

// One autostart entry holding the full path of the executable. On POSIX desktops it is a desktop
// entry file in the XDG autostart folder; the folder can be given for tests.
class Autostart {
 public:
  // Uses DefaultFolder().
  Autostart();
  explicit Autostart(std::string folder);

  // $XDG_CONFIG_HOME/autostart, or ~/.config/autostart when that is unset or not absolute.
  static std::string DefaultFolder();

  // Full path of the entry file.
  std::string EntryPath() const;

  // Writes the entry for the executable (creating the folder); false when it cannot be written,
  // in which case an older entry is left as it was.
  bool Set(const std::string& executablePath) const;

  // Deletes the entry; a missing entry is no error. False only when an existing entry stays.
  bool Remove() const;

  // The executable named by the current entry, "" when there is none.
  std::string StoredExecutable() const;

 private:
  std::string folder_;
};

}  // namespace brisko::platform
