// What lives as long as the process: the two password strings, and what goes with the user
// password (its guess limit, whether it could be read). Passed as `processWide` wherever it is
// used.
#pragma once

#include <string>

#include "dialogs/guess_limit.h"

namespace folvane {

struct ProcessWide {
  // The answer of the latest use of the password dialog: the accepted text, or empty.
  std::string EnteredPassword;
  // The decoded user password, loaded at start-up and replaced by the settings dialog.
  std::string UserPassword;
  // Folvane.ini could not be read when the password was last loaded: UserPassword is not the
  // user's, and nothing that needs it may go ahead until the file has been read.
  bool UserPasswordUnknown = false;
  // Wrong answers to the user password, wherever it was asked.
  GuessLimit UserPasswordGuesses;
};

}  // namespace folvane
