// The two strings that live as long as the process.
#pragma once

#include <string>

namespace folvane {

struct ProcessWide {
  // The answer of the latest use of the password dialog: the accepted text, or empty.
  std::string EnteredPassword;
  // The decoded user password, loaded at start-up and replaced by the settings dialog.
  std::string UserPassword;
  // Folvane.ini could not be read when the password was last loaded: UserPassword is not the
  // user's, and nothing that needs it may go ahead until the file has been read.
  bool UserPasswordUnknown = false;
};

}  // namespace folvane
